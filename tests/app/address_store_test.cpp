// The address store: where the database file is, saving an address, and searching by name
// (matching on code-page bytes, order, and typed text that must stay inside the pattern).
#include "address_store.h"

#include "sqlite_query_results.h"
#include "text_conversion.h"

#include "support/program_directory.h"
#include "support/raw_sqlite.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

using adres_test_support::kAddressTableSql;
using adres_test_support::ProgramDirectory;
using adres_test_support::RawConnection;

using Row = std::vector<std::u16string>;

std::u16string Widen(const std::string& ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

std::vector<Row> Search(TSqliteDatabase& db, const std::u16string& text) {
    std::vector<Row> rows;
    SearchAddresses(db, text,
                    [&](const std::u16string& adisoyadi, const std::u16string& adres1,
                        const std::u16string& adres2, const std::u16string& postakodu,
                        const std::u16string& ili) {
                        rows.push_back({adisoyadi, adres1, adres2, postakodu, ili});
                    });
    return rows;
}

std::vector<std::u16string> Names(TSqliteDatabase& db, const std::u16string& text) {
    std::vector<std::u16string> names;
    for (const Row& row : Search(db, text)) {
        names.push_back(row[0]);
    }
    return names;
}

TEST(ProgramDirectoryPath, CutsAfterTheLastSeparatorOfAnyKind) {
    EXPECT_EQ(AddressDatabasePath(u"\\Apps\\x.exe"), u"\\Apps\\adresdata.s3db");
    EXPECT_EQ(AddressDatabasePath(u"x.exe"), u"adresdata.s3db");
    EXPECT_EQ(AddressDatabasePath(u""), u"adresdata.s3db");
    EXPECT_EQ(AddressDatabasePath(u"C:x.exe"), u"C:adresdata.s3db");
    EXPECT_EQ(DatabaseFileNameBytes(u"/ev/Şükrü/adresdata.s3db"),
              "/ev/\xC5\x9E\xC3\xBCkr\xC3\xBC/adresdata.s3db");
    EXPECT_EQ(DirectoryOfPath(u"/usr/bin/adres"), u"/usr/bin/");
    EXPECT_EQ(DirectoryOfPath(u"a/b\\c:d"), u"a/b\\c:");
    EXPECT_EQ(DirectoryOfPath(u"a\\b/c"), u"a\\b/");
    EXPECT_EQ(DirectoryOfPath(u"dir/"), u"dir/");
}

TEST(ProgramDirectoryPath, ComesFromTheRunningProgramsFile) {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
    ASSERT_GT(length, 0);
    const std::string exe(buffer, static_cast<size_t>(length));
    EXPECT_EQ(GetProgramDirectory(), Widen(exe.substr(0, exe.rfind('/') + 1)));

    ProgramDirectory program;
    EXPECT_EQ(GetProgramDirectory(), Widen(program.Path() + "/"));
    auto db = OpenAddressDatabase();
    EXPECT_EQ(std::string(sqlite3_db_filename(db->Handle, "main")), program.DatabasePath());
}

TEST(SearchStatement, IsHeadTextMiddleTailWithDoubleQuotesDoubled) {
    EXPECT_EQ(BuildSearchSql(u""),
              u" select adres.idno,adres.adisoyadi,adres.adres1,adres.adres2,adres.postakodu,"
              u"adres.ili from adres where adres.adisoyadi like \"%%\" order by adres.adisoyadi ");
    EXPECT_EQ(BuildSearchSql(u"a\"b\"\""),
              std::u16string(SearchSqlHead) + u"a\"\"b\"\"\"\"" + SearchSqlMiddle + SearchSqlTail);
    // Letters outside ASCII and '_' are left to the byte check.
    EXPECT_EQ(BuildSearchSql(u"Ayşe_K"), std::u16string(SearchSqlHead) + u"Ay%e%K" + SearchSqlMiddle + SearchSqlTail);
}

// The match check on its own, where SQLite's wider matching cannot hide a mistake.
TEST(NameMatch, FollowsLikeOnCodePageBytes) {
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"", "%%", true},
        {"", "%_%", false},
        {"aab", "%ab%", true}, // the first 'a' is a false start
        {"abxabc", "%a_c%", true},
        {"abxab", "%a_c%", false},
        {"mississippi", "%issip%", true},
        {"aaa", "%aaaa%", false},
        {"cab", "%a%c%", false},
        {"KaAN", "%kaan%", true},     // ASCII letters without case
        {"\xFE", "%\xDE%", false},    // s-cedilla is not its capital
        {"\xFD", "%I%", false},       // dotless i is not I
        {"\xC7\xA3", "%\xA3%", true}, // every byte is a character of its own
        {"\xC7\xA3", "%__%", true},
        {"a%b", "%a%b%", true},
        {"ab", "%a_b%", false},
        {"Ayşe", "%", true},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameMatchesPattern(c.name, c.pattern), c.matches)
            << "name \"" << c.name << "\" pattern \"" << c.pattern << "\"";
    }
}

