// import as a whole: all rows or none, equal rows skipped, the dry run, and another
// program holding the file.
#include "cli_fixture.h"

#include <sqlite3.h>

namespace {

const char kThreeCards[] = "BEGIN:VCARD\nFN:Bir\nEND:VCARD\nBEGIN:VCARD\nFN:İki\nEND:VCARD\n"
                           "BEGIN:VCARD\nFN:Üç\nEND:VCARD\n";

TEST_F(CliTest, FailureInTheMiddleLeavesTheFileAsItWas) {
    Insert({{u"Önceki"}});
    // The third row fails, after two have been inserted.
    adres_test_support::RawConnection(m_db).Exec(
        "create trigger boom before insert on adres when new.adisoyadi = '" + WideToAnsi(u"Üç") +
        "' begin select raise(abort, 'disk full'); end");
    const CliRun run = Run({"import", Write("cards.vcf", kThreeCards)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("disk full"), std::string::npos) << run.err;
    EXPECT_EQ(Stored(), StoredRows{AnsiRow({u"Önceki"})});
}

TEST_F(CliTest, EqualRowsAreSkippedAndCounted) {
    Insert({{u"İki"}});
    const std::string file = Write("cards.vcf", std::string(kThreeCards) + "BEGIN:VCARD\nFN:Bir\nEND:VCARD\n");
    CliRun run = Run({"import", file, "--dry-run"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("Bir"), std::string::npos);
    EXPECT_NE(run.out.find("Would import 2 address(es) from " + file + "; 2 equal to a stored address skipped. "
                           "Nothing was written."), std::string::npos) << run.out;
    EXPECT_EQ(Stored().size(), 1u);
    run = Run({"import", file});
    EXPECT_NE(run.out.find("Imported 2 address(es)"), std::string::npos) << run.out;
    EXPECT_EQ(Stored(), (StoredRows{AnsiRow({u"İki"}), AnsiRow({u"Bir"}), AnsiRow({u"Üç"})}));
}

TEST_F(CliTest, WritesWaitForAnotherProgramThenFailClearly) {
    adres_test_support::RawConnection other(m_db);
    other.Exec("begin immediate");
    const CliRun run = Run({"import", Write("cards.vcf", kThreeCards)});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("another program is using the file"), std::string::npos) << run.err;
    other.Exec("rollback");
    EXPECT_TRUE(Stored().empty());
}

} // namespace
