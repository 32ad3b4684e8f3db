#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "linie/SprawdzLinie.h"
#include "typy/KorektaZnaku.h"
#include "typy/Typy.h"

using namespace Typy;
using namespace linie;

namespace {

// A checked file of the given lines, with the first error selected.
void Wczytaj(TStan& s, const std::vector<std::string>& linie) {
  for (std::size_t i = 0; i < linie.size(); ++i) {
    s.LinieOrg.push_back(linie[i]);
    SprawdzLinie(s, static_cast<std::int32_t>(i), s.LinieOrg[i]);
  }
  s.WybranyBlad = s.Bledy.empty() ? -1 : 0;
}

// Every corrected line as long as the line read.
void OczekujDlugosci(const TStan& s) {
  for (std::size_t i = 0; i < s.LinieOrg.size(); ++i)
    EXPECT_EQ(s.LinieNew[i].size(), s.LinieOrg[i].size()) << "line " << i;
}

constexpr char kA = '\xB9';  // a Polish letter: not faulty

}  // namespace

TEST(PokazWybranyZnak, showsByteAsReadAndAsItNowStands) {
  TStan s;
  Wczytaj(s, {std::string("A\tB\x96") + kA});
  const long long row = 1;

  auto z = PokazWybranyZnak(s, row, 1);
  EXPECT_EQ(s.WybranaPozycja, 2);
  EXPECT_EQ(z.Pokazanie, TPokazanie::Znak);
  EXPECT_EQ(z.ZnakOrg, '\t');
  EXPECT_EQ(z.ZnakNew, '?');

  z = PokazWybranyZnak(s, row, 0);
  EXPECT_EQ(s.WybranaPozycja, 1);
  EXPECT_EQ(z.ZnakOrg, 'A');
  EXPECT_EQ(z.ZnakNew, 'A');

  z = PokazWybranyZnak(s, row, 4);  // the last byte
  EXPECT_EQ(s.WybranaPozycja, 5);
  EXPECT_EQ(z.ZnakOrg, kA);
  EXPECT_EQ(z.ZnakNew, kA);

  // After a change the field shows the replacement, the source byte stays.
  PokazWybranyZnak(s, row, 3);
  ASSERT_EQ(ZatwierdzZnak(s, 'x'), TWynikZmiany::Zmieniono);
  z = PokazWybranyZnak(s, row, 3);
  EXPECT_EQ(z.ZnakOrg, '\x96');
  EXPECT_EQ(z.ZnakNew, 'x');
}

TEST(PokazWybranyZnak, doesNothingWithoutSelectionOrCaret) {
  TStan s;
  Wczytaj(s, {"a\x01"});
  s.WybranaPozycja = 7;
  const auto nic = [&](int blad, long long row, long long caret) {
    s.WybranyBlad = blad;
    const auto z = PokazWybranyZnak(s, row, caret);
    EXPECT_EQ(z.Pokazanie, TPokazanie::BezZmian) << blad << " " << row << " " << caret;
    EXPECT_EQ(s.WybranaPozycja, 7);
  };
  nic(-1, 1, 0);  // no error selected
  nic(0, 0, 0);   // the header row
  nic(0, -1, 0);
  nic(0, 1, -1);            // no caret
  nic(1, 1, 0);             // a selection from a file with more errors
  nic(0, 1, 0x7FFFFFFFLL);  // a position the state cannot hold
}

TEST(PokazWybranyZnak, outsideTheLineShowsEmptyFields) {
  TStan s;
  Wczytaj(s, {"ab\x01", ""});  // an empty line is an error too
  ASSERT_EQ(s.Bledy.size(), 2u);

  // The caret after the last character.
  auto z = PokazWybranyZnak(s, 1, 3);
  EXPECT_EQ(z.Pokazanie, TPokazanie::Puste);
  EXPECT_EQ(s.WybranaPozycja, 4);

  s.WybranyBlad = 1;
  z = PokazWybranyZnak(s, 2, 0);
  EXPECT_EQ(z.Pokazanie, TPokazanie::Puste);
  EXPECT_EQ(s.WybranaPozycja, 1);
}

