// Reading vCards 2.1, 3.0 and 4.0 into addresses: folded lines, escapes, QUOTED-PRINTABLE
// and CHARSET of 2.1, grouped property names and quoted parameters.
//
// Mapping: FN is the name (from N when FN is missing or blank: prefix, given, additional
// names, family name, suffix, joined by blanks); of the first ADR, the street is adres1,
// the extended address adres2, the postal code postakodu, the locality ili (the region when
// the locality is empty). Every other property is not read.
#pragma once

#include "imported_address.h"

#include <string>
#include <string_view>

// A file that breaks the format's structure (a property outside a card, a card without its
// end) raises CliError naming source and line; a card that cannot be read becomes an
// address with a problem, so that the others can still be taken.
TImportReading ReadVCards(std::string_view text, const std::string& source);

// Whether text looks like vCards: its first line that is not blank begins a card.
bool LooksLikeVCards(std::string_view text);
