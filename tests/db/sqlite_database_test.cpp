// TSqliteDatabase: opening and its pragmas, the error messages to the byte, the current
// statement's life, binding in order, and what reaches the file.
#include "sqlite_database.h"
#include "sqlite_query_results.h"

#include "support/program_directory.h"
#include "support/raw_sqlite.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>
#include <string>

namespace {

using adres_test_support::RawConnection;
using adres_test_support::TempDirectory;

class SqliteDatabaseTest : public ::testing::Test {
protected:
    void SetUp() override {
        RawConnection(m_path).Exec("create table t (a, b, c, d, e)");
        m_db = TSqliteDatabase::Create(m_path);
    }

    // How many statements the connection holds.
    int OpenStatements() const {
        int count = 0;
        for (sqlite3_stmt* s = sqlite3_next_stmt(m_db->Handle, nullptr); s != nullptr;
             s = sqlite3_next_stmt(m_db->Handle, s)) {
            ++count;
        }
        return count;
    }

    std::string Query(const std::string& sql) { return RawConnection(m_path).Value(sql); }

    TempDirectory m_dir;
    std::string m_path = m_dir.File("test.s3db");
    std::unique_ptr<TSqliteDatabase> m_db;
};

std::string MessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const ESqliteException& e) {
        EXPECT_EQ(e.HelpContext(), 0);
        EXPECT_STREQ(e.what(), e.Message().c_str());
        return e.Message();
    }
    ADD_FAILURE() << "no ESqliteException";
    return {};
}

TEST(SqliteDatabaseOpen, MissingFileIsCreatedAndBothPragmasRun) {
    TempDirectory dir;
    const std::string path = dir.File("new.s3db");
    auto db = TSqliteDatabase::Create(path);
    struct stat info;
    EXPECT_EQ(stat(path.c_str(), &info), 0);
    auto synchronous = TSqliteQueryResults::Create(*db, "pragma synchronous");
    EXPECT_EQ(synchronous->FieldAsString(0), "0");
    auto tempStore = TSqliteQueryResults::Create(*db, "pragma temp_store");
    EXPECT_EQ(tempStore->FieldAsString(0), "2");
}

TEST(SqliteDatabaseOpen, FailureNamesTheFileUnchanged) {
    TempDirectory dir;
    const std::string path = dir.File("no such dir/ad\xFE\"x.s3db");
    EXPECT_EQ(MessageOf([&] { TSqliteDatabase::Create(path); }),
              "Failed to open database \"" + path + "\"");
    // A directory is no database either.
    EXPECT_EQ(MessageOf([&] { TSqliteDatabase::Create(dir.Path()); }),
              "Failed to open database \"" + dir.Path() + "\"");
}

TEST_F(SqliteDatabaseTest, PrepareFailureGivesErrorTextBlankLineAndSql) {
    EXPECT_EQ(MessageOf([&] { m_db->Prepare("selec 1"); }),
              "Error: near \"selec\": syntax error\r\n\r\nselec 1");
    EXPECT_EQ(MessageOf([&] { m_db->Exec("insert into nowhere values (1)"); }),
              "Error: no such table: nowhere\r\n\r\ninsert into nowhere values (1)");
    // An empty statement compiles to nothing, which the library accepts.
    EXPECT_NO_THROW(m_db->Prepare(""));
    EXPECT_EQ(m_db->Statement, nullptr);
}

TEST_F(SqliteDatabaseTest, RaiseErrorWithEmptySqlGivesTheBareLibraryText) {
    EXPECT_THROW(m_db->Prepare("selec 1"), ESqliteException);
    EXPECT_EQ(MessageOf([&] { m_db->RaiseError(""); }), "near \"selec\": syntax error");
    EXPECT_EQ(MessageOf([&] { m_db->RaiseError("x"); }),
              "Error: near \"selec\": syntax error\r\n\r\nx");
}

TEST_F(SqliteDatabaseTest, PreviousStatementIsFinalizedBeforeAFailingPrepare) {
    m_db->Prepare("select * from t");
    ASSERT_EQ(OpenStatements(), 1);
    EXPECT_THROW(m_db->Prepare("selec 1"), ESqliteException);
    EXPECT_EQ(m_db->Statement, nullptr);
    EXPECT_EQ(OpenStatements(), 0);
    // The connection stays usable.
    m_db->Exec("insert into t values (1, 2, 3, 4, 5)");
    EXPECT_EQ(Query("select count(*) from t"), "1");
}

