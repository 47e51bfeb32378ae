// Runs the companion in-process on a fresh address file and reads back what it stored.
#pragma once

#include "command_line.h"
#include "text_conversion.h"

#include "support/program_directory.h"
#include "support/raw_sqlite.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using StoredRows = std::vector<std::vector<std::string>>;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

class CliTest : public ::testing::Test {
protected:
    CliTest() { adres_test_support::RawConnection(m_db).Exec(adres_test_support::kAddressTableSql); }

    // adres --db <the file> args..., with input as its standard input.
    CliRun Run(std::vector<std::string> args, const std::string& input = "") {
        args.insert(args.begin(), {"adres", "--db", m_db});
        std::vector<const char*> argv;
        for (const std::string& arg : args) {
            argv.push_back(arg.c_str());
        }
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        CliRun run;
        run.status = RunAdres(static_cast<int>(argv.size()), argv.data(), in, out, err);
        run.out = out.str();
        run.err = err.str();
        return run;
    }

    std::string Write(const std::string& name, const std::string& content) {
        const std::string path = m_dir.File(name);
        std::ofstream(path, std::ios::binary) << content;
        return path;
    }

    // Every row as stored, by idno: the five fields' bytes.
    StoredRows Stored() {
        return adres_test_support::RawConnection(m_db).Rows(
            "select adisoyadi,adres1,adres2,postakodu,ili from adres order by idno");
    }

    // Rows of up to five fields, the missing ones empty, in one transaction.
    void Insert(const std::vector<std::vector<std::u16string>>& rows) {
        std::string sql = "begin;";
        for (const auto& fields : rows) {
            sql += "insert into adres (adisoyadi,adres1,adres2,postakodu,ili) values (";
            for (size_t i = 0; i < 5; ++i) {
                std::string value = i < fields.size() ? WideToAnsi(fields[i]) : "";
                for (size_t at = value.find('\''); at != std::string::npos; at = value.find('\'', at + 2)) {
                    value.insert(at, 1, '\'');
                }
                sql += (i > 0 ? ",'" : "'") + value + "'";
            }
            sql += ");";
        }
        adres_test_support::RawConnection(m_db).Exec(sql + "commit");
    }

    adres_test_support::TempDirectory m_dir;
    std::string m_db = m_dir.File("adresdata.s3db");
};

// A row as the file must hold it: the UTF-16 texts in code-page bytes.
inline std::vector<std::string> AnsiRow(const std::vector<std::u16string>& fields) {
    std::vector<std::string> row;
    for (const std::u16string& field : fields) {
        row.push_back(WideToAnsi(field));
    }
    row.resize(5);
    return row;
}
