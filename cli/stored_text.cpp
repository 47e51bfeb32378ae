// The blank-name rule.
#include "stored_text.h"

bool IsBlankName(std::string_view bytes) {
    // 0xA0 is the no-break space of the code page.
    return bytes.find_first_not_of(" \t\r\n\v\f\xA0") == std::string_view::npos;
}
