// `import`: read the whole file, check every row, then write all rows in one transaction or
// none; rows equal to a stored row are skipped and counted.
#include "commands.h"

#include "address_file.h"
#include "cli_error.h"
#include "code_page_text.h"
#include "csv_reader.h"
#include "stored_text.h"
#include "vcard_reader.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <unordered_set>
#include <vector>

namespace {

std::string ReadAll(const std::string& file, std::istream& in) {
    if (file == "-") {
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    struct stat info;
    if (stat(file.c_str(), &info) == 0 && S_ISDIR(info.st_mode)) {
        throw CliError(file + ": cannot be read: " + std::strerror(EISDIR));
    }
    std::ifstream stream(file, std::ios::binary | std::ios::ate);
    if (!stream) {
        throw CliError(file + ": cannot be read: " + std::strerror(errno));
    }
    const std::streamoff size = stream.tellg();
    std::string text(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    stream.seekg(0);
    if (size < 0 || !stream.read(text.data(), size)) {
        throw CliError(file + ": cannot be read");
    }
    return text;
}

// Rows are compared whole, through pointers to their fields, so that finding an equal row
// copies nothing.
struct FieldsHash {
    size_t operator()(const TAddressFields* fields) const {
        size_t hash = 0;
        for (const std::string& field : *fields) {
            hash ^= std::hash<std::string_view>()(field) + 0x9E3779B97F4A7C15ull + (hash << 6) +
                    (hash >> 2);
        }
        return hash;
    }
};

struct FieldsEqual {
    bool operator()(const TAddressFields* a, const TAddressFields* b) const { return *a == *b; }
};

// Turns the address's fields into the bytes to store, in place, or says why they cannot be,
// with the line to name.
bool MakeStorable(TImportedAddress& address, std::string& problem, size_t& line) {
    if (!address.problem.empty()) {
        problem = address.problem;
        line = address.problemLine;
        return false;
    }
    std::string bytes;
    for (size_t i = 0; i < kFieldCount; ++i) {
        std::string why;
        if (!AnsiFromUtf8(address.fields[i], bytes, why)) {
            problem = std::string(kFieldNames[i]) + ": " + why;
            line = address.fieldLines[i];
            return false;
        }
        address.fields[i].swap(bytes);
    }
    if (IsBlankName(address.fields[0])) {
        problem = "the name is empty";
        line = address.fieldLines[0];
        return false;
    }
    return true;
}

} // namespace

void ImportAddresses(const std::string& path, const TImportOptions& options, std::istream& in,
                     std::ostream& out, std::ostream& err) {
    const std::string source = options.file == "-" ? "<stdin>" : options.file;
    // The address file first: nothing else is worth reading when it cannot be written.
    TAddressFile file(path);
    const std::string text = ReadAll(options.file, in);
    TFileFormat format = options.format;
    if (format == TFileFormat::Guess) {
        format = LooksLikeVCards(text) ? TFileFormat::VCard : TFileFormat::Csv;
    }
    TImportReading reading =
        format == TFileFormat::VCard ? ReadVCards(text, source) : ReadCsv(text, source);

    // The fields of the rows to write, in code-page bytes, where the reading holds them.
    std::vector<const TAddressFields*> rows;
    rows.reserve(reading.addresses.size());
    size_t bad = 0;
    for (TImportedAddress& address : reading.addresses) {
        std::string problem;
        size_t line = 0;
        if (MakeStorable(address, problem, line)) {
            rows.push_back(&address.fields);
            continue;
        }
        ++bad;
        err << source << ":" << line << ": " << (options.skipBad ? "skipped: " : "") << problem
            << '\n';
    }
    for (const std::string& note : reading.notes) {
        err << source << ": " << note << '\n';
    }
    if (bad > 0 && !options.skipBad) {
        throw CliError(source + ": nothing imported: " + std::to_string(bad) +
                       " row(s) cannot be stored as they are (--skip-bad imports the others)");
    }

    // Holding the write lock from before the comparison, so that what is compared is what
    // the rows are written beside.
    if (!options.dryRun) {
        file.Begin();
    }
    std::vector<TAddressFields> storedRows;
    file.ForEachRow([&](std::string_view, const TAddressViews& fields) {
        TAddressFields& copy = storedRows.emplace_back();
        for (size_t i = 0; i < kFieldCount; ++i) {
            copy[i].assign(fields[i]);
        }
    });
    // Filled once the stored rows are all read, so that no pointer moves afterwards.
    std::unordered_set<const TAddressFields*, FieldsHash, FieldsEqual> stored;
    stored.reserve(storedRows.size() + rows.size());
    for (const TAddressFields& fields : storedRows) {
        stored.insert(&fields);
    }
    size_t equal = 0;
    std::vector<TListedAddress> written;
    for (const TAddressFields* row : rows) {
        if (!stored.insert(row).second) {
            ++equal;
            continue;
        }
        if (!options.dryRun) {
            file.Insert(*row);
            continue;
        }
        TListedAddress& listed = written.emplace_back();
        for (size_t i = 0; i < kFieldCount; ++i) {
            listed.fields[i] = Utf8FromAnsi((*row)[i]);
        }
    }
    const size_t added = rows.size() - equal;
    if (!options.dryRun) {
        file.Commit();
    } else if (!written.empty()) {
        WriteListing(out, written, TListingFormat::Table);
    }
    out << (options.dryRun ? "Would import " : "Imported ") << added << " address(es) from "
        << source;
    if (equal > 0) {
        out << "; " << equal << " equal to a stored address skipped";
    }
    if (bad > 0) {
        out << "; " << bad << " that cannot be stored skipped";
    }
    out << (options.dryRun ? ". Nothing was written.\n" : ".\n");
}