class AddressStoreTest : public ::testing::Test {
protected:
    void SetUp() override { Raw().Exec(kAddressTableSql); }

    RawConnection Raw() { return RawConnection(m_program.DatabasePath()); }

    // Rows as the search window would add them, names given in UTF-16.
    void Insert(const std::vector<std::u16string>& names) {
        for (const std::u16string& name : names) {
            ASSERT_TRUE(SaveAddress(name, u"", u"", u"", u""));
        }
    }

    std::string Count() { return Raw().Value("select count(*) from adres"); }

    ProgramDirectory m_program;
};

TEST_F(AddressStoreTest, SavedAddressIsStoredInCodePageBytesAndFoundAgain) {
    ASSERT_TRUE(
        SaveAddress(u"Ayşe Yılmaz", u"Atatürk Cad. No: 5", u"Kat 2", u"34710", u"İstanbul"));
    auto rows = Raw().Rows("select hex(adisoyadi), hex(ili), idno from adres");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "4179FE652059FD6C6D617A");
    EXPECT_EQ(rows[0][1], "DD7374616E62756C");
    EXPECT_EQ(rows[0][2], "1");
    auto db = OpenAddressDatabase();
    EXPECT_EQ(Search(*db, u"Ayşe"), (std::vector<Row>{{u"Ayşe Yılmaz", u"Atatürk Cad. No: 5",
                                                       u"Kat 2", u"34710", u"İstanbul"}}));
}

TEST_F(AddressStoreTest, EmptyFieldsAreStoredAsEmptyTextNotNull) {
    ASSERT_TRUE(SaveAddress(u"Kaan", u"", u"", u"", u""));
    EXPECT_EQ(Raw().Value("select typeof(adres1) || typeof(adres2) || typeof(postakodu) ||"
                          " typeof(ili) || length(adres1 || adres2 || postakodu || ili)"
                          " from adres"),
              "texttexttexttext0");
    auto db = OpenAddressDatabase();
    EXPECT_EQ(Search(*db, u"Kaan"), (std::vector<Row>{{u"Kaan", u"", u"", u"", u""}}));
}

TEST_F(AddressStoreTest, SearchMatchesByTheStatedRuleOnCodePageBytes) {
    Insert({u"Ayşe", u"Kaan", u"ŞAHİN", u"Çiçek", u"Ömer", u"İpek", u"Işık", u"Ğül"});
    auto db = OpenAddressDatabase();
    EXPECT_EQ(Names(*db, u"a"), (std::vector<std::u16string>{u"Ayşe", u"Kaan", u"ŞAHİN"}));
    EXPECT_EQ(Names(*db, u"ş"), (std::vector<std::u16string>{u"Ayşe", u"Işık"}));
    EXPECT_EQ(Names(*db, u"Ş"), (std::vector<std::u16string>{u"ŞAHİN"}));
    EXPECT_EQ(Names(*db, u"ı"), (std::vector<std::u16string>{u"Işık"}));
    EXPECT_EQ(Names(*db, u"İ"), (std::vector<std::u16string>{u"İpek", u"ŞAHİN"}));
    EXPECT_EQ(Names(*db, u"çiç"), (std::vector<std::u16string>{}));
    EXPECT_EQ(Names(*db, u"Çiç"), (std::vector<std::u16string>{u"Çiçek"}));
    EXPECT_EQ(Names(*db, u"AYŞ"), (std::vector<std::u16string>{}));
    EXPECT_EQ(Names(*db, u"AYş"), (std::vector<std::u16string>{u"Ayşe"}));
}

