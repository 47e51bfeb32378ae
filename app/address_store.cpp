// The address store: the database file beside the program, the insert of a new address, and
// the search by name with its match check on code-page bytes.
#include "address_store.h"

#include "sqlite_query_results.h"
#include "text_conversion.h"
#include "winbase.h"
#include "winnls.h"

#include <exception>
#include <iterator>
#include <vector>

static_assert(std::size(InsertSql) - 1 == 76);
static_assert(std::size(SearchSqlHead) - 1 == 127);
static_assert(std::size(SearchSqlMiddle) - 1 == 2);
static_assert(std::size(SearchSqlTail) - 1 == 26);

namespace {

constexpr DWORD kFirstPathBufferSize = 260; // MAX_PATH

bool IsPathSeparator(char16_t c) {
    return c == u'\\' || c == u'/' || c == u':';
}

unsigned char FoldAscii(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<unsigned char>(c + ('a' - 'A')) : c;
}

} // namespace

std::u16string DirectoryOfPath(const std::u16string& path) {
    for (size_t i = path.size(); i > 0; --i) {
        if (IsPathSeparator(path[i - 1])) {
            return path.substr(0, i);
        }
    }
    return {};
}

std::u16string AddressDatabasePath(const std::u16string& programPath) {
    return DirectoryOfPath(programPath) + DatabaseFileName;
}

std::u16string GetProgramDirectory() {
    std::vector<WCHAR> buffer(kFirstPathBufferSize);
    for (;;) {
        const DWORD size = static_cast<DWORD>(buffer.size());
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), size);
        if (length == 0) {
            return {};
        }
        // A name that filled the whole buffer may have been cut.
        if (length < size) {
            return DirectoryOfPath(std::u16string(buffer.data(), length));
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string DatabaseFileNameBytes(const std::u16string& path) {
    if (path.empty()) {
        return {};
    }
    const int length = static_cast<int>(path.size());
    const int size =
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, path.c_str(), length, bytes.data(), size, nullptr, nullptr);
    }
    return bytes;
}

std::unique_ptr<TSqliteDatabase> OpenAddressDatabase() {
    return TSqliteDatabase::Create(DatabaseFileNameBytes(GetProgramDirectory() + DatabaseFileName));
}

bool SaveAddress(const std::u16string& adisoyadi, const std::u16string& adres1,
                 const std::u16string& adres2, const std::u16string& postakodu,
                 const std::u16string& ili) {
    // Declared before the connection so that the bound bytes outlive it: BindText does not
    // copy them.
    std::string values[5];
    std::unique_ptr<TSqliteDatabase> database;
    try {
        database = OpenAddressDatabase();
    } catch (const std::exception&) {
        return false;
    }
    bool inserted = false;
    try {
        database->Prepare(InsertSql);
        values[0] = WideToAnsi(adisoyadi);
        values[1] = WideToAnsi(adres1);
        values[2] = WideToAnsi(adres2);
        values[3] = WideToAnsi(postakodu);
        values[4] = WideToAnsi(ili);
        for (const std::string& value : values) {
            database->BindText(value);
        }
        inserted = database->Step() == SQLITE_DONE;
    } catch (const std::exception&) {
        inserted = false;
    }
    database.reset();
    return inserted;
}

std::u16string BuildSearchSql(const std::u16string& text) {
    // A double quote would end the quoted pattern early and let the typed text go on as
    // SQL; doubled, it stays a double quote inside the one literal.
    // SQLite reads the stored code-page bytes as UTF-8, so where T holds a letter outside
    // ASCII or a '_' its LIKE may pair bytes into one character and drop a name that
    // matches byte for byte. There the statement gets '%' instead: it then lists a few names
    // too many, never one too few, and the byte check decides.
    std::u16string pattern;
    pattern.reserve(text.size());
    for (char16_t c : text) {
        if (c >= 0x80 || c == u'_') {
            if (pattern.empty() || pattern.back() != u'%') {
                pattern.push_back(u'%');
            }
            continue;
        }
        pattern.push_back(c);
        if (c == u'"') {
            pattern.push_back(u'"');
        }
    }
    return SearchSqlHead + pattern + SearchSqlMiddle + SearchSqlTail;
}

