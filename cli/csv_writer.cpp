// CSV fields and records.
#include "csv_writer.h"

#include "code_page_text.h"

namespace {

void AppendText(std::string& out, std::string_view text, bool fromAnsi) {
    if (fromAnsi) {
        AppendUtf8FromAnsi(text, out);
    } else {
        out.append(text);
    }
}

} // namespace

// The characters that call for quotes are ASCII, the same byte in both encodings.
void AppendCsvField(std::string& out, std::string_view field, bool first, bool fromAnsi) {
    if (!first) {
        out.push_back(',');
    }
    bool quoted = false;
    for (char c : field) {
        quoted = quoted || c == ',' || c == '"' || c == '\r' || c == '\n';
    }
    if (!quoted) {
        AppendText(out, field, fromAnsi);
        return;
    }
    out.push_back('"');
    for (size_t start = 0;;) {
        const size_t quote = field.find('"', start);
        AppendText(out, field.substr(start, quote - start), fromAnsi);
        if (quote == std::string_view::npos) {
            break;
        }
        out += "\"\"";
        start = quote + 1;
    }
    out.push_back('"');
}

void EndCsvRecord(std::string& out) {
    out += "\r\n";
}
