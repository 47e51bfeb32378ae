// vCard reading: physical lines are unfolded into properties, properties into the fields
// of one card, and each finished card into an address.
#include "vcard_reader.h"

#include "cli_error.h"
#include "code_page_text.h"

#include <cctype>
#include <optional>
#include <vector>

namespace {

enum class Field { Name = 0, Adres1, Adres2, PostaKodu, Ili };

std::string Upper(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

std::string_view Trim(std::string_view text) {
    const size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The physical lines of a text, without their ending (LF or CRLF), read one at a time.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : m_text(text) { Load(); }

    bool AtEnd() const { return m_atEnd; }
    std::string_view Line() const { return m_line; }
    // The 1-based number of the current line; past the end, the number of lines.
    size_t Number() const { return m_number; }
    void Advance() {
        m_pos = m_next;
        if (!m_atEnd) {
            Load();
            m_number += m_atEnd ? 0 : 1;
        }
    }

private:
    void Load() {
        if (m_pos >= m_text.size()) {
            m_atEnd = true;
            return;
        }
        size_t end = m_text.find('\n', m_pos);
        m_next = end == std::string_view::npos ? m_text.size() : end + 1;
        end = end == std::string_view::npos ? m_text.size() : end;
        if (end > m_pos && m_text[end - 1] == '\r') {
            --end;
        }
        m_line = m_text.substr(m_pos, end - m_pos);
    }

    std::string_view m_text;
    std::string_view m_line;
    size_t m_pos = 0;
    size_t m_next = 0;
    size_t m_number = 1;
    bool m_atEnd = false;
};

struct Property {
    std::string name;       // upper case, without its group
    std::string encoding;   // upper case; empty for none
    std::string charset;    // upper case; empty for none
    std::string_view value; // as written, escapes and encoding still in it
    size_t line = 0;
};

bool ContainsNoCase(std::string_view text, std::string_view upperWord) {
    for (size_t i = 0; i + upperWord.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < upperWord.size() &&
               std::toupper(static_cast<unsigned char>(text[i + k])) == upperWord[k]) {
            ++k;
        }
        if (k == upperWord.size()) {
            return true;
        }
    }
    return false;
}

// The colon that ends the name and parameters: the first one outside a quoted parameter.
size_t ValueColon(std::string_view line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"') {
            quoted = !quoted;
        } else if (line[i] == ':' && !quoted) {
            return i;
        }
    }
    return std::string_view::npos;
}

// Only the encoding and the character set matter to the fields read; other parameters
// (TYPE, LABEL, PREF, ...) are passed over.
void ReadParameter(std::string_view part, Property& property) {
    const std::string parameter = Upper(Trim(part));
    const size_t equals = parameter.find('=');
    const std::string key = equals == std::string::npos ? "" : parameter.substr(0, equals);
    std::string value = equals == std::string::npos ? parameter : parameter.substr(equals + 1);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    if (key == "ENCODING" ||
        (key.empty() && (value == "QUOTED-PRINTABLE" || value == "BASE64" || value == "8BIT"))) {
        property.encoding = value;
    } else if (key == "CHARSET") {
        property.charset = value;
    }
}

void ReadParameters(std::string_view head, Property& property) {
    bool quoted = false;
    size_t start = 0;
    bool first = true;
    for (size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"') {
            quoted = !quoted;
        } else if (i == head.size() || (head[i] == ';' && !quoted)) {
            const std::string_view part = head.substr(start, i - start);
            start = i + 1;
            if (!first) {
                ReadParameter(part, property);
                continue;
            }
            first = false;
            std::string_view name = part;
            if (const size_t dot = name.rfind('.'); dot != std::string_view::npos) {
                name = name.substr(dot + 1);
            }
            property.name = Upper(Trim(name));
        }
    }
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
}

bool DecodeQuotedPrintable(std::string_view text, std::string& bytes) {
    bytes.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            bytes.push_back(text[i]);
            continue;
        }
        const int high = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        const int low = i + 2 < text.size() ? HexDigit(text[i + 2]) : -1;
        if (high < 0 || low < 0) {
            return false;
        }
        bytes.push_back(static_cast<char>(high * 16 + low));
        i += 2;
    }
    return true;
}

// Bytes of the named character set into UTF-8; nullopt for a set this reader does not know.
std::optional<std::string> Utf8FromCharset(const std::string& charset, std::string_view bytes) {
    if (charset.empty() || charset == "UTF-8" || charset == "US-ASCII") {
        return std::string(bytes);
    }
    if (charset == "WINDOWS-1254" || charset == "CP1254") {
        return Utf8FromAnsi(bytes);
    }
    if (charset == "ISO-8859-9" || charset == "ISO-8859-1" || charset == "LATIN1" ||
        charset == "LATIN5") {
        // Latin-5 is Windows-1254 from 0xA0 up, Latin-1 is the first 256 code points; both
        // keep 0x80-0x9F for the C1 controls.
        const bool turkish = charset == "ISO-8859-9" || charset == "LATIN5";
        std::string utf8;
        for (char c : bytes) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                utf8.push_back(c);
            } else if (turkish && byte >= 0xA0) {
                AppendUtf8FromAnsi(std::string_view(&c, 1), utf8);
            } else {
                utf8.push_back(static_cast<char>(0xC0 | (byte >> 6)));
                utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
            }
        }
        return utf8;
    }
    return std::nullopt;
}

