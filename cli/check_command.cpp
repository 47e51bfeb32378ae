// `check`: SQLite's integrity check, the table and its columns, and every stored value:
// text, and only bytes that Windows-1254 defines.
#include "commands.h"

#include "address_file.h"
#include "code_page_text.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <vector>

namespace {

class Report {
public:
    Report(const std::string& path, std::ostream& out) : m_path(path), m_out(out) {}
    void Fine(const std::string& what) { m_out << m_path << ": " << what << '\n'; }
    void Wrong(const std::string& what) {
        m_out << m_path << ": " << what << '\n';
        m_wrong = true;
    }
    bool AnythingWrong() const { return m_wrong; }

private:
    const std::string& m_path;
    std::ostream& m_out;
    bool m_wrong = false;
};

void CheckIntegrity(TAddressFile& file, Report& report) {
    TStatement check(file, "pragma integrity_check");
    std::vector<std::string> problems;
    while (check.Step() == SQLITE_ROW) {
        problems.emplace_back(check.Column(0));
    }
    if (problems.size() == 1 && problems[0] == "ok") {
        report.Fine("integrity check: ok");
        return;
    }
    for (const std::string& problem : problems) {
        report.Wrong("integrity check: " + problem);
    }
}

// True when the rows can be read: the table and all six columns are there.
bool CheckTable(TAddressFile& file, Report& report) {
    TStatement columns(file, "select name, type, pk from pragma_table_info('adres')");
    std::map<std::string, std::pair<std::string, std::int64_t>> declared;
    while (columns.Step() == SQLITE_ROW) {
        declared[std::string(columns.Column(0))] = {std::string(columns.Column(1)),
                                                    columns.ColumnInt(2)};
    }
    if (declared.empty()) {
        report.Wrong("no table adres");
        return false;
    }
    bool complete = true;
    const auto idno = declared.find("idno");
    if (idno == declared.end()) {
        report.Wrong("the table adres has no column idno");
        complete = false;
    } else if (idno->second.second != 1 || sqlite3_stricmp(idno->second.first.c_str(), "integer") != 0) {
        report.Wrong("idno is not the table's integer primary key: new rows get no number");
    }
    for (const char* name : kFieldNames) {
        const auto column = declared.find(name);
        if (column == declared.end()) {
            report.Wrong(std::string("the table adres has no column ") + name);
            complete = false;
            continue;
        }
        // SQLite's affinity rules: a numeric affinity would turn a postal code such as
        // "06500" into 6500.
        std::string type = column->second.first;
        for (char& c : type) {
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        }
        const auto has = [&](const char* word) { return type.find(word) != std::string::npos; };
        const bool keepsText =
            !has("INT") && (has("CHAR") || has("CLOB") || has("TEXT") || has("BLOB") || type.empty());
        if (!keepsText) {
            report.Wrong(std::string("column ") + name + " is declared " + column->second.first +
                         ": SQLite would store a text of digits as a number");
        }
    }
    if (complete) {
        report.Fine("table adres: idno, adisoyadi, adres1, adres2, postakodu, ili");
    }
    return complete;
}

void CheckValues(TAddressFile& file, Report& report) {
    TStatement rows(file, "select idno, adisoyadi, adres1, adres2, postakodu, ili,"
                          " typeof(adisoyadi), typeof(adres1), typeof(adres2),"
                          " typeof(postakodu), typeof(ili) from adres order by idno");
    size_t count = 0;
    bool wrongValues = false;
    while (rows.Step() == SQLITE_ROW) {
        ++count;
        const std::string where = "idno " + std::string(rows.Column(0)) + ": ";
        for (int i = 0; i < kFieldCount; ++i) {
            const std::string_view type = rows.Column(6 + i);
            // The address book writes only texts. A missing address field reads as empty,
            // but a missing name hides the row from its search, and a number has already
            // lost what a text would have kept (a postal code's leading zero).
            if (type == "null" && i == 0) {
                report.Wrong(where + "adisoyadi is null (the address book never finds it)");
                wrongValues = true;
            } else if (type != "text" && type != "null") {
                report.Wrong(where + kFieldNames[i] + " is " + std::string(type) + ", not text");
                wrongValues = true;
            }
            if (type != "text") {
                continue;
            }
            const std::string_view bytes = rows.Column(1 + i);
            for (size_t at = 0; at < bytes.size(); ++at) {
                const auto byte = static_cast<unsigned char>(bytes[at]);
                if (IsUndefinedAnsiByte(byte)) {
                    char text[96];
                    std::snprintf(text, sizeof text,
                                  "%s holds byte 0x%02X at %zu, which Windows-1254 leaves undefined",
                                  kFieldNames[i], byte, at + 1);
                    report.Wrong(where + text);
                    wrongValues = true;
                }
            }
        }
    }
    if (!wrongValues) {
        report.Fine(std::to_string(count) + " address(es), every value text in Windows-1254");
    }
}

} // namespace

bool CheckAddressFile(const std::string& path, std::ostream& out) {
    TAddressFile file(path, false);
    Report report(path, out);
    CheckIntegrity(file, report);
    if (CheckTable(file, report)) {
        CheckValues(file, report);
    }
    return !report.AnythingWrong();
}