TEST_F(AddressStoreTest, PercentAndUnderscoreAreWildcards) {
    Insert({u"Ayşe", u"Kaan", u"Ömer", u"", u"x"});
    Raw().Exec("insert into adres (adisoyadi) values (null)");
    auto db = OpenAddressDatabase();
    EXPECT_EQ(Names(*db, u"%"),
              (std::vector<std::u16string>{u"", u"Ayşe", u"Kaan", u"x", u"Ömer"}));
    EXPECT_EQ(Names(*db, u"_"), (std::vector<std::u16string>{u"Ayşe", u"Kaan", u"x", u"Ömer"}));
    EXPECT_EQ(Names(*db, u"K_an"), (std::vector<std::u16string>{u"Kaan"}));
    EXPECT_EQ(Names(*db, u"y%e"), (std::vector<std::u16string>{u"Ayşe"}));
    EXPECT_EQ(Names(*db, u"Ö_e"), (std::vector<std::u16string>{u"Ömer"}));
    EXPECT_EQ(Names(*db, u"____"), (std::vector<std::u16string>{u"Ayşe", u"Kaan", u"Ömer"}));
    EXPECT_EQ(Names(*db, u"_____"), (std::vector<std::u16string>{}));
}

// SQLite reads a byte from 0xC0 up and the bytes from 0x80 to 0xBF after it as one
// character; the names it would pair that way are still found byte by byte.
TEST_F(AddressStoreTest, NamesWhoseBytesLookLikeUtf8AreStillFound) {
    // 'ş' is byte 0xFE and '’' byte 0x92: SQLite reads the pair as one character.
    Insert({u"Güneş’in", u"Ayşe", u"Kaan"});
    auto db = OpenAddressDatabase();
    EXPECT_EQ(Names(*db, u"’"), (std::vector<std::u16string>{u"Güneş’in"}));
    EXPECT_EQ(Names(*db, u"ş’i"), (std::vector<std::u16string>{u"Güneş’in"}));
    EXPECT_EQ(Names(*db, u"e__in"), (std::vector<std::u16string>{u"Güneş’in"}));
    EXPECT_EQ(Names(*db, u"e_in"), (std::vector<std::u16string>{}));
    EXPECT_EQ(Names(*db, u"ş"), (std::vector<std::u16string>{u"Ayşe", u"Güneş’in"}));
}

TEST_F(AddressStoreTest, EmptyTextListsEveryNamedRowInByteOrder) {
    // In Windows-1254, Ğ (D0) sorts before Ö (D6); in UTF-8 it would come after.
    Insert({u"Ömer", u"Ğül", u"Çiçek", u"ayşe", u"Ayşe", u"", u"Kaan", u"Ayşe"});
    Raw().Exec("insert into adres (adisoyadi) values (null)");
    auto db = OpenAddressDatabase();
    EXPECT_EQ(Names(*db, u""), (std::vector<std::u16string>{u"", u"Ayşe", u"Ayşe", u"Kaan", u"ayşe",
                                                            u"Çiçek", u"Ğül", u"Ömer"}));
}

TEST_F(AddressStoreTest, DoubleQuotesInTheTextStayInsideThePattern) {
    Insert({u"Ayşe", u"Xa\"by", u"a\"b", u"Kaan"});
    auto db = OpenAddressDatabase();
    EXPECT_EQ(Names(*db, u"a\"b"), (std::vector<std::u16string>{u"Xa\"by", u"a\"b"}));
    EXPECT_EQ(Names(*db, u"\""), (std::vector<std::u16string>{u"Xa\"by", u"a\"b"}));
    EXPECT_EQ(Names(*db, u"\" or 1=1 --"), (std::vector<std::u16string>{}));
    EXPECT_EQ(Names(*db, u"%\" union select 1,2,3,4,5,6 --"), (std::vector<std::u16string>{}));
    EXPECT_EQ(Names(*db, u"\"; drop table adres; --"), (std::vector<std::u16string>{}));
    EXPECT_EQ(Names(*db, u"\"\""), (std::vector<std::u16string>{}));
    EXPECT_EQ(Count(), "4");
    EXPECT_EQ(Names(*db, u""), (std::vector<std::u16string>{u"Ayşe", u"Kaan", u"Xa\"by", u"a\"b"}));
}

TEST_F(AddressStoreTest, FailureInsideTheReceiverEndsTheQueryAndGoesOn) {
    Insert({u"Ayşe", u"Kaan"});
    auto db = OpenAddressDatabase();
    auto statements = [&] {
        int count = 0;
        for (sqlite3_stmt* s = sqlite3_next_stmt(db->Handle, nullptr); s != nullptr;
             s = sqlite3_next_stmt(db->Handle, s)) {
            ++count;
        }
        return count;
    };
    const int before = statements();
    int delivered = 0;
    EXPECT_THROW(
        SearchAddresses(*db, u"",
                        [&](const auto&, const auto&, const auto&, const auto&, const auto&) {
                            ++delivered;
                            throw std::runtime_error("stop");
                        }),
        std::runtime_error);
    EXPECT_EQ(delivered, 1);
    EXPECT_EQ(statements(), before);
}

