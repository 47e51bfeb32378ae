// The search window as a user meets it, the program run under DEVICE_SCRIPT beside a
// database made for each test: the window as it opens, the list after each change of the
// name (matched and ordered as the store defines, every column as stored), a database
// without the table or not a database at all, a database that cannot be opened, scrolling
// 200 rows, and the README's screenshot.
#include "program_run.h"
#include "window_dump.h"

#include "support/docs_picture.h"
#include "support/raw_sqlite.h"

#include "winnls.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace address_book_test;

struct Address {
    std::optional<std::u16string> name; // nullopt: a NULL name
    std::u16string line1;
    std::u16string line2;
    std::u16string postcode;
    std::u16string province;
};

// Capitals and small letters, ş and Ş, ç and Ç, ı and İ, a double quote, % and _, and a
// row without a name.
const std::vector<Address> kAddresses = {
    {u"Ayşe Yılmaz", u"Atatürk Cad. No: 12", u"Çamlık Mah.", u"34710", u"İstanbul"},
    {u"AHMET KAYA", u"İnönü Sok. 5", u"Kat 2", u"06420", u"Ankara"},
    {u"Kaan Öztürk", u"Gazi Bulvarı 80", u"", u"35210", u"İzmir"},
    {u"Şule Çelik", u"Bağdat Cad. 301", u"Daire 4", u"34730", u"İstanbul"},
    {u"Çağrı Şahin", u"Cumhuriyet Mah.", u"Gül Sok. 7", u"16050", u"Bursa"},
    {u"İsmail Işık", u"Fevzi Çakmak Cad.", u"No: 3", u"07100", u"Antalya"},
    {u"Ilgaz Kılıç", u"Mimar Sinan Cad.", u"", u"55200", u"Samsun"},
    {u"Zeynep Aydın", u"Şehitler Cad. 9", u"Kat 1", u"09100", u"Aydın"},
    {u"Emine Koç", u"Esentepe Sok.", u"", u"42100", u"Konya"},
    {u"Mehmet \"Memo\" Arslan", u"Kocatepe Mah.", u"", u"38010", u"Kayseri"},
    {u"Ali_Veli %100", u"Göztepe Cad.", u"", u"35290", u"İzmir"},
    {std::nullopt, u"Adı olmayan satır", u"", u"00000", u"Hiçbiri"},
    {u"Ömer Güneş", u"Karşıyaka Sok.", u"", u"35600", u"İzmir"},
    {u"hatice yıldız", u"Üsküdar Cad.", u"Kat 3", u"34664", u"İstanbul"},
    {u"ŞERİFE ÜNAL", u"Bahçelievler", u"", u"06490", u"Ankara"},
    {u"Barış Korkmaz", u"İstiklal Cad. 40", u"", u"34433", u"İstanbul"},
    {u"Gülsüm Bulut", u"Çiçek Sok.", u"", u"26010", u"Eskişehir"},
    {u"Uğur Çetin", u"Yenişehir", u"", u"33110", u"Mersin"},
    {u"Tuğba Şimşek", u"Gül Sok. 2", u"", u"20010", u"Denizli"},
    {u"Oğuz Polat", u"Kocatepe", u"", u"06420", u"Ankara"},
};

std::string Encode(const std::u16string& text, UINT codePage) {
    if (text.empty()) {
        return {};
    }
    const int length = static_cast<int>(text.size());
    std::string bytes(static_cast<size_t>(length) * 4, '\0');
    const int written = WideCharToMultiByte(codePage, 0, text.c_str(), length, bytes.data(),
                                            static_cast<int>(bytes.size()), nullptr, nullptr);
    bytes.resize(static_cast<size_t>(std::max(written, 0)));
    return bytes;
}
std::string CodePage(const std::u16string& text) { return Encode(text, CP_ACP); }
std::string Utf8(const std::u16string& text) { return Encode(text, CP_UTF8); }

// The table as the program stores rows: texts in code-page bytes, bound as text.
void WriteAddressBook(const std::string& path, const std::vector<Address>& addresses) {
    adres_test_support::RawConnection db(path);
    db.Exec(adres_test_support::kAddressTableSql);
    sqlite3_stmt* insert = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(db.Handle(), "insert into adres (adisoyadi,adres1,adres2,postakodu,ili) values (?,?,?,?,?)",
                                 -1, &insert, nullptr),
              SQLITE_OK);
    for (const Address& address : addresses) {
        const std::string fields[5] = {address.name ? CodePage(*address.name) : std::string(), CodePage(address.line1),
                                       CodePage(address.line2), CodePage(address.postcode),
                                       CodePage(address.province)};
        for (int i = 0; i < 5; ++i) {
            if (i == 0 && !address.name) {
                sqlite3_bind_null(insert, 1);
            } else {
                sqlite3_bind_text(insert, i + 1, fields[i].c_str(), static_cast<int>(fields[i].size()),
                                  SQLITE_TRANSIENT);
            }
        }
        ASSERT_EQ(sqlite3_step(insert), SQLITE_DONE);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
}

