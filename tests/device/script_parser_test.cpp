// The script parser over its whole grammar: every command, every key name and modifier,
// quoting and escapes, blanks, comments, line endings and the byte-order mark; and every
// error line it writes, with the number of the line it names.
#include "script/script.h"

#include "winuser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using device::script::ParseScript;
using device::script::QuoteForError;
using device::script::Step;
using device::script::StepKind;

constexpr SIZE kScreen{240, 320};

struct Parsed {
    bool ok = false;
    std::vector<Step> steps;
    std::string error;
    int line = 0;
};

Parsed Parse(std::string_view source) {
    Parsed parsed;
    parsed.ok = ParseScript(source, kScreen, &parsed.steps, &parsed.error, &parsed.line);
    return parsed;
}

// One line and the step it must give.
struct Accepted {
    const char* line;
    StepKind kind;
    POINT from;
    POINT to;
    const char16_t* text;
    const char* path;
    UINT key;
    bool shift;
    bool control;
};

constexpr POINT kNone{0, 0};

const Accepted kAccepted[] = {
    {"tap 0 0", StepKind::TapAt, {0, 0}, kNone, u"", "", 0, false, false},
    {"tap 239 319", StepKind::TapAt, {239, 319}, kNone, u"", "", 0, false, false},
    {"  tap\t+12  34   # a comment", StepKind::TapAt, {12, 34}, kNone, u"", "", 0, false, false},
    {"tap \"Yeni Adres\"", StepKind::TapCaption, kNone, kNone, u"Yeni Adres", "", 0, false, false},
    {"tap\"Kapat\"#", StepKind::TapCaption, kNone, kNone, u"Kapat", "", 0, false, false},
    {"tap \"a \\\"b\\\" \\\\ # c\"", StepKind::TapCaption, kNone, kNone, u"a \"b\" \\ # c", "", 0, false,
     false},
    {"drag 230 60 0 319", StepKind::Drag, {230, 60}, {0, 319}, u"", "", 0, false, false},
    {"type \"Şişli İğdır ğüöç\"", StepKind::Type, kNone, kNone, u"Şişli İğdır ğüöç", "", 0, false, false},
    {"type \"\"", StepKind::Type, kNone, kNone, u"", "", 0, false, false},
    {"type \"\xF0\x9F\x98\x80\"", StepKind::Type, kNone, kNone, u"\U0001F600", "", 0, false, false},
    {"screenshot \"a b.png\"", StepKind::Screenshot, kNone, kNone, u"", "a b.png", 0, false, false},
    {"dump \"out/t\\\"ree.json\"\r", StepKind::Dump, kNone, kNone, u"", "out/t\"ree.json", 0, false, false},
    {"key RETURN", StepKind::Key, kNone, kNone, u"", "", VK_RETURN, false, false},
    {"key TAB", StepKind::Key, kNone, kNone, u"", "", VK_TAB, false, false},
    {"key BACK", StepKind::Key, kNone, kNone, u"", "", VK_BACK, false, false},
    {"key DELETE", StepKind::Key, kNone, kNone, u"", "", VK_DELETE, false, false},
    {"key ESCAPE", StepKind::Key, kNone, kNone, u"", "", VK_ESCAPE, false, false},
    {"key LEFT", StepKind::Key, kNone, kNone, u"", "", VK_LEFT, false, false},
    {"key RIGHT", StepKind::Key, kNone, kNone, u"", "", VK_RIGHT, false, false},
    {"key UP", StepKind::Key, kNone, kNone, u"", "", VK_UP, false, false},
    {"key DOWN", StepKind::Key, kNone, kNone, u"", "", VK_DOWN, false, false},
    {"key HOME", StepKind::Key, kNone, kNone, u"", "", VK_HOME, false, false},
    {"key END", StepKind::Key, kNone, kNone, u"", "", VK_END, false, false},
    {"key SPACE", StepKind::Key, kNone, kNone, u"", "", VK_SPACE, false, false},
    {"key A", StepKind::Key, kNone, kNone, u"", "", 'A', false, false},
    {"key 7", StepKind::Key, kNone, kNone, u"", "", '7', false, false},
    {"key SHIFT+HOME", StepKind::Key, kNone, kNone, u"", "", VK_HOME, true, false},
    {"key CTRL+Z", StepKind::Key, kNone, kNone, u"", "", 'Z', false, true},
    {"key SHIFT+CTRL+END", StepKind::Key, kNone, kNone, u"", "", VK_END, true, true},
    {"key CTRL+SHIFT+LEFT #", StepKind::Key, kNone, kNone, u"", "", VK_LEFT, true, true},
};

