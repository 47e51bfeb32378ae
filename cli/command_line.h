// The companion's command line: the commands and their options, and what each outcome
// gives as the exit status (0 success, 1 an error, 2 a usage mistake).
#pragma once

#include <istream>
#include <ostream>

int RunAdres(int argc, const char* const* argv, std::istream& in, std::ostream& out,
             std::ostream& err);
