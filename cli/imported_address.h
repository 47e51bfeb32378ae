// What the vCard and CSV readers hand to the import: each address in UTF-8 with the lines
// it came from, and what is wrong with it when it cannot be taken.
#pragma once

#include "address_file.h"

#include <array>
#include <cstddef>
#include <string>
#include <vector>

struct TImportedAddress {
    // Where the address begins, and where each field was read (the beginning when absent).
    size_t line = 0;
    std::array<size_t, kFieldCount> fieldLines{};
    // In UTF-8 as read; the import turns them into code-page bytes where they are.
    TAddressFields fields;
    // Empty when the address can be taken; else why not, naming the line in problemLine.
    std::string problem;
    size_t problemLine = 0;
};

struct TImportReading {
    std::vector<TImportedAddress> addresses;
    // Things the reader left out that the user should hear of (ignored columns, extra
    // addresses of a card): one line each.
    std::vector<std::string> notes;
};
