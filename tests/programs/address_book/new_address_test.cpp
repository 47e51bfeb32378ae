// Adding an address, driven like a user under DEVICE_SCRIPT on the delivery database: the
// window as it opens, saving (the rows checked byte for byte in Windows-1254), the refusals
// and failures, leaving without saving, landscape scrolling, and the README's screenshots.
#include "program_run.h"
#include "window_dump.h"

#include "support/docs_picture.h"
#include "support/raw_sqlite.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace address_book_test;
using Rows = std::vector<std::vector<std::string>>;

// A program directory with the database the delivery tool makes beside the program, or
// none at all.
class ProgramCopy : public ProgramRun {
public:
    explicit ProgramCopy(const std::string& name, bool deliveryDatabase = true)
        : ProgramRun("new_address_" + name) {
        if (deliveryDatabase) {
            const std::string command =
                "'" + std::string(MAKE_DATABASE_PATH) + "' '" + Directory() + "' >/dev/null";
            EXPECT_EQ(std::system(command.c_str()), 0) << command;
        }
    }
    std::string DatabasePath() const { return Path("adresdata.s3db"); }
};

// The dump in the file; an empty object when it cannot be read.
Json ReadDump(const ProgramCopy& copy, const std::string& file) {
    Json dump;
    const std::string text = copy.Read(file);
    EXPECT_TRUE(ReadJson(text, &dump)) << file << ": " << text;
    return dump;
}

// The first window at or below `root` of the class with the text.
const Json* FindWindow(const Json& root, const std::string& className, const std::string& text) {
    return address_book_test::FindWindow(root, [&](const Json& window) {
        return window["class"].text == className && window["text"].text == text;
    });
}

std::vector<const Json*> TopLevelsOfClass(const Json& dump, const std::string& className) {
    std::vector<const Json*> found;
    for (const Json& window : dump["windows"].items) {
        if (window["class"].text == className && window["visible"].boolean) {
            found.push_back(&window);
        }
    }
    return found;
}

constexpr char kSelectRows[] =
    "select adisoyadi, adres1, adres2, postakodu, ili from adres order by idno";

// The boxes' tops in the form's client area as the window is built, in the order of the
// columns they fill.
constexpr int kNameTop = 26;
constexpr int kAddress1Top = 69;
constexpr int kAddress2Top = 113;
constexpr int kPostalCodeTop = 161;
constexpr int kProvinceTop = 207;

// Where a tap lands in a box in portrait: the form starts under the navigation bar, and as a
// scrolling container it moves its content up until the topmost label (top 8) sits at its
// Margin (1).
std::string TapBox(int top) {
    return "tap 117 " + std::to_string(26 + top - 7 + 11) + "\n";
}

const Json* TopLevel(const Json& dump, const std::string& className, const std::string& text) {
    for (const Json& window : dump["windows"].items) {
        if (window["class"].text == className && window["text"].text == text) {
            return &window;
        }
    }
    return nullptr;
}

const Json* NewAddressForm(const Json& dump) {
    return TopLevel(dump, "Form", "Yeni Adres");
}

// The form's children of a class, from the top of the form down.
std::vector<const Json*> ChildrenByTop(const Json& form, const std::string& className) {
    std::vector<const Json*> found;
    for (const Json& child : form["children"].items) {
        if (child["class"].text == className) {
            found.push_back(&child);
        }
    }
    std::sort(found.begin(), found.end(), [](const Json* a, const Json* b) {
        return Rect((*a)["rect"])[1] < Rect((*b)["rect"])[1];
    });
    return found;
}

std::vector<std::string> BoxTexts(const Json& form) {
    std::vector<std::string> texts;
    for (const Json* box : ChildrenByTop(form, "EDIT")) {
        texts.push_back((*box)["text"].text);
    }
    return texts;
}

