// TSqliteQueryResults: a forward-only cursor over one query, reading columns as byte strings.
#pragma once

#include "sqlite_database.h"

#include <memory>
#include <string>
#include <string_view>

// Holds its own statement, so the connection's current statement is left alone. Keeps no
// rows: only the library's current row can be read, and each value is copied out at once.
// Must be destroyed before its database.
class TSqliteQueryResults {
public:
    // Prepares sql on database and fetches the first row. A preparation failure raises
    // through database.RaiseError(sql) and leaves nothing to free.
    static std::unique_ptr<TSqliteQueryResults> Create(TSqliteDatabase& database,
                                                       const std::string& sql);

    // Destroy: finalizes the statement; the database is not touched.
    virtual ~TSqliteQueryResults();

    TSqliteQueryResults(const TSqliteQueryResults&) = delete;
    TSqliteQueryResults& operator=(const TSqliteQueryResults&) = delete;

    bool Eof() const { return EofReached; }
    // The column's bytes, copied by count (so NUL bytes survive); a NULL value or a column
    // beyond the select list reads as an empty string.
    std::string FieldAsString(int column) const;
    // The same into the caller's string, whose storage is reused: a reading loop that keeps
    // one string per column allocates nothing once the strings have grown.
    void FieldAsString(int column, std::string& value) const;
    // The column's bytes in place, without a copy: valid until the cursor moves on. A NULL
    // value or a column beyond the select list reads as empty.
    std::string_view FieldAsView(int column) const;
    // Steps to the next row. A step that fails (neither SQLITE_ROW nor SQLITE_DONE) ends the
    // query, puts the cursor at its end and raises the library's text through the
    // database's RaiseError, so a reading loop stops with an exception instead of spinning
    // or quietly ending.
    void Next();

    TSqliteDatabase& Database;
    sqlite3_stmt* Statement = nullptr;
    bool EofReached = false;

private:
    TSqliteQueryResults(TSqliteDatabase& database, const std::string& sql);
};
