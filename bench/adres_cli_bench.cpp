// Speed of the companion on 100,000 addresses: import from vCards and export to vCards and
// CSV, each beside the raw SQLite floor for the same rows in the same run (the same
// prepared insert in one transaction, or the same select reading every column). Both sides
// work on the delivery database's table and index, with the connection's own pragmas.
#include "address_store.h"
#include "command_line.h"
#include "text_conversion.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdlib.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;

constexpr char kSchemaSql[] =
    "pragma synchronous = off; pragma temp_store = memory;"
    "create table adres (idno integer primary key, adisoyadi text, adres1 text, adres2 text,"
    " postakodu text, ili text);"
    "create index adres_arama on adres (adisoyadi, adres1, adres2, postakodu, ili);";

void Exec(sqlite3* db, const char* sql) {
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(std::string(sql) + ": " + sqlite3_errmsg(db));
    }
}

// Generated Turkish addresses, every one different, in code-page bytes.
std::vector<std::array<std::string, 5>> MakeRows() {
    const char16_t* first[] = {u"Ayşe", u"Şükrü", u"Çağrı", u"Ömer", u"İsmail", u"Gülsüm", u"Barış", u"Ilgaz"};
    const char16_t* last[] = {u"Yılmaz", u"Öztürk", u"Şahin", u"Çelik", u"Doğan", u"Kılıç", u"Işık"};
    const char16_t* streets[] = {u"Atatürk Cad.", u"İnönü Sok.", u"Bağdat Cad.", u"Şehitler Sok."};
    const char16_t* provinces[] = {u"İstanbul", u"Ankara", u"İzmir", u"Muğla", u"Eskişehir"};
    std::vector<std::array<std::string, 5>> rows;
    for (int i = 0; i < kRows; ++i) {
        const std::u16string n = [&] {
            const std::string digits = std::to_string(i);
            return std::u16string(digits.begin(), digits.end());
        }();
        rows.push_back({WideToAnsi(std::u16string(first[i % 8]) + u" " + last[i % 7] + u" " + n),
                        WideToAnsi(std::u16string(streets[i % 4]) + u" No: " + n),
                        WideToAnsi(u"Kat " + n.substr(0, 1) + u", Daire " + n), WideToAnsi(u"3" + n),
                        WideToAnsi(provinces[i % 5])});
    }
    return rows;
}

class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/adres-cli-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("mkdtemp");
        }
        m_directory = pattern;
    }
    ~Scratch() { std::filesystem::remove_all(m_directory); }
    std::string File(const std::string& name) const { return m_directory + "/" + name; }

    // A fresh database with the delivery table and index.
    std::string FreshDatabase(const std::string& name) const {
        const std::string path = File(name);
        std::filesystem::remove(path);
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        Exec(db, kSchemaSql);
        sqlite3_close(db);
        return path;
    }

private:
    std::string m_directory;
};

const std::vector<std::array<std::string, 5>>& Rows() {
    static const auto rows = MakeRows();
    return rows;
}

Scratch& TheScratch() {
    static Scratch scratch;
    return scratch;
}

void InsertRaw(const std::string& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    Exec(db, "pragma synchronous = off; pragma temp_store = memory; begin");
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, InsertSql, -1, &insert, nullptr);
    for (const auto& row : Rows()) {
        for (int column = 0; column < 5; ++column) {
            sqlite3_bind_text(insert, column + 1, row[column].data(), static_cast<int>(row[column].size()),
                              SQLITE_STATIC);
        }
        if (sqlite3_step(insert) != SQLITE_DONE) {
            throw std::runtime_error(sqlite3_errmsg(db));
        }
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    Exec(db, "commit");
    sqlite3_close(db);
}

// The full table, made once: the source of the exports and of the vCards to import.
const std::string& FullDatabase() {
    static const std::string path = [] {
        const std::string made = TheScratch().FreshDatabase("full.s3db");
        InsertRaw(made);
        return made;
    }();
    return path;
}

// Swallows what it is given, so that an export's cost is its own and not a terminal's.
class NullBuffer : public std::streambuf {
protected:
    std::streamsize xsputn(const char*, std::streamsize count) override { return count; }
    int overflow(int c) override { return c; }
};

int Adres(std::vector<std::string> args, std::ostream& out) {
    args.insert(args.begin(), "adres");
    std::vector<const char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(arg.c_str());
    }
    std::istringstream in;
    std::ostringstream err;
    const int status = RunAdres(static_cast<int>(argv.size()), argv.data(), in, out, err);
    if (status != 0) {
        throw std::runtime_error("adres: " + err.str());
    }
    return status;
}

const std::string& VCardFile() {
    static const std::string path = [] {
        const std::string file = TheScratch().File("all.vcf");
        std::ofstream stream(file, std::ios::binary);
        Adres({"--db", FullDatabase(), "export"}, stream);
        return file;
    }();
    return path;
}

void BM_ImportVCards(benchmark::State& state) {
    const std::string& cards = VCardFile();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string db = TheScratch().FreshDatabase("import.s3db");
        state.ResumeTiming();
        NullBuffer sink;
        std::ostream out(&sink);
        Adres({"--db", db, "import", cards}, out);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_InsertFloor(benchmark::State& state) {
    Rows();
    for (auto _ : state) {
        state.PauseTiming();
        const std::string db = TheScratch().FreshDatabase("floor.s3db");
        state.ResumeTiming();
        InsertRaw(db);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_Export(benchmark::State& state) {
    const std::string& db = FullDatabase();
    const char* format = state.range(0) == 0 ? "vcard" : "csv";
    state.SetLabel(format);
    for (auto _ : state) {
        NullBuffer sink;
        std::ostream out(&sink);
        Adres({"--db", db, "export", "--format", format}, out);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_SelectFloor(benchmark::State& state) {
    const std::string& path = FullDatabase();
    for (auto _ : state) {
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "select idno,adisoyadi,adres1,adres2,postakodu,ili from adres order by idno",
                           -1, &select, nullptr);
        size_t bytes = 0;
        while (sqlite3_step(select) == SQLITE_ROW) {
            for (int column = 0; column < 6; ++column) {
                const unsigned char* text = sqlite3_column_text(select, column);
                bytes += static_cast<size_t>(sqlite3_column_bytes(select, column)) + (text != nullptr ? 1 : 0);
            }
        }
        benchmark::DoNotOptimize(bytes);
        sqlite3_finalize(select);
        sqlite3_close(db);
    }
    state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_InsertFloor)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportVCards)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_SelectFloor)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_Export)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

BENCHMARK_MAIN();
