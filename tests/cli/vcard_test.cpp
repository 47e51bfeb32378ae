// vCards: the round trip, cards as phones and mail programs write them, and refusals.
#include "cli_fixture.h"

#include "code_page_text.h"

#include <filesystem>

namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST_F(CliTest, VCardAndCsvRoundTripsGiveTheSameBytes) {
    const std::vector<std::vector<std::u16string>> rows = {
        {u"Ayşe Yılmaz", u"Bağdat Cd. No:12; Kat 3, Daire 5", u"Kadıköy\\Moda", u"34710", u"İstanbul"},
        {u"  Çağrı  Öztürk ", u"İki\nsatır", u"\"tırnak\"", u"", u"Iğdır"},
        {u"Tek", u"", u"", u"", u""},
        {u"Uzun " + std::u16string(120, u'ş'), u"€ – “” ‰ Ÿ ß"},
    };
    Insert(rows);
    const StoredRows stored = Stored();
    for (const char* name : {"out.vcf", "out.csv"}) {
        ASSERT_EQ(Run({"export", "-o", m_dir.File(name)}).status, 0);
        std::filesystem::remove(m_db);
        adres_test_support::RawConnection(m_db).Exec(adres_test_support::kAddressTableSql);
        const CliRun run = Run({"import", m_dir.File(name)});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(Stored(), stored) << name;
    }
}

TEST_F(CliTest, VCardExportFoldsAndEscapes) {
    Insert({{u"Ali Veli Kaya", u"Sokak; 1", u"", u"06500", u"Ankara"}, {u"Çok " + std::u16string(40, u'ğ')}});
    const std::string out = Run({"export"}).out;
    EXPECT_NE(out.find("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Kaya;Ali Veli;;;\r\nFN:Ali Veli Kaya\r\n"
                       "ADR:;;Sokak\\; 1;Ankara;;06500;\r\nEND:VCARD\r\n"), std::string::npos) << out;
    // 75 bytes, then a fold; never inside a two-byte 'ğ'.
    EXPECT_NE(out.find("FN:Çok " + Utf8FromUtf16(std::u16string(34, u'ğ')) + "\r\n " +
                       Utf8FromUtf16(std::u16string(6, u'ğ')) + "\r\n"), std::string::npos) << out;
}

TEST_F(CliTest, VCardsAsPhonesAndMailProgramsWriteThem) {
    struct Case {
        const char* what;
        std::string card;
        std::vector<std::u16string> row;
    } cases[] = {
        {"3.0, UTF-8, folded", "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Yılmaz;Ayşe;;;\r\nFN:Ayşe\r\n  Yılmaz\r\n"
         "ADR;TYPE=HOME:;Daire 4;Bağdat\r\n  Cd. 12\\, Kadıköy;İstanbul;Marmara;34710;Türkiye\r\nEND:VCARD\r\n",
         {u"Ayşe Yılmaz", u"Bağdat Cd. 12, Kadıköy", u"Daire 4", u"34710", u"İstanbul"}},
        {"2.1, QUOTED-PRINTABLE UTF-8 with a soft break",
         "BEGIN:VCARD\nVERSION:2.1\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=96zt=C3=BCrk;=C5=9E=\n"
         "ule;;;\nTEL;CELL:+90 555\nADR;HOME;CHARSET=UTF-8;QUOTED-PRINTABLE:;;=C4=B0n=C3=B6n=C3=BC Sk.;Ba=\n"
         "t=C4=B1kent;;06370;\nEND:VCARD\n",
         {u"Şule Öztürk", u"İnönü Sk.", u"", u"06370", u"Batıkent"}},
        {"2.1, ISO-8859-9 and windows-1254, fold keeps its blank",
         "BEGIN:VCARD\nVERSION:2.1\nFN;CHARSET=ISO-8859-9;ENCODING=QUOTED-PRINTABLE:=DD=FEIK\n"
         "ADR;CHARSET=windows-1254:;;\xDE" "efik\n Sk.;Ba\xF0" "c\xFDlar\nEND:VCARD\n",
         {u"İşIK", u"Şefik Sk.", u"", u"", u"Bağcılar"}},
        {"4.0, grouped, quoted parameter with a colon, several ADR, N only",
         "BEGIN:VCARD\r\nVERSION:4.0\r\nN:Güneş;Ümit;Can;Dr.;\r\n"
         "item1.ADR;LABEL=\"Ev: Kat 2\";TYPE=home:;;Birinci;;Ege;35000;\r\n"
         "ADR;TYPE=work:;;İkinci;İzmir;;35100;\r\nEND:VCARD\r\n",
         {u"Dr. Ümit Can Güneş", u"Birinci", u"", u"35000", u"Ege"}},
        {"blank FN", "BEGIN:VCARD\nVERSION:3.0\nFN: \nN:Kaya;Efe\nEND:VCARD\n", {u"Efe Kaya"}},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(m_db);
        adres_test_support::RawConnection(m_db).Exec(adres_test_support::kAddressTableSql);
        const CliRun run = Run({"import", Write("card.vcf", c.card)});
        EXPECT_EQ(run.status, 0) << c.what << ": " << run.err;
        EXPECT_EQ(Stored(), StoredRows{AnsiRow(c.row)}) << c.what;
    }
}

TEST_F(CliTest, VCardRefusalsNameTheirLine) {
    const std::string cards = "BEGIN:VCARD\nVERSION:3.0\nFN:Ayşe\nEND:VCARD\n"
                              "BEGIN:VCARD\nVERSION:3.0\nFN:Efe\nADR:;;Gül Sk. 😀;;;;\nEND:VCARD\n"
                              "BEGIN:VCARD\nVERSION:2.1\nFN;ENCODING=QUOTED-PRINTABLE:=ZZ\nEND:VCARD\n"
                              "BEGIN:VCARD\nVERSION:3.0\nFN;CHARSET=KOI8-R:x\nEND:VCARD\n"
                              "BEGIN:VCARD\nVERSION:3.0\nN:;;;;\nEND:VCARD\n";
    const std::string file = Write("bad.vcf", cards);
    CliRun run = Run({"import", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(file + ":8: adres1: '😀' (U+1F600) has no Windows-1254 byte"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(file + ":12: FN: broken QUOTED-PRINTABLE"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(file + ":16: FN: unknown CHARSET KOI8-R"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(file + ":20: the name is empty"), std::string::npos) << run.err;
    EXPECT_TRUE(Stored().empty());

    run = Run({"import", file, "--skip-bad"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.err.find(file + ":8: skipped: adres1"), std::string::npos) << run.err;
    EXPECT_EQ(Stored(), StoredRows{AnsiRow({u"Ayşe"})});

    for (const auto& [text, said] : {std::pair{"FN:x\n", ":1: expected BEGIN:VCARD"},
                                     {"BEGIN:VCARD\nFN:x\n", ":2: the card of line 1 has no END:VCARD"},
                                     {"BEGIN:VCARD\nBEGIN:VCARD\n", ":2: a card begins inside"},
                                     {"BEGIN:VCARD\nno colon\nEND:VCARD\n", ":2: not a vCard line"}}) {
        run = Run({"import", Write("broken.vcf", text), "--format", "vcard", "--skip-bad"});
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    }
    EXPECT_EQ(Stored().size(), 1u);
}

} // namespace
