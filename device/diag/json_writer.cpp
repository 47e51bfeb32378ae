// JSON text with two-space indentation, one member per line.
#include "diag/json_writer.h"

#include "kernel/utf8.h"

#include <cstdio>

namespace device::diag {

std::string ToUtf8(const std::u16string& text) { return device_kernel::Utf16ToUtf8(text); }

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
