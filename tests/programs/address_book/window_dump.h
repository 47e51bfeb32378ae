// Reading the device's window-tree dump in the address book's program tests: just enough
// JSON (objects, arrays, strings, numbers, literals) and ways to find windows in it.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace address_book_test {

struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    long long number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    // A missing field reads as null.
    const Json& operator[](const std::string& key) const;
};

// False when the text is not JSON as the dump writes it.
bool ReadJson(const std::string& text, Json* value);

// A rectangle field as {left, top, right, bottom}.
std::vector<long long> Rect(const Json& value);

// The top-level window with this handle, or nullptr.
const Json* FindTopLevel(const Json& dump, long long handle);
// The first window (depth first, the root included) that the predicate accepts, or nullptr.
const Json* FindWindow(const Json& root, const std::function<bool(const Json&)>& accept);
// Every window of the tree, depth first.
std::vector<const Json*> AllWindows(const Json& dump);

} // namespace address_book_test