// The one message box up: its caption, text and icon.
::testing::AssertionResult ShowsBox(const Json& dump, const std::string& text,
                                    const std::string& icon) {
    const std::vector<const Json*> boxes = TopLevelsOfClass(dump, "#32770");
    if (boxes.size() != 1) {
        return ::testing::AssertionFailure() << boxes.size() << " message boxes are up";
    }
    const Json& box = *boxes[0];
    if (box["text"].text != "Adres Defteri" || box["message"].text != text ||
        box["icon"].text != icon) {
        return ::testing::AssertionFailure()
               << "the box \"" << box["text"].text << "\" says \"" << box["message"].text
               << "\" with the icon " << box["icon"].text;
    }
    return ::testing::AssertionSuccess();
}

// The main window is in front, enabled, and nothing else of ours is up.
::testing::AssertionResult BackAtTheMainWindow(const Json& dump) {
    const Json* main = TopLevel(dump, "Form", "Adres Defteri");
    if (main == nullptr || dump["foreground"].number != (*main)["handle"].number ||
        !(*main)["enabled"].boolean) {
        return ::testing::AssertionFailure() << "the main window is not in front and enabled";
    }
    if (NewAddressForm(dump) != nullptr || !TopLevelsOfClass(dump, "#32770").empty()) {
        return ::testing::AssertionFailure() << "the new-address window or a box is still up";
    }
    return ::testing::AssertionSuccess();
}

Rows StoredRows(const ProgramCopy& copy) {
    adres_test_support::RawConnection database(copy.DatabasePath());
    return database.Rows(kSelectRows);
}

// Taps "Kaydet", dumps the box that answers into box.json, taps its OK and dumps what is
// left into after.json.
constexpr char kSaveAndAnswer[] = "tap \"Kaydet\"\n"
                                  "dump \"box.json\"\n"
                                  "tap \"OK\"\n"
                                  "dump \"after.json\"\n";

TEST(NewAddress, OpensWithItsFieldsInOrderAndTheCaretInTheNameBox) {
    ProgramCopy copy("opens");
    EXPECT_TRUE(RanCleanly(copy.RunScript("tap \"Yeni Adres\"\n"
                                          "dump \"open.json\"\n")));
    const Json dump = ReadDump(copy, "open.json");
    const Json* form = NewAddressForm(dump);
    ASSERT_NE(form, nullptr);
    // In front, so the navigation bar shows its caption, with the "ok" button.
    EXPECT_EQ(dump["foreground"].number, (*form)["handle"].number);
    EXPECT_EQ(std::stoul((*form)["exstyle"].text, nullptr, 16) & 0x80000000u, 0x80000000u);
    const std::vector<long long> client = Rect((*form)["client"]);
    const std::vector<std::string> labels = {"Adı SoyAdı:", "Adres1", "Adres2",
                                             "Posta Kodu:", "İli"};
    const int labelTops[] = {8, 51, 95, 141, 187};
    const int boxTops[] = {kNameTop, kAddress1Top, kAddress2Top, kPostalCodeTop, kProvinceTop};
    const std::vector<const Json*> shownLabels = ChildrenByTop(*form, "STATIC");
    const std::vector<const Json*> boxes = ChildrenByTop(*form, "EDIT");
    ASSERT_EQ(boxes.size(), 5u);
    ASSERT_EQ(shownLabels.size(), 6u); // the five labels, then the bottom panel
    const long long origin = Rect((*shownLabels[0])["rect"])[1] - labelTops[0];
    for (size_t i = 0; i < 5; ++i) {
        const std::vector<long long> label = Rect((*shownLabels[i])["rect"]);
        const std::vector<long long> box = Rect((*boxes[i])["rect"]);
        EXPECT_EQ((*shownLabels[i])["text"].text, labels[i]);
        EXPECT_EQ(label[0] - client[0], 12) << labels[i];
        EXPECT_EQ(label[1] - origin, labelTops[i]) << labels[i];
        EXPECT_EQ(box[0] - client[0], 12) << labels[i];
        EXPECT_EQ(box[1] - origin, boxTops[i]) << labels[i];
        EXPECT_EQ(box[2] - box[0], 210) << labels[i];
    }
    EXPECT_EQ(std::stoul((*boxes[3])["style"].text, nullptr, 16) & 0x2000u, 0x2000u); // ES_NUMBER
    // The caret is in the name box, its (empty) text selected.
    EXPECT_EQ(dump["focus"].number, (*boxes[0])["handle"].number);
    const Json& selection = (*boxes[0])["selection"];
    ASSERT_EQ(selection.items.size(), 2u);
    EXPECT_TRUE(selection.items[0].number == 0 && selection.items[1].number == 0);

    // The bottom panel is wholly above the form's menu bar.
    const Json& panel = *shownLabels[5];
    long long barTop = -1;
    for (const Json* bar : TopLevelsOfClass(dump, "menu_worker")) {
        barTop = (*bar)["visible"].boolean ? Rect((*bar)["rect"])[1] : barTop;
    }
    const std::vector<long long> panelRect = Rect(panel["rect"]);
    EXPECT_EQ(panelRect[0], client[0] + 1);
    EXPECT_EQ(panelRect[2], client[2] - 1);
    EXPECT_LE(panelRect[3], client[3]);
    EXPECT_EQ(Rect((*form)["rect"])[3], barTop);
    const Json* save = FindWindow(panel, "BUTTON", "Kaydet");
    const Json* close = FindWindow(panel, "BUTTON", "Kapat");
    ASSERT_TRUE(save != nullptr && close != nullptr);
    const std::vector<long long> inside = Rect(panel["client"]);
    EXPECT_EQ(Rect((*save)["rect"])[0], inside[0]);
    EXPECT_EQ(Rect((*close)["rect"])[2], inside[2]);
    for (const Json* button : {save, close}) {
        const std::vector<long long> rect = Rect((*button)["rect"]);
        EXPECT_EQ(rect[2] - rect[0], 85);
        EXPECT_TRUE(rect[1] == inside[1] && rect[3] == inside[3]);
    }
}

