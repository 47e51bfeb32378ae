// A small streaming JSON writer for the window-tree dump.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace device::diag {

class JsonWriter {
public:
    void BeginObject();
    void EndObject();
    void BeginArray();
    void EndArray();
    // The name of the next value inside an object.
    void Key(const std::string& name);
    void String(const std::u16string& text);
    void String(const std::string& utf8);
    void Number(long long value);
    void Bool(bool value);
    void Null();
    void Rect(long left, long top, long right, long bottom);

    const std::string& Text() const { return m_text; }

private:
    void BeforeValue();
    void AppendQuoted(const std::string& utf8);

    std::string m_text;
    std::vector<bool> m_first; // per open container: no member written yet
    bool m_afterKey = false;
};

std::string ToUtf8(const std::u16string& text);

} // namespace device::diag
