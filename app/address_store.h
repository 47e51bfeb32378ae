// The address store: where the database file lives, the statements run against it, and
// saving and searching addresses.
#pragma once

#include "sqlite_database.h"

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

inline constexpr char16_t DatabaseFileName[] = u"adresdata.s3db";

inline constexpr char InsertSql[] =
    "insert into adres (adisoyadi,adres1,adres2,postakodu,ili) values (?,?,?,?,?)";
// The search statement is SearchSqlHead + typed text + SearchSqlMiddle + SearchSqlTail.
inline constexpr char16_t SearchSqlHead[] =
    u" select adres.idno,adres.adisoyadi,adres.adres1,adres.adres2,adres.postakodu,adres.ili"
    u" from adres where adres.adisoyadi like \"%";
inline constexpr char16_t SearchSqlMiddle[] = u"%\"";
inline constexpr char16_t SearchSqlTail[] = u" order by adres.adisoyadi ";

// Receives one found address: adisoyadi, adres1, adres2, postakodu, ili.
using TAddressReceiver =
    std::function<void(const std::u16string&, const std::u16string&, const std::u16string&,
                       const std::u16string&, const std::u16string&)>;

// Receives one found address with its row number: idno as the database writes it (decimal
// text), then adisoyadi, adres1, adres2, postakodu, ili.
using TAddressRowReceiver =
    std::function<void(const std::string& idno, const std::u16string (&fields)[5])>;

// A byte-for-byte mapping of code-page bytes, applied to the stored name and to the typed
// text alike before they are compared (for example to ignore case by another rule).
using TNameFolding = std::array<unsigned char, 256>;

// The directory of the program's file, ending with its separator ('\\', '/' or ':');
// empty when the path has none.
std::u16string GetProgramDirectory();

// Opens the database file beside the program; the caller owns the connection. Raises
// ESqliteException when the file cannot be opened, naming the file in UTF-8.
std::unique_ptr<TSqliteDatabase> OpenAddressDatabase();

// Inserts one address on a connection of its own, closed again before returning. True only
// when the row was inserted; failures are reported through the result, never raised.
bool SaveAddress(const std::u16string& adisoyadi, const std::u16string& adres1,
                 const std::u16string& adres2, const std::u16string& postakodu,
                 const std::u16string& ili);

// Hands deliver every address whose name contains text, ordered by name as stored. In the
// text, '%' matches any run of characters and '_' exactly one; ASCII letters match without
// regard to case, every other character only itself. Raises ESqliteException when the
// query fails; deliver may raise too, and the query is then ended before the exception
// goes on.
void SearchAddresses(TSqliteDatabase& database, const std::u16string& text,
                     const TAddressReceiver& deliver);

// The same search with each row's idno. Without a folding it lists exactly the rows of
// SearchAddresses, in the same order; with one, the name and the text are both folded
// before the same wildcard match, and the order stays that of the stored names.
void SearchAddressRows(TSqliteDatabase& database, const std::u16string& text,
                       const TNameFolding* folding, const TAddressRowReceiver& deliver);

// Internals, open to tests.

// The directory part of path, with its closing separator; empty when there is none.
std::u16string DirectoryOfPath(const std::u16string& path);
// Where the database is for a program whose file is programPath.
std::u16string AddressDatabasePath(const std::u16string& programPath);
// The bytes of a file name as SQLite opens it: UTF-8, which is also how Linux spells file
// names. Code-page bytes would name another file as soon as the program's directory has a
// letter such as 'ş' in it.
std::string DatabaseFileNameBytes(const std::u16string& path);
// The search statement for text, its double quotes doubled so the pattern stays one literal.
std::u16string BuildSearchSql(const std::u16string& text);
// The LIKE pattern of the search for text, in code-page bytes: text between two '%'.
std::string SearchPattern(const std::u16string& text);
// Whether a stored name matches a LIKE pattern, both in code-page bytes: '%' matches any
// run of bytes, '_' exactly one, ASCII letters compare without case, other bytes exactly.
bool NameMatchesPattern(std::string_view name, std::string_view pattern);
