#include "Opcje.h"

#include <algorithm>
#include <string_view>

#include "Komunikaty.h"
#include "Konsola.h"
#include "Wyjscie.h"
#include "kodowanie/Cp1250.h"
#include "profile/RegulaZnakow.h"

namespace cli {

namespace {

constexpr std::string_view kUzycie =
    "Użycie: weryfikuj-plik [--profil PROFIL] [--report PLIK_LOG] [--fix] [--quiet] "
    "[--tylko-znaki]\n"
    "                      PLIK...\n"
    "        weryfikuj-plik [--profil PROFIL] --convert [--from KODOWANIE] [--quiet]\n"
    "                      [--tylko-znaki] PLIK...\n"
    "        weryfikuj-plik --lista-profili\n"
    "Sprawdza, czy pliki z przelewami zawierają znaki, których bankowość internetowa\n"
    "nie przyjmie, i wypisuje każdy błędny znak jako PLIK:LINIA:KOLUMNA. Sprawdza też\n"
    "numery rachunków (cyfry kontrolne i numer rozliczeniowy banku) w każdej linii\n"
    "i pola przelewów w układzie Elixir-O; każdy błąd wypisuje jako\n"
    "PLIK:LINIA:KOLUMNA: pole: co jest błędne: \"wartość\".\n"
    "\n"
    "  --report PLIK_LOG  zapisz raport błędów (plik LOG) sprawdzanego pliku;\n"
    "                     tylko z jednym PLIKIEM\n"
    "  --fix              zapisz obok każdego pliku z błędami poprawioną kopię\n"
    "                     (nazwa_nowy.txt), z \"?\" w miejscu błędnych znaków\n"
    "  --convert          zapisz obok każdego pliku z błędami (i poprawnego pliku, który\n"
    "                     wygląda na zapisany w innym kodowaniu) jego kopię poprawioną\n"
    "                     automatycznie (nazwa_nowy.txt): odczytaną w kodowaniu, w którym\n"
    "                     plik wygląda na zapisany, z polskimi literami w Windows-1250\n"
    "                     i znakami typograficznymi zastąpionymi; potem sprawdź zapisany\n"
    "                     plik; nie łączy się z --fix ani --report\n"
    "  --from KODOWANIE   przy --convert czytaj każdy plik, także poprawny, w tym\n"
    "                     kodowaniu: UTF-8, UTF-16LE, UTF-16BE, ISO-8859-2, CP852,\n"
    "                     Windows-1250 albo Windows-1250/UTF-8, ISO-8859-2/UTF-8,\n"
    "                     CP852/UTF-8 (wiersze w jednym lub drugim)\n"
    "  --profil PROFIL    sprawdzaj według zasad banku: nazwa wbudowanego profilu\n"
    "                     (--lista-profili) albo ścieżka pliku profilu; domyślnie\n"
    "                     \"Zasady ogólne\"\n"
    "  --lista-profili    wypisz wbudowane profile banków, każdy z nazwą i źródłem\n"
    "  -q, --quiet        wypisuj tylko błędy odczytu i zapisu\n"
    "  --tylko-znaki      sprawdzaj tylko znaki, bez numerów rachunków i pól przelewów\n"
    "  --podsumowanie     po podsumowaniu pliku wypisz liczbę i sumę przelewów Elixir-O:\n"
    "                     \"PLIK: przelewów: N, razem: 12 345,67 zł\", potem po linii\n"
    "                     na każdą datę wykonania i każdy bank odbiorcy (także z --quiet)\n"
    "  --wykaz-bankow PLIK\n"
    "                     numery rozliczeniowe i nazwy banków z PLIKU (nowszy wykaz\n"
    "                     NBP w układzie JSON wykazu wbudowanego) zamiast z wykazu\n"
    "                     wbudowanego w program\n"
    "  -h, --help         pokaż ten opis\n"
    "  -V, --version      pokaż wersję\n"
    "\n"
    "Plik, który zmieni się w trakcie sprawdzania, jest błędem odczytu: raportu\n"
    "i poprawionej kopii nie zapisuje się wtedy wcale.\n"
    "\n"
    "Przed podsumowaniem pliku, który wygląda na zapisany w innym kodowaniu niż\n"
    "Windows-1250, pada linia \"PLIK: plik wygląda na zapisany w kodowaniu ...\", także\n"
    "dla pliku poprawnego, którego litery czytają się lepiej w innym kodowaniu (jego kod\n"
    "wyjścia pozostaje 0). Gdy dwa odczyty są równie prawdopodobne, linia brzmi \"PLIK:\n"
    "plik może być zapisany w kodowaniu ... albo ...\" i --convert wymaga --from, jak\n"
    "dla pliku z błędami, którego kodowania nie da się rozpoznać.\n"
    "Przy --convert o kodzie wyjścia decyduje sprawdzenie zapisanej kopii.\n"
    "\n"
    "Po podsumowaniu znaków pliku z błędnymi numerami rachunków lub polami przelewów\n"
    "pada linia \"PLIK: Błędne numery rachunków i pola przelewów: N\". Rekord z tym\n"
    "samym rachunkiem kontrahenta, kwotą i tytułem co wcześniejszy oraz rachunek\n"
    "zleceniodawcy inny niż w pierwszym rekordzie to ostrzeżenia (\"PLIK:LINIA:KOLUMNA:\n"
    "pole: ostrzeżenie: ... co w linii N\", na końcu \"PLIK: Ostrzeżenia: N\"); nie\n"
    "zmieniają kodu wyjścia.\n"
    "\n"
    "Kod wyjścia: 0 gdy wszystkie pliki są poprawne, 1 gdy któryś zawiera błędne\n"
    "linie, numery rachunków lub pola przelewów, 2 gdy któregoś nie udało się odczytać lub zapisać "
    "albo argumenty są złe.\n";

int BladUzycia(const std::string& co) {
  TWyjscie err(STDERR_FILENO);
  err << "weryfikuj-plik: " << co << "\n\n" << kUzycie;
  return kAwaria;
}

}  // namespace

TArgumenty CzytajArgumenty(int argc, char** argv) {
  TArgumenty wynik;
  TOpcje& o = wynik.opcje;
  const std::vector<std::string> args = konsola::Argumenty(argc, argv);
  bool koniecOpcji = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view a = args[i];
    if (koniecOpcji || a.size() < 2 || a[0] != '-') {
      o.pliki.emplace_back(a);
    } else if (a == "--") {
      koniecOpcji = true;
    } else if (a == "--help" || a == "-h") {
      TWyjscie(STDOUT_FILENO) << kUzycie;
      wynik.koniec = kPoprawny;
      return wynik;
    } else if (a == "--lista-profili") {
      TWyjscie out(STDOUT_FILENO);
      for (const profile::TProfil& p : profile::Wbudowane())
        out << kodowanie::cp1250::ToUtf8(p.nazwa) << ": " << kodowanie::cp1250::ToUtf8(p.zrodlo)
            << "\n";
      wynik.koniec = kPoprawny;
      return wynik;
    } else if (a == "--profil" || a.starts_with("--profil=")) {
      if (o.profil) {
        wynik.koniec = BladUzycia("--profil podano więcej niż raz");
        return wynik;
      }
      if (a == "--profil") {
        if (i + 1 >= args.size()) {
          wynik.koniec = BladUzycia("--profil wymaga nazwy profilu albo pliku");
          return wynik;
        }
        o.profil = args[++i];
      } else {
        o.profil = std::string(a.substr(9));
      }
    } else if (a == "--version" || a == "-V") {
      TWyjscie(STDOUT_FILENO) << "weryfikuj-plik " WERSJA "\n";
      wynik.koniec = kPoprawny;
      return wynik;
    } else if (a == "--fix") {
      o.popraw = true;
    } else if (a == "--quiet" || a == "-q") {
      o.cicho = true;
    } else if (a == "--tylko-znaki") {
      o.tylkoZnaki = true;
    } else if (a == "--podsumowanie") {
      o.podsumowanie = true;
    } else if (a == "--convert") {
      o.przekoduj = true;
    } else if (a == "--from" || a.starts_with("--from=")) {
      std::string_view nazwa;
      if (a == "--from") {
        if (i + 1 >= args.size()) {
          wynik.koniec = BladUzycia("--from wymaga nazwy kodowania");
          return wynik;
        }
        nazwa = args[++i];
      } else {
        nazwa = a.substr(7);
      }
      o.z = kodowanie::ZNazwy(nazwa);
      if (!o.z) {
        wynik.koniec = BladUzycia("nieznane kodowanie " + std::string(nazwa));
        return wynik;
      }
    } else if (a == "--wykaz-bankow" || a.starts_with("--wykaz-bankow=")) {
      if (a == "--wykaz-bankow" && i + 1 < args.size()) o.wykazBankow = args[++i];
      if (a != "--wykaz-bankow") o.wykazBankow = std::string(a.substr(15));
      if (!o.wykazBankow || o.wykazBankow->empty()) {
        wynik.koniec = BladUzycia("--wykaz-bankow wymaga nazwy pliku");
        return wynik;
      }
    } else if (a == "--report" || a.starts_with("--report=")) {
      if (o.raport) {
        wynik.koniec = BladUzycia("--report podano więcej niż raz");
        return wynik;
      }
      if (a == "--report") {
        if (i + 1 >= args.size()) {
          wynik.koniec = BladUzycia("--report wymaga nazwy pliku");
          return wynik;
        }
        o.raport = args[++i];
      } else {
        o.raport = std::string(a.substr(9));
      }
      if (o.raport->empty()) {
        wynik.koniec = BladUzycia("--report wymaga nazwy pliku");
        return wynik;
      }
    } else {
      wynik.koniec = BladUzycia("nieznana opcja " + std::string(a));
      return wynik;
    }
  }
  if (o.pliki.empty()) {
    wynik.koniec = BladUzycia("nie podano pliku do sprawdzenia");
  } else if (o.raport && o.pliki.size() != 1) {
    wynik.koniec = BladUzycia("--report można podać tylko z jednym plikiem");
  } else if (o.podsumowanie && o.tylkoZnaki) {
    wynik.koniec = BladUzycia("--podsumowanie nie łączy się z --tylko-znaki");
  } else if (o.z && !o.przekoduj) {
    wynik.koniec = BladUzycia("--from działa tylko z --convert");
  } else if (o.przekoduj && (o.popraw || o.raport)) {
    // Both would write what --convert writes, or describe a file it replaces.
    wynik.koniec = BladUzycia("--convert nie łączy się z --fix ani --report");
  }
  return wynik;
}

std::optional<int> UstawProfil(const TOpcje& o) {
  if (!o.profil) return std::nullopt;
  try {
    // A name is given as the user types it: in the console's UTF-8.
    const std::string nazwa = kodowanie::cp1250::FromUtf8Lossy(*o.profil);
    const auto& wbudowane = profile::Wbudowane();
    const auto it = std::find_if(wbudowane.begin(), wbudowane.end(),
                                 [&](const profile::TProfil& p) { return p.nazwa == nazwa; });
    profile::UzyjProfilu(it != wbudowane.end() ? *it : profile::WczytajProfil(*o.profil));
  } catch (const profile::EProfil& e) {
    TWyjscie(STDERR_FILENO) << "weryfikuj-plik: " << e.what() << "\n";
    return kAwaria;
  }
  return std::nullopt;
}

}  // namespace cli