TEST(ZatwierdzZnak, changesOnlyFaultyPositionsOfTheCorrectedCopy) {
  TStan s;
  const std::string org = std::string("A\tB\x96") + kA + "\x01";
  Wczytaj(s, {"clean", org});
  const TRecError przed = s.Bledy[0];

  PokazWybranyZnak(s, 1, 1);
  EXPECT_EQ(ZatwierdzZnak(s, 'x'), TWynikZmiany::Zmieniono);
  EXPECT_EQ(s.LinieNew[1], std::string("AxB?") + kA + "?");

  // Again at the same place: the second character stays.
  EXPECT_EQ(ZatwierdzZnak(s, 'y'), TWynikZmiany::Zmieniono);
  EXPECT_EQ(s.LinieNew[1], std::string("AyB?") + kA + "?");

  // The last byte of the line; "?" and faulty bytes go in as typed.
  PokazWybranyZnak(s, 1, 5);
  EXPECT_EQ(ZatwierdzZnak(s, '\x02'), TWynikZmiany::Zmieniono);
  PokazWybranyZnak(s, 1, 3);
  EXPECT_EQ(ZatwierdzZnak(s, '?'), TWynikZmiany::Zmieniono);
  EXPECT_EQ(s.LinieNew[1], std::string("AyB?") + kA + "\x02");

  // A printable byte and a Polish letter may not change.
  const std::string teraz = s.LinieNew[1];
  for (long long caret : {0, 2, 4}) {
    PokazWybranyZnak(s, 1, caret);
    EXPECT_EQ(ZatwierdzZnak(s, 'z'), TWynikZmiany::NieWolno) << caret;
  }
  EXPECT_EQ(s.LinieNew[1], teraz);

  // The source and the error list describe the file as read.
  EXPECT_EQ(s.LinieOrg[1], org);
  EXPECT_EQ(s.LinieNew[0], "clean");
  EXPECT_EQ(s.Bledy[0], przed);
  OczekujDlugosci(s);
}

TEST(ZatwierdzZnak, keptPositionAppliesToTheNewlySelectedLine) {
  TStan s;
  Wczytaj(s, {"ab\x01"
              "d",
              "ok",
              "\x05"
              "bc",
              "xx\x07", "\x03"});
  ASSERT_EQ(s.Bledy.size(), 4u);
  PokazWybranyZnak(s, 1, 2);
  ASSERT_EQ(s.WybranaPozycja, 3);

  s.WybranyBlad = 1;  // line 2: position 3 holds "c"
  EXPECT_EQ(ZatwierdzZnak(s, 'Z'), TWynikZmiany::NieWolno);
  EXPECT_EQ(s.LinieNew[2], "?bc");

  s.WybranyBlad = 2;  // line 3: position 3 is faulty
  EXPECT_EQ(ZatwierdzZnak(s, 'Z'), TWynikZmiany::Zmieniono);
  EXPECT_EQ(s.LinieNew[3], "xxZ");
  EXPECT_EQ(s.LinieNew[0], "ab?d");

  s.WybranyBlad = 3;  // line 4 is one byte long: position 3 lies outside
  EXPECT_EQ(ZatwierdzZnak(s, 'Z'), TWynikZmiany::Nic);
  EXPECT_EQ(s.LinieNew[4], "?");
  OczekujDlugosci(s);
}

TEST(ZatwierdzZnak, doesNothingWithoutAPlaceOrACharacter) {
  TStan s;
  Wczytaj(s, {"a\x01", ""});
  const auto nic = [&](std::optional<char> c) {
    EXPECT_EQ(ZatwierdzZnak(s, c), TWynikZmiany::Nic) << s.WybranyBlad << " " << s.WybranaPozycja;
    EXPECT_EQ(s.LinieNew[0], "a?");
    EXPECT_EQ(s.LinieNew[1], "");
  };

  // Before the first pick.
  s.WybranaPozycja = 0;
  nic('x');
  s.WybranaPozycja = -3;
  nic('x');

  // No error selected, or one left from an earlier file.
  s.WybranaPozycja = 2;
  s.WybranyBlad = -1;
  nic('x');
  s.WybranyBlad = 5;
  nic('x');

  // An empty field, at a faulty place and at a clean one.
  s.WybranyBlad = 0;
  nic(std::nullopt);
  s.WybranaPozycja = 1;
  nic(std::nullopt);

  // After the line's end, and in an empty line.
  PokazWybranyZnak(s, 1, 2);
  nic('x');
  s.WybranyBlad = 1;
  PokazWybranyZnak(s, 2, 0);
  nic('x');
  OczekujDlugosci(s);
}