char16_t FoldAscii(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; }

// A name holds the text: ASCII letters of either case, every other letter only itself.
bool Holds(const std::u16string& name, const std::u16string& text) {
    auto same = [](char16_t a, char16_t b) { return FoldAscii(a) == FoldAscii(b); };
    return std::search(name.begin(), name.end(), text.begin(), text.end(), same) != name.end();
}

// The rows a search should list, in the order of their names' code-page bytes, as the
// dump shows them: five UTF-8 texts each.
std::vector<std::vector<std::string>> ExpectedRows(const std::vector<Address>& addresses,
                                                   const std::function<bool(const std::u16string&)>& listed) {
    std::vector<const Address*> rows;
    for (const Address& address : addresses) {
        if (address.name && listed(*address.name)) {
            rows.push_back(&address);
        }
    }
    std::sort(rows.begin(), rows.end(),
              [](const Address* a, const Address* b) { return CodePage(*a->name) < CodePage(*b->name); });
    std::vector<std::vector<std::string>> texts;
    for (const Address* row : rows) {
        texts.push_back({Utf8(*row->name), Utf8(row->line1), Utf8(row->line2), Utf8(row->postcode),
                         Utf8(row->province)});
    }
    return texts;
}

Json ReadDump(const ProgramRun& program, const std::string& file) {
    Json dump;
    const std::string text = program.Read(file);
    EXPECT_TRUE(ReadJson(text, &dump)) << file << ": " << text;
    return dump;
}

const Json* WindowOfClass(const Json& root, const std::string& windowClass) {
    return FindWindow(root, [&](const Json& window) { return window["class"].text == windowClass; });
}

const Json* WindowWithText(const Json& root, const std::string& text) {
    return FindWindow(root, [&](const Json& window) { return window["text"].text == text; });
}

std::vector<std::vector<std::string>> ListedRows(const Json& dump) {
    std::vector<std::vector<std::string>> rows;
    const Json* form = FindTopLevel(dump, dump["foreground"].number);
    const Json* list = form != nullptr ? WindowOfClass(*form, "SysListView32") : nullptr;
    if (list == nullptr) {
        ADD_FAILURE() << "no list view in the foreground window";
        return rows;
    }
    for (const Json& item : (*list)["items"].items) {
        std::vector<std::string> row;
        for (const Json& text : item.items) {
            row.push_back(text.text);
        }
        rows.push_back(row);
    }
    return rows;
}

std::vector<const Json*> MessageBoxes(const Json& dump) {
    std::vector<const Json*> boxes;
    for (const Json* window : AllWindows(dump)) {
        if ((*window)["class"].text == "#32770" && (*window)["visible"].boolean) {
            boxes.push_back(window);
        }
    }
    return boxes;
}

struct Broken;

class SearchWindow : public ::testing::Test {
protected:
    void ExpectRefusedOnce(const Broken& broken);
    void WriteDatabase(ProgramRun& program, const std::vector<Address>& addresses = kAddresses) {
        WriteAddressBook(program.Path("adresdata.s3db"), addresses);
    }
};

