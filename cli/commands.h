// The companion's commands, each on the address file at path. They raise CliError for an
// error and UsageError for a usage mistake, one line each; what they print goes to out.
#pragma once

#include "address_listing.h"

#include <array>
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>

enum class TNameRule { Program, Turkish, Folded };

struct TListOptions {
    std::string text;
    TNameRule rule = TNameRule::Program;
    TListingFormat format = TListingFormat::Table;
};
void ListAddresses(const std::string& path, const TListOptions& options, std::ostream& out);

// Fields given on the command line, in UTF-8; a field not given stays unset.
using TFieldArguments = std::array<std::optional<std::string>, 5>;
void AddAddress(const std::string& path, const TFieldArguments& fields, std::ostream& out);
void EditAddress(const std::string& path, std::int64_t idno, const TFieldArguments& fields,
                 std::ostream& out);
// Asks on in (the answer a line) unless yes; false when the answer was not yes.
bool DeleteAddress(const std::string& path, std::int64_t idno, bool yes, std::istream& in,
                   std::ostream& out);

enum class TFileFormat { Guess, VCard, Csv };

struct TImportOptions {
    std::string file; // "-" for standard input
    TFileFormat format = TFileFormat::Guess;
    bool dryRun = false;
    bool skipBad = false;
};
// Problems with single rows go to err, one line each, before the whole import is refused
// (or, with skipBad, reported as skipped).
void ImportAddresses(const std::string& path, const TImportOptions& options, std::istream& in,
                     std::ostream& out, std::ostream& err);

struct TExportOptions {
    std::string output; // empty or "-" for standard output
    TFileFormat format = TFileFormat::Guess;
};
void ExportAddresses(const std::string& path, const TExportOptions& options, std::ostream& out);

// Prints what it checked and what is wrong; false when anything is.
bool CheckAddressFile(const std::string& path, std::ostream& out);
