#pragma once
// The user-message facility for tests: records every call and answers the
// dialogs from scripted replies, so nothing modal ever opens.
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "messages/BusyCursor.h"
#include "messages/UserMessages.h"
#include "typy/TekstBledu.h"

namespace ui {

class TRecordingUserMessages : public TUserMessages {
 public:
  enum class Rodzaj {
    Ostrzezenie,
    Informacja,
    Komunikat,
    Blad,
    Zajety,
    Otworz,
    Zapisz,
    Drukarka,
    Pytanie
  };
  struct Wywolanie {
    Rodzaj rodzaj;
    std::string tekst;  // the text; "1"/"0" for the busy cursor
    bool operator==(const Wywolanie&) const = default;
  };

  void Ostrzezenie(const std::string& tekst) override { Zapisz({Rodzaj::Ostrzezenie, tekst}); }
  void Informacja(const std::string& tekst) override { Zapisz({Rodzaj::Informacja, tekst}); }
  void Komunikat(const std::string& tekst) override { Zapisz({Rodzaj::Komunikat, tekst}); }
  void BladKrytyczny(const std::string& komunikat) override {
    Zapisz({Rodzaj::Blad, Typy::bledy::TekstBledu(komunikat)});
  }
  bool Pytanie(const std::string& tekst) override;
  void Zajety(bool wlaczony) override;
  bool CzyZajety() const override { return kursor_.Wlaczony(); }
  std::optional<std::string> OtworzPlik(QWidget*) override;
  std::optional<std::string> ZapiszPlik(QWidget*) override;
  bool UstawieniaDrukarki(QPrinter&, QWidget*) override;
  // Kept apart from Wywolania: the user sees nothing of it.
  void PlikSprawdzony(const std::string& sciezka) override { Sprawdzone.push_back(sciezka); }
  void OknoModalneOtwarte() override { kursor_.ModalneOtwarte(); }
  void OknoModalneZamkniete() override { kursor_.ModalneZamkniete(); }

  // Replies for the next dialogs, taken in order; an empty queue cancels.
  std::deque<std::optional<std::string>> OdpowiedziOtworz;
  std::deque<std::optional<std::string>> OdpowiedziZapisz;
  std::deque<bool> OdpowiedziDrukarka;
  std::deque<bool> OdpowiedziPytanie;  // an empty queue answers No

  std::vector<Wywolanie> Wywolania;
  std::vector<std::string> Sprawdzone;  // the files read for a check, in order
  // The calls of one kind, in order.
  std::vector<std::string> Teksty(Rodzaj rodzaj) const;

 private:
  void Zapisz(Wywolanie w) { Wywolania.push_back(std::move(w)); }
  TBusyCursor kursor_;
};

}  // namespace ui
