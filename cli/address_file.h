// The address file as the companion uses it: an existing "adresdata.s3db" with the table
// adres, opened through the database layer, its rows read and written as Windows-1254
// bytes, and writes made in one transaction that waits briefly for another program.
#pragma once

#include "sqlite_database.h"

#include <sqlite3.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The five written columns, in table order: adisoyadi, adres1, adres2, postakodu, ili.
inline constexpr int kFieldCount = 5;
inline constexpr const char* kFieldNames[kFieldCount] = {"adisoyadi", "adres1", "adres2",
                                                         "postakodu", "ili"};
// The five fields of one address, as stored: code-page bytes.
using TAddressFields = std::array<std::string, kFieldCount>;
// The same, read in place from the current row: valid until the next row.
using TAddressViews = std::array<std::string_view, kFieldCount>;

class TAddressFile;

// One prepared statement of the companion's own on the file's connection. The database
// layer's single current statement cannot be reset and stepped again, which an import of
// many rows needs.
class TStatement {
public:
    TStatement(const TAddressFile& file, const char* sql);
    ~TStatement();
    TStatement(const TStatement&) = delete;
    TStatement& operator=(const TStatement&) = delete;

    // Binds a copy, so the caller's text may change before the step.
    void Bind(int index, std::string_view text);
    // Binds without copying: text must stay as it is until the step is over.
    void BindInPlace(int index, std::string_view text);
    void Bind(int index, std::int64_t value);
    // SQLITE_ROW or SQLITE_DONE; any other result raises CliError.
    int Step();
    void Reset();
    std::string_view Column(int column) const;
    std::int64_t ColumnInt(int column) const;

private:
    const TAddressFile& m_file;
    sqlite3_stmt* m_statement = nullptr;
};

class TAddressFile {
public:
    // Opens path, which must exist: a mistyped name must not leave an empty database
    // behind. With checkTable, also refuses a file without the table adres and its columns.
    TAddressFile(const std::string& path, bool checkTable = true);
    ~TAddressFile();
    TAddressFile(const TAddressFile&) = delete;
    TAddressFile& operator=(const TAddressFile&) = delete;

    const std::string& Path() const { return m_path; }
    TSqliteDatabase& Database() { return *m_database; }
    sqlite3* Handle() const { return m_database->Handle; }

    // Writes happen between Begin and Commit; a TAddressFile destroyed before Commit rolls
    // back, so a failure anywhere in between leaves the file as it was.
    void Begin();
    void Commit();

    // Every row by idno: idno as decimal text, then the five fields.
    void ForEachRow(const std::function<void(std::string_view, const TAddressViews&)>& deliver);
    std::optional<TAddressFields> Find(std::int64_t idno);
    std::int64_t Insert(const TAddressFields& fields);
    void Update(std::int64_t idno, const TAddressFields& fields);
    void Delete(std::int64_t idno);

    // Raises CliError for a failed library call: "<path>: <what>: <SQLite's text>", one
    // line, or that another program holds the file when result says it is busy.
    [[noreturn]] void Fail(const std::string& what, int result) const;

private:
    std::string m_path;
    std::unique_ptr<TSqliteDatabase> m_database;
    std::unique_ptr<TStatement> m_insert;
    bool m_inTransaction = false;
};

// How long a write waits for another connection (the address book) to finish with the file.
inline constexpr int kBusyTimeoutMilliseconds = 3000;

// The file the companion works on: the one given, or "adresdata.s3db" beside the program.
std::string AddressFilePath(const std::string& given);
