#include "RecordingUserMessages.h"

namespace ui {

namespace {

// The next scripted reply, or `brak` when none is left.
template <class T>
T Nastepna(std::deque<T>& kolejka, T brak) {
  if (kolejka.empty()) return brak;
  T r = std::move(kolejka.front());
  kolejka.pop_front();
  return r;
}

}  // namespace

void TRecordingUserMessages::Zajety(bool wlaczony) {
  kursor_.Ustaw(wlaczony);
  Zapisz({Rodzaj::Zajety, wlaczony ? "1" : "0"});
}

std::optional<std::string> TRecordingUserMessages::OtworzPlik(QWidget*) {
  Zapisz({Rodzaj::Otworz, {}});
  return Nastepna(OdpowiedziOtworz, std::optional<std::string>());
}

std::optional<std::string> TRecordingUserMessages::ZapiszPlik(QWidget*) {
  Zapisz({Rodzaj::Zapisz, {}});
  return Nastepna(OdpowiedziZapisz, std::optional<std::string>());
}

bool TRecordingUserMessages::Pytanie(const std::string& tekst) {
  Zapisz({Rodzaj::Pytanie, tekst});
  return Nastepna(OdpowiedziPytanie, false);
}

bool TRecordingUserMessages::UstawieniaDrukarki(QPrinter&, QWidget*) {
  Zapisz({Rodzaj::Drukarka, {}});
  return Nastepna(OdpowiedziDrukarka, false);
}

std::vector<std::string> TRecordingUserMessages::Teksty(Rodzaj rodzaj) const {
  std::vector<std::string> out;
  for (const auto& w : Wywolania)
    if (w.rodzaj == rodzaj) out.push_back(w.tekst);
  return out;
}

}  // namespace ui
