// Generated addresses, raw connections and the search floor shared by the benchmarks.
#include "generated_addresses.h"

#include "address_store.h"
#include "text_conversion.h"

#include <benchmark/benchmark.h>

#include <stdlib.h>

#include <array>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace bench {

void Check(int result, sqlite3* db, const char* what) {
    if (result != SQLITE_OK && result != SQLITE_DONE && result != SQLITE_ROW) {
        throw std::runtime_error(std::string(what) + ": " + sqlite3_errmsg(db));
    }
}

namespace {

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

} // namespace

void ExecRaw(sqlite3* db, const std::string& sql) {
    Check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db, sql.c_str());
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

int64_t RunSearchFloor(sqlite3* db, const std::string& sql) {
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

ScratchDirectory::ScratchDirectory() {
    char pattern[] = "/tmp/adres-bench-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        throw std::runtime_error("mkdtemp");
    }
    m_path = pattern;
}

ScratchDirectory::~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace bench