// Splits on every separator that no backslash escapes; the pieces keep their escapes.
std::vector<std::string_view> SplitComponents(std::string_view value, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\') {
            ++i;
        } else if (value[i] == separator) {
            parts.push_back(value.substr(start, i - start));
            start = i + 1;
        }
    }
    parts.push_back(value.substr(start));
    return parts;
}

std::string Unescape(std::string_view text) {
    if (text.find('\\') == std::string_view::npos) {
        return std::string(text);
    }
    std::string result;
    result.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            result.push_back(text[i]);
            continue;
        }
        const char next = text[++i];
        if (next == 'n' || next == 'N') {
            result.push_back('\n');
        } else if (next == '\\' || next == ',' || next == ';' || next == ':' || next == '"') {
            result.push_back(next);
        } else {
            // Not an escape: both characters stay, as 2.1 writers mean them.
            result.push_back('\\');
            result.push_back(next);
        }
    }
    return result;
}

// One card being read.
class CardReader {
public:
    CardReader(size_t line) { m_address.line = line; }

    void SetVersion(std::string_view version, size_t line) {
        m_version = std::string(Trim(version));
        if (m_version != "2.1" && m_version != "3.0" && m_version != "4.0") {
            Refuse(line, "unknown vCard version \"" + m_version + "\"");
        }
    }
    bool IsVersion21() const { return m_version == "2.1"; }

    void Read(const Property& property) {
        if (property.name == "FN") {
            std::string name;
            if (Decode(property, property.value, name)) {
                m_formattedName = std::move(name);
                m_formattedNameLine = property.line;
            }
        } else if (property.name == "N") {
            // Kept as written: it is read only when the card has no FN to give the name.
            m_structured = property;
            m_structuredValue.assign(property.value);
            m_structured->value = m_structuredValue;
        } else if (property.name == "ADR") {
            if (++m_addressCount == 1) {
                ReadAddress(property);
            }
        }
    }

    bool HadSeveralAddresses() const { return m_addressCount > 1; }
    size_t Line() const { return m_address.line; }

    // Hands the address over; the reader is done with it.
    TImportedAddress Finish() {
        const size_t nameField = static_cast<size_t>(Field::Name);
        if (!Trim(m_formattedName).empty()) {
            m_address.fields[nameField] = std::move(m_formattedName);
            m_address.fieldLines[nameField] = m_formattedNameLine;
        } else if (m_structured) {
            m_address.fields[nameField] = ReadName(*m_structured);
            m_address.fieldLines[nameField] = m_structured->line;
        }
        for (size_t& line : m_address.fieldLines) {
            line = line != 0 ? line : m_address.line;
        }
        return std::move(m_address);
    }

private:
    void Refuse(size_t line, const std::string& problem) {
        if (m_address.problem.empty()) {
            m_address.problem = problem;
            m_address.problemLine = line;
        }
    }

    // One component: encoding, then character set, then escapes.
    bool Decode(const Property& property, std::string_view raw, std::string& text) {
        // Plain UTF-8, as 3.0 and 4.0 always are: only the escapes to undo. Where the text is
        // not UTF-8, 2.1 may have left out its CHARSET, which is worth saying; otherwise
        // the conversion for the file says it.
        if (property.encoding.empty() && (property.charset.empty() || property.charset == "UTF-8")) {
            if (IsVersion21() && !IsValidUtf8(raw)) {
                Refuse(property.line, property.name + ": not UTF-8 text" +
                                          (property.charset.empty() ? " (no CHARSET given)" : ""));
                return false;
            }
            text = Unescape(raw);
            return true;
        }
        std::string bytes;
        if (property.encoding == "QUOTED-PRINTABLE") {
            if (!DecodeQuotedPrintable(raw, bytes)) {
                Refuse(property.line, property.name + ": broken QUOTED-PRINTABLE text");
                return false;
            }
        } else if (property.encoding.empty() || property.encoding == "8BIT") {
            bytes.assign(raw);
        } else {
            Refuse(property.line, property.name + ": encoding " + property.encoding +
                                      " is not read");
            return false;
        }
        std::optional<std::string> utf8 = Utf8FromCharset(property.charset, bytes);
        if (!utf8) {
            Refuse(property.line, property.name + ": unknown CHARSET " + property.charset);
            return false;
        }
        if (!IsValidUtf8(*utf8)) {
            Refuse(property.line, property.name + ": not UTF-8 text" +
                                      (property.charset.empty() ? " (no CHARSET given)" : ""));
            return false;
        }
        text = Unescape(*utf8);
        return true;
    }

