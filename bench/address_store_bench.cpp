// Speed of the address store: SaveAddress and SearchAddresses over generated Turkish rows,
// each beside the raw SQLite floor for the same work, and the cost of the name match check.
// Datasets are made with no index, an index on the name, and a covering index, so the
// delivery database's index choice can be read off the same run.
#include "address_store.h"
#include "benchmark_main.h"
#include "generated_addresses.h"
#include "sqlite_database.h"
#include "text_conversion.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <array>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace {

enum class IndexKind { None, Name, Covering };

const char* IndexLabel(IndexKind kind) {
    switch (kind) {
    case IndexKind::None:
        return "noindex";
    case IndexKind::Name:
        return "nameindex";
    case IndexKind::Covering:
        return "covering";
    }
    return "?";
}

std::string SchemaSql(IndexKind kind) {
    std::string sql = "create table adres (idno integer primary key, adisoyadi text, adres1 text,"
                      " adres2 text, postakodu text, ili text);";
    if (kind == IndexKind::Name) {
        sql += "create index adres_ad on adres (adisoyadi);";
    } else if (kind == IndexKind::Covering) {
        sql += "create index adres_arama on adres (adisoyadi, adres1, adres2, postakodu, ili);";
    }
    return sql;
}

// The datasets of this run, made on first use in a directory removed at exit.
class Datasets {
public:
    const std::string& Path(int rows, IndexKind kind) {
        const auto key = std::make_pair(rows, kind);
        auto it = m_paths.find(key);
        if (it != m_paths.end()) {
            return it->second;
        }
        const std::string path =
            m_directory.Path() + "/" + IndexLabel(kind) + "-" + std::to_string(rows) + ".s3db";
        MakeFile(path, kind, rows);
        return m_paths.emplace(key, path).first->second;
    }

    static void MakeFile(const std::string& path, IndexKind kind, int rows) {
        sqlite3* db = bench::OpenRaw(path);
        bench::ExecRaw(db, SchemaSql(kind));
        bench::InsertRows(db, rows, 20240607u + static_cast<unsigned>(rows));
        sqlite3_close(db);
    }

private:
    bench::ScratchDirectory m_directory;
    std::map<std::pair<int, IndexKind>, std::string> m_paths;
};

Datasets& GetDatasets() {
    static Datasets datasets;
    return datasets;
}

struct SearchCase {
    const char* label;
    std::u16string text;
};

// "s" (s-cedilla alone) is where SQLite's own matching is widest, so the match check has the
// most to drop.
const std::vector<SearchCase> kSearchCases = {
    {"empty", u""}, {"a", u"a"}, {"ays", u"ayş"}, {"s", u"ş"}};
const std::vector<int> kRowCounts = {1000, 10000, 100000};

void BM_SearchFloor(benchmark::State& state, int rows, IndexKind kind, std::u16string text) {
    const std::string& path = GetDatasets().Path(rows, kind);
    const std::string sql = WideToAnsi(BuildSearchSql(text));
    sqlite3* db = bench::OpenRaw(path);
    int64_t delivered = 0;
    for (auto _ : state) {
        delivered += bench::RunSearchFloor(db, sql);
    }
    sqlite3_close(db);
    state.counters["rows"] =
        benchmark::Counter(static_cast<double>(delivered), benchmark::Counter::kAvgIterations);
}

void BM_Search(benchmark::State& state, int rows, IndexKind kind, std::u16string text) {
    const std::string& path = GetDatasets().Path(rows, kind);
    auto db = TSqliteDatabase::Create(path);
    int64_t delivered = 0;
    size_t units = 0;
    const TAddressReceiver receiver = [&](const std::u16string& name, const std::u16string& a1,
                                          const std::u16string& a2, const std::u16string& pc,
                                          const std::u16string& il) {
        units += name.size() + a1.size() + a2.size() + pc.size() + il.size();
        ++delivered;
    };
    for (auto _ : state) {
        SearchAddresses(*db, text, receiver);
    }
    benchmark::DoNotOptimize(units);
    state.counters["rows"] =
        benchmark::Counter(static_cast<double>(delivered), benchmark::Counter::kAvgIterations);
}

