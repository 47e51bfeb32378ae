// Exit statuses and error lines of the command line as a whole.
#include "cli_fixture.h"

#include <filesystem>

namespace {

int LineCount(const std::string& text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

TEST_F(CliTest, EveryFailureIsOneLineWithItsStatus) {
    const std::string notADatabase = Write("not.s3db", "just some text, not SQLite\n");
    const std::string noTable = m_dir.File("empty.s3db");
    adres_test_support::RawConnection(noTable).Exec("create table other (x)");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string said;
    } cases[] = {
        {{"bogus", "x"}, 2, "unknown command \"bogus\""},
        {{}, 2, "adres: "},
        {{"edit", "1"}, 2, "needs at least one of"},
        {{"edit", "x", "--ili", "Van"}, 2, "ID: not a number of an address: x"},
        {{"delete", "99999999999999999999"}, 2, "ID: not a number"},
        {{"add", "--adres1", "a"}, 2, "needs --name"},
        {{"list", "--turkish", "--fold"}, 2, "adres: "},
        {{"export", "--format", "xml"}, 2, "adres: "},
        {{"delete", "7", "--yes"}, 1, "no address has the number 7"},
        {{"--db", m_dir.File("missing.s3db"), "list"}, 1, "missing.s3db: No such file"},
        {{"--db", m_dir.Path(), "list"}, 1, "is a directory"},
        {{"--db", notADatabase, "list"}, 1, "not.s3db: cannot be opened: file is not a database"},
        {{"--db", noTable, "add", "--name", "A"}, 1, "no such table: adres"},
        {{"import", m_dir.File("none.vcf")}, 1, "none.vcf: cannot be read"},
        {{"import", m_dir.Path()}, 1, "cannot be read: Is a directory"},
    };
    for (const Case& c : cases) {
        const CliRun run = Run(c.args);
        SCOPED_TRACE(c.said);
        EXPECT_EQ(run.status, c.status);
        EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
        EXPECT_EQ(LineCount(run.err), 1) << run.err;
    }
    // A mistyped file name is not turned into a new, empty database.
    EXPECT_FALSE(std::filesystem::exists(m_dir.File("missing.s3db")));
}

TEST_F(CliTest, HelpOfEveryCommandSucceeds) {
    for (const char* command : {"list", "add", "edit", "delete", "export", "import", "check"}) {
        const CliRun run = Run({command, "--help"});
        EXPECT_EQ(run.status, 0) << command;
        EXPECT_NE(run.out.find(command), std::string::npos) << run.out;
    }
    EXPECT_NE(Run({"--help"}).out.find("import"), std::string::npos);
}

TEST_F(CliTest, WorksOnTheFileBesideTheProgramByDefault) {
    adres_test_support::ProgramDirectory program;
    adres_test_support::RawConnection(program.DatabasePath()).Exec(adres_test_support::kAddressTableSql);
    const char* argv[] = {"adres", "add", "--name", "Ayşe"};
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(RunAdres(4, argv, in, out, err), 0) << err.str();
    EXPECT_EQ(adres_test_support::RawConnection(program.DatabasePath()).Value("select count(*) from adres"), "1");
    EXPECT_TRUE(Stored().empty());
}

} // namespace
