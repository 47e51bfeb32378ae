// Writing one address as a vCard 3.0 in UTF-8, straight from the stored code-page bytes.
//
// Mapping: FN is the name as stored; N splits it at its last blank into given names and the
// family name; ADR holds adres2 as the extended address, adres1 as the street, ili as the
// locality and postakodu as the postal code, and is left out when all four are empty.
// Lines end in CRLF and are folded at 75 bytes, never inside a character.
#pragma once

#include "address_file.h"

#include <string>

void AppendVCard(std::string& out, const TAddressViews& fields);
