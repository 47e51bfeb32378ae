// TSqliteDatabase: opening, the current statement, binding, stepping and error reports.
#include "sqlite_database.h"

namespace {

const std::string kSynchronousPragma = "pragma synchronous = off";
const std::string kTempStorePragma = "pragma temp_store = memory";

} // namespace

std::unique_ptr<TSqliteDatabase> TSqliteDatabase::Create(const std::string& fileName) {
    return std::unique_ptr<TSqliteDatabase>(new TSqliteDatabase(fileName));
}

TSqliteDatabase::TSqliteDatabase(const std::string& fileName) {
    // A constructor that throws runs no destructor, so the half-built connection is torn
    // down here, exactly as the destructor would.
    try {
        if (sqlite3_open(fileName.c_str(), &Handle) != SQLITE_OK) {
            throw ESqliteException("Failed to open database \"" + fileName + "\"");
        }
        Exec(kSynchronousPragma);
        Exec(kTempStorePragma);
    } catch (...) {
        Destroy();
        throw;
    }
}

TSqliteDatabase::~TSqliteDatabase() {
    Destroy();
}

void TSqliteDatabase::Destroy() noexcept {
    FinalizeStatement();
    // sqlite3_close accepts a null handle; a failed open still leaves one to close.
    sqlite3_close(Handle);
    Handle = nullptr;
}

void TSqliteDatabase::FinalizeStatement() {
    if (Statement != nullptr) {
        sqlite3_finalize(Statement);
        Statement = nullptr;
    }
}

void TSqliteDatabase::Exec(const std::string& sql) {
    Prepare(sql);
    Step();
}

void TSqliteDatabase::Prepare(const std::string& sql) {
    FinalizeStatement();
    const char* tail = nullptr;
    if (sqlite3_prepare(Handle, sql.c_str(), -1, &Statement, &tail) != SQLITE_OK) {
        RaiseError(sql);
    }
    ParamIndex = 1;
}

void TSqliteDatabase::BindText(const std::string& value) {
    sqlite3_bind_text(Statement, ParamIndex, value.c_str(), static_cast<int>(value.size()),
                      SQLITE_STATIC);
    ++ParamIndex;
}

int TSqliteDatabase::Step() {
    return sqlite3_step(Statement);
}

void TSqliteDatabase::RaiseError(const std::string& sql) {
    std::string message = sqlite3_errmsg(Handle);
    // Joined rather than formatted with "%s", so an SQL text holding a NUL byte is
    // reported whole.
    if (!sql.empty()) {
        message = "Error: " + message + "\r\n\r\n" + sql;
    }
    throw ESqliteException(message);
}
