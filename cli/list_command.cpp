// `list`: the store's own name search, or the same search with Turkish folding.
#include "commands.h"

#include "address_file.h"
#include "address_store.h"
#include "cli_error.h"
#include "code_page_text.h"
#include "turkish_folding.h"

#include <vector>

void ListAddresses(const std::string& path, const TListOptions& options, std::ostream& out) {
    TAddressFile file(path);
    const TNameFolding* folding = nullptr;
    if (options.rule == TNameRule::Turkish) {
        folding = &TurkishCaseFolding();
    } else if (options.rule == TNameRule::Folded) {
        folding = &TurkishMarkFolding();
    }
    // A character the file cannot hold would reach the search as the code page's '?' and
    // find names with a real '?' in them.
    std::string bytes;
    std::string problem;
    if (!AnsiFromUtf8(options.text, bytes, problem)) {
        throw CliError("the text to find: " + problem + ", so no stored name holds it");
    }
    std::vector<TListedAddress> addresses;
    SearchAddressRows(file.Database(), Utf16FromUtf8(options.text), folding,
                      [&](const std::string& idno, const std::u16string (&fields)[5]) {
                          TListedAddress& address = addresses.emplace_back();
                          address.idno = idno;
                          for (size_t i = 0; i < 5; ++i) {
                              address.fields[i] = Utf8FromUtf16(fields[i]);
                          }
                      });
    WriteListing(out, addresses, options.format);
}
