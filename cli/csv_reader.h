// Reading CSV into addresses: RFC 4180 quoting (fields with delimiters, doubled quotes and
// line breaks), a header row naming the columns, and the semicolon or tab that spreadsheets
// in many countries write instead of the comma.
#pragma once

#include "imported_address.h"

#include <string>
#include <string_view>

// Header names are matched without regard to case, Turkish marks, blanks, '_' and '-':
// the column names (adisoyadi, adres1, adres2, postakodu, ili) and the usual words for them
// ("Adı Soyadı", "name", "posta kodu", "il", "city", ...). An idno column is not read (new
// rows get their own numbers); other columns are reported as not read. A quoted field that
// never closes, or a header without a name column, raises CliError naming source and line.
TImportReading ReadCsv(std::string_view text, const std::string& source);
