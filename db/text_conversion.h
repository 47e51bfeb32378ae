// Text between the windows' UTF-16 and the database's bytes, through the device's ANSI code
// page (CP_ACP), never UTF-8.
#pragma once

#include <string>
#include <string_view>

// A unit the code page cannot represent becomes its default character. Lengths are
// explicit, so an embedded NUL passes through.
std::string WideToAnsi(const std::u16string& text);
std::u16string AnsiToWide(const std::string& bytes);
// The same into the caller's string, whose storage is reused.
void AnsiToWide(std::string_view bytes, std::u16string& text);
