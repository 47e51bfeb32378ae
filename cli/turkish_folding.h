// How `list --turkish` and `list --fold` compare names: byte mappings of the address
// file's Windows-1254 bytes, applied to the stored name and to the typed text alike.
#pragma once

#include "address_store.h"

// Turkish letters without regard to case, by Turkish rules: I and ı are one letter, İ and i
// another; so are Ş/ş, Ç/ç, Ğ/ğ, Ö/ö, Ü/ü, and the other letters' cases.
const TNameFolding& TurkishCaseFolding();
// The same, and the marks ignored too: ç = c, ş = s, ğ = g, ı = i, ö = o, ü = u, and the
// circumflexed â, î, û of Turkish spelling = a, i, u.
const TNameFolding& TurkishMarkFolding();
