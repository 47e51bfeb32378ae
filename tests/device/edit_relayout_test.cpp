// An edit lays out again only the lines it reaches: after every edit of a table (breaks
// made, joined and removed, a word wider than the line, surrogate halves, tabs, emptying),
// after undo, and along a seeded walk of such edits, the lines and every character's
// position are those of a box given the same text at once.
#include "edit_fixture.h"

#include <random>
#include <string>

namespace {

struct Edit {
    int start;
    int end;
    const char16_t* insert;
};

constexpr Edit kEdits[] = {
    {53, 53, u"x"},                                  // at the end
    {10, 10, u"\r\n"},                               // a paragraph split in two
    {10, 12, u""},                                   // and joined again
    {5, 5, u"\r"},                                   // a lone break...
    {6, 6, u"\n"},                                   // ...that the next edit completes
    {5, 6, u""},                                     // half of "\r\n" removed
    {3, 30, u"ÇOK UZUNBİRKELİMEKELİMEKELİMEKELİME"}, // across paragraphs, wider than a line
    {2, 2, u"\xD83D"},                               // a surrogate pair in two halves
    {3, 3, u"\xDE00"},
    {2, 3, u""},   // its first half taken away
    {0, 0, u"\t"}, // a tab moves what follows it
    {0, 200, u""}, // everything
    {0, 0, u"a\r\nb c d e f g h i j k l m n o p r s t"},
};

class EditRelayout : public test::EditTest, public ::testing::WithParamInterface<DWORD> {
protected:
    // Line starts and the position of every character, seen from the top-left scroll.
    static std::vector<LRESULT> Geometry(HWND edit) {
        SendMessageW(edit, EM_SETSEL, 0, 0);
        std::vector<LRESULT> geometry{SendMessageW(edit, EM_GETLINECOUNT, 0, 0)};
        for (WPARAM line = 0; line < static_cast<WPARAM>(geometry[0]); ++line) {
            geometry.push_back(SendMessageW(edit, EM_LINEINDEX, line, 0));
        }
        for (int i = 0; i <= GetWindowTextLengthW(edit); ++i) {
            geometry.push_back(SendMessageW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(i), 0));
        }
        SCROLLINFO bar{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
        geometry.push_back(GetScrollInfo(edit, SB_HORZ, &bar) ? bar.nMax : -1);
        return geometry;
    }

    void ExpectLikeAFreshBox(HWND edit, const std::string& step) {
        HWND fresh = MakeEdit(GetParam(), TextOf(edit), 10, 100, 120, 150, "fresh");
        EXPECT_EQ(Geometry(edit), Geometry(fresh)) << step;
        DestroyWindow(fresh);
    }
};

TEST_P(EditRelayout, EveryEditLeavesTheLayoutOfTheWholeText) {
    HWND edit =
        MakeEdit(GetParam(), u"Bir iki\tüç dört beş altı yedi sekiz dokuz on\r\nikinci\r\n\r\nson",
                 10, 100, 120, 150);
    for (size_t i = 0; i < std::size(kEdits); ++i) {
        SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(kEdits[i].start), kEdits[i].end);
        SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kEdits[i].insert));
        ExpectLikeAFreshBox(edit, "edit " + std::to_string(i));
    }
    SendMessageW(edit, EM_UNDO, 0, 0);
    EXPECT_EQ(TextOf(edit), u"");
    ExpectLikeAFreshBox(edit, "undo");

    // Then a seeded walk of edits made of the same pieces.
    const std::u16string pieces[] = {
        u"a",  u"kelime", u" ",      u"\t",     u"\r",
        u"\n", u"\r\n",   u"\xD83D", u"\xDE00", u"ÇOKUZUNBİRKELİMEKELİMEKELİME",
        u""};
    std::mt19937 random(13);
    for (int step = 0; step < 150 && !HasFailure(); ++step) {
        const auto length = static_cast<unsigned>(GetWindowTextLengthW(edit));
        const unsigned start = random() % (length + 1);
        const unsigned end = std::min(length, start + static_cast<unsigned>(random() % 4));
        SendMessageW(edit, EM_SETSEL, start, static_cast<LPARAM>(end));
        SendMessageW(edit, EM_REPLACESEL, TRUE,
                     reinterpret_cast<LPARAM>(pieces[random() % std::size(pieces)].c_str()));
        ExpectLikeAFreshBox(edit, "step " + std::to_string(step));
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, EditRelayout,
                         ::testing::Values(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                                           WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL,
                                           WS_CHILD | WS_VISIBLE | WS_HSCROLL | ES_MULTILINE |
                                               ES_AUTOHSCROLL | ES_AUTOVSCROLL));

} // namespace
