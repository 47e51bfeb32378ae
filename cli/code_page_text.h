// Text between the UTF-8 of terminals and files and the Windows-1254 bytes the address
// file stores. Nothing is ever replaced: a character the code page cannot hold is named.
#pragma once

#include <string>
#include <string_view>

// Every stored byte has a character, so this never fails. Bytes the code page leaves
// undefined come out as the C1 control of the same number, as Windows decodes them.
std::string Utf8FromAnsi(std::string_view bytes);
// Appends instead of returning, for writers that build one long text.
void AppendUtf8FromAnsi(std::string_view bytes, std::string& out);

// Converts to code-page bytes. On failure returns false and says why in problem: the
// first character without a byte ("'Ж' (U+0416) has no Windows-1254 byte"), or that the
// text is not UTF-8.
bool AnsiFromUtf8(std::string_view utf8, std::string& bytes, std::string& problem);

// Whether the code page leaves this stored byte undefined.
bool IsUndefinedAnsiByte(unsigned char byte);

std::u16string Utf16FromUtf8(std::string_view utf8);
std::string Utf8FromUtf16(std::u16string_view text);
// Strict: false for overlong forms, surrogates, values past U+10FFFF and cut sequences.
bool IsValidUtf8(std::string_view text);

// The number of characters (code points) of valid UTF-8 text: its width on a terminal, as
// every Windows-1254 character is one column wide.
size_t Utf8Length(std::string_view text);
