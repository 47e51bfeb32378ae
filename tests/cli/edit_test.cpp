// add, edit and delete: what is stored, what is refused, and the question before deleting.
#include "cli_fixture.h"

namespace {

TEST_F(CliTest, AddStoresCodePageBytesAndPrintsTheRow) {
    const CliRun run = Run({"add", "--name", "Ayşe Yılmaz", "--adres1", "Bağdat Cd.", "--ili", "İstanbul"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Stored(), StoredRows{AnsiRow({u"Ayşe Yılmaz", u"Bağdat Cd.", u"", u"", u"İstanbul"})});
    EXPECT_NE(run.out.find(" 1  Ayşe Yılmaz  Bağdat Cd."), std::string::npos) << run.out;
}

TEST_F(CliTest, EditChangesOnlyTheGivenFields) {
    Insert({{u"Ayşe", u"Cadde", u"Kat 2", u"34000", u"İzmir"}, {u"Kaan"}});
    ASSERT_EQ(Run({"edit", "1", "--adisoyadi", "Ayşe Kaya", "--postakodu", ""}).status, 0);
    EXPECT_EQ(Stored(), (StoredRows{AnsiRow({u"Ayşe Kaya", u"Cadde", u"Kat 2", u"", u"İzmir"}), AnsiRow({u"Kaan"})}));
}

TEST_F(CliTest, AddAndEditRefuseWhatCannotBeStoredAndChangeNothing) {
    Insert({{u"Ayşe"}});
    struct Case {
        std::vector<std::string> args;
        const char* said;
    } cases[] = {
        {{"add", "--name", "Ayşe 😀"}, "--name: '😀' (U+1F600) has no Windows-1254 byte"},
        {{"add", "--name", "Иван"}, "'И' (U+0418)"},
        {{"add", "--name", " \t "}, "the name is empty"},
        {{"add", "--name", "A", "--ili", "北京"}, "--ili: '北' (U+5317)"},
        {{"add", "--name", "A\xFF"}, "not UTF-8"},
        {{"edit", "1", "--adres2", "Ж"}, "--adres2: 'Ж' (U+0416)"},
        {{"edit", "1", "--name", ""}, "the name is empty"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.status, 1) << c.said;
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    }
    EXPECT_EQ(Stored(), StoredRows{AnsiRow({u"Ayşe"})});
}

TEST_F(CliTest, DeleteAsksUnlessTold) {
    Insert({{u"Bir"}, {u"İki"}, {u"Üç"}, {u"Dört"}});
    struct Case {
        std::vector<std::string> args;
        const char* answer;
        int status;
        size_t left;
    } cases[] = {
        {{"delete", "1"}, "n\n", 1, 4}, {{"delete", "1"}, "", 1, 4}, {{"delete", "1"}, "yesss\n", 1, 4},
        {{"delete", "1"}, "evet\n", 0, 3}, {{"delete", "2"}, "y\n", 0, 2}, {{"delete", "3", "--yes"}, "", 0, 1},
        {{"delete", "3", "--yes"}, "", 1, 1},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.args, c.answer);
        EXPECT_EQ(run.status, c.status) << c.answer << run.err;
        EXPECT_EQ(Stored().size(), c.left) << c.answer;
    }
    EXPECT_EQ(Stored(), StoredRows{AnsiRow({u"Dört"})});
}

} // namespace
