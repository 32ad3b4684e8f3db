#include "diagnoza/PropozycjaPoprawki.h"

#include "diagnoza/RozpoznajKodowanie.h"
#include "diagnoza/ZnakDlaBanku.h"
#include "kodowanie/Cp1250.h"
#include "profile/RegulaZnakow.h"

namespace diagnoza {

using kodowanie::Jednobajtowe;
using kodowanie::Mieszane;
using kodowanie::Nazwa;
using kodowanie::TKodowanie;

namespace {

constexpr kodowanie::cp1250::Literal kWKodowaniu{u8"Plik wygląda na zapisany w kodowaniu "};
constexpr kodowanie::cp1250::Literal kLaczy{u8"Plik łączy kodowania "};
// Short, to keep its place in the strip beside the button.
constexpr kodowanie::cp1250::Literal kMozeByc{u8"Kodowanie pliku: "};
constexpr kodowanie::cp1250::Literal kNiePewne{
    u8"Nie da się rozstrzygnąć, czy plik jest zapisany w kodowaniu "};
constexpr kodowanie::cp1250::Literal kTypograficzne{
    u8"Część błędnych znaków można zamienić automatycznie."};

constexpr kodowanie::cp1250::Literal kOdczytany{u8"Plik zostanie odczytany jako "};
constexpr kodowanie::cp1250::Literal kKazdyWiersz{
    u8"Plik zostanie odczytany wiersz po wierszu jako "};
constexpr kodowanie::cp1250::Literal kZapisanyW{
    u8" i zapisany w kodowaniu Windows-1250, jako plik poprawiony."};
constexpr kodowanie::cp1250::Literal kWindows{
    u8"Znaki typograficzne i litery spoza polskiego alfabetu zostaną zastąpione odpowiednikami, "
    u8"a plik zapisany jako plik poprawiony."};
constexpr kodowanie::cp1250::Literal kPolskie{u8"Polskie litery: "};
constexpr kodowanie::cp1250::Literal kZmienione{u8"Zmienionych znaków: "};
constexpr kodowanie::cp1250::Literal kBrak{
    u8"Znaków, których Windows-1250 nie ma, zapisanych jako \"?\": "};
constexpr kodowanie::cp1250::Literal kNieodczytane{
    u8"Bajtów, których nie da się odczytać w tym kodowaniu, pozostawionych bez zmian: "};
constexpr kodowanie::cp1250::Literal kZostawione{
    u8"Błędnych znaków pozostawionych do poprawienia ręcznie (np. tabulatory, znaki sterujące): "};
constexpr kodowanie::cp1250::Literal kCzyZapisac{u8"Czy zapisać poprawiony plik?"};
constexpr kodowanie::cp1250::Literal kPozostalo{u8"Pozostało błędnych linii: "};

// The texts that name the encoding the copy is written in: the bank's,
// Windows-1250 unless its profile says otherwise.
std::string ZapisanyW() {
  const TKodowanie banku = profile::AktywnyProfil().kodowanie;
  if (banku == TKodowanie::Windows1250) return kZapisanyW.str();
  return kodowanie::cp1250::Literal(u8" i zapisany w kodowaniu ").str() +
         std::string(Nazwa(banku)) + kodowanie::cp1250::Literal(u8", jako plik poprawiony.").str();
}
std::string Brak() {
  const TKodowanie banku = profile::AktywnyProfil().kodowanie;
  if (banku == TKodowanie::Windows1250) return kBrak.str();
  return kodowanie::cp1250::Literal(u8"Znaków, których ").str() + std::string(Nazwa(banku)) +
         kodowanie::cp1250::Literal(u8" nie ma, zapisanych jako \"?\": ").str();
}

void Wiersz(std::string& s, std::string_view napis, std::uint64_t ile) {
  s += napis;
  s += std::to_string(ile);
  s += "\r\n";
}

// Whether the correction from Windows-1250 changes a faulty byte of the
// faulty lines; the others are ASCII or Polish letters and stay.
bool Windows1250DoPoprawy(const Typy::TStan& stan) {
  TZnakiDlaBanku znaki;
  for (std::size_t i = 0; i < stan.Bledy.size(); ++i) {
    const auto idx = static_cast<std::size_t>(stan.Bledy.LineIndex(i));
    bool zmiana = false;
    Typy::ForEachFaultyByte(stan.LinieOrg[idx], [&](std::size_t, unsigned char b) {
      const TZmiana z = znaki.Znajdz(kodowanie::cp1250::kToUnicode[b]).zmiana;
      zmiana = zmiana || z == TZmiana::Zamieniony || z == TZmiana::Usuniety;
    });
    if (zmiana) return true;
  }
  return false;
}

}  // namespace

std::string ZdanieODiagnozie(TKodowanie z, std::optional<TKodowanie> albo) {
  if (albo)
    return kMozeByc.str() + std::string(Nazwa(z)) + " albo " + std::string(Nazwa(*albo)) + ".";
  if (Mieszane(z)) return kLaczy.str() + std::string(Nazwa(Jednobajtowe(z))) + " i UTF-8.";
  // In the encoding the bank reads already: only what the correction
  // replaces is left to say.
  if (z == profile::AktywnyProfil().kodowanie) return kTypograficzne.str();
  return kWKodowaniu.str() + std::string(Nazwa(z)) + ".";
}

std::optional<TPropozycja> ZaproponujPoprawke(const Typy::TStan& stan) {
  if (stan.LinieOrg.empty()) return std::nullopt;
  return ZaproponujPoprawke(stan, RozpoznajKodowanie(stan));
}

std::optional<TPropozycja> ZaproponujPoprawke(const Typy::TStan& stan,
                                              const std::optional<TDiagnoza>& d) {
  if (stan.LinieOrg.empty() || !d) return std::nullopt;
  // A file in the encoding the bank reads (the profile's) is offered a
  // correction only for what the correction would change.
  const TKodowanie banku = profile::AktywnyProfil().kodowanie;
  if (d->kodowanie == banku && !d->albo &&
      (stan.Bledy.empty() || (banku == TKodowanie::Windows1250 && !Windows1250DoPoprawy(stan))))
    return std::nullopt;
  return TPropozycja{d->kodowanie, ZdanieODiagnozie(d->kodowanie, d->albo), d->albo};
}

std::string TekstPotwierdzenia(TKodowanie z, const TWynikPoprawy& w,
                               std::optional<TKodowanie> albo) {
  std::string s;
  if (albo) {
    s += kNiePewne.view();
    s += std::string(Nazwa(z)) + ", czy " + std::string(Nazwa(*albo)) + ".\r\n\r\n";
  }
  const TKodowanie banku = profile::AktywnyProfil().kodowanie;
  if (z == banku) {
    s += kWindows.view();
  } else {
    s += Mieszane(z) ? kKazdyWiersz.str() + std::string(Nazwa(Jednobajtowe(z))) + " albo UTF-8"
                     : kOdczytany.str() + std::string(Nazwa(z));
    s += ZapisanyW();
  }
  s += "\r\n\r\n";
  if (z != banku) Wiersz(s, kPolskie, w.polskie);
  Wiersz(s, kZmienione, w.Zmienione());
  if (w.brakujace) Wiersz(s, Brak(), w.brakujace);
  if (w.nieodkodowane) Wiersz(s, kNieodczytane, w.nieodkodowane);
  if (w.zostawione) Wiersz(s, kZostawione, w.zostawione);
  s += "\r\n";
  s += kCzyZapisac.view();
  return s;
}

std::string TekstPoZapisie(const TWynikPoprawy& w, std::size_t pozostaleBledneLinie) {
  std::string s;
  if (w.brakujace) Wiersz(s, Brak(), w.brakujace);
  if (w.nieodkodowane) Wiersz(s, kNieodczytane, w.nieodkodowane);
  s += kPozostalo.view();
  s += std::to_string(pozostaleBledneLinie);
  return s;
}

}  // namespace diagnoza
