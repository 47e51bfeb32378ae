// `import`: read the whole file, check every row, then write all rows in one transaction or
// none; rows equal to a stored row are skipped and counted.
#include "commands.h"

#include "address_file.h"
#include "cli_error.h"
#include "code_page_text.h"
#include "csv_reader.h"
#include "stored_text.h"
#include "vcard_reader.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>
#include <unordered_set>
#include <vector>

namespace {

std::string ReadAll(const std::string& file, std::istream& in) {
    if (file == "-") {
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    std::ifstream stream(file, std::ios::binary);
    if (!stream) {
        throw CliError(file + ": cannot be read: " + std::strerror(errno));
    }
    std::ostringstream text;
    text << stream.rdbuf();
    if (stream.bad()) {
        throw CliError(file + ": cannot be read");
    }
    return text.str();
}

// The five fields joined with a separator no field can make ambiguous: its length first.
std::string RowKey(const TAddressFields& fields) {
    std::string key;
    for (const std::string& field : fields) {
        key += std::to_string(field.size());
        key.push_back(':');
        key += field;
    }
    return key;
}

struct CheckedAddress {
    size_t line = 0;
    TAddressFields fields;
};

// The row as it would be stored, or why it cannot be, with the line to name.
bool Check(const TImportedAddress& address, CheckedAddress& checked, std::string& problem,
           size_t& line) {
    if (!address.problem.empty()) {
        problem = address.problem;
        line = address.problemLine;
        return false;
    }
    for (size_t i = 0; i < kFieldCount; ++i) {
        std::string why;
        if (!AnsiFromUtf8(address.fields[i], checked.fields[i], why)) {
            problem = std::string(kFieldNames[i]) + ": " + why;
            line = address.fieldLines[i];
            return false;
        }
    }
    if (IsBlankName(checked.fields[0])) {
        problem = "the name is empty";
        line = address.fieldLines[0];
        return false;
    }
    checked.line = address.line;
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
    const TImportReading reading =
        format == TFileFormat::VCard ? ReadVCards(text, source) : ReadCsv(text, source);

    std::vector<CheckedAddress> rows;
    rows.reserve(reading.addresses.size());
    size_t bad = 0;
    for (const TImportedAddress& address : reading.addresses) {
        CheckedAddress checked;
        std::string problem;
        size_t line = 0;
        if (Check(address, checked, problem, line)) {
            rows.push_back(std::move(checked));
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
    std::unordered_set<std::string> stored;
    file.ForEachRow([&](std::int64_t, const TAddressFields& fields) {
        stored.insert(RowKey(fields));
    });
    size_t equal = 0;
    std::vector<TListedAddress> written;
    for (const CheckedAddress& row : rows) {
        if (!stored.insert(RowKey(row.fields)).second) {
            ++equal;
            continue;
        }
        if (!options.dryRun) {
            file.Insert(row.fields);
            continue;
        }
        TListedAddress& listed = written.emplace_back();
        for (size_t i = 0; i < kFieldCount; ++i) {
            listed.fields[i] = Utf8FromAnsi(row.fields[i]);
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
