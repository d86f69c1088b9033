#include "platform/SystemText.h"

#include "platform/Translation.h"
#include "platform/win/WideText.h"

#include <windows.h>

namespace tesslin {

std::string ToSystemCodePage(std::string_view utf8) {
    const std::wstring wide = win::Widen(utf8);
    if (wide.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(wide.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), size, bytes.data(), n, nullptr, nullptr);
    return bytes;
}

std::string FromSystemCodePage(std::string_view bytes) {
    if (bytes.empty()) {
        return std::string();
    }
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, wide.data(), n);
    return win::Utf8(wide);
}

// Windows' own errors read as on the other systems where they mean the same; Boost's texts for
// them are Windows' long sentences in the system's language.
std::string ErrorCodeText(const boost::system::error_code& code) {
    if (code.category() == boost::system::system_category()) {
        return Say(win::ErrorText(static_cast<unsigned long>(code.value())));
    }
    return Say(code.message());
}

} // namespace tesslin
