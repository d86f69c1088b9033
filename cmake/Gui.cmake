# The desktop program TesslinGUI and its tests (added when the window lands).
