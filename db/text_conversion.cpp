// WideToAnsi and AnsiToWide over the device's WideCharToMultiByte and MultiByteToWideChar.
#include "text_conversion.h"

#include "winnls.h"

#include <limits>

// Each direction first asks the platform for the size it needs, then converts into a
// buffer of that size; a call that produces nothing gives an empty string.

std::string WideToAnsi(const std::u16string& text) {
    if (text.empty() || text.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    const int size =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) {
        return {};
    }
    std::string bytes(static_cast<size_t>(size), '\0');
    const int written =
        WideCharToMultiByte(CP_ACP, 0, text.c_str(), length, bytes.data(), size, nullptr, nullptr);
    bytes.resize(static_cast<size_t>(written > 0 ? written : 0));
    return bytes;
}

std::u16string AnsiToWide(const std::string& bytes) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        return {};
    }
    const int length = static_cast<int>(bytes.size());
    const int size = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.c_str(), length, nullptr, 0);
    if (size <= 0) {
        return {};
    }
    std::u16string text(static_cast<size_t>(size), u'\0');
    const int written =
        MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.c_str(), length, text.data(), size);
    text.resize(static_cast<size_t>(written > 0 ? written : 0));
    return text;
}
