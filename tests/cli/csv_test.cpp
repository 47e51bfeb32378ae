// CSV import: every quoting case, spreadsheet exports, headers, and refused rows.
#include "cli_fixture.h"

#include <filesystem>

namespace {

TEST_F(CliTest, CsvQuotingAndSpreadsheetExports) {
    struct Case {
        const char* what;
        std::string csv;
        std::vector<std::vector<std::u16string>> rows;
        const char* note = "";
    } cases[] = {
        {"RFC 4180 quoting, CRLF",
         "adisoyadi,adres1,adres2,postakodu,ili\r\n\"Kaya, Efe\",\"Gül \"\"Pembe\"\" Sk.\",\"iki\r\nsatır\",,Van\r\n",
         {{u"Kaya, Efe", u"Gül \"Pembe\" Sk.", u"iki\r\nsatır", u"", u"Van"}}},
        {"LF, no final line end, quote inside an unquoted field, empty quoted field",
         "adisoyadi,ili\nAli 5\" ekran,\"\"\n\nVeli,Muş",
         {{u"Ali 5\" ekran"}, {u"Veli", u"", u"", u"", u"Muş"}}},
        {"semicolons, BOM, Turkish headers in any order, unknown and idno columns",
         "\xEF\xBB\xBFNo;İl;E-posta;Adı Soyadı;Posta Kodu;ADRES 1;Adres 2\r\n"
         "7;İzmir;a@b.c;Şule Ak;35000;\"Kordon; 1\";\r\n",
         {{u"Şule Ak", u"Kordon; 1", u"", u"35000", u"İzmir"}},
         "in.csv: column(s) not read: \"E-posta\""},
        {"tabs, fewer fields than the header", "name\tcity\tzip\nAyla\n", {{u"Ayla"}}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(m_db);
        adres_test_support::RawConnection(m_db).Exec(adres_test_support::kAddressTableSql);
        const CliRun run = Run({"import", Write("in.csv", c.csv)});
        EXPECT_EQ(run.status, 0) << c.what << ": " << run.err;
        std::vector<std::vector<std::string>> expected;
        for (const auto& row : c.rows) {
            expected.push_back(AnsiRow(row));
        }
        EXPECT_EQ(Stored(), expected) << c.what;
        EXPECT_NE(run.err.find(c.note), std::string::npos) << run.err;
    }
}

TEST_F(CliTest, CsvRefusalsNameTheirLine) {
    const std::string file = Write("bad.csv", "adisoyadi,ili\r\nAyşe,İzmir\r\n\"Efe\"x,Van\r\n"
                                              "\"Çok\r\nsatırlı\",Muş,fazla\r\nИван,Kars\r\n,Van\r\n");
    const CliRun run = Run({"import", file});
    EXPECT_EQ(run.status, 1);
    for (const std::string said : {":3: text after the closing quote of field 1", ":4: 3 fields, but the header names 2",
                                   ":6: adisoyadi: 'И' (U+0418)", ":7: the name is empty"}) {
        EXPECT_NE(run.err.find(file + said), std::string::npos) << run.err;
    }
    EXPECT_TRUE(Stored().empty());
    for (const auto& [text, said] : {std::pair{"adisoyadi\n\"Ayşe\n", ":2: a quoted field begun here never closes"},
                                     {"ad;soyad\nx;y\n", ":1: the header names no name column"},
                                     {"name,isim\n", ":1: two columns for adisoyadi"}, {"", "no header row"}}) {
        const CliRun broken = Run({"import", Write("broken.csv", text), "--format", "csv"});
        EXPECT_EQ(broken.status, 1);
        EXPECT_NE(broken.err.find(said), std::string::npos) << broken.err;
    }
}

} // namespace
