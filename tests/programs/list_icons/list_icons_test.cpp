// Runs the icon lists' script: it ends cleanly and its screens match the pictures under
// docs/ (ADRES_UPDATE_SCREENSHOTS=1 rewrites them).
#include "support/docs_picture.h"
#include "support/program_directory.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

TEST(ListIcons, TheScriptRunsAndItsScreensMatchTheDocs) {
    adres_test_support::TempDirectory run;
    const std::string command = "cd '" + run.Path() + "' && env -u DISPLAY -u WAYLAND_DISPLAY DEVICE_SCRIPT='" +
                                LIST_ICONS_SCRIPT_PATH + "' '" + LIST_ICONS_PROGRAM_PATH + "' 2>'" +
                                run.File("err.txt") + "'";
    const int raw = std::system(command.c_str());
    std::stringstream errors;
    errors << std::ifstream(run.File("err.txt")).rdbuf();
    ASSERT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 0) << errors.str();
    for (const char* name : {"list_icons.png", "list_icons_checked.png"}) {
        EXPECT_TRUE(test::MatchesDocsPicture(run.File(name), std::string(LIST_ICONS_DOCS_DIR) + "/" + name));
    }
}

} // namespace
