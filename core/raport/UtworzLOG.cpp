#include "raport/UtworzLOG.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>

#include "kodowanie/Cp1250.h"
#include "platform/InOutError.h"
#include "platform/PlatformFile.h"
#include "profile/RegulaZnakow.h"
#include "typy/Teksty.h"

namespace raport {
namespace {

constexpr kodowanie::cp1250::Literal kNaglowek{u8"Lista błędów w pliku "};
constexpr kodowanie::cp1250::Literal kLinia{u8"Linia "};
constexpr kodowanie::cp1250::Literal kZawieraBlad{u8" zawiera błąd: "};
constexpr kodowanie::cp1250::Literal kBlednyZnak{u8"  Błędny znak: \""};
constexpr kodowanie::cp1250::Literal kWKolumnie{u8"\" w kolumnie "};
constexpr kodowanie::cp1250::Literal kTresc{u8"Treść błędnej linii:"};
constexpr kodowanie::cp1250::Literal kProfil{u8"Profil banku: "};
constexpr std::string_view kGwiazdki = "*****";
constexpr std::string_view kKoniec = "Koniec pliku LOG";
constexpr std::size_t kDlugoscKreski = 96;

void DopiszLiczbe(std::string& s, std::uint64_t n) {
  char buf[24];
  const auto res = std::to_chars(buf, buf + sizeof buf, n);
  s.append(buf, res.ptr);
}

}  // namespace

void NaglowekRaportu(TWidokRaportu& widok, std::string_view nazwaPliku, const TChwila& chwila,
                     char separatorCzasu) {
  std::string linia(kNaglowek.view());
  // The path comes as the system spells it; the report holds Windows-1250.
  linia += kodowanie::cp1250::FromUtf8Lossy(nazwaPliku);
  widok.DodajLinie(linia);
  widok.DodajLinie(FormatujChwile(chwila, separatorCzasu));
  // Checked against a bank's own rules: the report says whose. The default
  // profile's report is as it always was.
  if (const profile::TProfil& p = profile::AktywnyProfil(); !profile::CzyDomyslny(p))
    widok.DodajLinie(kProfil.str() + p.nazwa);
  widok.DodajLinie(std::string(kDlugoscKreski, '_'));
  widok.DodajLinie({});
}

void CzescLinii(TWidokRaportu& widok, std::uint64_t numerLinii, std::string_view linia) {
  std::string tekst(kLinia.view());
  DopiszLiczbe(tekst, numerLinii);
  tekst += kZawieraBlad.view();
  // The validator's text for the line: an empty line is faulty as such.
  tekst += linia.empty() ? Typy::teksty::CiagPusty.view() : Typy::teksty::BledneZnaki.view();
  widok.DodajLinie(tekst);

  Typy::TKolumnyZnakow kolumna(linia);
  Typy::ForEachFaultyByte(linia, [&](std::size_t pozycja, unsigned char bajt) {
    tekst.assign(kBlednyZnak.view());
    tekst += static_cast<char>(bajt);
    tekst += kWKolumnie.view();
    DopiszLiczbe(tekst, kolumna(pozycja));
    widok.DodajLinie(tekst);
  });

  widok.DodajLinie({});
  widok.DodajLinie(kTresc.view());
  widok.DodajLinie(linia);
  widok.DodajLinie(std::string(kDlugoscKreski, '-'));
  widok.DodajLinie({});
}

void KoniecRaportu(TWidokRaportu& widok) {
  widok.DodajLinie(kGwiazdki);
  widok.DodajLinie(kKoniec);
}

std::string FormatujChwile(const TChwila& c, char separator) {
  char buf[96];
  const int n = std::snprintf(buf, sizeof buf, "%04d-%02d-%02d, %02d%c%02d%c%02d", c.Rok, c.Miesiac,
                              c.Dzien, c.Godzina, separator, c.Minuta, separator, c.Sekunda);
  return std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0);
}

void UtworzLOG(const Typy::TStan& stan, TWidokRaportu& widok, const TZegar& zegar,
               char separatorCzasu) {
  if (stan.Bledy.empty()) return;
  NaglowekRaportu(widok, stan.NazwaPliku, zegar(), separatorCzasu);
  for (std::size_t i = 0; i < stan.Bledy.size(); ++i) {
    const auto index = static_cast<std::size_t>(stan.Bledy.LineIndex(i));
    CzescLinii(widok, index + 1, stan.LinieOrg[index]);
  }
  KoniecRaportu(widok);
}

void UtworzLOG(const Typy::TStan& stan, TWidokRaportu& widok) {
  UtworzLOG(stan, widok, platform::CzasLokalny, platform::SeparatorCzasuSystemu());
}

TPlikRaportu::TPlikRaportu(const std::string& sciezka, const std::string& chroniona) {
  try {
    plik_ = std::make_unique<platform::AtomicOutputFile>(sciezka, chroniona);
  } catch (const platform::EInOutError& e) {
    std::string powod;
    if (dynamic_cast<const platform::EProtectedTarget*>(&e))
      powod = "The report would replace the checked file";
    else if (e.Code() == platform::io_codes::kSharingViolation)
      powod = "The process cannot access the file because it is being used by another process";
    else if (e.SystemErrno() != 0)
      powod = platform::OpisBledu(e.SystemErrno());
    else
      powod = e.what();
    throw EZapisRaportu("Cannot create file \"" +
                        kodowanie::cp1250::FromUtf8Lossy(platform::AbsolutePath(sciezka)) + "\". " +
                        powod);
  }
}

TPlikRaportu::~TPlikRaportu() = default;

void TPlikRaportu::Dopisz(std::string_view bajty) {
  try {
    plik_->Write(bajty.data(), bajty.size());
  } catch (const platform::EInOutError&) {
    throw EZapisRaportu("Failed to Save Stream");
  }
}

void TPlikRaportu::DodajLinie(std::string_view linia) {
  Dopisz(linia);
  Dopisz("\r\n");
}

void TPlikRaportu::Zatwierdz() {
  try {
    plik_->Commit();
  } catch (const platform::EInOutError&) {
    throw EZapisRaportu("Failed to Save Stream");
  }
}

void ZapiszRaport(const std::string& sciezka, std::string_view bajty,
                  const std::string& chroniona) {
  TPlikRaportu plik(sciezka, chroniona);
  plik.Dopisz(bajty);
  plik.Zatwierdz();
}

}  // namespace raport
