// WideToAnsi and AnsiToWide over the device's WideCharToMultiByte and MultiByteToWideChar.
#include "text_conversion.h"

#include "winbase.h"
#include "winnls.h"

#include <limits>

// A call that produces nothing gives an empty string.

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
    std::u16string text;
    AnsiToWide(bytes, text);
    return text;
}

void AnsiToWide(std::string_view bytes, std::u16string& text) {
    if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
        text.clear();
        return;
    }
    const int length = static_cast<int>(bytes.size());
    // The code page is single-byte, so one unit per byte is enough and the size question
    // can be skipped; a code page that needed more would say so, and is then asked.
    text.resize(bytes.size());
    int written = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), length, text.data(),
                                      static_cast<int>(text.size()));
    if (written == 0 && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        const int size =
            MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), length, nullptr, 0);
        text.resize(static_cast<size_t>(size > 0 ? size : 0));
        written = size > 0 ? MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, bytes.data(), length,
                                                 text.data(), size)
                           : 0;
    }
    text.resize(static_cast<size_t>(written > 0 ? written : 0));
}