TEST_F(SearchWindow, OpensWithItsPanelsListAndNameBoxAndTheCaretInTheBox) {
    ProgramRun program("search_opened");
    WriteDatabase(program);
    RunResult run = program.RunScript("tap \"Adres Ara\"\ndump \"opened.json\"\ntap \"Kapat\"\ntap \"Kapat\"\n");
    ASSERT_TRUE(RanCleanly(run));
    const Json dump = ReadDump(program, "opened.json");
    const Json* form = FindTopLevel(dump, dump["foreground"].number);
    ASSERT_NE(form, nullptr);
    EXPECT_EQ((*form)["text"].text, "Adres Ara");
    EXPECT_EQ(std::stoul((*form)["exstyle"].text, nullptr, 16) & 0x80000000u, 0x80000000u); // the "ok" button

    const Json* list = WindowOfClass(*form, "SysListView32");
    const Json* label = WindowWithText(*form, "Adı SoyAdı:");
    const Json* edit = WindowOfClass(*form, "EDIT");
    const Json* close = WindowWithText(*form, "Kapat");
    ASSERT_TRUE(list != nullptr && label != nullptr && edit != nullptr && close != nullptr);
    const Json* topPanel = FindWindow(*form, [&](const Json& w) { return WindowOfClass(w, "EDIT") == edit && &w != form; });
    const Json* bottomPanel =
        FindWindow(*form, [&](const Json& w) { return WindowWithText(w, "Kapat") == close && &w != form; });
    ASSERT_TRUE(topPanel != nullptr && bottomPanel != nullptr);
    EXPECT_EQ((*topPanel)["class"].text, "STATIC");
    EXPECT_EQ((*bottomPanel)["class"].text, "STATIC");

    const std::vector<long long> formClient = Rect((*form)["client"]);
    const std::vector<long long> top = Rect((*topPanel)["rect"]);
    const std::vector<long long> bottom = Rect((*bottomPanel)["rect"]);
    const std::vector<long long> bottomClient = Rect((*bottomPanel)["client"]);
    const std::vector<long long> listRect = Rect((*list)["rect"]);
    EXPECT_EQ(top[3] - top[1], 30);
    EXPECT_EQ(bottom[3] - bottom[1], 38);
    EXPECT_EQ(top[1], formClient[1] + 2); // the form's margin
    EXPECT_EQ(bottom[3], formClient[3] - 2);
    EXPECT_EQ(listRect[1], top[3] + 2); // between the panels, the margin apart
    EXPECT_EQ(listRect[3], bottom[1] - 2);
    EXPECT_EQ(listRect[2] - listRect[0], formClient[2] - formClient[0] - 4);
    const std::vector<long long> kapat = Rect((*close)["rect"]);
    EXPECT_EQ(kapat[2] - kapat[0], 85);
    EXPECT_EQ(kapat[2], bottomClient[2]); // at the right, no margin in the bottom panel
    const std::vector<long long> labelRect = Rect((*label)["rect"]);
    const std::vector<long long> editRect = Rect((*edit)["rect"]);
    EXPECT_EQ(labelRect[2] - labelRect[0], 82);
    EXPECT_GT(editRect[0], labelRect[2] - 1); // the name box fills the rest, right of the label
    EXPECT_EQ(dump["focus"].number, (*edit)["handle"].number);

    const std::vector<std::pair<std::string, long long>> headers = {
        {"Adı SoyAdı", 100}, {"Adres 1", 100}, {"Adres 2", 100}, {"PostaKodu", 50}, {"İl", 50}};
    const std::vector<Json>& columns = (*list)["columns"].items;
    ASSERT_EQ(columns.size(), headers.size());
    for (size_t i = 0; i < headers.size(); ++i) {
        EXPECT_EQ(columns[i]["text"].text, headers[i].first);
        EXPECT_EQ(columns[i]["width"].number, headers[i].second);
    }
    EXPECT_TRUE((*list)["items"].items.empty());
}

TEST_F(SearchWindow, EachChangeOfTheNameListsTheMatchingRowsAsStoredInNameOrder) {
    ProgramRun program("search_listing");
    WriteDatabase(program);
    RunResult run = program.RunScript("tap \"Adres Ara\"\n"
                                      "type \"a\"\ndump \"a.json\"\n"
                                      "type \"y\"\ndump \"ay.json\"\n"
                                      "key BACK\nkey BACK\ndump \"empty.json\"\n"
                                      "type \"ş\"\ndump \"s.json\"\nkey BACK\n"
                                      "type \"\\\"\"\ndump \"quote.json\"\nkey BACK\n"
                                      "type \"%\"\ndump \"percent.json\"\nkey BACK\n"
                                      "type \"_\"\ndump \"underscore.json\"\nkey BACK\n"
                                      "type \"I\"\ndump \"capital_i.json\"\n"
                                      "tap \"Kapat\"\ntap \"Kapat\"\n");
    ASSERT_TRUE(RanCleanly(run));
    const auto holds = [](std::u16string text) {
        return [text](const std::u16string& name) { return Holds(name, text); };
    };
    struct Case {
        const char* dump;
        std::function<bool(const std::u16string&)> listed;
    };
    const std::vector<Case> cases = {
        {"a.json", holds(u"a")},
        {"ay.json", holds(u"ay")},
        {"empty.json", [](const std::u16string&) { return true; }},
        {"s.json", holds(u"ş")}, // not the names with only Ş
        {"quote.json", holds(u"\"")},
        {"percent.json", [](const std::u16string&) { return true; }},                          // any run
        {"underscore.json", [](const std::u16string& name) { return !name.empty(); }},         // one of anything
        {"capital_i.json", [](const std::u16string& name) { return Holds(name, u"i"); }}, // not ı or İ
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ListedRows(ReadDump(program, c.dump)), ExpectedRows(kAddresses, c.listed)) << c.dump;
        EXPECT_TRUE(MessageBoxes(ReadDump(program, c.dump)).empty()) << c.dump;
    }
}