TEST(ScriptParser, EveryCommandKeyAndModifierGivesItsStep) {
    for (const Accepted& expected : kAccepted) {
        Parsed parsed = Parse(expected.line);
        ASSERT_TRUE(parsed.ok) << expected.line << ": " << parsed.error;
        ASSERT_EQ(parsed.steps.size(), 1u) << expected.line;
        const Step& step = parsed.steps[0];
        EXPECT_EQ(step.kind, expected.kind) << expected.line;
        EXPECT_EQ(step.from.x, expected.from.x) << expected.line;
        EXPECT_EQ(step.from.y, expected.from.y) << expected.line;
        EXPECT_EQ(step.to.x, expected.to.x) << expected.line;
        EXPECT_EQ(step.to.y, expected.to.y) << expected.line;
        EXPECT_EQ(step.text, expected.text) << expected.line;
        EXPECT_EQ(step.path, expected.path) << expected.line;
        EXPECT_EQ(step.virtualKey, expected.key) << expected.line;
        EXPECT_EQ(step.shift, expected.shift) << expected.line;
        EXPECT_EQ(step.control, expected.control) << expected.line;
    }
}

TEST(ScriptParser, HoldAndWaitKeepTheirPointAndTime) {
    struct Timed {
        const char* line;
        StepKind kind;
        POINT from;
        int milliseconds;
    };
    const Timed timed[] = {
        {"wait 0", StepKind::Wait, kNone, 0},
        {"wait 600000 # ten minutes", StepKind::Wait, kNone, 600000},
        {"hold 239 319 +750", StepKind::Hold, {239, 319}, 750},
        {"hold\t5 6 0", StepKind::Hold, {5, 6}, 0},
    };
    for (const Timed& expected : timed) {
        Parsed parsed = Parse(expected.line);
        ASSERT_TRUE(parsed.ok) << expected.line << ": " << parsed.error;
        ASSERT_EQ(parsed.steps.size(), 1u) << expected.line;
        EXPECT_EQ(parsed.steps[0].kind, expected.kind) << expected.line;
        EXPECT_EQ(parsed.steps[0].from.x, expected.from.x) << expected.line;
        EXPECT_EQ(parsed.steps[0].from.y, expected.from.y) << expected.line;
        EXPECT_EQ(parsed.steps[0].milliseconds, expected.milliseconds) << expected.line;
    }
}

TEST(ScriptParser, BlankAndCommentLinesCountButGiveNoStep) {
    Parsed parsed = Parse("\xEF\xBB\xBF# a script saved with a byte-order mark\r\n"
                          "\r\n"
                          "   \t\n"
                          "tap 1 2\r\n"
                          "# tap 3 4\n"
                          "key END"); // no line break after the last line
    ASSERT_TRUE(parsed.ok) << parsed.error;
    ASSERT_EQ(parsed.steps.size(), 2u);
    EXPECT_EQ(parsed.steps[0].line, 4);
    EXPECT_EQ(parsed.steps[1].line, 6);
    EXPECT_TRUE(Parse("").ok);
    // A byte-order mark anywhere but at the start is text like any other.
    EXPECT_EQ(Parse("tap 1 2\n\xEF\xBB\xBFtap 1 2\n").line, 2);
}

struct Refused {
    std::string source;
    int line;
    std::string error;
};

