// The address book as a whole program under DEVICE_SCRIPT: the main window's dump, the
// exit status after "Kapat" (a leak would change it under the sanitizers), and the
// README's screenshot. Set ADRES_UPDATE_SCREENSHOTS=1 to rewrite docs/main_window.png.
#include "program_run.h"
#include "support/docs_picture.h"
#include "window_dump.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace address_book_test;

TEST(AddressBook, StartsWithItsMainWindowAndEndsCleanlyOnKapat) {
    ProgramRun program("main_window");
    RunResult run = program.RunScript("# the main window as it starts, then Kapat\n"
                                             "dump \"main_window.json\"\n"
                                             "tap \"Kapat\"\n"
                                             "# never reached: Kapat has ended the program\n"
                                             "dump \"after_kapat.json\"\n");
    EXPECT_TRUE(RanCleanly(run));
    EXPECT_FALSE(std::filesystem::exists(program.Path("after_kapat.json")));

    Json dump;
    std::string text = program.Read("main_window.json");
    ASSERT_TRUE(ReadJson(text, &dump)) << text;
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
    ProgramRun program("main_window_screenshot");
    RunResult run = program.RunScriptFile(std::string(ADDRESS_BOOK_SCRIPTS_DIR) + "/main_window_screenshot.txt");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_TRUE(test::MatchesDocsPicture(program.Path("main_window.png"),
                                         std::string(ADDRESS_BOOK_DOCS_DIR) + "/main_window.png"));
}

} // namespace
