// list: the search window's own rule, the Turkish rules, and the three outputs.
#include "cli_fixture.h"

#include "address_store.h"
#include "code_page_text.h"
#include "csv_reader.h"

namespace {

class ListTest : public CliTest {
protected:
    ListTest() {
        std::vector<std::vector<std::u16string>> rows;
        for (const char16_t* name : {u"Ayşe Yılmaz", u"AYŞE KAYA", u"Kaan", u"IŞIK Işık", u"İsmail",
                                     u"isa", u"Şükrü Çağlar", u"Sukru Caglar", u"Öznur", u"Kâzım",
                                     u"Ali \"Deli\"", u"%100 Ali", u"ad_soyad", u"Ümit Güneş"}) {
            rows.push_back({name, u"Cadde 1"});
        }
        Insert(rows);
    }

    std::vector<std::string> Names(std::vector<std::string> args) {
        args.insert(args.begin(), "list");
        args.push_back("--csv");
        const CliRun run = Run(args);
        EXPECT_EQ(run.status, 0) << run.err;
        std::vector<std::string> names;
        for (const TImportedAddress& address : ReadCsv(run.out, "out").addresses) {
            names.push_back(address.fields[0]);
        }
        return names;
    }
};

TEST_F(ListTest, DefaultGivesTheSearchWindowsRows) {
    auto database = TSqliteDatabase::Create(m_db);
    for (const char16_t* text : {u"", u"a", u"A", u"ş", u"Ş", u"ı", u"I", u"i", u"İ", u"ü", u"ça",
                                 u"%", u"_", u"a_", u"%ş%", u"\"", u"\"Deli\"", u"'", u"â", u"zzz"}) {
        std::vector<std::string> expected;
        SearchAddresses(*database, text,
                        [&](const std::u16string& name, const std::u16string&, const std::u16string&,
                            const std::u16string&, const std::u16string&) {
                            expected.push_back(Utf8FromUtf16(name));
                        });
        EXPECT_EQ(Names({Utf8FromUtf16(text)}), expected) << Utf8FromUtf16(text);
    }
}

TEST_F(ListTest, TurkishAndFoldedRules) {
    struct Case {
        const char* rule;
        const char* text;
        std::vector<std::string> names;
    } cases[] = {
        {"--turkish", "ışık", {"IŞIK Işık"}},
        {"--turkish", "IŞIK", {"IŞIK Işık"}},
        {"--turkish", "i", {"%100 Ali", "Ali \"Deli\"", "isa", "Ümit Güneş", "İsmail"}},
        {"--turkish", "İSA", {"isa"}},
        {"--turkish", "ayşe", {"AYŞE KAYA", "Ayşe Yılmaz"}},
        {"--turkish", "şükrü çağlar", {"Şükrü Çağlar"}},
        {"--turkish", "ÖZ", {"Öznur"}},
        {"--turkish", "ümit güneş", {"Ümit Güneş"}},
        {"--fold", "sukru caglar", {"Sukru Caglar", "Şükrü Çağlar"}},
        {"--fold", "SUKRU", {"Sukru Caglar", "Şükrü Çağlar"}},
        {"--fold", "isik", {"IŞIK Işık"}},
        {"--fold", "kazim", {"Kâzım"}},
        {"--fold", "oz", {"Öznur"}},
        {"--fold", "umit gunes", {"Ümit Güneş"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Names({c.text, c.rule}), c.names) << c.rule << " " << c.text;
    }
    // The wildcards and the order stay those of the default rule.
    EXPECT_EQ(Names({"%", "--fold"}), Names({"%"}));
    EXPECT_EQ(Names({"_", "--turkish"}), Names({"_"}));
}

TEST_F(ListTest, TableAlignsTurkishLettersAsOneColumn) {
    const CliRun run = Run({"list", "ş"});
    std::istringstream lines(run.out);
    std::vector<size_t> columns;
    for (std::string line; std::getline(lines, line);) {
        const size_t at = line.find("Adres 1") != std::string::npos ? line.find("Adres 1") : line.find("Cadde 1");
        columns.push_back(Utf8Length(line.substr(0, at)));
    }
    ASSERT_EQ(columns.size(), 4u) << run.out;
    EXPECT_EQ(std::count(columns.begin(), columns.end(), columns[0]), 4) << run.out;
}

TEST_F(ListTest, JsonEscapesAndNumbers) {
    Insert({{u"Tab\tve \"tırnak\"\\", u"iki\nsatır"}});
    const CliRun run = Run({"list", "Tab", "--json"});
    EXPECT_EQ(run.out, "[\n  {\"idno\": 15, \"adisoyadi\": \"Tab\\tve \\\"tırnak\\\"\\\\\", \"adres1\": "
                       "\"iki\\nsatır\", \"adres2\": \"\", \"postakodu\": \"\", \"ili\": \"\"}\n]\n");
    EXPECT_EQ(Run({"list", "zzz", "--json"}).out, "[]\n");
}

TEST_F(ListTest, TextTheFileCannotHoldIsRefusedNotTurnedIntoQuestionMarks) {
    Insert({{u"Soru?"}});
    const CliRun run = Run({"list", "Ж"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("U+0416"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

} // namespace
