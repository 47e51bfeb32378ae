// Writing CSV as RFC 4180 has it: CRLF after every record, a field quoted when it holds the
// delimiter, a quote or a line break, its quotes doubled.
#pragma once

#include <string>
#include <string_view>

void AppendCsvField(std::string& out, std::string_view field, bool first);
void EndCsvRecord(std::string& out);
