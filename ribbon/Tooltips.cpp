#include "ribbon/Tooltips.h"

#include "res/Strings.h"
#include "wxplatform/WxText.h"

namespace tesslin {

wxString TooltipFor(int id) {
    const char* description = text::CommandDescription(id);
    if (!description) {
        return wxString();
    }
    const wxString both = FromUtf8(description);
    const wxString tip = both.AfterFirst('\n');
    return tip.empty() ? both : tip + "\n" + both.BeforeFirst('\n');
}

} // namespace tesslin
