// Writing CSV as RFC 4180 has it: CRLF after every record, a field quoted when it holds the
// delimiter, a quote or a line break, its quotes doubled.
#pragma once

#include <string>
#include <string_view>

// The field is UTF-8, or, with fromAnsi, the address file's code-page bytes, written out as
// UTF-8 as it goes.
void AppendCsvField(std::string& out, std::string_view field, bool first, bool fromAnsi = false);
void EndCsvRecord(std::string& out);
