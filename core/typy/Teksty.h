#pragma once
// The words of a check, held in Windows-1250 as the user sees them: the
// validator's, the outcome's, what a correction did, a file that changed
// while it was read. Other texts stay beside their one user: the report's
// lines in raport/UtworzLOG.cpp, a finding's words in rachunki/, the
// diagnosis' sentences in diagnoza/, the checker's output in cli/, and
// what the windows say (captions, buttons, column headers, their
// questions) in the ui's TekstyOkien.h.
#include "kodowanie/Cp1250.h"

namespace Typy::teksty {

inline constexpr kodowanie::cp1250::Literal CiagPusty{u8"Ciąg nie może być pusty"};
inline constexpr kodowanie::cp1250::Literal BledneZnaki{u8"Stwierdzono błędne znaki"};

inline constexpr kodowanie::cp1250::Literal PlikPoprawny{
    u8"Format kodowania wczytanej listy płac jest poprawny."};
inline constexpr kodowanie::cp1250::Literal PlikZBledami{
    u8"Wczytany plik zawiera błędy, które uniemożliwiają wczytanie pliku do sytemu "
    u8"bankowości internetowej."};
inline constexpr kodowanie::cp1250::Literal TylkoBledneZnaki{u8"Wolno zmieniać tylko błędne znaki"};
inline constexpr kodowanie::cp1250::Literal ZapisanoPoczatek{
    u8"Zmieniony zbiór zapisano do pliku o nazwie "};
inline constexpr kodowanie::cp1250::Literal ZapisanoKoniec{
    u8" w tym samym katalogu co zbiór źródłowy"};
inline constexpr kodowanie::cp1250::Literal IloscBlednychLinii{u8"Ilość błędnych linii w zbiorze:"};
inline constexpr kodowanie::cp1250::Literal BledneRachunki{
    u8"Błędne numery rachunków i pola przelewów:"};
inline constexpr kodowanie::cp1250::Literal PlikZmienilSie{
    u8"plik zmienił się w trakcie sprawdzania; niczego nie zapisano, sprawdź go ponownie"};

}  // namespace Typy::teksty
