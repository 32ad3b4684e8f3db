#include "SprawdzPlik.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <type_traits>

#include "PlikiWyjsciowe.h"
#include "Wydruk.h"
#include "diagnoza/RozpoznajKodowanie.h"
#include "linie/CzytajKawalkami.h"
#include "linie/LineSplitter.h"
#include "linie/SprawdzanieStrumienia.h"
#include "linie/WczytajPlik.h"
#include "platform/PlatformFile.h"
#include "rachunki/ZnakiIRachunki.h"
#include "raport/UtworzLOG.h"
#include "typy/TekstBledu.h"

namespace cli {

namespace {

// Where the findings of one file go as it is read: standard output, the
// report and the corrected copy, and the encoding diagnosis.
class TZnaleziska final : public linie::StreamFindings {
 public:
  TZnaleziska(const std::string& sciezka, const TOpcje& o, TWydruk& wydruk, TPlikiWyjsciowe& pliki)
      : sciezka_(sciezka), o_(o), wydruk_(wydruk), pliki_(pliki) {}

  void FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char b) override {
    if (!o_.cicho) wydruk_.BlednyZnak(line, column, b);
  }
  void EmptyLine(std::uint64_t line) override {
    if (!o_.cicho) wydruk_.PustaLinia(line);
  }
  void EmptyLines(std::uint64_t first, std::uint64_t count) override {
    if (!o_.cicho) wydruk_.PusteLinie(first, count);
    if (o_.raport)
      for (std::uint64_t k = 0; k < count; ++k) pliki_.LiniaRaportu(first + k, {});
  }
  // Only a report takes whole faulty lines; a file of empty lines has
  // millions, each a call otherwise.
  void FaultyLine(std::uint64_t line, std::string_view bytes) override {
    if (o_.raport) pliki_.LiniaRaportu(line, bytes);
  }
  void Corrected(const char* data, std::size_t n) override { pliki_.Poprawione(data, n); }

  void FaultyText(std::uint64_t line, std::string_view part) override {
    rozpoznawanie_.CzescBlednej(line, part);
  }

  // The encoding the file looks to be in, faulty or clean: the clean lines
  // are read again from the start while they can change it. A failure of
  // that read leaves the diagnosis of the faulty lines.
  std::optional<diagnoza::TDiagnoza> Diagnoza() {
    rozpoznawanie_.KoniecBlednych();
    try {
      if (rozpoznawanie_.PotrzebneLiniePoprawne(0))
        diagnoza::DoczytajLiniePoprawne(rozpoznawanie_, sciezka_);
      diagnoza::DoczytajPoczatek(rozpoznawanie_, sciezka_);
    } catch (const std::exception&) {
    }
    return rozpoznawanie_.Wynik();
  }

 private:
  const std::string& sciezka_;
  const TOpcje& o_;
  TWydruk& wydruk_;
  TPlikiWyjsciowe& pliki_;
  diagnoza::TRozpoznawanie rozpoznawanie_;
};

}  // namespace

TSprawdzaniePlikow::TSprawdzaniePlikow(const TOpcje& opcje, TWyjscie& out)
    : o_(opcje), out_(out), separatorCzasu_(platform::SeparatorCzasuSystemu()) {}

Wynik TSprawdzaniePlikow::Sprawdz(const std::string& plik, bool przekoduj) {
  // The absolute path, as the window's file dialog gives it, names the file
  // in the report and places the corrected copy.
  const std::string sciezka = platform::AbsolutePath(plik);
  std::unique_ptr<platform::InputFile> wejscie;
  try {
    wejscie = linie::OtworzPlikZrodlowy(sciezka);
  } catch (const std::exception& e) {
    ZglosBlad(out_, plik, Typy::bledy::Opis(e));
    return kAwaria;
  }

  TWydruk wydruk(plik, out_);
  TPlikiWyjsciowe pliki(plik, sciezka, o_, out_, separatorCzasu_);
  if (o_.popraw) pliki.ZacznijPoprawiony();
  TZnaleziska znaleziska(sciezka, o_, wydruk, pliki);
  linie::SprawdzanieStrumienia check(
      znaleziska, {.keepFaultyLines = o_.raport.has_value(), .corrected = pliki.RobiPoprawiony()});
  auto zglos = [&](std::uint64_t nr, const auto& u, std::string_view linia) {
    if (o_.cicho) return;
    if constexpr (std::is_same_v<std::decay_t<decltype(u)>, rachunki::TUwaga>)
      wydruk.UwagaRachunku(nr, u, linia);
    else
      wydruk.Ostrzezenie(nr, u, linia);
  };
  rachunki::TZnakiIRachunki linie(check, !o_.tylkoZnaki, zglos);
  linie::BasicLineSplitter<decltype(linie)> splitter(linie);
  // A file that changes while it is read is not checked: neither the
  // verdict nor a copy made of it can be trusted, and nothing is saved.
  try {
    linie::CzytajKawalkami(*wejscie, [&splitter, &linie](const char* dane, std::size_t n) {
      if (n == 0) {
        splitter.Finish();
        return true;
      }
      const bool dalej = splitter.Feed(dane, n);
      linie.KoniecKawalka();
      return dalej;
    });
  } catch (const std::exception& e) {
    splitter.Abandon();
    ZglosBlad(out_, plik, Typy::bledy::Opis(e));
    return kAwaria;
  }

  const std::uint64_t bledne = check.FaultyLines();
  // Clean files are diagnosed too: their letters may be another encoding's
  // (a CP852 "ą" is the Windows-1250 "Ą"). The check's verdict stays.
  const std::optional<diagnoza::TDiagnoza> diagnoza = znaleziska.Diagnoza();
  if (!o_.cicho) {
    wydruk.Podsumowanie(bledne, diagnoza);
    wydruk.PodsumowanieRachunkow(linie.Uwagi());
    wydruk.PodsumowanieOstrzezen(linie.Ostrzezenia());
  }
  if (o_.podsumowanie) wydruk.Sumy(linie.Sumy());
  // The report and the corrected copy are about characters: a file whose
  // only faults are account numbers or fields gets neither.
  const Wynik zapis = pliki.Zakoncz(bledne > 0);
  const bool bledy = bledne > 0 || linie.Uwagi() > 0;
  const Wynik sprawdzenie = zapis != kPoprawny ? zapis : (bledy ? kBledy : kPoprawny);
  if (!przekoduj) return sprawdzenie;
  return Przekoduj(plik, sciezka, bledne, diagnoza, sprawdzenie);
}

}  // namespace cli
