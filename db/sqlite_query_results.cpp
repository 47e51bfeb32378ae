// TSqliteQueryResults: preparing the query, stepping through its rows, copying columns out.
#include "sqlite_query_results.h"

std::unique_ptr<TSqliteQueryResults> TSqliteQueryResults::Create(TSqliteDatabase& database,
                                                                 const std::string& sql) {
    return std::unique_ptr<TSqliteQueryResults>(new TSqliteQueryResults(database, sql));
}

TSqliteQueryResults::TSqliteQueryResults(TSqliteDatabase& database, const std::string& sql)
    : Database(database) {
    const char* tail = nullptr;
    if (sqlite3_prepare(Database.Handle, sql.c_str(), -1, &Statement, &tail) != SQLITE_OK) {
        // The message is taken before the half-built cursor is torn down; finalizing the
        // null statement that a failed prepare leaves would not change it anyway.
        try {
            Database.RaiseError(sql);
        } catch (...) {
            sqlite3_finalize(Statement);
            Statement = nullptr;
            throw;
        }
    }
    try {
        Next();
    } catch (...) {
        sqlite3_finalize(Statement);
        Statement = nullptr;
        throw;
    }
}

TSqliteQueryResults::~TSqliteQueryResults() {
    sqlite3_finalize(Statement);
}

std::string TSqliteQueryResults::FieldAsString(int column) const {
    std::string value;
    FieldAsString(column, value);
    return value;
}

void TSqliteQueryResults::FieldAsString(int column, std::string& value) const {
    // The byte count is asked first: it settles the value's text form, which the pointer
    // then refers to.
    const int size = sqlite3_column_bytes(Statement, column);
    if (size <= 0) {
        value.clear();
        return;
    }
    value.assign(reinterpret_cast<const char*>(sqlite3_column_text(Statement, column)),
                 static_cast<size_t>(size));
}

std::string_view TSqliteQueryResults::FieldAsView(int column) const {
    // The text is asked first and its size then, so that the size is that of the text form.
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(Statement, column));
    const int size = sqlite3_column_bytes(Statement, column);
    if (text == nullptr || size <= 0) {
        return {};
    }
    return std::string_view(text, static_cast<size_t>(size));
}

void TSqliteQueryResults::Next() {
    const int result = sqlite3_step(Statement);
    EofReached = result != SQLITE_ROW;
    if (result != SQLITE_ROW && result != SQLITE_DONE) {
        // A statement from the legacy sqlite3_prepare reports only a generic error from the
        // step; finalizing it puts its own message on the connection. It could not be
        // stepped on anyway, and Destroy then finalizes a null statement, which does nothing.
        sqlite3_finalize(Statement);
        Statement = nullptr;
        Database.RaiseError(std::string());
    }
}
