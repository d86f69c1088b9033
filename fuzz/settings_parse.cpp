// The settings-file parser on arbitrary bytes. Besides memory safety (AddressSanitizer,
// UndefinedBehaviorSanitizer) it checks what reading relies on:
// - every key is a non-empty word without blanks and is stored only with at least one value;
// - CR LF and LF line ends read alike;
// - the record read from any text survives being written and read again unchanged (unless
//   the writer refuses it, which it may only do for a text that holds a line feed or NUL);
// - the only error of turning the map into a record is the boolean conversion message.
#include "settings/SettingsFile.h"

#include "fuzz/FuzzCheck.h"
#include "fuzz/SettingsProperties.h"
#include "platform/Error.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
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
            FUZZ_CHECK(!IsBlank(c));
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
    tesslin::fuzz::CheckRoundTrip(settings);
    return 0;
}