struct Broken {
    const char* name;
    std::function<void(const std::string& path)> make;
};

// A query that fails shows one box and leaves the window usable: typing while the box is up
// reaches the box, not the name (so boxes never pile up), and the next change of the name
// runs a new query, which fails again with one box.
TEST_F(SearchWindow, AFailedQueryShowsOneErrorBoxAndTheWindowStaysUsable) {
    const std::vector<Broken> files = {
        {"search_no_table",
         [](const std::string& path) { adres_test_support::RawConnection(path).Exec("create table kisi (ad text)"); }},
        {"search_missing_column",
         [](const std::string& path) {
             adres_test_support::RawConnection(path).Exec("create table adres (idno integer primary key, adisoyadi text)");
         }},
    };
    for (const Broken& broken : files) {
        SCOPED_TRACE(broken.name);
        ProgramRun program(broken.name);
        broken.make(program.Path("adresdata.s3db"));
        RunResult run = program.RunScript("tap \"Adres Ara\"\n"
                                          "type \"a\"\ndump \"first.json\"\n"
                                          "type \"bcd\"\ndump \"burst.json\"\n"
                                          "key RETURN\ndump \"closed.json\"\n"
                                          "type \"e\"\ndump \"again.json\"\n"
                                          "key RETURN\ntap \"Kapat\"\ntap \"Kapat\"\n");
        ASSERT_TRUE(RanCleanly(run));
        for (const char* file : {"first.json", "burst.json", "again.json"}) {
            const Json dump = ReadDump(program, file);
            const std::vector<const Json*> boxes = MessageBoxes(dump);
            ASSERT_EQ(boxes.size(), 1u) << file;
            EXPECT_EQ((*boxes[0])["message"].text, "Arama Yapılamadı !") << file;
            EXPECT_EQ((*boxes[0])["icon"].text, "error") << file;
            EXPECT_EQ((*boxes[0])["text"].text, "Adres Defteri") << file;
        }
        const Json closed = ReadDump(program, "closed.json");
        EXPECT_TRUE(MessageBoxes(closed).empty());
        const Json* form = FindTopLevel(closed, closed["foreground"].number);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ((*form)["text"].text, "Adres Ara");
        EXPECT_EQ((*WindowOfClass(*form, "EDIT"))["text"].text, "a"); // the burst went to the box
        // The name was usable again: "e" went into it and ran a new query.
        const Json again = ReadDump(program, "again.json");
        const std::vector<const Json*> windows = AllWindows(again);
        EXPECT_TRUE(std::any_of(windows.begin(), windows.end(), [](const Json* window) {
            return (*window)["class"].text == "EDIT" && (*window)["text"].text == "ae";
        }));
    }
}

// A directory or a link into a missing directory cannot be opened, and a file that is not a
// database is found out while the connection is set up (its pragmas read the file): one box
// each, no search window, the main window usable and the file left as it was.
TEST_F(SearchWindow, ADatabaseThatCannotBeOpenedIsToldOnceAndNothingIsShown) {
    const std::vector<Broken> files = {
        {"search_directory", [](const std::string& path) { std::filesystem::create_directory(path); }},
        {"search_not_a_database",
         [](const std::string& path) { std::ofstream(path, std::ios::binary) << std::string(4096, 'x'); }},
        {"search_dangling_link",
         [](const std::string& path) { std::filesystem::create_symlink("/nonexistent-adres/adresdata.s3db", path); }},
    };
    for (const Broken& broken : files) {
        SCOPED_TRACE(broken.name);
        ExpectRefusedOnce(broken);
    }
}

