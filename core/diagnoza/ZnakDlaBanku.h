#pragma once
// What the bank takes in place of each Unicode character:
// - printable ASCII and the eighteen Polish letters stay (the letters as
//   their Windows-1250 bytes);
// - dashes, quotation marks, apostrophes, the ellipsis and fixed-width
//   spaces become their ASCII counterparts;
// - invisible formatting characters (soft hyphen, zero-width space and
//   joiners, word joiner, byte-order mark) are removed;
// - other Latin letters lose their diacritics by canonical decomposition
//   (é -> e, ř -> r), ß becomes "ss";
// - anything else Windows-1250 holds (control bytes, "€", "§") is written as
//   its byte and stays a faulty character for the user to see: guessing
//   what a tab or a control byte meant could break the file's structure;
// - a character Windows-1250 cannot hold becomes "?".
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

namespace diagnoza {

enum class TZmiana : std::uint8_t {
  Bez,         // written as it is
  Zamieniony,  // replaced by its ASCII form
  Usuniety,    // invisible, removed
  Zostawiony,  // held by Windows-1250 but faulty: left for the user
  Brak,        // not in Windows-1250: "?"
};

class TZnakiDlaBanku {
 public:
  // What the bank takes in place of one character: up to three bytes.
  struct TWpis {
    char tekst[3];
    std::uint8_t dlugosc = 0;
    TZmiana zmiana = TZmiana::Bez;
    bool gotowy = false;
  };

  TZnakiDlaBanku();
  ~TZnakiDlaBanku();

  // The answer for `znak`, worked out on first use. The reference stays valid
  // as long as this object.
  const TWpis& Znajdz(char32_t znak) {
    if (znak < kTablica) {
      TWpis& w = tablica_[znak];
      if (!w.gotowy) w = Oblicz(znak);
      return w;
    }
    return ZnajdzRzadki(znak);
  }

  // Appends what the bank takes in place of `znak` and says what happened.
  TZmiana Dopisz(char32_t znak, std::string& out) {
    const TWpis& w = Znajdz(znak);
    out.append(w.tekst, w.dlugosc);
    return w.zmiana;
  }

 private:
  // Latin, Greek, Cyrillic and the punctuation block sit below this.
  static constexpr char32_t kTablica = 0x3000;
  static TWpis Oblicz(char32_t znak);
  const TWpis& ZnajdzRzadki(char32_t znak);

  std::unique_ptr<TWpis[]> tablica_;
  std::unordered_map<char32_t, TWpis> rzadkie_;
};

}  // namespace diagnoza
