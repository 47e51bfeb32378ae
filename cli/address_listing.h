// The three ways `list` shows addresses: an aligned table for reading, CSV and JSON for
// other programs. Texts arrive in UTF-8.
#pragma once

#include <array>
#include <ostream>
#include <string>
#include <vector>

struct TListedAddress {
    std::string idno;
    std::array<std::string, 5> fields;
};

enum class TListingFormat { Table, Csv, Json };

void WriteListing(std::ostream& out, const std::vector<TListedAddress>& addresses,
                  TListingFormat format);

// The CSV header row of both `list --csv` and `export`, with its CRLF.
std::string CsvHeader();
// One address as a CSV record, with its CRLF.
void AppendCsvAddress(std::string& out, std::string_view idno,
                      const std::array<std::string, 5>& fields);
