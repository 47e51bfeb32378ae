// Speed of the address store: SaveAddress and SearchAddresses over generated Turkish rows,
// each beside the raw SQLite floor for the same work, and the cost of the name match check.
// Datasets are made with no index, an index on the name, and a covering index, so the
// delivery database's index choice can be read off the same run.
#include "address_store.h"
#include "sqlite_database.h"
#include "text_conversion.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <stdlib.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <random>
#include <stdexcept>
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

void Check(int result, sqlite3* db, const char* what) {
    if (result != SQLITE_OK && result != SQLITE_DONE && result != SQLITE_ROW) {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
    }
}

void ExecRaw(sqlite3* db, const std::string& sql) {
    Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, sql.c_str());
}

const std::vector<std::u16string> kFirstNames = {
    u"Ayşe",  u"Fatma",  u"Emine",   u"Hatice",   u"Zeynep",  u"Elif",   u"Meryem", u"Şerife",
    u"Zehra", u"Sultan", u"Merve",   u"Özlem",    u"Yasemin", u"Gülsüm", u"Mehmet", u"Mustafa",
    u"Ahmet", u"Ali",    u"Hüseyin", u"Hasan",    u"İbrahim", u"İsmail", u"Osman",  u"Yusuf",
    u"Murat", u"Ömer",   u"Ramazan", u"Süleyman", u"Çağrı",   u"Şükrü",  u"Ilgaz",  u"Kaan",
    u"Barış", u"Gökhan", u"Uğur",    u"Doğan",    u"Ebru",    u"Şule",   u"Nurcan", u"Tuğba"};
const std::vector<std::u16string> kSurnames = {
    u"Yılmaz", u"Kaya",    u"Demir",  u"Şahin",  u"Çelik", u"Yıldız",  u"Yıldırım", u"Öztürk",
    u"Aydın",  u"Özdemir", u"Arslan", u"Doğan",  u"Kılıç", u"Aslan",   u"Çetin",    u"Kara",
    u"Koç",    u"Kurt",    u"Özkan",  u"Şimşek", u"Polat", u"Korkmaz", u"Çakır",    u"Erdoğan",
    u"Güneş",  u"Aksoy",   u"Ünal",   u"Keskin", u"Bulut", u"Işık"};
const std::vector<std::u16string> kStreets = {
    u"Atatürk", u"İnönü",    u"Cumhuriyet", u"Gazi",      u"Fevzi Çakmak", u"Mimar Sinan",
    u"Bağdat",  u"İstiklal", u"Şehitler",   u"Güzelyalı", u"Çamlıca",      u"Gül"};
const std::vector<std::u16string> kStreetKinds = {u"Cad.", u"Sok.", u"Bulvarı"};
const std::vector<std::u16string> kQuarters = {u"Çamlık",   u"Yenişehir", u"Bahçelievler",
                                               u"Kocatepe", u"Esentepe",  u"Karşıyaka",
                                               u"Üsküdar",  u"Göztepe"};
const std::vector<std::u16string> kProvinces = {
    u"İstanbul",  u"Ankara",    u"İzmir",     u"Bursa",   u"Antalya",    u"Konya",   u"Adana",
    u"Şanlıurfa", u"Gaziantep", u"Kocaeli",   u"Mersin",  u"Diyarbakır", u"Hatay",   u"Manisa",
    u"Kayseri",   u"Samsun",    u"Balıkesir", u"Van",     u"Aydın",      u"Denizli", u"Tekirdağ",
    u"Muğla",     u"Eskişehir", u"Trabzon",   u"Erzurum", u"Çorum",      u"Elazığ",  u"Uşak"};

