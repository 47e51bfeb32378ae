// UTF-8 <-> UTF-16 inside the device's kernel: Linux file names, and the CP_UTF8 code page
// of the conversion calls.
#pragma once

#include <string>
#include <string_view>

namespace device_kernel {

// Bytes that are not well-formed UTF-8 become U+FFFD, one for each maximal subpart (a
// lead byte with the continuation bytes that were valid so far), and *invalid (when
// given) is set; decoding goes on after them.
std::u16string Utf8ToUtf16(std::string_view text, bool* invalid = nullptr);
// An unpaired surrogate becomes U+FFFD, and *invalid (when given) is set.
std::string Utf16ToUtf8(std::u16string_view text, bool* invalid = nullptr);

} // namespace device_kernel
