// The settings-file parser on arbitrary bytes. Besides memory safety (AddressSanitizer,
// UndefinedBehaviorSanitizer) it checks what reading relies on:
// - every key is a non-empty word without blanks and is stored only with at least one value;
// - CR LF and LF line ends read alike;
// - the record read from any text survives being written and read again unchanged (the
//   writer may refuse it only for a text that holds a line feed, the format being one line
//   per key, or a NUL byte, which marks a file that is no text);
// - the only error of turning the map into a record is the boolean conversion message.
#include "settings/SettingsFile.h"

#include "fuzz/FuzzCheck.h"
#include "platform/Error.h"
#include "settings/Blank.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool HoldsLineFeedOrNul(const tesslin::Settings& s) {
    auto has = [](const std::string& text) {
        return text.find('\n') != std::string::npos || text.find('\0') != std::string::npos;
    };
    return has(s.root_directory.value) || has(s.vid_regex.value) || has(s.sub_regex.value) ||
           std::any_of(s.vid_ext.value.begin(), s.vid_ext.value.end(), has) ||
           std::any_of(s.sub_ext.value.begin(), s.sub_ext.value.end(), has);
}

// The same text with every bare LF turned into CR LF.
std::string WithCrLf(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const tesslin::SettingsMap map = tesslin::ParseSettingsText(text);

    for (const auto& [key, values] : map) {
        FUZZ_CHECK(!key.empty());
        for (char c : key) {
            FUZZ_CHECK(!tesslin::IsBlank(c));
        }
        FUZZ_CHECK(!values.empty());
    }
    FUZZ_CHECK(tesslin::ParseSettingsText(WithCrLf(text)) == map);

    tesslin::Settings settings;
    try {
        tesslin::ApplySettingsMap(map, settings);
    } catch (const tesslin::Error& e) {
        FUZZ_CHECK(std::strcmp(e.what(), tesslin::kBadBooleanValue) == 0);
    }
    std::string written;
    try {
        written = tesslin::FormatSettingsFile(settings);
    } catch (const tesslin::Error&) {
        FUZZ_CHECK(HoldsLineFeedOrNul(settings));
        return 0;
    }
    tesslin::Settings read_back;
    tesslin::ApplySettingsMap(tesslin::ParseSettingsText(written), read_back);
    FUZZ_CHECK(read_back == settings);
    return 0;
}
