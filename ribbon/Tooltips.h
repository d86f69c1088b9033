// Tooltips of the ribbon's commands.
#pragma once

#include <wx/string.h>

namespace tesslin {

// The tooltip of command `id` from its description "description\nshort tip": the short tip,
// a line break, then the description; the description alone when it has no short tip. Empty
// for commands without a description.
wxString TooltipFor(int id);

} // namespace tesslin