void SearchWindow::ExpectRefusedOnce(const Broken& broken) {
    ProgramRun program(broken.name);
    broken.make(program.Path("adresdata.s3db"));
    const auto before = std::filesystem::symlink_status(program.Path("adresdata.s3db")).type();
    RunResult run = program.RunScript("tap \"Adres Ara\"\ndump \"refused.json\"\n"
                                      "key RETURN\ndump \"after.json\"\n"
                                      "tap \"Adres Ara\"\nkey RETURN\ntap \"Kapat\"\n");
    ASSERT_TRUE(RanCleanly(run));
    const Json refused = ReadDump(program, "refused.json");
    const std::vector<const Json*> boxes = MessageBoxes(refused);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ((*boxes[0])["message"].text, "Adres Defteri Açılamadı !");
    EXPECT_EQ((*boxes[0])["icon"].text, "error");
    const Json after = ReadDump(program, "after.json");
    for (const Json* window : AllWindows(after)) {
        if ((*window)["class"].text == "Form") {
            EXPECT_NE((*window)["text"].text, "Adres Ara") << "no search form is left behind";
            EXPECT_TRUE((*window)["enabled"].boolean);
        }
    }
    const Json* main = FindTopLevel(after, after["foreground"].number);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ((*main)["text"].text, "Adres Defteri");
    EXPECT_EQ(std::filesystem::symlink_status(program.Path("adresdata.s3db")).type(), before);
}

// With 200 rows: the down arrow of the list's scroll bar moves one row per tap, and the thumb
// dragged to the end of its track shows the last rows.
TEST_F(SearchWindow, TheScrollBarsArrowsAndThumbShowTheLaterRowsOfALongList) {
    ProgramRun program("search_scrolling");
    std::vector<Address> many;
    for (int i = 1; i <= 200; ++i) {
        std::string number = std::to_string(1000 + i).substr(1);
        many.push_back({u"Kişi " + std::u16string(number.begin(), number.end()), u"Sokak", u"", u"01000", u"Adana"});
    }
    WriteDatabase(program, many);
    RunResult first = program.RunScript("tap \"Adres Ara\"\ntype \"K\"\ndump \"filled.json\"\ntap \"Kapat\"\ntap \"Kapat\"\n");
    ASSERT_TRUE(RanCleanly(first));
    const Json filled = ReadDump(program, "filled.json");
    const Json* form = FindTopLevel(filled, filled["foreground"].number);
    ASSERT_NE(form, nullptr);
    const Json* list = WindowOfClass(*form, "SysListView32");
    ASSERT_NE(list, nullptr);
    ASSERT_EQ((*list)["items"].items.size(), 200u);
    EXPECT_EQ((*list)["top"].number, 0);
    // The vertical bar stands right of the client area, above the horizontal one (the
    // columns are wider than the list); its arrows are 13 pixels each.
    const std::vector<long long> client = Rect((*list)["client"]);
    const long long x = client[2] + 6;
    const long long down = client[3] - 7;
    const long long thumb = client[1] + 13 + 3; // just inside the thumb, at the top of its track
    const std::string tapDown = "tap " + std::to_string(x) + " " + std::to_string(down) + "\n";
    const std::string script = "tap \"Adres Ara\"\ntype \"K\"\n" + tapDown + tapDown + tapDown +
                               "dump \"arrows.json\"\n" + "drag " + std::to_string(x) + " " + std::to_string(thumb) +
                               " " + std::to_string(x) + " " + std::to_string(down) + "\ndump \"dragged.json\"\n" +
                               tapDown + "dump \"end.json\"\ntap \"Kapat\"\ntap \"Kapat\"\n";
    RunResult second = program.RunScript(script);
    ASSERT_TRUE(RanCleanly(second));
    auto topOf = [&](const std::string& file) {
        const Json dump = ReadDump(program, file);
        const Json* shown = FindTopLevel(dump, dump["foreground"].number);
        const Json* scrolled = shown != nullptr ? WindowOfClass(*shown, "SysListView32") : nullptr;
        return scrolled != nullptr ? (*scrolled)["top"].number : -1;
    };
    EXPECT_EQ(topOf("arrows.json"), 3);
    // At the end: 200 less the rows a page holds (about ten here), and no further.
    const long long end = topOf("dragged.json");
    EXPECT_GT(end, 180);
    EXPECT_EQ(topOf("end.json"), end);
}

TEST_F(SearchWindow, TheReadmeScreenshotShowsTheWindowListingAddresses) {
    ProgramRun program("search_screenshot");
    WriteDatabase(program);
    RunResult run = program.RunScriptFile(std::string(ADDRESS_BOOK_SCRIPTS_DIR) + "/search_window_screenshot.txt");
    ASSERT_TRUE(RanCleanly(run));
    EXPECT_TRUE(test::MatchesDocsPicture(program.Path("search_window.png"),
                                         std::string(ADDRESS_BOOK_DOCS_DIR) + "/search_window.png"));
}

} // namespace
