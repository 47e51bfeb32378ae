// What the benchmarks share: generated Turkish addresses written into a database file, a
// raw connection opened as the layer opens one, and the raw SQLite floor of a search.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

namespace bench {

// Throws std::runtime_error with the library's text unless result is OK, ROW or DONE.
void Check(int result, sqlite3* db, const char* what);
// Runs sql on a raw connection; throws std::runtime_error with the library's text.
void ExecRaw(sqlite3* db, const std::string& sql);

// Appends rows generated addresses (name, two lines, postal code, province) in code-page
// bytes, the same rows for the same seed.
void InsertRows(sqlite3* db, int rows, unsigned seed);

// A connection as the layer makes one: opened, then the same two pragmas.
sqlite3* OpenRaw(const std::string& path);

// The floor of a search: the statement's bytes prepared, stepped, and every delivered
// column's text read, with no conversion, no copying and no match check. Returns the
// number of rows.
int64_t RunSearchFloor(sqlite3* db, const std::string& sql);

// A directory under /tmp made for this run and removed, with everything in it, at exit.
class ScratchDirectory {
public:
    ScratchDirectory();
    ~ScratchDirectory();
    ScratchDirectory(const ScratchDirectory&) = delete;
    ScratchDirectory& operator=(const ScratchDirectory&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

} // namespace bench