std::string SearchPattern(const std::u16string& text) {
    std::string pattern = WideToAnsi(text);
    pattern.insert(pattern.begin(), '%');
    pattern.push_back('%');
    return pattern;
}

// The classic wildcard walk: on a mismatch, go back to the last '%' and let it swallow one
// more byte. One such point is enough, since a later '%' can cover whatever an earlier one
// would have.
bool NameMatchesPattern(std::string_view name, std::string_view pattern) {
    size_t n = 0;
    size_t p = 0;
    size_t starPattern = std::string_view::npos;
    size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starPattern = p++;
            starName = n;
            if (p == pattern.size()) {
                return true; // a closing '%' takes whatever is left
            }
        } else if (p < pattern.size() &&
                   (pattern[p] == '_' || FoldAscii(static_cast<unsigned char>(pattern[p])) ==
                                             FoldAscii(static_cast<unsigned char>(name[n])))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '%') {
        ++p;
    }
    return p == pattern.size();
}

namespace {

// Into the caller's string, whose storage is reused from row to row.
void FoldBytes(std::string_view bytes, const TNameFolding& folding, std::string& folded) {
    folded.resize(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        folded[i] = static_cast<char>(folding[static_cast<unsigned char>(bytes[i])]);
    }
}

// The one walk behind both searches. Column 0 is read only for a caller that wants it, and
// the other columns only for rows whose name matches.
void RunSearch(TSqliteDatabase& database, const std::u16string& text, const TNameFolding* folding,
               bool readIdno,
               const std::function<void(const std::string&, const std::u16string (&)[5])>& deliver) {
    // A folding can make a letter match another that the statement's LIKE would not let
    // through, so then the statement lists every name and the byte check alone decides.
    const std::string sql = WideToAnsi(BuildSearchSql(folding != nullptr ? u"" : text));
    // SQLite reads the stored code-page bytes as UTF-8 and so matches letters such as 'ş'
    // too widely; the statement still scans and sorts, and this check on the bytes keeps
    // only the rows that truly match, in the statement's order.
    std::string pattern = SearchPattern(text);
    if (folding != nullptr) {
        FoldBytes(std::string(pattern), *folding, pattern);
    }
    std::unique_ptr<TSqliteQueryResults> results = TSqliteQueryResults::Create(database, sql);
    // The columns are read in place and converted into one wide string each, reused from
    // row to row, so that a long list costs no allocation and no byte copy per row.
    std::string idno;
    std::u16string texts[5];
    std::string foldedName;
    while (!results->Eof()) {
        const std::string_view name = results->FieldAsView(1);
        bool matches;
        if (folding != nullptr) {
            FoldBytes(name, *folding, foldedName);
            matches = NameMatchesPattern(foldedName, pattern);
        } else {
            matches = NameMatchesPattern(name, pattern);
        }
        if (matches) {
            if (readIdno) {
                results->FieldAsString(0, idno);
            }
            AnsiToWide(name, texts[0]);
            for (int column = 2; column <= 5; ++column) {
                AnsiToWide(results->FieldAsView(column), texts[column - 1]);
            }
            deliver(idno, texts);
        }
        results->Next();
    }
}

} // namespace

void SearchAddresses(TSqliteDatabase& database, const std::u16string& text,
                     const TAddressReceiver& deliver) {
    RunSearch(database, text, nullptr, false,
              [&](const std::string&, const std::u16string (&texts)[5]) {
                  deliver(texts[0], texts[1], texts[2], texts[3], texts[4]);
              });
}

void SearchAddressRows(TSqliteDatabase& database, const std::u16string& text,
                       const TNameFolding* folding, const TAddressRowReceiver& deliver) {
    RunSearch(database, text, folding, true, deliver);
}