TEST_F(AddressStoreTest, MissingTableFailsTheSaveAndRaisesFromTheSearch) {
    Raw().Exec("drop table adres");
    EXPECT_FALSE(SaveAddress(u"Ayşe", u"", u"", u"", u""));
    auto db = OpenAddressDatabase();
    try {
        Search(*db, u"ş");
        FAIL() << "no exception";
    } catch (const ESqliteException& e) {
        EXPECT_EQ(e.Message(),
                  "Error: no such table: adres\r\n\r\n" + WideToAnsi(BuildSearchSql(u"ş")));
    }
    // Nothing was left holding the file.
    EXPECT_NO_THROW(Raw().Exec("begin exclusive; commit"));
}

TEST(AddressStoreFile, MissingFileIsLeftEmptyAndEverySaveFails) {
    ProgramDirectory program;
    EXPECT_FALSE(SaveAddress(u"Ayşe", u"", u"", u"", u""));
    struct stat info;
    ASSERT_EQ(stat(program.DatabasePath().c_str(), &info), 0);
    EXPECT_EQ(RawConnection(program.DatabasePath()).Value("select count(*) from sqlite_master"),
              "0");
    EXPECT_FALSE(SaveAddress(u"Ayşe", u"", u"", u"", u""));
}

TEST(AddressStoreFile, UnopenablePathFailsTheSaveAndRaisesTheOpenMessage) {
    ProgramDirectory program;
    std::filesystem::remove_all(program.Path()); // the program's directory is gone
    EXPECT_FALSE(SaveAddress(u"Ayşe", u"", u"", u"", u""));
    try {
        OpenAddressDatabase();
        FAIL() << "no exception";
    } catch (const ESqliteException& e) {
        EXPECT_EQ(e.Message(), "Failed to open database \"" + program.DatabasePath() + "\"");
    }
}

TEST(AddressStoreFile, ProgramDirectoryWithTurkishLettersHoldsTheDatabase) {
    ProgramDirectory program("Adres Şükrü");
    RawConnection(program.DatabasePath()).Exec(kAddressTableSql);
    EXPECT_TRUE(SaveAddress(u"Ayşe", u"", u"", u"", u""));
    EXPECT_EQ(RawConnection(program.DatabasePath()).Value("select hex(adisoyadi) from adres"),
              "4179FE65");
    auto db = OpenAddressDatabase();
    EXPECT_EQ(std::string(sqlite3_db_filename(db->Handle, "main")), program.DatabasePath());
}

// Runs check where the file's permissions hold: root ignores them, so as root it runs in a
// child process that has become nobody. Returns check's result.
bool RunWithoutPrivileges(const std::function<bool()>& check) {
    if (geteuid() != 0) {
        return check();
    }
    const pid_t child = fork();
    if (child == 0) {
        if (setgid(65534) != 0 || setuid(65534) != 0) {
            _exit(2);
        }
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 2) << "could not drop privileges";
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(AddressStoreTest, ReadOnlyFileFailsTheSave) {
    Insert({u"Kaan"});
    ASSERT_EQ(chmod(m_program.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(m_program.DatabasePath().c_str(), 0444), 0);
    EXPECT_TRUE(RunWithoutPrivileges([] { return !SaveAddress(u"Ayşe", u"", u"", u"", u""); }));
    EXPECT_EQ(Count(), "1");
}

TEST_F(AddressStoreTest, FileLockedByAnotherConnectionFailsTheSaveAtOnce) {
    RawConnection other = Raw();
    // A writer that has not committed yet: the insert itself finds the file busy.
    other.Exec("begin immediate; insert into adres (adisoyadi) values ('a')");
    EXPECT_FALSE(SaveAddress(u"Ayşe", u"", u"", u"", u""));
    // A writer in the middle of committing: even reading the table's declaration fails.
    other.Exec("commit; begin exclusive");
    EXPECT_FALSE(SaveAddress(u"Ayşe", u"", u"", u"", u""));
    other.Exec("commit");
    EXPECT_TRUE(SaveAddress(u"Ayşe", u"", u"", u"", u""));
    EXPECT_EQ(Count(), "2");
}

} // namespace
