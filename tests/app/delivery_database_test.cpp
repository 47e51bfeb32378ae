// The delivery database tool: the file it makes beside the program serves the address
// store, and it never touches a file that is already there.
#include "address_store.h"

#include "support/program_directory.h"
#include "support/raw_sqlite.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using adres_test_support::ProgramDirectory;
using adres_test_support::RawConnection;
using adres_test_support::TempDirectory;

int MakeDatabase(const std::string& directory) {
    const std::string command =
        std::string(ADRES_MAKE_DATABASE) + " '" + directory + "' >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(DeliveryDatabase, HasTheAddressTableAndItsSearchIndexAndServesTheStore) {
    ProgramDirectory program;
    ASSERT_EQ(MakeDatabase(program.Path()), 0);
    {
        RawConnection raw(program.DatabasePath());
        EXPECT_EQ(raw.Value("select group_concat(name || ':' || lower(type) || ':' || pk, ' ')"
                            " from pragma_table_info('adres')"),
                  "idno:integer:1 adisoyadi:text:0 adres1:text:0 adres2:text:0"
                  " postakodu:text:0 ili:text:0");
        EXPECT_EQ(raw.Value("select group_concat(name, ',') from pragma_index_info("
                            "(select name from sqlite_master where type = 'index'"
                            " and tbl_name = 'adres'))"),
                  "adisoyadi,adres1,adres2,postakodu,ili");
    }
    ASSERT_TRUE(SaveAddress(u"Ayşe", u"a1", u"a2", u"34000", u"İzmir"));
    std::u16string found;
    auto db = OpenAddressDatabase();
    SearchAddresses(*db, u"ş",
                    [&](const auto& name, const auto&, const auto&, const auto&, const auto& ili) {
                        found = name + u"/" + ili;
                    });
    EXPECT_EQ(found, u"Ayşe/İzmir");
    // Only the database itself is left behind.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(program.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(DeliveryDatabase, ExistingFileIsLeftExactlyAsItIs) {
    TempDirectory dir;
    const std::string path = dir.File("adresdata.s3db");
    std::ofstream(path, std::ios::binary) << "not a database";
    EXPECT_EQ(MakeDatabase(dir.Path()), 0);
    EXPECT_EQ(ReadFile(path), "not a database");

    TempDirectory other;
    ASSERT_EQ(MakeDatabase(other.Path()), 0);
    RawConnection(other.File("adresdata.s3db"))
        .Exec("insert into adres (adisoyadi) values ('Kaan')");
    const std::string before = ReadFile(other.File("adresdata.s3db"));
    EXPECT_EQ(MakeDatabase(other.Path()), 0);
    EXPECT_EQ(ReadFile(other.File("adresdata.s3db")), before);
}

TEST(DeliveryDatabase, MissingDirectoryIsAnError) {
    TempDirectory dir;
    EXPECT_NE(MakeDatabase(dir.File("yok")), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.File("yok")));
}

} // namespace
