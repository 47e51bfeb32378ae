// Direct SQLite access for tests.
#include "raw_sqlite.h"

#include <stdexcept>

namespace adres_test_support {

RawConnection::RawConnection(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &m_handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                        nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(m_handle);
        sqlite3_close(m_handle);
        throw std::runtime_error("open " + path + ": " + message);
    }
}

RawConnection::~RawConnection() {
    sqlite3_close(m_handle);
}

void RawConnection::Exec(const std::string& sql) {
    char* error = nullptr;
    if (sqlite3_exec(m_handle, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        const std::string message = error != nullptr ? error : sqlite3_errmsg(m_handle);
        sqlite3_free(error);
        throw std::runtime_error(sql + ": " + message);
    }
}

std::vector<std::vector<std::string>> RawConnection::Rows(const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(m_handle, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        throw std::runtime_error(sql + ": " + sqlite3_errmsg(m_handle));
    }
    std::vector<std::vector<std::string>> rows;
    int result;
    while ((result = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            if (sqlite3_column_type(statement, column) == SQLITE_NULL) {
                row.emplace_back("<null>");
            } else {
                const auto* text =
                    reinterpret_cast<const char*>(sqlite3_column_text(statement, column));
                row.emplace_back(text,
                                 static_cast<size_t>(sqlite3_column_bytes(statement, column)));
            }
        }
        rows.push_back(std::move(row));
    }
    const std::string message = sqlite3_errmsg(m_handle);
    sqlite3_finalize(statement);
    if (result != SQLITE_DONE) {
        throw std::runtime_error(sql + ": " + message);
    }
    return rows;
}

std::string RawConnection::Value(const std::string& sql) {
    const auto rows = Rows(sql);
    if (rows.size() != 1 || rows[0].size() != 1) {
        throw std::runtime_error(sql + ": not a single value");
    }
    return rows[0][0];
}

} // namespace adres_test_support
