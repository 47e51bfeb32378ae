// vCard 3.0 output: escaping, folding, and the name and address properties.
#include "vcard_writer.h"

#include "code_page_text.h"

namespace {

constexpr size_t kFoldWidth = 75;

// Appends code-page bytes as escaped UTF-8 text value.
void AppendEscaped(std::string& line, std::string_view bytes) {
    size_t start = 0;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c != '\\' && c != ',' && c != ';' && c != '\n') {
            continue;
        }
        AppendUtf8FromAnsi(bytes.substr(start, i - start), line);
        line.push_back('\\');
        line.push_back(c == '\n' ? 'n' : c);
        start = i + 1;
    }
    AppendUtf8FromAnsi(bytes.substr(start), line);
}

// Ends a content line, folding it: a CRLF and one blank before every 75th byte that
// begins a character.
void AppendFolded(std::string& out, std::string_view line) {
    size_t width = 0;
    for (char c : line) {
        const bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        if (width >= kFoldWidth && !continuation) {
            out += "\r\n ";
            width = 1;
        }
        out.push_back(c);
        ++width;
    }
    out += "\r\n";
}

std::string_view TrimBlanks(std::string_view text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

void AppendVCard(std::string& out, const TAddressFields& fields) {
    const std::string_view name = fields[0];
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";

    std::string line = "N:";
    const std::string_view trimmed = TrimBlanks(name);
    const size_t lastBlank = trimmed.rfind(' ');
    if (lastBlank == std::string_view::npos) {
        line += ";";
        AppendEscaped(line, trimmed);
    } else {
        AppendEscaped(line, TrimBlanks(trimmed.substr(lastBlank + 1)));
        line += ";";
        AppendEscaped(line, TrimBlanks(trimmed.substr(0, lastBlank)));
    }
    line += ";;;";
    AppendFolded(out, line);

    line = "FN:";
    AppendEscaped(line, name);
    AppendFolded(out, line);

    if (!fields[1].empty() || !fields[2].empty() || !fields[3].empty() || !fields[4].empty()) {
        line = "ADR:;";
        AppendEscaped(line, fields[2]);
        line += ";";
        AppendEscaped(line, fields[1]);
        line += ";";
        AppendEscaped(line, fields[4]);
        line += ";;";
        AppendEscaped(line, fields[3]);
        line += ";";
        AppendFolded(out, line);
    }
    out += "END:VCARD\r\n";
}
