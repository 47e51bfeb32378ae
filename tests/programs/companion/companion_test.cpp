// adres edits and deletes, and the address book's search window, run under DEVICE_SCRIPT
// on a copy of the program with its own file, shows the rows as they now are.
#include "support/program_directory.h"
#include "support/raw_sqlite.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using adres_test_support::RawConnection;
using adres_test_support::TempDirectory;

int RunCommand(const std::string& command) {
    const int raw = std::system(command.c_str());
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

TEST(Companion, EditAndDeleteAreSeenByTheSearchWindow) {
    TempDirectory directory;
    // A copy, not a link: the address book finds its file beside its own resolved path.
    const std::string program = directory.File("adresdefteri");
    std::filesystem::copy_file(ADRESDEFTERI_PATH, program);
    const std::string database = directory.File("adresdata.s3db");
    RawConnection(database).Exec(std::string(adres_test_support::kAddressTableSql) +
                                 ";insert into adres (adisoyadi,adres1,adres2,postakodu,ili) values"
                                 " ('Ay\xFE" "e Y\xFDlmaz','Cadde 1','','34000','Van'),"
                                 " ('Kaan Demir','Sokak 2','','06000','Ankara'),"
                                 " ('\xDE" "ule Ak','Yol 3','','35000','Mu\xF0la')");

    const std::string adres = std::string("'") + ADRES_PATH + "' --db '" + database + "' ";
    ASSERT_EQ(RunCommand(adres + "edit 1 --name 'Ayşe Kaya' --ili 'İzmir' >/dev/null"), 0);
    ASSERT_EQ(RunCommand(adres + "delete 2 --yes >/dev/null"), 0);

    const std::string script = directory.File("search.txt");
    // The list stays empty until the name changes: a letter typed and taken back lists every
    // row that has a name.
    std::ofstream(script) << "tap \"Adres Ara\"\ntype \"a\"\nkey BACK\ndump \"search.json\"\n"
                             "tap \"Kapat\"\ntap \"Kapat\"\n";
    ASSERT_EQ(RunCommand("cd '" + directory.Path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY DEVICE_SCRIPT='" +
                  script + "' ./adresdefteri 2>'" + directory.File("err.txt") + "'"),
              0)
        << ReadFile(directory.File("err.txt"));

    const std::string dump = ReadFile(directory.File("search.json"));
    EXPECT_NE(dump.find("\"Ayşe Kaya\""), std::string::npos) << dump;
    EXPECT_NE(dump.find("\"İzmir\""), std::string::npos);
    EXPECT_NE(dump.find("\"Şule Ak\""), std::string::npos);
    EXPECT_EQ(dump.find("Kaan Demir"), std::string::npos);
    EXPECT_EQ(dump.find("Ayşe Yılmaz"), std::string::npos);
}

} // namespace