std::u16string Number(unsigned value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

// One generated address, already in code-page bytes.
std::array<std::string, 5> MakeAddress(std::mt19937& random) {
    auto pick = [&](const std::vector<std::u16string>& list) -> const std::u16string& {
        return list[random() % list.size()];
    };
    const std::u16string name = pick(kFirstNames) + u" " + pick(kSurnames);
    const std::u16string line1 =
        pick(kStreets) + u" " + pick(kStreetKinds) + u" No: " + Number(random() % 200 + 1);
    const std::u16string line2 = pick(kQuarters) + u" Mah. Kat " + Number(random() % 12 + 1) +
                                 u" Daire " + Number(random() % 40 + 1);
    const std::u16string postcode = Number(10000 + random() % 80000);
    return {WideToAnsi(name), WideToAnsi(line1), WideToAnsi(line2), WideToAnsi(postcode),
            WideToAnsi(pick(kProvinces))};
}

void InsertRows(sqlite3* db, int rows, unsigned seed) {
    std::mt19937 random(seed);
    ExecRaw(db, "begin");
    sqlite3_stmt* insert = nullptr;
    Check(sqlite3_prepare_v2(db, InsertSql, -1, &insert, nullptr), db, "prepare insert");
    for (int i = 0; i < rows; ++i) {
        const auto address = MakeAddress(random);
        for (int column = 0; column < 5; ++column) {
            sqlite3_bind_text(insert, column + 1, address[column].data(),
                              static_cast<int>(address[column].size()), SQLITE_TRANSIENT);
        }
        Check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ExecRaw(db, "commit");
}

// The datasets of this run, made on first use in a directory removed at exit.
class Datasets {
public:
    Datasets() {
        char pattern[] = "/tmp/adres-bench-XXXXXX";
        if (mkdtemp(pattern) == nullptr) {
            throw std::runtime_error("mkdtemp");
        }
        m_directory = pattern;
    }
    ~Datasets() {
        std::error_code ignored;
        std::filesystem::remove_all(m_directory, ignored);
    }

    const std::string& Path(int rows, IndexKind kind) {
        const auto key = std::make_pair(rows, kind);
        auto it = m_paths.find(key);
        if (it != m_paths.end()) {
            return it->second;
        }
        const std::string path =
            m_directory + "/" + IndexLabel(kind) + "-" + std::to_string(rows) + ".s3db";
        MakeFile(path, kind, rows);
        return m_paths.emplace(key, path).first->second;
    }

    static void MakeFile(const std::string& path, IndexKind kind, int rows) {
        sqlite3* db = nullptr;
        Check(sqlite3_open(path.c_str(), &db), db, path.c_str());
        ExecRaw(db, "pragma synchronous = off");
        ExecRaw(db, SchemaSql(kind));
        InsertRows(db, rows, 20240607u + static_cast<unsigned>(rows));
        sqlite3_close(db);
    }

private:
    std::string m_directory;
    std::map<std::pair<int, IndexKind>, std::string> m_paths;
};

Datasets& GetDatasets() {
    static Datasets datasets;
    return datasets;
}

// A connection as the layer makes one: opened, then the same two pragmas.
sqlite3* OpenRaw(const std::string& path) {
    sqlite3* db = nullptr;
    Check(sqlite3_open(path.c_str(), &db), db, path.c_str());
    for (const char* pragma : {"pragma synchronous = off", "pragma temp_store = memory"}) {
        sqlite3_stmt* statement = nullptr;
        const char* tail = nullptr;
        Check(sqlite3_prepare(db, pragma, -1, &statement, &tail), db, pragma);
        sqlite3_step(statement);
        sqlite3_finalize(statement);
    }
    return db;
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

// The floor: the same statement bytes, prepared, stepped and every delivered column read,
// with no conversion, no copying and no match check. Returns the number of rows.
[[gnu::noinline]] int64_t RunSearchFloor(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    Check(sqlite3_prepare(db, sql.c_str(), -1, &statement, &tail), db, "prepare search");
    int64_t rows = 0;
    size_t bytes = 0;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        for (int column = 1; column <= 5; ++column) {
            const int size = sqlite3_column_bytes(statement, column);
            const unsigned char* value = sqlite3_column_text(statement, column);
            benchmark::DoNotOptimize(value);
            bytes += static_cast<size_t>(size);
        }
        ++rows;
    }
    sqlite3_finalize(statement);
    benchmark::DoNotOptimize(bytes);
    return rows;
}

void BM_SearchFloor(benchmark::State& state, int rows, IndexKind kind, std::u16string text) {
    const std::string& path = GetDatasets().Path(rows, kind);
    const std::string sql = WideToAnsi(BuildSearchSql(text));
    sqlite3* db = OpenRaw(path);
    int64_t delivered = 0;
    for (auto _ : state) {
        delivered += RunSearchFloor(db, sql);
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
    sqlite3* db = OpenRaw(path);
    std::vector<std::string> names;
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    Check(sqlite3_prepare(db, sql.c_str(), -1, &statement, &tail), db, "prepare search");
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
        sqlite3* db = OpenRaw(path);
        sqlite3_stmt* insert = nullptr;
        const char* tail = nullptr;
        Check(sqlite3_prepare(db, InsertSql, -1, &insert, &tail), db, "prepare insert");
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

int main(int argc, char** argv) {
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
