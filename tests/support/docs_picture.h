// The pictures under docs/ are screenshots made by scripts the suite runs: a test compares
// a fresh screenshot with the one under docs/, pixel for pixel. With ADRES_UPDATE_SCREENSHOTS=1
// the fresh one replaces it first (look at it before committing it).
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace test {

::testing::AssertionResult MatchesDocsPicture(const std::string& screenshotPath, const std::string& docsPath);

} // namespace test
