// Direct SQLite access for tests, beside the layer under test: set up files and look at
// what was really stored.
#pragma once

#include <sqlite3.h>

#include <string>
#include <vector>

namespace adres_test_support {

// One connection opened with sqlite3_open_v2, closed at the end. Failures throw
// std::runtime_error with the library's text.
class RawConnection {
public:
    explicit RawConnection(const std::string& path);
    ~RawConnection();
    RawConnection(const RawConnection&) = delete;
    RawConnection& operator=(const RawConnection&) = delete;

    sqlite3* Handle() const { return m_handle; }
    void Exec(const std::string& sql);
    // Every row of the first statement of sql, every column as text; NULL reads as "<null>".
    std::vector<std::vector<std::string>> Rows(const std::string& sql);
    // The one value of a one-row, one-column query.
    std::string Value(const std::string& sql);

private:
    sqlite3* m_handle = nullptr;
};

// The table adres as the delivery database declares it, without its index.
inline constexpr char kAddressTableSql[] =
    "create table adres (idno integer primary key, adisoyadi text, adres1 text, adres2 text,"
    " postakodu text, ili text)";

} // namespace adres_test_support
