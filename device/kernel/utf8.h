// UTF-8 <-> UTF-16 inside the device's kernel: Linux file names, and the CP_UTF8 code page
// of the conversion calls.
#pragma once

#include <string>
#include <string_view>

namespace device_kernel {

// A byte sequence that is not well-formed UTF-8 becomes U+FFFD, and *invalid (when given)
// is set; decoding goes on after it.
std::u16string Utf8ToUtf16(std::string_view text, bool* invalid = nullptr);
// An unpaired surrogate becomes U+FFFD, and *invalid (when given) is set.
std::string Utf16ToUtf8(std::u16string_view text, bool* invalid = nullptr);

} // namespace device_kernel
