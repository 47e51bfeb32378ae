// The script parser.
#include "script/script.h"

#include "kernel/utf8.h"
#include "winuser.h"

#include <cctype>
#include <charconv>
#include <cstdio>

namespace device::script {
namespace {

struct KeyName {
    const char* name;
    UINT key;
};

constexpr KeyName kKeyNames[] = {
    {"RETURN", VK_RETURN}, {"TAB", VK_TAB},   {"BACK", VK_BACK},   {"DELETE", VK_DELETE},
    {"ESCAPE", VK_ESCAPE}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT}, {"UP", VK_UP},
    {"DOWN", VK_DOWN},     {"HOME", VK_HOME}, {"END", VK_END},     {"SPACE", VK_SPACE},
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr size_t kQuotedCharacters = 80;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

class LineReader {
public:
    explicit LineReader(std::string_view text) : m_text(text) {}

    void SkipBlanks() {
        while (m_pos < m_text.size() && IsBlank(m_text[m_pos])) {
            ++m_pos;
        }
    }
    bool AtEnd() {
        SkipBlanks();
        return m_pos >= m_text.size() || m_text[m_pos] == '#';
    }
    // The next run of characters up to a blank, a comment or a quote.
    std::string_view Word() {
        SkipBlanks();
        size_t start = m_pos;
        while (m_pos < m_text.size() && !IsBlank(m_text[m_pos]) && m_text[m_pos] != '#' &&
               m_text[m_pos] != '"') {
            ++m_pos;
        }
        return m_text.substr(start, m_pos - start);
    }
    // A whole number; `error` says why a word that is there is not one.
    bool Number(int* value, std::string* error) {
        std::string_view word = Word();
        if (word.empty()) {
            return false;
        }
        const char* end = word.data() + word.size();
        const bool plus =
            word.size() > 1 && word[0] == '+' && std::isdigit(static_cast<unsigned char>(word[1]));
        auto [last, result] = std::from_chars(word.data() + (plus ? 1 : 0), end, *value);
        if (result == std::errc::result_out_of_range && last == end) {
            *error = "the number " + QuoteForError(word) + " is too large";
        }
        return result == std::errc() && last == end;
    }
    bool NextIsQuote() {
        SkipBlanks();
        return m_pos < m_text.size() && m_text[m_pos] == '"';
    }
    bool Quoted(std::string* out, std::string* error) {
        if (!NextIsQuote()) {
            *error = "expected a string in double quotes";
            return false;
        }
        ++m_pos;
        out->clear();
        while (m_pos < m_text.size()) {
            char c = m_text[m_pos++];
            if (c == '"') {
                return true;
            }
            if (c == '\\') {
                if (m_pos >= m_text.size() || (m_text[m_pos] != '"' && m_text[m_pos] != '\\')) {
                    *error = "only \\\" and \\\\ may follow a backslash";
                    return false;
                }
                c = m_text[m_pos++];
            }
            *out += c;
        }
        *error = "the string has no closing quote";
        return false;
    }

private:
    std::string_view m_text;
    size_t m_pos = 0;
};

bool ParseKey(std::string_view word, Step* step, std::string* error) {
    std::string_view rest = word;
    for (;;) {
        if (rest.starts_with("SHIFT+")) {
            step->shift = true;
            rest.remove_prefix(6);
        } else if (rest.starts_with("CTRL+")) {
            step->control = true;
            rest.remove_prefix(5);
        } else {
            break;
        }
    }
    for (const KeyName& name : kKeyNames) {
        if (rest == name.name) {
            step->virtualKey = name.key;
            return true;
        }
    }
    if (rest.size() == 1 && (std::isupper(static_cast<unsigned char>(rest[0])) ||
                             std::isdigit(static_cast<unsigned char>(rest[0])))) {
        step->virtualKey = static_cast<UINT>(rest[0]);
        return true;
    }
    *error = "unknown key " + QuoteForError(word);
    return false;
}

// File names and captions go to calls that stop at a NUL; one inside would cut them
// without a word.
bool RefuseNul(std::string_view text, const char* what, std::string* error) {
    if (text.find('\0') == std::string_view::npos) {
        return true;
    }
    *error = std::string(what) + " holds a NUL character";
    return false;
}

// A quoted string as UTF-16; `what` names it in the errors ("the caption").
bool QuotedText(LineReader& reader, const char* what, bool refuseNul, std::u16string* out,
                std::string* error) {
    std::string bytes;
    if (!reader.Quoted(&bytes, error) || (refuseNul && !RefuseNul(bytes, what, error))) {
        return false;
    }
    bool invalid = false;
    *out = device_kernel::Utf8ToUtf16(bytes, &invalid);
    if (invalid) {
        *error = std::string(what) + " is not valid UTF-8";
        return false;
    }
    return true;
}

bool Points(LineReader& reader, POINT* points, int count, SIZE screen, const char* usage,
            std::string* error) {
    for (int i = 0; i < count; ++i) {
        if (!reader.Number(&points[i].x, error) || !reader.Number(&points[i].y, error)) {
            if (error->empty()) {
                *error = usage;
            }
            return false;
        }
    }
    for (int i = 0; i < count; ++i) {
        const POINT p = points[i];
        if (p.x < 0 || p.y < 0 || p.x >= screen.cx || p.y >= screen.cy) {
            *error = "the point " + std::to_string(p.x) + " " + std::to_string(p.y) +
                     " is off the screen, which is " + std::to_string(screen.cx) + "x" +
                     std::to_string(screen.cy);
            return false;
        }
    }
    return true;
}

bool ParseLine(std::string_view text, SIZE screen, Step* step, bool* empty, std::string* error) {
    LineReader reader(text);
    *empty = reader.AtEnd();
    if (*empty) {
        return true;
    }
    const std::string command(reader.Word());
    if (command == "tap") {
        if (reader.NextIsQuote()) {
            step->kind = StepKind::TapCaption;
            if (!QuotedText(reader, "the caption", true, &step->text, error)) {
                return false;
            }
            if (step->text.empty()) {
                *error = "tap needs a caption that is not empty";
                return false;
            }
        } else {
            step->kind = StepKind::TapAt;
            if (!Points(reader, &step->from, 1, screen, "tap needs X Y or a \"Caption\"", error)) {
                return false;
            }
        }
    } else if (command == "drag") {
        step->kind = StepKind::Drag;
        POINT points[2];
        if (!Points(reader, points, 2, screen, "drag needs X1 Y1 X2 Y2", error)) {
            return false;
        }
        step->from = points[0];
        step->to = points[1];
    } else if (command == "hold" || command == "wait") {
        const bool hold = command == "hold";
        step->kind = hold ? StepKind::Hold : StepKind::Wait;
        const std::string usage = std::string(hold ? "hold needs X Y MS" : "wait needs MS") +
                                  ", with MS from 0 to " + std::to_string(kLongestWaitMs);
        if (hold && !Points(reader, &step->from, 1, screen, usage.c_str(), error)) {
            return false;
        }
        if (!reader.Number(&step->milliseconds, error) || step->milliseconds < 0 ||
            step->milliseconds > kLongestWaitMs) {
            if (error->empty()) {
                *error = usage;
            }
            return false;
        }
    } else if (command == "type") {
        step->kind = StepKind::Type;
        if (!QuotedText(reader, "the text", false, &step->text, error)) {
            return false;
        }
    } else if (command == "key") {
        step->kind = StepKind::Key;
        std::string_view word = reader.Word();
        if (word.empty()) {
            *error = "key needs a key name";
            return false;
        }
        if (!ParseKey(word, step, error)) {
            return false;
        }
    } else if (command == "screenshot" || command == "dump") {
        step->kind = command == "dump" ? StepKind::Dump : StepKind::Screenshot;
        if (!reader.Quoted(&step->path, error) || !RefuseNul(step->path, "the file name", error)) {
            return false;
        }
        if (step->path.empty()) {
            *error = command + " needs a file name";
            return false;
        }
    } else {
        *error = "unknown command " + QuoteForError(command);
        return false;
    }
    if (!reader.AtEnd()) {
        *error = "unexpected text after the " + command + " step";
        return false;
    }
    return true;
}

std::string QuoteForScript(std::string_view bytes) {
    std::string quoted = "\"";
    for (char c : bytes) {
        if (c == '"' || c == '\\') {
            quoted += '\\';
        }
        quoted += c;
    }
    return quoted + "\"";
}

std::string KeyWord(const Step& step) {
    std::string word = std::string(step.shift ? "SHIFT+" : "") + (step.control ? "CTRL+" : "");
    for (const KeyName& name : kKeyNames) {
        if (name.key == step.virtualKey) {
            return word + name.name;
        }
    }
    return word + static_cast<char>(step.virtualKey);
}

} // namespace

std::string FormatStep(const Step& step) {
    auto point = [](POINT p) { return std::to_string(p.x) + " " + std::to_string(p.y); };
    switch (step.kind) {
    case StepKind::TapAt:
        return "tap " + point(step.from);
    case StepKind::TapCaption:
        return "tap " + QuoteForScript(device_kernel::Utf16ToUtf8(step.text));
    case StepKind::Drag:
        return "drag " + point(step.from) + " " + point(step.to);
    case StepKind::Hold:
        return "hold " + point(step.from) + " " + std::to_string(step.milliseconds);
    case StepKind::Wait:
        return "wait " + std::to_string(step.milliseconds);
    case StepKind::Type:
        return "type " + QuoteForScript(device_kernel::Utf16ToUtf8(step.text));
    case StepKind::Key:
        return "key " + KeyWord(step);
    case StepKind::Screenshot:
        return "screenshot " + QuoteForScript(step.path);
    case StepKind::Dump:
        return "dump " + QuoteForScript(step.path);
    }
    return "";
}

std::string QuoteForError(std::string_view utf8) {
    std::string quoted = "\"";
    size_t characters = 0;
    int due = 0; // continuation bytes still belonging to the character begun
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        if ((byte & 0xC0) == 0x80 && due > 0) {
            --due;
            quoted += static_cast<char>(byte);
            continue;
        }
        // A stray continuation byte counts as a character of its own, so that ill-formed
        // text cannot stretch the quote without end.
        if (characters++ == kQuotedCharacters) {
            quoted += "...";
            break;
        }
        due = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        if (byte < 0x20 || byte == 0x7F) {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            quoted += escaped;
        } else {
            quoted += static_cast<char>(byte);
        }
    }
    return quoted + "\"";
}

bool ParseScript(std::string_view source, SIZE screen, std::vector<Step>* steps, std::string* error,
                 int* errorLine) {
    if (source.starts_with(kByteOrderMark)) {
        source.remove_prefix(kByteOrderMark.size());
    }
    int number = 0;
    while (!source.empty()) {
        const size_t end = source.find('\n');
        const std::string_view text = source.substr(0, end);
        source.remove_prefix(end == std::string_view::npos ? source.size() : end + 1);
        ++number;
        Step step;
        step.line = number;
        bool empty = false;
        std::string what;
        if (!ParseLine(text, screen, &step, &empty, &what)) {
            *error = what;
            *errorLine = number;
            return false;
        }
        if (!empty) {
            steps->push_back(std::move(step));
        }
    }
    return true;
}

} // namespace device::script
