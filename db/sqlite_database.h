// One SQLite connection with one current statement (TSqliteDatabase), and the exception
// that the database layer raises (ESqliteException).
#pragma once

#include <sqlite3.h>

#include <exception>
#include <memory>
#include <string>

// The runtime's base exception: a message (a byte string) and a help-context number.
class Exception : public std::exception {
public:
    explicit Exception(std::string message, int helpContext = 0)
        : m_message(std::move(message)), m_helpContext(helpContext) {}

    const std::string& Message() const noexcept { return m_message; }
    int HelpContext() const noexcept { return m_helpContext; }
    const char* what() const noexcept override { return m_message.c_str(); }

private:
    std::string m_message;
    int m_helpContext = 0;
};

// A failed open or prepare; every other SQLite result is returned, not raised.
class ESqliteException : public Exception {
public:
    using Exception::Exception;
};

// Statements run through one current statement that the object owns: Prepare, one BindText
// per '?' in order, then Step. The library is reached only through sqlite3_open,
// sqlite3_prepare (the legacy form), sqlite3_bind_text, sqlite3_step, sqlite3_errmsg,
// sqlite3_finalize and sqlite3_close here, plus the two column readers of the cursor.
// Every byte string is handed over as a NUL-terminated pointer, never null, even when empty.
class TSqliteDatabase {
public:
    // Opens fileName (created when missing) and runs the two connection pragmas. On failure
    // the half-built connection is closed and ESqliteException reaches the caller, who then
    // has nothing to free.
    static std::unique_ptr<TSqliteDatabase> Create(const std::string& fileName);

    // Destroy: finalizes the current statement, then closes the connection.
    virtual ~TSqliteDatabase();

    TSqliteDatabase(const TSqliteDatabase&) = delete;
    TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;

    // Prepare then Step, the step's result discarded; the statement stays current.
    void Exec(const std::string& sql);
    // Finalizes the current statement first, so it is gone even when the new one fails.
    // Only the first statement of sql is compiled; text after it is ignored.
    void Prepare(const std::string& sql);
    // Binds value to parameter ParamIndex and moves on to the next one. The bytes are not
    // copied (SQLITE_STATIC): they must stay alive and unchanged until the statement has
    // been stepped for the last time or ended. An empty value binds an empty text, not NULL.
    // The library's result is not reported.
    void BindText(const std::string& value);
    void BindText(std::string&&) = delete; // a temporary would die before the step
    int Step();
    // Raises the library's current error text; with a non-empty sql as
    // "Error: <text>\r\n\r\n<sql>", with an empty one as the bare text.
    [[noreturn]] void RaiseError(const std::string& sql);

    sqlite3* Handle = nullptr;
    sqlite3_stmt* Statement = nullptr;
    int ParamIndex = 0;

private:
    explicit TSqliteDatabase(const std::string& fileName);
    void FinalizeStatement();
    void Destroy() noexcept;
};