TEST(ScriptParser, EveryErrorNamesItsLineAndWhatIsWrong) {
    const std::string longWord(100, 'w');
    const Refused refused[] = {
        {"wave 3", 1, "unknown command \"wave\""},
        {"tap 1 2\n\n" + longWord, 3, "unknown command \"" + longWord.substr(0, 80) + "...\""},
        {"TAP 1 2", 1, "unknown command \"TAP\""},
        {"tap", 1, "tap needs X Y or a \"Caption\""},
        {"tap 12", 1, "tap needs X Y or a \"Caption\""},
        {"tap 1e5 2", 1, "tap needs X Y or a \"Caption\""},
        {"tap 0x10 2", 1, "tap needs X Y or a \"Caption\""},
        {"tap +-5 2", 1, "tap needs X Y or a \"Caption\""},
        {"tap 99999999999 2", 1, "the number \"99999999999\" is too large"},
        {"drag 1 2 -99999999999 4", 1, "the number \"-99999999999\" is too large"},
        {"tap 240 10", 1, "the point 240 10 is off the screen, which is 240x320"},
        {"tap 10 320", 1, "the point 10 320 is off the screen, which is 240x320"},
        {"tap -1 10", 1, "the point -1 10 is off the screen, which is 240x320"},
        {"drag 0 0 2147483647 -2147483648", 1,
         "the point 2147483647 -2147483648 is off the screen, which is 240x320"},
        {"drag 1 2 3", 1, "drag needs X1 Y1 X2 Y2"},
        {"wait", 1, "wait needs MS, with MS from 0 to 600000"},
        {"wait -1", 1, "wait needs MS, with MS from 0 to 600000"},
        {"wait 600001", 1, "wait needs MS, with MS from 0 to 600000"},
        {"wait 1.5", 1, "wait needs MS, with MS from 0 to 600000"},
        {"wait 99999999999", 1, "the number \"99999999999\" is too large"},
        {"wait 10 20", 1, "unexpected text after the wait step"},
        {"hold 1 2", 1, "hold needs X Y MS, with MS from 0 to 600000"},
        {"hold 1 2 -5", 1, "hold needs X Y MS, with MS from 0 to 600000"},
        {"hold 240 2 5", 1, "the point 240 2 is off the screen, which is 240x320"},
        {"hold 1 2 5 6", 1, "unexpected text after the hold step"},
        {"tap 1 2 3", 1, "unexpected text after the tap step"},
        {"key END x", 1, "unexpected text after the key step"},
        {"tap \"a\" \"b\"", 1, "unexpected text after the tap step"},
        {"tap \"\"", 1, "tap needs a caption that is not empty"},
        {"tap \"a\\nb\"", 1, "only \\\" and \\\\ may follow a backslash"},
        {"type \"abc\\", 1, "only \\\" and \\\\ may follow a backslash"},
        {"type \"abc\n\"", 1, "the string has no closing quote"},
        {"type abc", 1, "expected a string in double quotes"},
        {"type \"\xC3\x28\"", 1, "the text is not valid UTF-8"},
        {"tap \"\xED\xA0\x80\"", 1, "the caption is not valid UTF-8"},
        {std::string("tap \"Kap\0at\"", 12), 1, "the caption holds a NUL character"},
        {std::string("dump \"a\0b.json\"", 16), 1, "the file name holds a NUL character"},
        {"screenshot \"\"", 1, "screenshot needs a file name"},
        {"dump \"\"", 1, "dump needs a file name"},
        {"dump out.json", 1, "expected a string in double quotes"},
        {"key", 1, "key needs a key name"},
        {"key # nothing", 1, "key needs a key name"},
        {"key SHIFT+", 1, "unknown key \"SHIFT+\""},
        {"key a", 1, "unknown key \"a\""},
        {"key F1", 1, "unknown key \"F1\""},
        {"key ALT+A", 1, "unknown key \"ALT+A\""},
        {"key \"A\"", 1, "key needs a key name"},
    };
    for (const Refused& expected : refused) {
        Parsed parsed = Parse(expected.source);
        EXPECT_FALSE(parsed.ok) << expected.source;
        EXPECT_EQ(parsed.line, expected.line) << expected.source;
        EXPECT_EQ(parsed.error, expected.error) << expected.source;
    }
}

TEST(ScriptParser, ErrorLinesQuoteEightyCharactersAndShowControlCharacters) {
    EXPECT_EQ(QuoteForError("a\tb\x01\x7F"), "\"a\\x09b\\x01\\x7F\"");
    EXPECT_EQ(QuoteForError(std::string("nul\0", 4)), "\"nul\\x00\"");
    // Eighty characters, not bytes: each 'ş' is two bytes and none is cut in half.
    std::string turkish;
    for (int i = 0; i < 81; ++i) {
        turkish += "ş";
    }
    EXPECT_EQ(QuoteForError(turkish), "\"" + turkish.substr(0, 160) + "...\"");
    EXPECT_EQ(QuoteForError(turkish.substr(0, 160)), "\"" + turkish.substr(0, 160) + "\"");
    // Stray continuation bytes are characters too: they cannot make the quote endless.
    const std::string stray(1000, '\x89');
    EXPECT_EQ(QuoteForError(stray), "\"" + stray.substr(0, 80) + "...\"");
}

} // namespace
