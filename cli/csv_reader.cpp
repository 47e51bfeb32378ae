// CSV reading: records split by a small state machine, then mapped through the header.
#include "csv_reader.h"

#include "cli_error.h"
#include "code_page_text.h"
#include "turkish_folding.h"

#include <algorithm>
#include <optional>

namespace {

struct Record {
    size_t line = 0;
    std::vector<std::string> fields;
    std::string problem;
};

// The delimiter of the file: whichever of comma, semicolon and tab the header line has most
// of outside quotes; the comma when none.
char DetectDelimiter(std::string_view text) {
    size_t counts[3] = {0, 0, 0};
    constexpr char kCandidates[3] = {',', ';', '\t'};
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
        } else if (!quoted && (c == '\n' || c == '\r')) {
            break;
        } else if (!quoted) {
            for (int i = 0; i < 3; ++i) {
                counts[i] += c == kCandidates[i] ? 1 : 0;
            }
        }
    }
    const size_t best = static_cast<size_t>(std::max_element(counts, counts + 3) - counts);
    return counts[best] > 0 ? kCandidates[best] : ',';
}

class RecordReader {
public:
    RecordReader(std::string_view text, char delimiter, const std::string& source)
        : m_text(text), m_delimiter(delimiter), m_source(source) {}

    bool Next(Record& record) {
        if (m_pos >= m_text.size()) {
            return false;
        }
        record = Record{};
        record.line = m_line;
        for (;;) {
            record.fields.emplace_back();
            const bool more = ReadField(record);
            if (!more) {
                return true;
            }
        }
    }

private:
    // Reads one field into the record's last; true when another field of the same record
    // follows.
    bool ReadField(Record& record) {
        std::string& field = record.fields.back();
        if (m_pos < m_text.size() && m_text[m_pos] == '"') {
            const size_t openLine = m_line;
            ++m_pos;
            for (;;) {
                if (m_pos >= m_text.size()) {
                    throw CliError(m_source + ":" + std::to_string(openLine) +
                                   ": a quoted field begun here never closes");
                }
                const char c = m_text[m_pos++];
                if (c == '"') {
                    if (m_pos < m_text.size() && m_text[m_pos] == '"') {
                        field.push_back('"');
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                m_line += c == '\n' ? 1 : 0;
                field.push_back(c);
            }
            // Only a delimiter or the end of the record may follow a closing quote.
            if (m_pos < m_text.size() && m_text[m_pos] != m_delimiter && m_text[m_pos] != '\r' &&
                m_text[m_pos] != '\n' && record.problem.empty()) {
                record.problem = "text after the closing quote of field " +
                                 std::to_string(record.fields.size());
            }
        }
        // The unquoted part (all of an unquoted field; after a quoted one, what should not
        // be there, kept so that nothing is lost from sight).
        while (m_pos < m_text.size() && m_text[m_pos] != m_delimiter && m_text[m_pos] != '\r' &&
               m_text[m_pos] != '\n') {
            field.push_back(m_text[m_pos++]);
        }
        if (m_pos >= m_text.size()) {
            return false;
        }
        if (m_text[m_pos] == m_delimiter) {
            ++m_pos;
            return true;
        }
        // CRLF, LF or a lone CR ends the record.
        if (m_text[m_pos] == '\r') {
            ++m_pos;
        }
        if (m_pos < m_text.size() && m_text[m_pos] == '\n') {
            ++m_pos;
        }
        ++m_line;
        return false;
    }

    std::string_view m_text;
    char m_delimiter;
    const std::string& m_source;
    size_t m_pos = 0;
    size_t m_line = 1;
};

bool IsBlank(const Record& record) {
    return std::all_of(record.fields.begin(), record.fields.end(),
                       [](const std::string& field) { return field.empty(); });
}

constexpr int kIdnoColumn = -1;
constexpr int kUnknownColumn = -2;

// Which field a header names, compared after Turkish folding without blanks and marks.
int ColumnOf(const std::string& header) {
    static const std::pair<const char*, int> kNames[] = {
        {"adisoyadi", 0}, {"adsoyad", 0},   {"isim", 0},
        {"name", 0},      {"fullname", 0},  {"adres1", 1},     {"adres", 1},
        {"address1", 1},  {"address", 1},   {"street", 1},     {"adres2", 2},
        {"address2", 2},  {"postakodu", 3}, {"postakod", 3},   {"postalcode", 3},
        {"postcode", 3},  {"zip", 3},       {"zipcode", 3},    {"ili", 4},
        {"il", 4},        {"sehir", 4},     {"city", 4},       {"province", 4},
        {"idno", kIdnoColumn}, {"id", kIdnoColumn}, {"no", kIdnoColumn}};
    std::string bytes;
    std::string problem;
    if (!AnsiFromUtf8(header, bytes, problem)) {
        return kUnknownColumn;
    }
    std::string key;
    for (char c : bytes) {
        const char folded = static_cast<char>(TurkishMarkFolding()[static_cast<unsigned char>(c)]);
        if (folded != ' ' && folded != '_' && folded != '-' && folded != '.' && folded != '\t') {
            key.push_back(folded);
        }
    }
    for (const auto& [name, column] : kNames) {
        if (key == name) {
            return column;
        }
    }
    return kUnknownColumn;
}

} // namespace

TImportReading ReadCsv(std::string_view text, const std::string& source) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    RecordReader reader(text, DetectDelimiter(text), source);
    Record header;
    do {
        if (!reader.Next(header)) {
            throw CliError(source + ": no header row");
        }
    } while (IsBlank(header));

    std::vector<int> columns;
    std::vector<std::string> unread;
    bool named[kFieldCount] = {};
    for (const std::string& name : header.fields) {
        const int column = ColumnOf(name);
        if (column >= 0 && named[column]) {
            throw CliError(source + ":" + std::to_string(header.line) + ": two columns for " +
                           kFieldNames[column]);
        }
        if (column >= 0) {
            named[column] = true;
        } else if (column == kUnknownColumn) {
            unread.push_back("\"" + name + "\"");
        }
        columns.push_back(column);
    }
    if (!named[0]) {
        throw CliError(source + ":" + std::to_string(header.line) +
                       ": the header names no name column (adisoyadi)");
    }

    TImportReading reading;
    if (!unread.empty()) {
        std::string note = "column(s) not read:";
        for (const std::string& name : unread) {
            note += " " + name;
        }
        reading.notes.push_back(note);
    }
    Record record;
    while (reader.Next(record)) {
        if (IsBlank(record)) {
            continue;
        }
        TImportedAddress address;
        address.line = record.line;
        address.fieldLines.fill(record.line);
        address.problem = record.problem;
        address.problemLine = record.line;
        for (size_t i = 0; i < record.fields.size(); ++i) {
            if (i >= columns.size()) {
                if (!record.fields[i].empty() && address.problem.empty()) {
                    address.problem = std::to_string(record.fields.size()) +
                                      " fields, but the header names " +
                                      std::to_string(columns.size());
                }
            } else if (columns[i] >= 0) {
                address.fields[static_cast<size_t>(columns[i])] = std::move(record.fields[i]);
            }
        }
        reading.addresses.push_back(std::move(address));
    }
    return reading;
}
