// CSV fields and records.
#include "csv_writer.h"

void AppendCsvField(std::string& out, std::string_view field, bool first) {
    if (!first) {
        out.push_back(',');
    }
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out.append(field);
        return;
    }
    out.push_back('"');
    for (char c : field) {
        if (c == '"') {
            out.push_back('"');
        }
        out.push_back(c);
    }
    out.push_back('"');
}

void EndCsvRecord(std::string& out) {
    out += "\r\n";
}
