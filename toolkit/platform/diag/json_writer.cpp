// JSON text with two-space indentation, one member per line.
#include "diag/json_writer.h"

#include <cstdio>

namespace device::diag {

std::string ToUtf8(const std::u16string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD; // an unpaired surrogate has no UTF-8 form
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_first.empty()) {
        if (!m_first.back()) {
            m_text += ",";
        }
        m_first.back() = false;
        m_text += "\n" + std::string(m_first.size() * 2, ' ');
    }
}

void JsonWriter::BeginObject() {
    BeforeValue();
    m_text += "{";
    m_first.push_back(true);
}

void JsonWriter::EndObject() {
    bool empty = m_first.back();
    m_first.pop_back();
    if (!empty) {
        m_text += "\n" + std::string(m_first.size() * 2, ' ');
    }
    m_text += "}";
}

void JsonWriter::BeginArray() {
    BeforeValue();
    m_text += "[";
    m_first.push_back(true);
}

void JsonWriter::EndArray() { EndObject(); m_text.back() = ']'; }

void JsonWriter::Key(const std::string& name) {
    BeforeValue();
    AppendQuoted(name);
    m_text += ": ";
    m_afterKey = true;
}

void JsonWriter::String(const std::u16string& text) { String(ToUtf8(text)); }

void JsonWriter::String(const std::string& utf8) {
    BeforeValue();
    AppendQuoted(utf8);
}

void JsonWriter::AppendQuoted(const std::string& utf8) {
    m_text += '"';
    for (unsigned char c : utf8) {
        switch (c) {
        case '"': m_text += "\\\""; break;
        case '\\': m_text += "\\\\"; break;
        case '\n': m_text += "\\n"; break;
        case '\r': m_text += "\\r"; break;
        case '\t': m_text += "\\t"; break;
        default:
            if (c < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", c);
                m_text += escape;
            } else {
                m_text += static_cast<char>(c);
            }
        }
    }
    m_text += '"';
}

void JsonWriter::Number(long long value) {
    BeforeValue();
    m_text += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    m_text += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    m_text += "null";
}

void JsonWriter::Rect(long left, long top, long right, long bottom) {
    BeforeValue();
    m_text += "[" + std::to_string(left) + ", " + std::to_string(top) + ", " + std::to_string(right) + ", " +
              std::to_string(bottom) + "]";
}

} // namespace device::diag
