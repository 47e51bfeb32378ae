// `add`, `edit` and `delete`: one row each, every field checked before anything is written.
#include "commands.h"

#include "address_file.h"
#include "cli_error.h"
#include "code_page_text.h"
#include "stored_text.h"

#include <string>

namespace {

const char* const kOptionNames[5] = {"--name", "--adres1", "--adres2", "--postakodu", "--ili"};

// Puts every given field into fields as code-page bytes, or refuses the whole command.
void ApplyArguments(const TFieldArguments& arguments, TAddressFields& fields) {
    for (size_t i = 0; i < arguments.size(); ++i) {
        if (!arguments[i]) {
            continue;
        }
        std::string problem;
        if (!AnsiFromUtf8(*arguments[i], fields[i], problem)) {
            throw CliError(std::string(kOptionNames[i]) + ": " + problem +
                           "; nothing was changed");
        }
    }
    if (IsBlankName(fields[0])) {
        throw CliError("the name is empty; nothing was changed");
    }
}

void PrintAddress(std::ostream& out, std::int64_t idno, const TAddressFields& fields) {
    TListedAddress listed{std::to_string(idno), {}};
    for (size_t i = 0; i < fields.size(); ++i) {
        listed.fields[i] = Utf8FromAnsi(fields[i]);
    }
    WriteListing(out, {listed}, TListingFormat::Table);
}

TAddressFields Existing(TAddressFile& file, std::int64_t idno) {
    std::optional<TAddressFields> fields = file.Find(idno);
    if (!fields) {
        throw CliError(file.Path() + ": no address has the number " + std::to_string(idno));
    }
    return *fields;
}

} // namespace

void AddAddress(const std::string& path, const TFieldArguments& arguments, std::ostream& out) {
    TAddressFields fields;
    ApplyArguments(arguments, fields);
    TAddressFile file(path);
    file.Begin();
    const std::int64_t idno = file.Insert(fields);
    file.Commit();
    PrintAddress(out, idno, fields);
}

void EditAddress(const std::string& path, std::int64_t idno, const TFieldArguments& arguments,
                 std::ostream& out) {
    TAddressFile file(path);
    // Read and written in one transaction, so another program's change in between is
    // never overwritten with the fields read before it.
    file.Begin();
    TAddressFields fields = Existing(file, idno);
    ApplyArguments(arguments, fields);
    file.Update(idno, fields);
    file.Commit();
    PrintAddress(out, idno, fields);
}

bool DeleteAddress(const std::string& path, std::int64_t idno, bool yes, std::istream& in,
                   std::ostream& out) {
    TAddressFile file(path);
    const TAddressFields shown = Existing(file, idno);
    if (!yes) {
        PrintAddress(out, idno, shown);
        out << "Delete this address? [y/N] " << std::flush;
        std::string answer;
        std::getline(in, answer);
        const std::string_view word(answer.c_str());
        if (word != "y" && word != "Y" && word != "yes" && word != "e" && word != "E" &&
            word != "evet") {
            out << "Not deleted.\n";
            return false;
        }
    }
    file.Begin();
    // Asked again inside the transaction: the row may have changed or gone while the
    // question waited, and the one shown is the one to delete.
    if (file.Find(idno) != shown) {
        throw CliError(file.Path() + ": the address " + std::to_string(idno) +
                       " changed while asking; nothing was deleted");
    }
    file.Delete(idno);
    file.Commit();
    out << "Deleted " << idno << ".\n";
    return true;
}