TEST(NewAddress, SavesATurkishAddressByteForByte) {
    ProgramCopy copy("saves");
    EXPECT_TRUE(RanCleanly(
        copy.RunScript("tap \"Yeni Adres\"\n"
                       "type \"Şükrü Öztürk\"\n" +
                       TapBox(kAddress1Top) + "type \"Çiçek Sok. No: 5\"\n" + TapBox(kAddress2Top) +
                       "type \"Kadıköy\"\n" + TapBox(kPostalCodeTop) + "type \"34710\"\n" +
                       TapBox(kProvinceTop) + "type \"İstanbul\"\n" + kSaveAndAnswer +
                       "tap \"Kapat\"\n"
                       "# never reached: the main window's Kapat ended the program\n"
                       "dump \"ended.json\"\n")));
    EXPECT_TRUE(ShowsBox(ReadDump(copy, "box.json"), "Kayıt Yapıldı !", "information"));
    EXPECT_TRUE(BackAtTheMainWindow(ReadDump(copy, "after.json")));
    EXPECT_FALSE(std::filesystem::exists(copy.Path("ended.json")));
    EXPECT_EQ(StoredRows(copy), (Rows{{"\xDE\xFCkr\xFC \xD6zt\xFCrk",
                                       "\xC7i\xE7"
                                       "ek Sok. No: 5",
                                       "Kad\xFDk\xF6y", "34710", "\xDDstanbul"}}));
}

TEST(NewAddress, AnEmptyNameIsRefusedWithEverythingTypedKept) {
    ProgramCopy copy("empty_name");
    EXPECT_TRUE(RanCleanly(copy.RunScript("tap \"Yeni Adres\"\n" + TapBox(kAddress1Top) +
                                          "type \"Adres\"\n" + TapBox(kProvinceTop) +
                                          "type \"İzmir\"\n" + kSaveAndAnswer)));
    EXPECT_TRUE(ShowsBox(ReadDump(copy, "box.json"), "Enaz Adı Olmalıdır !", "warning"));
    const Json after = ReadDump(copy, "after.json");
    const Json* form = NewAddressForm(after);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(BoxTexts(*form), (std::vector<std::string>{"", "Adres", "", "", "İzmir"}));
    EXPECT_TRUE(TopLevelsOfClass(after, "#32770").empty());
    EXPECT_TRUE(StoredRows(copy).empty());
}

