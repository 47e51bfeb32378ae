// The kernel's UTF-8 decoder and encoder on any bytes: decoding never fails, well-formed
// input comes back byte for byte, and what the decoder gives is always well-formed
// UTF-16 that survives a second round unchanged.
#include "fuzz_check.h"
#include "kernel/utf8.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    bool invalid = false;
    const std::u16string text = device_kernel::Utf8ToUtf16(bytes, &invalid);
    // Never more units than bytes: each unit comes from at least one byte.
    FUZZ_CHECK(text.size() <= bytes.size());
    bool unpaired = false;
    const std::string again = device_kernel::Utf16ToUtf8(text, &unpaired);
    FUZZ_CHECK(!unpaired);
    if (!invalid) {
        FUZZ_CHECK(again == bytes);
    } else {
        FUZZ_CHECK(text.find(u'\uFFFD') != std::u16string::npos);
    }
    bool invalidAgain = false;
    FUZZ_CHECK(device_kernel::Utf8ToUtf16(again, &invalidAgain) == text);
    FUZZ_CHECK(!invalidAgain);
    return 0;
}
