// Opening the address file, the companion's statements, transactions and row access.
#include "address_file.h"

#include "address_store.h"
#include "cli_error.h"
#include "code_page_text.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace {

constexpr char kSelectAllSql[] =
    "select idno,adisoyadi,adres1,adres2,postakodu,ili from adres order by idno";
constexpr char kFindSql[] =
    "select idno,adisoyadi,adres1,adres2,postakodu,ili from adres where idno = ?";
constexpr char kUpdateSql[] =
    "update adres set adisoyadi = ?, adres1 = ?, adres2 = ?, postakodu = ?, ili = ? where idno = ?";
constexpr char kDeleteSql[] = "delete from adres where idno = ?";

} // namespace

std::string AddressFilePath(const std::string& given) {
    if (!given.empty()) {
        return given;
    }
    return DatabaseFileNameBytes(GetProgramDirectory() + DatabaseFileName);
}

TStatement::TStatement(const TAddressFile& file, const char* sql) : m_file(file) {
    const int result = sqlite3_prepare_v2(file.Handle(), sql, -1, &m_statement, nullptr);
    if (result != SQLITE_OK) {
        sqlite3_finalize(m_statement);
        m_statement = nullptr;
        file.Fail("cannot read the table adres", result);
    }
}

TStatement::~TStatement() {
    sqlite3_finalize(m_statement);
}

void TStatement::Bind(int index, std::string_view text) {
    sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()),
                      SQLITE_TRANSIENT);
}

void TStatement::BindInPlace(int index, std::string_view text) {
    sqlite3_bind_text(m_statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
}

void TStatement::Bind(int index, std::int64_t value) {
    sqlite3_bind_int64(m_statement, index, value);
}

int TStatement::Step() {
    const int result = sqlite3_step(m_statement);
    if (result != SQLITE_ROW && result != SQLITE_DONE) {
        sqlite3_reset(m_statement);
        m_file.Fail("cannot write", result);
    }
    return result;
}

void TStatement::Reset() {
    sqlite3_reset(m_statement);
}

std::string_view TStatement::Column(int column) const {
    const int size = sqlite3_column_bytes(m_statement, column);
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_statement, column));
    return text != nullptr ? std::string_view(text, static_cast<size_t>(size)) : std::string_view();
}

std::int64_t TStatement::ColumnInt(int column) const {
    return sqlite3_column_int64(m_statement, column);
}

TAddressFile::TAddressFile(const std::string& path, bool checkTable) : m_path(path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) {
        throw CliError(path + ": " + std::strerror(errno));
    }
    if (S_ISDIR(info.st_mode)) {
        throw CliError(path + ": is a directory, not an address file");
    }
    try {
        m_database = TSqliteDatabase::Create(path);
    } catch (const ESqliteException& error) {
        // The layer's text is "Error: <SQLite's words>", a blank line and the SQL.
        std::string reason = error.Message().substr(0, error.Message().find_first_of("\r\n"));
        if (reason.rfind("Error: ", 0) == 0) {
            reason.erase(0, 7);
        }
        throw CliError(path + ": cannot be opened: " + reason);
    }
    sqlite3_busy_timeout(Handle(), kBusyTimeoutMilliseconds);
    if (checkTable) {
        // Preparing reads the schema: a file that is no database, or has no table adres
        // with the six columns, is refused here with SQLite's own words.
        TStatement probe(*this, "select idno,adisoyadi,adres1,adres2,postakodu,ili from adres");
    }
}

TAddressFile::~TAddressFile() {
    m_insert.reset();
    if (m_inTransaction) {
        sqlite3_exec(Handle(), "rollback", nullptr, nullptr, nullptr);
    }
}

void TAddressFile::Fail(const std::string& what, int result) const {
    const int primary = result & 0xFF;
    if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        throw CliError(m_path + ": another program is using the file (waited " +
                       std::to_string(kBusyTimeoutMilliseconds / 1000) +
                       " s); nothing was changed, try again");
    }
    throw CliError(m_path + ": " + what + ": " + sqlite3_errmsg(Handle()));
}

void TAddressFile::Begin() {
    // Immediate: the write lock is taken now, waiting out the address book's own writes,
    // rather than at the first insert halfway through.
    const int result = sqlite3_exec(Handle(), "begin immediate", nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) {
        Fail("cannot start writing", result);
    }
    m_inTransaction = true;
}

void TAddressFile::Commit() {
    m_insert.reset();
    const int result = sqlite3_exec(Handle(), "commit", nullptr, nullptr, nullptr);
    if (result != SQLITE_OK) {
        Fail("cannot finish writing", result);
    }
    m_inTransaction = false;
}

void TAddressFile::ForEachRow(
    const std::function<void(std::string_view, const TAddressViews&)>& deliver) {
    TStatement select(*this, kSelectAllSql);
    TAddressViews fields;
    while (select.Step() == SQLITE_ROW) {
        const std::string_view idno = select.Column(0);
        for (int i = 0; i < kFieldCount; ++i) {
            fields[static_cast<size_t>(i)] = select.Column(i + 1);
        }
        deliver(idno, fields);
    }
}

std::optional<TAddressFields> TAddressFile::Find(std::int64_t idno) {
    TStatement find(*this, kFindSql);
    find.Bind(1, idno);
    if (find.Step() != SQLITE_ROW) {
        return std::nullopt;
    }
    TAddressFields fields;
    for (int i = 0; i < kFieldCount; ++i) {
        fields[static_cast<size_t>(i)].assign(find.Column(i + 1));
    }
    return fields;
}

std::int64_t TAddressFile::Insert(const TAddressFields& fields) {
    // The store's own insert statement, kept prepared across the rows of an import.
    if (!m_insert) {
        m_insert = std::make_unique<TStatement>(*this, InsertSql);
    }
    for (int i = 0; i < kFieldCount; ++i) {
        m_insert->BindInPlace(i + 1, fields[static_cast<size_t>(i)]);
    }
    m_insert->Step();
    m_insert->Reset();
    return sqlite3_last_insert_rowid(Handle());
}

void TAddressFile::Update(std::int64_t idno, const TAddressFields& fields) {
    TStatement update(*this, kUpdateSql);
    for (int i = 0; i < kFieldCount; ++i) {
        update.Bind(i + 1, fields[static_cast<size_t>(i)]);
    }
    update.Bind(kFieldCount + 1, idno);
    update.Step();
}

void TAddressFile::Delete(std::int64_t idno) {
    TStatement remove(*this, kDeleteSql);
    remove.Bind(1, idno);
    remove.Step();
}
