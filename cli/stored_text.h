// The rule every written name obeys, for typed arguments and imported rows alike.
#pragma once

#include <string_view>

// Whether a name (code-page bytes) is empty once blanks (spaces, tabs, line breaks,
// no-break spaces) are left out.
bool IsBlankName(std::string_view bytes);