    std::string ReadName(const Property& property) {
        // family; given; additional; prefixes; suffixes — read out in the order a name is said.
        const std::vector<std::string_view> parts = SplitComponents(property.value, ';');
        static constexpr size_t kSpokenOrder[] = {3, 1, 2, 0, 4};
        std::string name;
        for (size_t index : kSpokenOrder) {
            std::string part;
            if (index >= parts.size() || !Decode(property, parts[index], part)) {
                continue;
            }
            const std::string_view trimmed = Trim(part);
            if (!trimmed.empty()) {
                name += name.empty() ? "" : " ";
                name += trimmed;
            }
        }
        return name;
    }

    void ReadAddress(const Property& property) {
        // post office box; extended address; street; locality; region; postal code; country
        const std::vector<std::string_view> parts = SplitComponents(property.value, ';');
        // The post office box and the country have no field and are not read.
        std::string components[7];
        for (size_t i = 1; i < parts.size() && i < 6; ++i) {
            if ((i != 4 || components[3].empty()) && !Decode(property, parts[i], components[i])) {
                return;
            }
        }
        Set(Field::Adres1, std::move(components[2]), property.line);
        Set(Field::Adres2, std::move(components[1]), property.line);
        Set(Field::PostaKodu, std::move(components[5]), property.line);
        Set(Field::Ili, std::move(!components[3].empty() ? components[3] : components[4]),
            property.line);
    }

    void Set(Field field, std::string&& text, size_t line) {
        m_address.fields[static_cast<size_t>(field)] = std::move(text);
        m_address.fieldLines[static_cast<size_t>(field)] = line;
    }

    TImportedAddress m_address;
    std::string m_version = "3.0";
    std::string m_formattedName;
    size_t m_formattedNameLine = 0;
    std::optional<Property> m_structured;
    std::string m_structuredValue;
    int m_addressCount = 0;
};

} // namespace

bool LooksLikeVCards(std::string_view text) {
    for (LineCursor lines(text); !lines.AtEnd(); lines.Advance()) {
        if (!Trim(lines.Line()).empty()) {
            return Upper(Trim(lines.Line())).rfind("BEGIN:VCARD", 0) == 0;
        }
    }
    return false;
}

TImportReading ReadVCards(std::string_view text, const std::string& source) {
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        text.remove_prefix(3);
    }
    LineCursor lines(text);
    TImportReading reading;
    std::optional<CardReader> card;
    size_t severalAddresses = 0;
    auto fail = [&](size_t line, const std::string& what) {
        throw CliError(source + ":" + std::to_string(line) + ": " + what);
    };

    std::string logical;
    while (!lines.AtEnd()) {
        Property property;
        property.line = lines.Number();
        logical.assign(lines.Line());
        lines.Advance();
        // A QUOTED-PRINTABLE value goes on after a line ending in '=' (a soft break); any
        // value goes on in a line that begins with a blank (a fold). A fold drops that one
        // blank, except in 2.1, where lines were folded at a blank that belongs to the text.
        const bool quotedPrintable =
            ContainsNoCase(std::string_view(logical).substr(0, ValueColon(logical)), "QUOTED-PRINTABLE");
        const bool keepsFoldBlank = card && card->IsVersion21();
        while (!lines.AtEnd()) {
            const std::string_view line = lines.Line();
            if (quotedPrintable && !logical.empty() && logical.back() == '=') {
                logical.pop_back();
                logical += line;
            } else if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
                logical += keepsFoldBlank ? line : line.substr(1);
            } else {
                break;
            }
            lines.Advance();
        }
        if (Trim(logical).empty()) {
            continue;
        }
        const size_t colon = ValueColon(logical);
        if (colon == std::string::npos) {
            fail(property.line, "not a vCard line (no ':'): " + std::string(Trim(logical)).substr(0, 40));
        }
        ReadParameters(std::string_view(logical).substr(0, colon), property);
        property.value = std::string_view(logical).substr(colon + 1);
        const bool beginOrEnd = property.name == "BEGIN" || property.name == "END";
        const std::string value = beginOrEnd ? Upper(Trim(property.value)) : std::string();

        if (property.name == "BEGIN" && value == "VCARD") {
            if (card) {
                fail(property.line, "a card begins inside the card of line " +
                                        std::to_string(card->Line()));
            }
            card.emplace(property.line);
        } else if (!card) {
            fail(property.line, "expected BEGIN:VCARD");
        } else if (property.name == "END" && value == "VCARD") {
            severalAddresses += card->HadSeveralAddresses() ? 1 : 0;
            reading.addresses.push_back(card->Finish());
            card.reset();
        } else if (property.name == "VERSION") {
            card->SetVersion(property.value, property.line);
        } else {
            card->Read(property);
        }
    }
    if (card) {
        fail(lines.Number(), "the card of line " + std::to_string(card->Line()) +
                               " has no END:VCARD");
    }
    if (severalAddresses > 0) {
        reading.notes.push_back(std::to_string(severalAddresses) +
                                " card(s) with several addresses: the first of each was taken");
    }
    return reading;
}