TEST(NewAddress, TextsAreSavedAsTypedAndThePostalCodeBoxTakesOnlyDigits) {
    ProgramCopy copy("as_typed");
    EXPECT_TRUE(RanCleanly(copy.RunScript("tap \"Yeni Adres\"\n"
                                          "type \"   \"\n" +
                                          TapBox(kPostalCodeTop) +
                                          "type \"34a7Şb10\"\n"
                                          "tap \"Kaydet\"\n"
                                          "tap \"OK\"\n")));
    adres_test_support::RawConnection database(copy.DatabasePath());
    // Blanks are a name; the four empty boxes are empty texts, not NULL.
    EXPECT_EQ(
        database.Rows(
            "select adisoyadi, adres1, adres2, postakodu, ili, typeof(adres1), typeof(adres2),"
            " typeof(ili) from adres"),
        (Rows{{"   ", "", "", "34710", "", "text", "text", "text"}}));
}

TEST(NewAddress, KapatAndOkLeaveWithoutSavingAndTheNextVisitStartsEmpty) {
    ProgramCopy copy("leaving");
    EXPECT_TRUE(RanCleanly(copy.RunScript("tap \"Yeni Adres\"\n"
                                          "type \"Ayşe\"\n"
                                          "tap \"Kapat\"\n"
                                          "dump \"after_kapat.json\"\n"
                                          "tap \"Yeni Adres\"\n"
                                          "dump \"again.json\"\n"
                                          "type \"Kaan\"\n"
                                          "# the navigation bar's ok button\n"
                                          "tap 224 13\n"
                                          "dump \"after_ok.json\"\n")));
    EXPECT_TRUE(BackAtTheMainWindow(ReadDump(copy, "after_kapat.json")));
    const Json again = ReadDump(copy, "again.json");
    ASSERT_NE(NewAddressForm(again), nullptr);
    EXPECT_EQ(BoxTexts(*NewAddressForm(again)), (std::vector<std::string>(5, "")));
    EXPECT_TRUE(BackAtTheMainWindow(ReadDump(copy, "after_ok.json")));
    EXPECT_TRUE(StoredRows(copy).empty());
}

// A save that cannot be written: the error box, then the window closes and nothing else is
// shown.
void ExpectFailedSave(ProgramCopy& copy) {
    EXPECT_TRUE(RanCleanly(copy.RunScript(std::string("tap \"Yeni Adres\"\n"
                                                      "type \"Ayşe\"\n") +
                                          kSaveAndAnswer)));
    EXPECT_TRUE(ShowsBox(ReadDump(copy, "box.json"), "Hata Oluştu !", "error"));
    EXPECT_TRUE(BackAtTheMainWindow(ReadDump(copy, "after.json")));
}

TEST(NewAddress, WithoutTheTableTheSaveFailsWithTheErrorBox) {
    ProgramCopy copy("no_table", false);
    adres_test_support::RawConnection(copy.DatabasePath()).Exec("create table other (x text)");
    ExpectFailedSave(copy);
    adres_test_support::RawConnection database(copy.DatabasePath());
    EXPECT_EQ(database.Value("select count(*) from sqlite_master where name = 'adres'"), "0");
}

TEST(NewAddress, ADatabaseLockedByAnotherConnectionFailsTheSameAndKeepsItsRows) {
    ProgramCopy copy("locked");
    adres_test_support::RawConnection holder(copy.DatabasePath());
    holder.Exec("insert into adres (adisoyadi, adres1, adres2, postakodu, ili) values ('Kaan', "
                "'a', 'b', '1', 'c')");
    holder.Exec("begin exclusive");
    ExpectFailedSave(copy);
    holder.Exec("commit");
    EXPECT_EQ(StoredRows(copy), (Rows{{"Kaan", "a", "b", "1", "c"}}));
}

