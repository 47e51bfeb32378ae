// Speed of the companion on 100,000 generated addresses: import from vCards and export to
// vCards and CSV, each beside the raw SQLite floor for the same rows in the same run (the
// same prepared insert of the rows' bytes in one transaction, or the same select reading
// every column). Both sides work on the delivery database's table and index, on a
// connection with the layer's pragmas.
#include "address_store.h"
#include "command_line.h"
#include "generated_addresses.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr unsigned kSeed = 14;

constexpr char kSchemaSql[] =
    "create table adres (idno integer primary key, adisoyadi text, adres1 text, adres2 text,"
    " postakodu text, ili text);"
    "create index adres_arama on adres (adisoyadi, adres1, adres2, postakodu, ili);";

const bench::ScratchDirectory& Scratch() {
    static const bench::ScratchDirectory scratch;
    return scratch;
}

// A fresh database with the delivery table and index.
std::string FreshDatabase(const std::string& name) {
    const std::string path = Scratch().Path() + "/" + name;
    std::filesystem::remove(path);
    sqlite3* db = bench::OpenRaw(path);
    bench::ExecRaw(db, kSchemaSql);
    sqlite3_close(db);
    return path;
}

// The full table, made once: the source of the exports, of the vCards to import and of
// the rows the floor inserts.
const std::string& FullDatabase() {
    static const std::string path = [] {
        const std::string made = FreshDatabase("full.s3db");
        sqlite3* db = bench::OpenRaw(made);
        bench::InsertRows(db, kRows, kSeed);
        sqlite3_close(db);
        return made;
    }();
    return path;
}

// The rows of the full table in code-page bytes, read once, untimed.
const std::vector<std::array<std::string, 5>>& Rows() {
    static const auto rows = [] {
        std::vector<std::array<std::string, 5>> read;
        sqlite3* db = bench::OpenRaw(FullDatabase());
        sqlite3_stmt* select = nullptr;
        bench::Check(sqlite3_prepare_v2(db, "select adisoyadi,adres1,adres2,postakodu,ili from adres"
                                            " order by idno", -1, &select, nullptr), db, "select");
        while (sqlite3_step(select) == SQLITE_ROW) {
            auto& row = read.emplace_back();
            for (int column = 0; column < 5; ++column) {
                row[column].assign(reinterpret_cast<const char*>(sqlite3_column_text(select, column)),
                                   static_cast<size_t>(sqlite3_column_bytes(select, column)));
            }
        }
        sqlite3_finalize(select);
        sqlite3_close(db);
        return read;
    }();
    return rows;
}

void InsertRaw(const std::string& path) {
    sqlite3* db = bench::OpenRaw(path);
    bench::ExecRaw(db, "begin");
    sqlite3_stmt* insert = nullptr;
    bench::Check(sqlite3_prepare_v2(db, InsertSql, -1, &insert, nullptr), db, "insert");
    for (const auto& row : Rows()) {
        for (int column = 0; column < 5; ++column) {
            sqlite3_bind_text(insert, column + 1, row[column].data(), static_cast<int>(row[column].size()),
                              SQLITE_STATIC);
        }
        bench::Check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    bench::ExecRaw(db, "commit");
    sqlite3_close(db);
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
        const std::string file = Scratch().Path() + "/all.vcf";
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
        const std::string db = FreshDatabase("import.s3db");
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
        const std::string db = FreshDatabase("floor.s3db");
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
        sqlite3* db = bench::OpenRaw(path);
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
