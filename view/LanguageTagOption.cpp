#include "view/LanguageTagOption.h"

#include <wx/config.h>

namespace tesslin {

namespace {

constexpr const char* kEntry = "/Workspace/KeepLanguageTag";

} // namespace

bool KeepLanguageTag() {
    bool keep = false;
    wxConfigBase::Get()->Read(kEntry, &keep, false);
    return keep;
}

void SetKeepLanguageTag(bool keep) {
    wxConfigBase* config = wxConfigBase::Get();
    config->Write(kEntry, keep);
    config->Flush();
}

} // namespace tesslin
