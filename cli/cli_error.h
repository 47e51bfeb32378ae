// The two ways a command of the companion fails: an error (status 1) and a usage mistake
// (status 2). Each carries one line, already naming what and where.
#pragma once

#include <stdexcept>

class CliError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
