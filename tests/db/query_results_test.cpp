// TSqliteQueryResults: positioning on the first row, reading columns as bytes by count,
// preparation errors, and a step that fails part way through a reading loop.
#include "sqlite_query_results.h"

#include "support/program_directory.h"
#include "support/raw_sqlite.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using adres_test_support::RawConnection;
using adres_test_support::TempDirectory;

class QueryResultsTest : public ::testing::Test {
protected:
    void SetUp() override {
        RawConnection raw(m_path);
        raw.Exec("create table t (n integer, s text);"
                 "insert into t values (1, 'bir'), (2, null), (3, cast(x'41004200' as text))");
        m_db = TSqliteDatabase::Create(m_path);
    }

    TempDirectory m_dir;
    std::string m_path = m_dir.File("test.s3db");
    std::unique_ptr<TSqliteDatabase> m_db;
};

TEST_F(QueryResultsTest, WalksEveryRowInOrderAndStopsAtTheEnd) {
    auto results = TSqliteQueryResults::Create(*m_db, "select n from t order by n");
    std::vector<std::string> seen;
    while (!results->Eof()) {
        seen.push_back(results->FieldAsString(0));
        results->Next();
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"1", "2", "3"}));
}

TEST_F(QueryResultsTest, QueryWithoutRowsIsAtItsEndAtOnce) {
    auto results = TSqliteQueryResults::Create(*m_db, "select n from t where n > 3");
    EXPECT_TRUE(results->Eof());
}

TEST_F(QueryResultsTest, ColumnsReadAsBytesCopiedByCount) {
    auto results = TSqliteQueryResults::Create(*m_db, "select n, s from t order by n");
    EXPECT_EQ(results->FieldAsString(0), "1"); // an integer as its decimal text
    EXPECT_EQ(results->FieldAsString(1), "bir");
    EXPECT_EQ(results->FieldAsString(2), ""); // beyond the select list
    EXPECT_EQ(results->FieldAsString(-1), "");
    const std::string first = results->FieldAsString(1);
    results->Next();
    EXPECT_EQ(results->FieldAsString(1), ""); // NULL
    EXPECT_EQ(first, "bir");                  // the caller's copy outlives the row
    results->Next();
    EXPECT_EQ(results->FieldAsString(1), std::string("A\0B\0", 4));
    const std::string last = results->FieldAsString(1);
    results.reset();
    EXPECT_EQ(last, std::string("A\0B\0", 4));
}

TEST_F(QueryResultsTest, ColumnViewsHoldTheSameBytesAsCopies) {
    auto results = TSqliteQueryResults::Create(*m_db, "select n, s from t order by n");
    for (int row = 0; !results->Eof(); ++row, results->Next()) {
        for (int column : {-1, 0, 1, 2}) { // NULL, NUL bytes and an integer among them
            EXPECT_EQ(results->FieldAsView(column), results->FieldAsString(column))
                << "row " << row << " column " << column;
        }
    }
}

TEST_F(QueryResultsTest, PreparationErrorNamesTheSqlAfterABlankLine) {
    const std::string sql = "select nope from t";
    try {
        TSqliteQueryResults::Create(*m_db, sql);
        FAIL() << "no exception";
    } catch (const ESqliteException& e) {
        EXPECT_EQ(e.Message(), "Error: no such column: nope\r\n\r\n" + sql);
    }
}

TEST_F(QueryResultsTest, LeavesTheConnectionsCurrentStatementAlone) {
    const std::string value = "4";
    m_db->Prepare("insert into t (n) values (?)");
    m_db->BindText(value);
    {
        auto results = TSqliteQueryResults::Create(*m_db, "select count(*) from t");
        EXPECT_EQ(results->FieldAsString(0), "3");
    }
    EXPECT_EQ(m_db->Step(), SQLITE_DONE);
    EXPECT_EQ(RawConnection(m_path).Value("select max(n) from t"), "4");
}

TEST_F(QueryResultsTest, FailingStepEndsTheLoopWithTheBareLibraryText) {
    // The second row overflows abs() while it is being computed.
    auto results = TSqliteQueryResults::Create(
        *m_db, "select abs(v) from (select 1 as v union all select -9223372036854775808)");
    ASSERT_FALSE(results->Eof());
    EXPECT_EQ(results->FieldAsString(0), "1");
    try {
        results->Next();
        FAIL() << "no exception";
    } catch (const ESqliteException& e) {
        // The statement's own message, not the legacy step's generic "SQL logic error".
        EXPECT_EQ(e.Message(), "integer overflow");
    }
    EXPECT_TRUE(results->Eof());
    EXPECT_EQ(results->FieldAsString(0), "");
    // Only the connection's own current statement is left.
    EXPECT_EQ(sqlite3_next_stmt(m_db->Handle, nullptr), m_db->Statement);
    EXPECT_EQ(sqlite3_next_stmt(m_db->Handle, m_db->Statement), nullptr);
}

TEST_F(QueryResultsTest, LockedFileFailsTheFirstStepInsideCreate) {
    RawConnection other(m_path);
    other.Exec("begin exclusive; insert into t (n) values (9)");
    try {
        TSqliteQueryResults::Create(*m_db, "select n from t");
        FAIL() << "no exception";
    } catch (const ESqliteException& e) {
        EXPECT_EQ(e.Message(), "database is locked");
    }
    other.Exec("rollback");
    auto results = TSqliteQueryResults::Create(*m_db, "select count(*) from t");
    EXPECT_EQ(results->FieldAsString(0), "3");
}

} // namespace
