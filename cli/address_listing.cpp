// The table, CSV and JSON listings.
#include "address_listing.h"

#include "address_file.h"
#include "code_page_text.h"
#include "csv_writer.h"

#include <algorithm>
#include <cstdio>

namespace {

// The search window's column headers, and "No" for the row number it does not show.
constexpr const char* kTableHeaders[6] = {"No", "Adı SoyAdı", "Adres 1", "Adres 2", "PostaKodu",
                                          "İl"};

// Control characters would break the table's lines: shown as escapes instead.
std::string ForTable(const std::string& text) {
    std::string shown;
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\n') {
            shown += "\\n";
        } else if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        } else {
            shown.push_back(c);
        }
    }
    return shown;
}

void WriteTable(std::ostream& out, const std::vector<TListedAddress>& addresses) {
    std::vector<std::array<std::string, 6>> cells;
    cells.push_back({});
    std::copy(std::begin(kTableHeaders), std::end(kTableHeaders), cells.back().begin());
    for (const TListedAddress& address : addresses) {
        cells.push_back({address.idno});
        for (size_t i = 0; i < 5; ++i) {
            cells.back()[i + 1] = ForTable(address.fields[i]);
        }
    }
    // Widths in characters: every letter the file can hold, Turkish ones included, takes
    // one column of a terminal.
    size_t widths[6] = {};
    for (const auto& row : cells) {
        for (size_t i = 0; i < 6; ++i) {
            widths[i] = std::max(widths[i], Utf8Length(row[i]));
        }
    }
    for (const auto& row : cells) {
        std::string line;
        for (size_t i = 0; i < 6; ++i) {
            const std::string padding(widths[i] - Utf8Length(row[i]), ' ');
            // The number is right-aligned, the texts left-aligned.
            line += i == 0 ? padding + row[i] : "  " + row[i] + padding;
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

void AppendJsonString(std::string& out, const std::string& text) {
    out.push_back('"');
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out.push_back('\\');
            out.push_back(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", byte);
            out += escape;
        } else {
            out.push_back(c);
        }
    }
    out.push_back('"');
}

void WriteJson(std::ostream& out, const std::vector<TListedAddress>& addresses) {
    std::string text = "[";
    for (size_t i = 0; i < addresses.size(); ++i) {
        text += i == 0 ? "\n  {\"idno\": " : ",\n  {\"idno\": ";
        const std::string& idno = addresses[i].idno;
        const bool number = !idno.empty() && idno.find_first_not_of("-0123456789") == std::string::npos;
        if (number) {
            text += idno;
        } else {
            AppendJsonString(text, idno);
        }
        for (size_t field = 0; field < 5; ++field) {
            text += ", \"";
            text += kFieldNames[field];
            text += "\": ";
            AppendJsonString(text, addresses[i].fields[field]);
        }
        text += "}";
    }
    text += addresses.empty() ? "]\n" : "\n]\n";
    out << text;
}

} // namespace

std::string CsvHeader() {
    std::string header = "idno";
    for (const char* name : kFieldNames) {
        header += ",";
        header += name;
    }
    return header + "\r\n";
}

void AppendCsvAddress(std::string& out, std::string_view idno,
                      const std::array<std::string, 5>& fields) {
    AppendCsvField(out, idno, true);
    for (const std::string& field : fields) {
        AppendCsvField(out, field, false);
    }
    EndCsvRecord(out);
}

void WriteListing(std::ostream& out, const std::vector<TListedAddress>& addresses,
                  TListingFormat format) {
    switch (format) {
    case TListingFormat::Table:
        WriteTable(out, addresses);
        break;
    case TListingFormat::Csv: {
        std::string text = CsvHeader();
        for (const TListedAddress& address : addresses) {
            AppendCsvAddress(text, address.idno, address.fields);
        }
        out << text;
        break;
    }
    case TListingFormat::Json:
        WriteJson(out, addresses);
        break;
    }
}