TEST(NewAddress, ASecondTapOnKaydetWhileTheBoxIsUpSavesNothingMore) {
    ProgramCopy copy("second_tap");
    EXPECT_TRUE(RanCleanly(copy.RunScript("tap \"Yeni Adres\"\n"
                                          "type \"Ayşe\"\n"
                                          "tap \"Kaydet\"\n"
                                          "tap \"Kaydet\"\n"
                                          "dump \"box.json\"\n"
                                          "tap \"OK\"\n"
                                          "dump \"after.json\"\n")));
    EXPECT_TRUE(ShowsBox(ReadDump(copy, "box.json"), "Kayıt Yapıldı !", "information"));
    EXPECT_TRUE(BackAtTheMainWindow(ReadDump(copy, "after.json")));
    EXPECT_EQ(StoredRows(copy).size(), 1u);
}

TEST(NewAddress, InLandscapeTheFormScrollsAndSavesTheSame) {
    ProgramCopy copy("landscape");
    // 320 x 240: the form's client area is 307 x 188 once its vertical bar shows; the down
    // arrow is the bar's last 13 pixels, above the menu bar at 214.
    EXPECT_TRUE(RanCleanly(copy.RunScript("tap \"Yeni Adres\"\n"
                                          "dump \"open.json\"\n"
                                          "tap 313 207\n"
                                          "dump \"line.json\"\n"
                                          "# the province box shows its top 4 pixels now\n"
                                          "tap 117 212\n"
                                          "dump \"province.json\"\n"
                                          "type \"Bursa\"\n"
                                          "drag 313 150 313 40\n"
                                          "dump \"dragged.json\"\n"
                                          "tap 117 56\n"
                                          "type \"Ayşe Kaya\"\n"
                                          "tap \"Kaydet\"\n"
                                          "dump \"saved.json\"\n"
                                          "tap \"OK\"\n",
                                          "DEVICE_SCREEN=320x240")));
    auto boxes = [&](const std::string& name) {
        const Json dump = ReadDump(copy, name);
        std::vector<std::vector<long long>> rects;
        if (const Json* form = NewAddressForm(dump)) {
            for (const Json* box : ChildrenByTop(*form, "EDIT")) {
                rects.push_back(Rect((*box)["rect"]));
            }
        }
        rects.resize(5, std::vector<long long>(4));
        return rects;
    };
    const Json open = ReadDump(copy, "open.json");
    ASSERT_NE(NewAddressForm(open), nullptr);
    EXPECT_EQ(std::stoul((*NewAddressForm(open))["style"].text, nullptr, 16) & 0x00200000u,
              0x00200000u); // WS_VSCROLL
    const std::vector<long long> client = Rect((*NewAddressForm(open))["client"]);
    const auto opened = boxes("open.json");
    EXPECT_GT(opened[4][3], client[3]); // the province box starts out of sight
    EXPECT_EQ(boxes("line.json")[0][1], opened[0][1] - 16);
    const auto province = boxes("province.json");
    EXPECT_GE(province[4][1], client[1]);
    EXPECT_EQ(province[4][3], client[3] - 1); // wholly in view, its bottom at the Margin
    EXPECT_EQ(boxes("dragged.json")[0][1], opened[0][1]);
    EXPECT_TRUE(ShowsBox(ReadDump(copy, "saved.json"), "Kayıt Yapıldı !", "information"));
    EXPECT_EQ(StoredRows(copy), (Rows{{"Ay\xFE"
                                       "e Kaya",
                                       "", "", "", "Bursa"}}));
}

TEST(NewAddress, TheReadmeScreenshotsAreMadeByTheirScripts) {
    const struct {
        const char* script;
        const char* environment;
        const char* screenshot;
    } shots[] = {
        {"new_address_screenshot.txt", "", "new_address.png"},
        {"new_address_landscape_screenshot.txt", "DEVICE_SCREEN=320x240",
         "new_address_landscape.png"},
    };
    for (const auto& shot : shots) {
        ProgramCopy copy(std::string("screenshot_") + shot.screenshot);
        EXPECT_TRUE(RanCleanly(copy.RunScriptFile(
            std::string(ADDRESS_BOOK_SCRIPTS_DIR) + "/" + shot.script, shot.environment)));
        EXPECT_TRUE(
            test::MatchesDocsPicture(copy.Path(shot.screenshot),
                                     std::string(ADDRESS_BOOK_DOCS_DIR) + "/" + shot.screenshot));
    }
}

} // namespace
