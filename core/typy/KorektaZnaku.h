#pragma once
// Picking a byte of the selected faulty line and putting a new one in its
// place. The main window's handlers only translate between their controls
// and these functions; everything here works on the state alone.
#include <optional>

#include "typy/Typy.h"

namespace Typy {

// What a pick asks the two one-character fields to show.
enum class TPokazanie {
  BezZmian,  // nothing was picked: the fields keep their texts
  Puste,     // the position lies outside the selected line: empty fields
  Znak,      // show ZnakOrg and ZnakNew
};

struct TWybranyZnak {
  TPokazanie Pokazanie = TPokazanie::BezZmian;
  char ZnakOrg = 0;  // the byte as read, for EditZnakOrg
  char ZnakNew = 0;  // the byte as it now stands, for EditZnakNew
};

// Picks the position under the caret of the corrected-line view (its offset
// counts bytes from 0; with text selected, the start of the selection).
// `biezacyWiersz` is the current row of the error list, whose row 0 is the
// header. Sets WybranaPozycja even when it falls outside the selected line,
// so a later confirm there does nothing rather than using an older pick.
TWybranyZnak PokazWybranyZnak(TStan& stan, long long biezacyWiersz, long long offsetKursora);

enum class TWynikZmiany {
  Zmieniono,  // LinieNew changed: show the selected error anew
  NieWolno,   // not a faulty byte: tell the user only faulty ones may change
  Nic,        // nothing to do
};

// Puts `nowyZnak` (the first byte of EditZnakNew, none when it is empty) at
// WybranaPozycja of the selected line's corrected copy. Whether the position
// may change is decided by the byte as read, never by what stands there now.
TWynikZmiany ZatwierdzZnak(TStan& stan, std::optional<char> nowyZnak);

// The line index of the selected error, or none when no error is selected.
std::optional<std::size_t> WybranaLinia(const TStan& stan);

}  // namespace Typy
