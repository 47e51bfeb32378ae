// The dump reader.
#include "window_dump.h"

#include <cctype>
#include <cstring>

namespace address_book_test {
namespace {

class JsonReader {
public:
    explicit JsonReader(const std::string& text) : m_text(text) {}
    bool Read(Json* value) {
        Skip();
        if (m_pos >= m_text.size()) {
            return false;
        }
        char c = m_text[m_pos];
        if (c == '{') {
            value->kind = Json::Object;
            ++m_pos;
            Skip();
            if (Peek('}')) {
                return true;
            }
            do {
                Json key;
                Skip();
                if (!ReadString(&key.text) || !Expect(':')) {
                    return false;
                }
                if (!Read(&value->fields[key.text])) {
                    return false;
                }
            } while (Peek(','));
            return Expect('}');
        }
        if (c == '[') {
            value->kind = Json::Array;
            ++m_pos;
            Skip();
            if (Peek(']')) {
                return true;
            }
            do {
                value->items.emplace_back();
                if (!Read(&value->items.back())) {
                    return false;
                }
            } while (Peek(','));
            return Expect(']');
        }
        if (c == '"') {
            value->kind = Json::String;
            return ReadString(&value->text);
        }
        for (const char* literal : {"true", "false", "null"}) {
            if (m_text.compare(m_pos, std::strlen(literal), literal) == 0) {
                value->kind = literal[0] == 'n' ? Json::Null : Json::Bool;
                value->boolean = literal[0] == 't';
                m_pos += std::strlen(literal);
                return true;
            }
        }
        value->kind = Json::Number;
        size_t used = 0;
        try {
            value->number = std::stoll(m_text.substr(m_pos), &used);
        } catch (...) {
            return false;
        }
        m_pos += used;
        return used > 0;
    }

private:
    void Skip() {
        while (m_pos < m_text.size() && std::isspace(static_cast<unsigned char>(m_text[m_pos]))) {
            ++m_pos;
        }
    }
    bool Peek(char c) {
        Skip();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    bool Expect(char c) { return Peek(c); }
    bool ReadString(std::string* out) {
        if (!Peek('"')) {
            return false;
        }
        while (m_pos < m_text.size() && m_text[m_pos] != '"') {
            if (m_text[m_pos] == '\\' && m_pos + 1 < m_text.size()) {
                ++m_pos;
            }
            *out += m_text[m_pos++];
        }
        return Expect('"');
    }

    const std::string& m_text;
    size_t m_pos = 0;
};

void Collect(const Json& window, std::vector<const Json*>* out) {
    out->push_back(&window);
    for (const Json& child : window["children"].items) {
        Collect(child, out);
    }
}

} // namespace

const Json& Json::operator[](const std::string& key) const {
    static const Json missing;
    auto it = fields.find(key);
    return it == fields.end() ? missing : it->second;
}

bool ReadJson(const std::string& text, Json* value) { return JsonReader(text).Read(value); }

std::vector<long long> Rect(const Json& value) {
    std::vector<long long> rect;
    for (const Json& item : value.items) {
        rect.push_back(item.number);
    }
    return rect;
}

const Json* FindTopLevel(const Json& dump, long long handle) {
    for (const Json& window : dump["windows"].items) {
        if (window["handle"].number == handle) {
            return &window;
        }
    }
    return nullptr;
}

const Json* FindWindow(const Json& root, const std::function<bool(const Json&)>& accept) {
    if (accept(root)) {
        return &root;
    }
    for (const Json& child : root["children"].items) {
        if (const Json* found = FindWindow(child, accept)) {
            return found;
        }
    }
    return nullptr;
}

std::vector<const Json*> AllWindows(const Json& dump) {
    std::vector<const Json*> windows;
    for (const Json& window : dump["windows"].items) {
        Collect(window, &windows);
    }
    return windows;
}

} // namespace address_book_test