// The match check alone, over the names the statement hands back for one search.
void BM_MatchCheck(benchmark::State& state, int rows, std::u16string text) {
    const std::string& path = GetDatasets().Path(rows, IndexKind::Covering);
    const std::string sql = WideToAnsi(BuildSearchSql(text));
    sqlite3* db = bench::OpenRaw(path);
    std::vector<std::string> names;
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    bench::Check(sqlite3_prepare(db, sql.c_str(), -1, &statement, &tail), db, "prepare search");
    while (sqlite3_step(statement) == SQLITE_ROW) {
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 1)),
                           static_cast<size_t>(sqlite3_column_bytes(statement, 1)));
    }
    sqlite3_finalize(statement);
    sqlite3_close(db);
    const std::string pattern = SearchPattern(text);
    int64_t matched = 0;
    for (auto _ : state) {
        for (const std::string& name : names) {
            matched += NameMatchesPattern(name, pattern) ? 1 : 0;
        }
    }
    benchmark::DoNotOptimize(matched);
    state.counters["checked"] = static_cast<double>(names.size());
    state.counters["matched"] =
        benchmark::Counter(static_cast<double>(matched), benchmark::Counter::kAvgIterations);
}

// SaveAddress keeps its database beside the program, so the save benchmarks use the file
// beside this benchmark program, made afresh with 10,000 rows for each index kind.
std::string PrepareProgramDatabase(IndexKind kind) {
    const std::string path = WideToAnsi(GetProgramDirectory()) + "adresdata.s3db";
    std::filesystem::remove(path);
    Datasets::MakeFile(path, kind, 10000);
    return path;
}

const std::array<std::u16string, 5> kSaved = {u"Şükrü Öztürk", u"Gazi Cad. No: 12",
                                              u"Çamlık Mah. Kat 3 Daire 7", u"35210", u"İzmir"};

// The floor: open, the two pragmas, the insert with five bound texts, close; the path and
// the values already in bytes.
void BM_SaveFloor(benchmark::State& state, IndexKind kind) {
    const std::string path = PrepareProgramDatabase(kind);
    std::array<std::string, 5> values;
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = WideToAnsi(kSaved[i]);
    }
    for (auto _ : state) {
        sqlite3* db = bench::OpenRaw(path);
        sqlite3_stmt* insert = nullptr;
        const char* tail = nullptr;
        bench::Check(sqlite3_prepare(db, InsertSql, -1, &insert, &tail), db, "prepare insert");
        for (int column = 0; column < 5; ++column) {
            sqlite3_bind_text(insert, column + 1, values[column].c_str(),
                              static_cast<int>(values[column].size()), SQLITE_STATIC);
        }
        if (sqlite3_step(insert) != SQLITE_DONE) {
            state.SkipWithError("insert failed");
        }
        sqlite3_finalize(insert);
        sqlite3_close(db);
    }
}

void BM_Save(benchmark::State& state, IndexKind kind) {
    PrepareProgramDatabase(kind);
    for (auto _ : state) {
        if (!SaveAddress(kSaved[0], kSaved[1], kSaved[2], kSaved[3], kSaved[4])) {
            state.SkipWithError("SaveAddress failed");
        }
    }
}

void RegisterAll() {
    for (IndexKind kind : {IndexKind::None, IndexKind::Name, IndexKind::Covering}) {
        const std::string index = IndexLabel(kind);
        benchmark::RegisterBenchmark(("SaveFloor/" + index).c_str(), BM_SaveFloor, kind)
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Save/" + index).c_str(), BM_Save, kind)
            ->Unit(benchmark::kMicrosecond);
    }
    for (IndexKind kind : {IndexKind::None, IndexKind::Name, IndexKind::Covering}) {
        for (int rows : kRowCounts) {
            for (const SearchCase& search : kSearchCases) {
                const std::string suffix =
                    std::string(IndexLabel(kind)) + "/" + std::to_string(rows) + "/" + search.label;
                benchmark::RegisterBenchmark(("SearchFloor/" + suffix).c_str(), BM_SearchFloor,
                                             rows, kind, search.text)
                    ->Unit(benchmark::kMicrosecond);
                benchmark::RegisterBenchmark(("Search/" + suffix).c_str(), BM_Search, rows, kind,
                                             search.text)
                    ->Unit(benchmark::kMicrosecond);
            }
        }
    }
    for (int rows : kRowCounts) {
        for (const SearchCase& search : kSearchCases) {
            const std::string name = "MatchCheck/" + std::to_string(rows) + "/" + search.label;
            benchmark::RegisterBenchmark(name.c_str(), BM_MatchCheck, rows, search.text)
                ->Unit(benchmark::kMicrosecond);
        }
    }
}

} // namespace

int main(int argc, char** argv) { return bench::RunBenchmarks(argc, argv, RegisterAll); }
