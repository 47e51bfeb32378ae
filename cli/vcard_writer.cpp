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

// Ends the content line that begins at out[start], folding it: a CRLF and one blank before
// every 75th byte that begins a character. The line is the end of out, so a fold moves
// only the rest of the line.
void EndLine(std::string& out, size_t start) {
    if (out.size() - start <= kFoldWidth) {
        out += "\r\n";
        return;
    }
    size_t width = 0;
    for (size_t i = start; i < out.size(); ++i, ++width) {
        const bool continuation = (static_cast<unsigned char>(out[i]) & 0xC0) == 0x80;
        if (width >= kFoldWidth && !continuation) {
            out.insert(i, "\r\n ");
            i += 3;
            width = 1; // the blank that begins the next line
        }
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

void AppendVCard(std::string& out, const TAddressViews& fields) {
    const std::string_view name = fields[0];
    out += "BEGIN:VCARD\r\nVERSION:3.0\r\n";

    size_t start = out.size();
    out += "N:";
    const std::string_view trimmed = TrimBlanks(name);
    const size_t lastBlank = trimmed.rfind(' ');
    if (lastBlank == std::string_view::npos) {
        out += ";";
        AppendEscaped(out, trimmed);
    } else {
        AppendEscaped(out, TrimBlanks(trimmed.substr(lastBlank + 1)));
        out += ";";
        AppendEscaped(out, TrimBlanks(trimmed.substr(0, lastBlank)));
    }
    out += ";;;";
    EndLine(out, start);

    start = out.size();
    out += "FN:";
    AppendEscaped(out, name);
    EndLine(out, start);

    if (!fields[1].empty() || !fields[2].empty() || !fields[3].empty() || !fields[4].empty()) {
        start = out.size();
        out += "ADR:;";
        AppendEscaped(out, fields[2]);
        out += ";";
        AppendEscaped(out, fields[1]);
        out += ";";
        AppendEscaped(out, fields[4]);
        out += ";;";
        AppendEscaped(out, fields[3]);
        out += ";";
        EndLine(out, start);
    }
    out += "END:VCARD\r\n";
}