TEST_F(SqliteDatabaseTest, EachExecEndsThePreviousStatement) {
    m_db->Exec("insert into t (a) values ('x')");
    m_db->Exec("insert into t (a) values ('y')");
    EXPECT_EQ(OpenStatements(), 1);
    EXPECT_EQ(Query("select group_concat(a) from t"), "x,y");
}

TEST_F(SqliteDatabaseTest, TextAfterTheFirstStatementIsIgnored) {
    m_db->Exec("insert into t (a) values ('first'); drop table t; insert into t (a) values (2)");
    EXPECT_EQ(Query("select group_concat(a) from t"), "first");
}

TEST_F(SqliteDatabaseTest, BindTextFillsParametersInOrderAndRestartsAfterPrepare) {
    const std::string values[] = {"1", "2", "3", "4", "5"};
    m_db->Prepare("insert into t values (?, ?, ?, ?, ?)");
    EXPECT_EQ(m_db->ParamIndex, 1);
    for (const std::string& value : values) {
        m_db->BindText(value);
    }
    EXPECT_EQ(m_db->ParamIndex, 6);
    // One past the last parameter: the library refuses, nothing is reported, the index moves.
    m_db->BindText(values[0]);
    EXPECT_EQ(m_db->ParamIndex, 7);
    EXPECT_EQ(m_db->Step(), SQLITE_DONE);

    m_db->Prepare("insert into t (e, d) values (?, ?)");
    EXPECT_EQ(m_db->ParamIndex, 1);
    m_db->BindText(values[0]);
    m_db->BindText(values[1]);
    EXPECT_EQ(m_db->Step(), SQLITE_DONE);
    EXPECT_EQ(Query("select group_concat(a||b||c||d||e, ' ') from t"), "12345");
    EXPECT_EQ(Query("select e || d from t where a is null"), "12");
}

TEST_F(SqliteDatabaseTest, BoundBytesAreStoredAsTheyAreEmptyAsTextNotNull) {
    const std::string empty;
    const std::string turkish = "\x41\x79\xFE\x65";
    const std::string withNul("a\0b", 3);
    m_db->Prepare("insert into t (a, b, c) values (?, ?, ?)");
    m_db->BindText(empty);
    m_db->BindText(turkish);
    m_db->BindText(withNul);
    ASSERT_EQ(m_db->Step(), SQLITE_DONE);
    EXPECT_EQ(Query("select typeof(a) || ':' || length(a) from t"), "text:0");
    EXPECT_EQ(Query("select typeof(b) || ':' || hex(b) from t"), "text:4179FE65");
    EXPECT_EQ(Query("select hex(c) from t"), "610062");
}

TEST_F(SqliteDatabaseTest, StepReportsTheLibraryResultAndExecDiscardsIt) {
    m_db->Exec("insert into t (a) values (1)");
    m_db->Prepare("select a from t");
    EXPECT_EQ(m_db->Step(), SQLITE_ROW);
    EXPECT_EQ(m_db->Step(), SQLITE_DONE);

    RawConnection other(m_path);
    other.Exec("begin immediate; insert into t (a) values (2)");
    // The other connection's reserved lock makes the write fail at once; Exec says nothing.
    m_db->Prepare("insert into t (a) values (3)");
    EXPECT_EQ(m_db->Step(), SQLITE_BUSY);
    EXPECT_NO_THROW(m_db->Exec("insert into t (a) values (4)"));
    other.Exec("commit");
    EXPECT_EQ(Query("select group_concat(a) from t"), "1,2");
}

TEST_F(SqliteDatabaseTest, DestroyFinalizesTheCurrentStatementAndLetsGoOfTheFile) {
    m_db->Exec("insert into t (a) values (1), (2)");
    m_db->Prepare("select a from t");
    ASSERT_EQ(m_db->Step(), SQLITE_ROW); // the unfinished read holds a shared lock
    RawConnection other(m_path);
    EXPECT_THROW(other.Exec("begin exclusive"), std::runtime_error);
    m_db.reset();
    // Had the statement stayed alive, the close would have failed and the lock remained.
    EXPECT_NO_THROW(other.Exec("begin exclusive; commit"));
}

} // namespace
