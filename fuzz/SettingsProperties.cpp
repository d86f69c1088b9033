#include "fuzz/SettingsProperties.h"

#include "fuzz/FuzzCheck.h"
#include "platform/Error.h"
#include "settings/SettingsFile.h"

#include <algorithm>
#include <string>

namespace tesslin::fuzz {

namespace {

bool HoldsLineFeedOrNul(const Settings& s) {
    auto has = [](const std::string& text) {
        return text.find('\n') != std::string::npos || text.find('\0') != std::string::npos;
    };
    return has(s.root_directory.value) || has(s.vid_regex.value) || has(s.sub_regex.value) ||
           std::any_of(s.vid_ext.value.begin(), s.vid_ext.value.end(), has) ||
           std::any_of(s.sub_ext.value.begin(), s.sub_ext.value.end(), has);
}

} // namespace

void CheckRoundTrip(const Settings& settings) {
    std::string text;
    try {
        text = FormatSettingsFile(settings);
    } catch (const Error&) {
        FUZZ_CHECK(HoldsLineFeedOrNul(settings));
        return;
    }
    Settings read_back;
    ApplySettingsMap(ParseSettingsText(text), read_back);
    FUZZ_CHECK(read_back == settings);
}

} // namespace tesslin::fuzz
