#pragma once
// What the windows and the program's dialogs say of their own: captions,
// buttons, column headers, their questions and messages, held in
// Windows-1250 as the user sees them. The words of a check that the core
// and the checker say too are in typy/Teksty.h.
#include "kodowanie/Cp1250.h"
#include "typy/Teksty.h"

namespace ui::teksty {

namespace okno_glowne {

inline constexpr kodowanie::cp1250::Literal kTytulOkna{u8"Tarmeko_weryfikacja_pliku"};
#ifdef WERSJA
// The version comes from the project's one definition, as the package's
// does (defined for the ui's own files).
inline constexpr kodowanie::cp1250::Literal kTytulWersji{
    u8"Tarmeko_weryfikacja_pliku v." WERSJA u8" (alfa '2022)"};
#endif
inline constexpr kodowanie::cp1250::Literal kSprawdz{u8"Sprawdź plik z przelewami"};
inline constexpr kodowanie::cp1250::Literal kZapisz{u8"Zapisz poprawiony plik"};
inline constexpr kodowanie::cp1250::Literal kPokazLog{u8"Pokaż plik LOG z błędami"};
inline constexpr kodowanie::cp1250::Literal kListaBledow{u8"Lista błędów"};
// The count's caption is the checker's too.
inline constexpr const auto& kIloscLinii = Typy::teksty::IloscBlednychLinii;
inline constexpr kodowanie::cp1250::Literal kSzczegoly{u8"Szczegóły wybranego błędu"};
inline constexpr kodowanie::cp1250::Literal kBlednaLinia{u8"Błędna linia w pliku źródłowym"};
inline constexpr kodowanie::cp1250::Literal kPoprawiona{u8"Poprawiona linia"};
inline constexpr kodowanie::cp1250::Literal kBledneZnaki{
    u8"Błędne znaki wraz z pozycją znaku w linii"};
inline constexpr kodowanie::cp1250::Literal kOryginalny{u8"Oryginalny znak"};
inline constexpr kodowanie::cp1250::Literal kNowy{u8"Nowy znak"};
inline constexpr kodowanie::cp1250::Literal kZatwierdz{u8"Zatwierdź nowy znak"};
inline constexpr kodowanie::cp1250::Literal kPopraw{u8"Popraw automatycznie…"};
inline constexpr kodowanie::cp1250::Literal kPokazRachunki{u8"Pokaż…"};
// After the outcome dialog, when the file has account findings: that
// dialog speaks of the characters alone, and its "poprawny" reads as done.
inline constexpr kodowanie::cp1250::Literal kPytanieBledy{
    u8"W pliku są błędne numery rachunków lub pola przelewów: "};
inline constexpr kodowanie::cp1250::Literal kPytanieBledyDalej{
    u8". Bank może takie przelewy odrzucić albo wysłać pieniądze komu innemu."};
inline constexpr kodowanie::cp1250::Literal kPytanieOstrzezenia{
    u8"Przelewy, które wyglądają na pomyłkę (ten sam przelew drugi raz albo inny rachunek "
    u8"zleceniodawcy): "};
inline constexpr kodowanie::cp1250::Literal kPytaniePokazac{u8"Pokazać je teraz?"};
inline constexpr kodowanie::cp1250::Literal kOstrzezeniaPaska{u8", ostrzeżenia: "};
// The caption of the selected line's details.
inline constexpr kodowanie::cp1250::Literal kLiniaNr{u8"Błędna linia nr "};
inline constexpr kodowanie::cp1250::Literal kWPliku{u8" w pliku źródłowym"};
// A list of banks named in the settings that cannot be read.
inline constexpr kodowanie::cp1250::Literal kNieWczytano{u8"Nie udało się wczytać wykazu banków "};
inline constexpr kodowanie::cp1250::Literal kWbudowany{
    u8"Numery rozliczeniowe są sprawdzane według wykazu wbudowanego (stan na "};
// The column headers of the two lists.
inline constexpr kodowanie::cp1250::Literal kLp{u8"Lp"};
inline constexpr kodowanie::cp1250::Literal kNrLinii{u8"Nr linii"};
inline constexpr kodowanie::cp1250::Literal kBlad{u8"Błąd"};
inline constexpr kodowanie::cp1250::Literal kBledneZnakiKolumna{u8"Błędne znaki"};
inline constexpr kodowanie::cp1250::Literal kZnak{u8"Znak"};
inline constexpr kodowanie::cp1250::Literal kPozycja{u8"Pozycja w linii"};

}  // namespace okno_glowne

namespace okno_raportu {

inline constexpr kodowanie::cp1250::Literal kZapisz{u8"Zapi&sz plik LOG"};
inline constexpr kodowanie::cp1250::Literal kDrukuj{u8"&Drukuj"};
inline constexpr kodowanie::cp1250::Literal kZamknij{u8"&Zamknij"};
inline constexpr kodowanie::cp1250::Literal kLinia{u8"Linia:"};
inline constexpr kodowanie::cp1250::Literal kKolumna{u8"Kolumna:"};
inline constexpr kodowanie::cp1250::Literal kTytul{u8"Plik LOG"};
inline constexpr kodowanie::cp1250::Literal kBrakDrukarki{
    u8"There is no default printer currently selected"};
inline constexpr kodowanie::cp1250::Literal kZlaDrukarka{u8"Printer selected is not valid"};
inline constexpr kodowanie::cp1250::Literal kDrukowanieTrwa{u8"Printing in progress"};

}  // namespace okno_raportu

namespace okno_rachunkow {

inline constexpr kodowanie::cp1250::Literal kTytul{u8"Błędne numery rachunków i pola przelewów"};
inline constexpr kodowanie::cp1250::Literal kLinia{u8"Linia"};
inline constexpr kodowanie::cp1250::Literal kKolumna{u8"Kolumna"};
inline constexpr kodowanie::cp1250::Literal kPole{u8"Pole"};
inline constexpr kodowanie::cp1250::Literal kBlad{u8"Co jest błędne"};
inline constexpr kodowanie::cp1250::Literal kWartosc{u8"Wartość w pliku"};
inline constexpr kodowanie::cp1250::Literal kLiniaNr{u8"Linia nr "};
inline constexpr kodowanie::cp1250::Literal kKolumnaNr{u8", kolumna "};
inline constexpr kodowanie::cp1250::Literal kZamknij{u8"Zamknij"};
inline constexpr kodowanie::cp1250::Literal kBank{u8"Bank"};
inline constexpr kodowanie::cp1250::Literal kBankPrzecinek{u8", bank: "};
inline constexpr kodowanie::cp1250::Literal kWykaz{u8"Wykaz banków…"};
inline constexpr kodowanie::cp1250::Literal kWykazStan{u8"Wykaz banków NBP: stan na "};

}  // namespace okno_rachunkow

// The message facility's dialogs and the file dialogs.
namespace komunikaty {

inline constexpr kodowanie::cp1250::Literal kOstrzezenie{u8"Warning"};
inline constexpr kodowanie::cp1250::Literal kInformacja{u8"Information"};
inline constexpr kodowanie::cp1250::Literal kOK{u8"OK"};
inline constexpr kodowanie::cp1250::Literal kNieznanyBlad{u8"Unknown error"};
inline constexpr kodowanie::cp1250::Literal kPlikiTxt{u8"Pliki TXT (*.TXT)"};
inline constexpr kodowanie::cp1250::Literal kWykazBankow{u8"Wykaz banków (*.JSON)"};
inline constexpr kodowanie::cp1250::Literal kPlikiTekstowe{u8"Pliki tekstowe (*.TXT)"};
#ifdef _WIN32
inline constexpr kodowanie::cp1250::Literal kWszystkiePliki{u8"Wszystkie pliki (*.*)"};
#else
inline constexpr kodowanie::cp1250::Literal kWszystkiePliki{u8"Wszystkie pliki (*)"};
#endif

}  // namespace komunikaty

}  // namespace ui::teksty
