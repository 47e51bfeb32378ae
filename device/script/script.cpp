// The script parser.
#include "script/script.h"

#include "kernel/utf8.h"
#include "winuser.h"

#include <cctype>
#include <sstream>

namespace device::script {
namespace {

struct KeyName {
    const char* name;
    UINT key;
};

constexpr KeyName kKeyNames[] = {
    {"RETURN", VK_RETURN}, {"TAB", VK_TAB},   {"BACK", VK_BACK}, {"DELETE", VK_DELETE},
    {"ESCAPE", VK_ESCAPE}, {"LEFT", VK_LEFT}, {"RIGHT", VK_RIGHT}, {"UP", VK_UP},
    {"DOWN", VK_DOWN},     {"HOME", VK_HOME}, {"END", VK_END},   {"SPACE", VK_SPACE},
};

class LineReader {
public:
    explicit LineReader(const std::string& text) : m_text(text) {}

    void SkipBlanks() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\t' || m_text[m_pos] == '\r')) {
            ++m_pos;
        }
    }
    bool AtEnd() {
        SkipBlanks();
        return m_pos >= m_text.size() || m_text[m_pos] == '#';
    }
    bool Word(std::string* word) {
        SkipBlanks();
        size_t start = m_pos;
        while (m_pos < m_text.size() && !std::isspace(static_cast<unsigned char>(m_text[m_pos])) &&
               m_text[m_pos] != '#' && m_text[m_pos] != '"') {
            ++m_pos;
        }
        *word = m_text.substr(start, m_pos - start);
        return !word->empty();
    }
    bool Number(int* value) {
        std::string word;
        if (!Word(&word)) {
            return false;
        }
        size_t used = 0;
        try {
            *value = std::stoi(word, &used);
        } catch (...) {
            return false;
        }
        return used == word.size();
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
    const std::string& m_text;
    size_t m_pos = 0;
};

bool ParseKey(const std::string& word, Step* step, std::string* error) {
    std::string rest = word;
    for (;;) {
        if (rest.rfind("SHIFT+", 0) == 0) {
            step->shift = true;
            rest = rest.substr(6);
        } else if (rest.rfind("CTRL+", 0) == 0) {
            step->control = true;
            rest = rest.substr(5);
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
    if (rest.size() == 1 && (std::isupper(static_cast<unsigned char>(rest[0])) || std::isdigit(static_cast<unsigned char>(rest[0])))) {
        step->virtualKey = static_cast<UINT>(rest[0]);
        return true;
    }
    *error = "unknown key \"" + word + "\"";
    return false;
}

bool ParseLine(const std::string& text, Step* step, bool* empty, std::string* error) {
    LineReader reader(text);
    *empty = reader.AtEnd();
    if (*empty) {
        return true;
    }
    std::string command;
    reader.Word(&command);
    std::string argument;
    if (command == "tap") {
        if (reader.NextIsQuote()) {
            step->kind = StepKind::TapCaption;
            if (!reader.Quoted(&argument, error)) {
                return false;
            }
            if (!Utf8ToUtf16(argument, &step->text)) {
                *error = "the caption is not valid UTF-8";
                return false;
            }
        } else {
            step->kind = StepKind::TapAt;
            if (!reader.Number(&step->from.x) || !reader.Number(&step->from.y)) {
                *error = "tap needs X Y or a \"Caption\"";
                return false;
            }
        }
    } else if (command == "drag") {
        step->kind = StepKind::Drag;
        if (!reader.Number(&step->from.x) || !reader.Number(&step->from.y) || !reader.Number(&step->to.x) ||
            !reader.Number(&step->to.y)) {
            *error = "drag needs X1 Y1 X2 Y2";
            return false;
        }
    } else if (command == "hold" || command == "wait") {
        bool hold = command == "hold";
        step->kind = hold ? StepKind::Hold : StepKind::Wait;
        if ((hold && (!reader.Number(&step->from.x) || !reader.Number(&step->from.y))) ||
            !reader.Number(&step->milliseconds) || step->milliseconds < 0 ||
            step->milliseconds > kLongestWaitMs) {
            *error = (hold ? "hold needs X Y MS" : "wait needs MS") + std::string(", with MS from 0 to ") +
                     std::to_string(kLongestWaitMs);
            return false;
        }
    } else if (command == "type") {
        step->kind = StepKind::Type;
        if (!reader.Quoted(&argument, error)) {
            return false;
        }
        if (!Utf8ToUtf16(argument, &step->text)) {
            *error = "the text is not valid UTF-8";
            return false;
        }
    } else if (command == "key") {
        step->kind = StepKind::Key;
        std::string word;
        if (!reader.Word(&word)) {
            *error = "key needs a key name";
            return false;
        }
        if (!ParseKey(word, step, error)) {
            return false;
        }
    } else if (command == "screenshot" || command == "dump") {
        step->kind = command == "dump" ? StepKind::Dump : StepKind::Screenshot;
        if (!reader.Quoted(&step->path, error)) {
            return false;
        }
        if (step->path.empty()) {
            *error = command + " needs a file name";
            return false;
        }
    } else {
        *error = "unknown command \"" + command + "\"";
        return false;
    }
    if (!reader.AtEnd()) {
        *error = "unexpected text after the " + command + " step";
        return false;
    }
    return true;
}

} // namespace

bool Utf8ToUtf16(const std::string& utf8, std::u16string* out) {
    bool invalid = false;
    *out = device_kernel::Utf8ToUtf16(utf8, &invalid);
    return !invalid;
}

bool ParseScript(const std::string& source, std::vector<Step>* steps, std::string* error, int* errorLine) {
    std::istringstream lines(source);
    std::string text;
    int number = 0;
    while (std::getline(lines, text)) {
        ++number;
        Step step;
        step.line = number;
        bool empty = false;
        std::string what;
        if (!ParseLine(text, &step, &empty, &what)) {
            *error = what;
            *errorLine = number;
            return false;
        }
        if (!empty) {
            steps->push_back(step);
        }
    }
    return true;
}

} // namespace device::script
