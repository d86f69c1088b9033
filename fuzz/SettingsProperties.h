// The round-trip property of the settings file, shared by the fuzz targets.
#pragma once

#include "settings/Settings.h"

namespace tesslin::fuzz {

// Formats `settings` as the file's text, parses that text and applies the map to a fresh
// record: the result must equal `settings` (names and descriptions included, so `settings`
// must carry the defaults' names and descriptions). The writer may refuse the record only
// when one of its texts or list elements holds a line feed (the format is one line per
// key) or a NUL byte (which marks a file that is no text). Aborts otherwise.
void CheckRoundTrip(const Settings& settings);

} // namespace tesslin::fuzz
