#include "SprawdzPlik.h"

#include <cstdint>
#include <string_view>

#include "PlikiWyjsciowe.h"
#include "Wydruk.h"
#include "platform/PlatformFile.h"
#include "sprawdzanie/SprawdzPlik.h"
#include "typy/TekstBledu.h"

namespace cli {

namespace {

// Where the findings of one file go as it is read: standard output, the
// report and the corrected copy.
class TZnaleziska final : public sprawdzanie::TZnaleziska {
 public:
  TZnaleziska(const TOpcje& o, TWydruk& wydruk, TPlikiWyjsciowe& pliki)
      : o_(o), wydruk_(wydruk), pliki_(pliki) {}

  void Otwarty() override {
    if (o_.popraw) pliki_.ZacznijPoprawiony();
  }
  linie::SprawdzanieStrumienia::Options Opcje() const override {
    return {.keepFaultyLines = o_.raport.has_value(), .corrected = pliki_.RobiPoprawiony()};
  }

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

  void Uwaga(std::uint64_t linia, const rachunki::TUwaga& u, std::string_view bajty) override {
    if (!o_.cicho) wydruk_.UwagaRachunku(linia, u, bajty);
  }
  void Ostrzezenie(std::uint64_t linia, const rachunki::TOstrzezenie& o,
                   std::string_view bajty) override {
    if (!o_.cicho) wydruk_.Ostrzezenie(linia, o, bajty);
  }

 private:
  const TOpcje& o_;
  TWydruk& wydruk_;
  TPlikiWyjsciowe& pliki_;
};

}  // namespace

TSprawdzaniePlikow::TSprawdzaniePlikow(const TOpcje& opcje, TWyjscie& out)
    : o_(opcje), out_(out), separatorCzasu_(platform::SeparatorCzasuSystemu()) {}

Wynik TSprawdzaniePlikow::Sprawdz(const std::string& plik, bool przekoduj) {
  // The absolute path, as the window's file dialog gives it, names the file
  // in the report and places the corrected copy.
  const std::string sciezka = platform::AbsolutePath(plik);
  TWydruk wydruk(plik, out_);
  TPlikiWyjsciowe pliki(plik, sciezka, o_, out_, separatorCzasu_);
  TZnaleziska znaleziska(o_, wydruk, pliki);
  // A file that cannot be read, or changes while it is read, is not
  // checked: neither the verdict nor a copy made of it can be trusted, and
  // nothing is saved.
  sprawdzanie::TWynik w;
  try {
    w = sprawdzanie::SprawdzPlik(sciezka, &znaleziska, {.rachunki = !o_.tylkoZnaki});
  } catch (const std::exception& e) {
    ZglosBlad(out_, plik, Typy::bledy::Opis(e));
    return kAwaria;
  }

  if (!o_.cicho) {
    wydruk.Podsumowanie(w.blednychLinii, w.diagnoza);
    wydruk.PodsumowanieRachunkow(w.uwag);
    wydruk.PodsumowanieOstrzezen(w.ostrzezen);
  }
  if (o_.podsumowanie) wydruk.Sumy(w.sumy);
  // The report and the corrected copy are about characters: a file whose
  // only faults are account numbers or fields gets neither.
  const Wynik zapis = pliki.Zakoncz(w.blednychLinii > 0);
  const bool bledy = w.blednychLinii > 0 || w.uwag > 0;
  const Wynik sprawdzenie = zapis != kPoprawny ? zapis : (bledy ? kBledy : kPoprawny);
  if (!przekoduj) return sprawdzenie;
  return Przekoduj(plik, sciezka, w.blednychLinii, w.diagnoza, sprawdzenie);
}

}  // namespace cli
