// check: what it finds wrong in a file, and its status.
#include "cli_fixture.h"

namespace {

TEST_F(CliTest, CheckFindsWhatIsWrong) {
    struct Case {
        const char* sql;
        int status;
        const char* said;
    } cases[] = {
        {"insert into adres (adisoyadi) values ('Ay\xFE" "e')", 0, "1 address(es), every value text in Windows-1254"},
        {"insert into adres (adisoyadi,adres1) values ('Ali','x\x81y')", 1,
         "idno 1: adres1 holds byte 0x81 at 2, which Windows-1254 leaves undefined"},
        {"insert into adres (adisoyadi) values (null)", 1, "idno 1: adisoyadi is null (the address book never finds it)"},
        {"insert into adres (adisoyadi,postakodu) values ('Ali',x'3036')", 1, "idno 1: postakodu is blob, not text"},
        {"drop table adres; create table adres (idno integer primary key, adisoyadi text)", 1,
         "the table adres has no column adres1"},
        {"drop table adres; create table adres (idno text, adisoyadi, adres1, adres2, postakodu integer, ili)", 1,
         "column postakodu is declared"},
        {"drop table adres", 1, "no table adres"},
    };
    for (const Case& c : cases) {
        std::filesystem::remove(m_db);
        adres_test_support::RawConnection(m_db).Exec(std::string(adres_test_support::kAddressTableSql) + ";" + c.sql);
        const CliRun run = Run({"check"});
        EXPECT_EQ(run.status, c.status) << c.said << run.out;
        EXPECT_NE(run.out.find(c.said), std::string::npos) << run.out;
    }
    EXPECT_NE(Run({"check"}).out.find("integrity check: ok"), std::string::npos);
}

} // namespace
