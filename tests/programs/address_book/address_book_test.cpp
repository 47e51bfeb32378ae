// The address book as a whole program under DEVICE_SCRIPT: the main window's dump, the
// exit status after "Kapat" (a leak would change it under the sanitizers), and the
// README's screenshot. Set ADRES_UPDATE_SCREENSHOTS=1 to rewrite docs/main_window.png.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct RunResult {
    int status = -1;
    std::string errors;
};

std::string WorkPath(const std::string& name) { return std::string(ADDRESS_BOOK_WORK_DIR) + "/" + name; }

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

RunResult RunScriptFile(const std::string& name, const std::string& scriptPath) {
    std::string errorPath = WorkPath(name + ".err");
    // Leaks make a sanitizer build end with a non-zero status.
    std::string command = "cd '" + std::string(ADDRESS_BOOK_WORK_DIR) +
                          "' && env -u DISPLAY -u WAYLAND_DISPLAY ASAN_OPTIONS=detect_leaks=1 DEVICE_SCRIPT='" +
                          scriptPath + "' '" + ADRESDEFTERI_PATH + "' 2>'" + errorPath + "'";
    int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.errors = ReadFile(errorPath);
    return result;
}

RunResult RunScript(const std::string& name, const std::string& script) {
    std::string scriptPath = WorkPath(name + ".txt");
    std::ofstream(scriptPath, std::ios::binary) << script;
    return RunScriptFile(name, scriptPath);
}

// Just enough JSON for the device's dump: objects, arrays, strings, numbers, literals.
struct Json {
    enum Kind { Null, Bool, Number, String, Array, Object } kind = Null;
    bool boolean = false;
    long long number = 0;
    std::string text;
    std::vector<Json> items;
    std::map<std::string, Json> fields;

    const Json& operator[](const std::string& key) const {
        static const Json missing;
        auto it = fields.find(key);
        return it == fields.end() ? missing : it->second;
    }
};

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
        value->number = std::stoll(m_text.substr(m_pos), &used);
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

TEST(AddressBook, StartsWithItsMainWindowAndEndsCleanlyOnKapat) {
    std::filesystem::remove(WorkPath("after_kapat.json"));
    RunResult run = RunScript("main_window", "# the main window as it starts, then Kapat\n"
                                             "dump \"main_window.json\"\n"
                                             "tap \"Kapat\"\n"
                                             "# never reached: Kapat has ended the program\n"
                                             "dump \"after_kapat.json\"\n");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    EXPECT_FALSE(std::filesystem::exists(WorkPath("after_kapat.json")));

    Json dump;
    std::string text = ReadFile(WorkPath("main_window.json"));
    ASSERT_TRUE(JsonReader(text).Read(&dump)) << text;
    const Json* form = FindTopLevel(dump, dump["foreground"].number);
    ASSERT_NE(form, nullptr) << text;
    EXPECT_EQ((*form)["text"].text, "Adres Defteri"); // the navigation bar shows it
    EXPECT_EQ((*form)["class"].text, "Form");
    // The work area from under the navigation bar down to the top of the menu bar.
    EXPECT_EQ(Rect((*form)["rect"]), (std::vector<long long>{0, 26, 240, 294}));
    std::vector<long long> client = Rect((*form)["client"]);
    ASSERT_EQ(client.size(), 4u);
    bool menuBarBelow = false;
    for (const Json& window : dump["windows"].items) {
        menuBarBelow |= window["class"].text == "menu_worker" && Rect(window["rect"])[1] == 294;
    }
    EXPECT_TRUE(menuBarBelow);

    struct Expected {
        std::string caption;
        long long left, top;
    };
    const std::vector<Expected> buttons = {{"Yeni Adres", 48, 40}, {"Adres Ara", 48, 96}, {"Kapat", 48, 157}};
    const std::vector<Json>& children = (*form)["children"].items;
    ASSERT_EQ(children.size(), 3u);
    for (const Expected& expected : buttons) {
        const Json* found = nullptr;
        for (const Json& child : children) {
            if (child["text"].text == expected.caption) {
                found = &child;
            }
        }
        ASSERT_NE(found, nullptr) << expected.caption;
        EXPECT_EQ((*found)["class"].text, "BUTTON");
        std::vector<long long> rect = Rect((*found)["rect"]);
        // Screen coordinates in the dump; the table is in the form's client coordinates.
        EXPECT_EQ(rect[0] - client[0], expected.left) << expected.caption;
        EXPECT_EQ(rect[1] - client[1], expected.top) << expected.caption;
        EXPECT_EQ(rect[2] - rect[0], 139) << expected.caption;
        EXPECT_EQ(rect[3] - rect[1], 42) << expected.caption;
        EXPECT_TRUE((*found)["visible"].boolean);
    }
}

TEST(AddressBook, TheReadmeScreenshotOfTheMainWindowIsMadeByItsScript) {
    std::filesystem::remove(WorkPath("main_window.png"));
    RunResult run = RunScriptFile("screenshot", std::string(ADDRESS_BOOK_SCRIPTS_DIR) + "/main_window_screenshot.txt");
    EXPECT_EQ(run.status, 0) << run.errors;
    std::string image = ReadFile(WorkPath("main_window.png"));
    ASSERT_GT(image.size(), 8u);
    EXPECT_EQ(image.substr(1, 3), "PNG");
    const char* update = std::getenv("ADRES_UPDATE_SCREENSHOTS");
    if (update != nullptr && std::string(update) == "1") {
        std::filesystem::copy_file(WorkPath("main_window.png"), std::string(ADDRESS_BOOK_DOCS_DIR) + "/main_window.png",
                                   std::filesystem::copy_options::overwrite_existing);
    }
}

} // namespace
