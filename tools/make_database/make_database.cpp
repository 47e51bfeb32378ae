// Makes the delivery database "adresdata.s3db" in a program directory: the table adres and
// the index that serves the search by name. Never touches a file that is already there.
//   make_database <program directory>
#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char kFileName[] = "adresdata.s3db";

// The search scans names in order and reads all five text columns of every matching row;
// an index holding all of them answers it without visiting the table (see
// bench/address_store_bench.cpp for the comparison with no index and a name-only index).
constexpr char kSchemaSql[] =
    "begin;"
    "create table adres (idno integer primary key, adisoyadi text, adres1 text, adres2 text,"
    " postakodu text, ili text);"
    "create index adres_arama on adres (adisoyadi, adres1, adres2, postakodu, ili);"
    "commit;";

bool Exists(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0;
}

bool WriteSchema(const std::string& path) {
    sqlite3* db = nullptr;
    int result = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (result == SQLITE_OK) {
        result = sqlite3_exec(db, kSchemaSql, nullptr, nullptr, nullptr);
    }
    if (result != SQLITE_OK) {
        std::fprintf(stderr, "make_database: %s: %s\n", path.c_str(),
                     db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(result));
    }
    return sqlite3_close(db) == SQLITE_OK && result == SQLITE_OK;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_database <program directory>\n");
        return 2;
    }
    std::string directory = argv[1];
    if (!directory.empty() && directory.back() != '/') {
        directory += '/';
    }
    const std::string target = directory + kFileName;
    if (Exists(target)) {
        return 0;
    }

    // Built under a private name and then linked into place: link() refuses to replace a
    // file, so one that appears meanwhile is left alone, and nobody sees a half-made file.
    std::string temporary = directory + "." + kFileName + ".XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0) {
        std::fprintf(stderr, "make_database: %s: %s\n", directory.c_str(), std::strerror(errno));
        return 1;
    }
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
    close(fd);

    const bool written = WriteSchema(temporary);
    const bool linked = written && link(temporary.c_str(), target.c_str()) == 0;
    const int linkError = errno;
    unlink(temporary.c_str());
    if (!written) {
        return 1;
    }
    if (!linked) {
        if (linkError == EEXIST) {
            return 0; // made by someone else meanwhile: theirs stays
        }
        std::fprintf(stderr, "make_database: %s: %s\n", target.c_str(), std::strerror(linkError));
        return 1;
    }
    std::printf("make_database: made %s\n", target.c_str());
    return 0;
}
