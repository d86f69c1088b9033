#include "settings/TesslinGUIDoc.h"

wxIMPLEMENT_DYNAMIC_CLASS(CTesslinGUIDoc, wxDocument);
