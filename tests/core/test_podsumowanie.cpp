// The transfers' count and sums, and the warnings about a transfer written
// twice or paid from another account: generated payrolls against sums and
// lines the test works out by itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "ModelNrb.h"
#include "TestSupport.h"
#include "rachunki/Podsumowanie.h"
#include "rachunki/PodsumowanieStanu.h"
#include "rachunki/Uwagi.h"
#include "rekord/PolaRekordu.h"

using namespace rachunki;
using test_support::ModelValid;
using test_support::RekordElixirO;

namespace {

// "1 234,56": the złoty as decimal text with a space put in every three
// digits from the right.
std::string Zl(std::uint64_t grosze) {
  const std::string cyfry = std::to_string(grosze / 100);
  std::string z;
  for (std::size_t i = 0; i < cyfry.size(); ++i) {
    if (i > 0 && (cyfry.size() - i) % 3 == 0) z += ' ';
    z += cyfry[i];
  }
  char g[8];
  std::snprintf(g, sizeof g, ",%02u", static_cast<unsigned>(grosze % 100));
  return z + g;
}

struct TOczekiwane {
  std::uint64_t ile = 0, grosze = 0;
};

// A generated payroll and what the test knows of it.
struct TLista {
  std::string bajty;
  TOczekiwane razem;
  std::map<std::string, TOczekiwane> daty;   // "2024-03-28"
  std::map<std::string, TOczekiwane> banki;  // sort code
  // line -> the earlier line a warning must name, and which warning
  std::map<std::uint64_t, std::pair<std::uint64_t, Ostrzezenie>> ostrzezenia;
};

TLista Generuj(unsigned seed, int rekordow) {
  std::mt19937 rng(seed);
  TLista l;
  // Accounts of banks on the list, or each would be a finding.
  const std::string platnik = ModelValid(rng, "10500015"), inny = ModelValid(rng, "10202892");
  const std::vector<std::string> banki = {"10901014", "10202892", "11402004", "24900005"};
  std::vector<std::string> odbiorcy;
  for (int i = 0; i < 30; ++i) odbiorcy.push_back(ModelValid(rng, banki[rng() % banki.size()]));
  const char* const daty[] = {"20240328", "20240329", "20240402"};
  // What each written transfer was, to plant the same one again later.
  struct TZapisany {
    std::string odbiorca, kwota, tytul;
    std::uint64_t linia;
  };
  std::vector<TZapisany> zapisane;
  std::set<std::string> klucze;
  std::uint64_t nr = 0;
  for (int i = 1; i <= rekordow; ++i) {
    std::string rodzaj = "110", data = daty[rng() % 3], odbiorca, kwota, tytul, od = platnik;
    const bool drugi = i > 5 && rng() % 10 == 0;
    if (drugi) {
      // The same transfer again, its amount written with leading zeros
      // now and then: the same money.
      const TZapisany& z = zapisane[rng() % zapisane.size()];
      odbiorca = z.odbiorca;
      kwota = (rng() % 2 ? "00" : "") + z.kwota;
      tytul = z.tytul;
      l.ostrzezenia[nr + 1] = {z.linia, Ostrzezenie::TenSamPrzelew};
    } else {
      odbiorca = odbiorcy[rng() % odbiorcy.size()];
      // Amounts of 1 to 15 digits: as read a digit at a time, eight at a
      // time and sixteen (17 with the zeros above).
      kwota = std::to_string(1 + rng() % 9);
      for (unsigned c = rng() % 15; c > 0; --c) kwota += static_cast<char>('0' + rng() % 10);
      tytul = "Wynagrodzenie " + std::to_string(i % 7) + "/2024";
      if (!klucze.insert(odbiorca + "," + kwota + "," + tytul).second) continue;
      zapisane.push_back({odbiorca, kwota, tytul, nr + 1});
    }
    ++nr;
    if (i % 97 <= 1 && i > 1 && !drugi) {
      // Paid from another account, now and then twice in a row: a warning
      // naming the first record each time.
      od = inny;
      l.ostrzezenia[nr] = {1, Ostrzezenie::InnyRachunekZleceniodawcy};
    }
    if (i % 61 == 0) rodzaj = "210";  // a direct debit: counted apart
    std::string rekord = RekordElixirO(rodzaj, data, kwota, od, odbiorca, tytul);
    if (i % 13 == 0 && od == platnik) {
      // The payer's account now and then written in groups of four digits:
      // the same account, no warning.
      std::string grupy = od;
      for (int k = 22; k >= 2; k -= 4) grupy.insert(static_cast<std::size_t>(k), " ");
      rekord.replace(rekord.find(od), od.size(), grupy);
    }
    l.bajty += rekord + "\r\n";
    if (rodzaj == "210") continue;
    const std::uint64_t g = std::stoull(kwota);
    for (TOczekiwane* o :
         {&l.razem, &l.daty[data.substr(0, 4) + "-" + data.substr(4, 2) + "-" + data.substr(6, 2)],
          &l.banki[odbiorca.substr(2, 8)]}) {
      ++o->ile;
      o->grosze += g;
    }
  }
  return l;
}

}  // namespace

TEST(Podsumowanie, AmountsAreGroupedByThousandsWithTheirGrosze) {
  const std::pair<TGrosze, const char*> przypadki[] = {
      {0, "0,00"},       {5, "0,05"},          {100, "1,00"},
      {99999, "999,99"}, {100000, "1 000,00"}, {123456789, "1 234 567,89"},
  };
  for (const auto& [g, tekst] : przypadki) EXPECT_EQ(Kwota(g), tekst);
  // Past 64 bits, as a file of very many large amounts could sum to.
  const TGrosze duzo = TGrosze{1000000000000000000ull} * 1000;
  EXPECT_EQ(Kwota(duzo), "10 000 000 000 000 000 000,00");
}

TEST(Podsumowanie, GeneratedPayrollsSumAsTheTestSumsThemAndWarnWhereTheyRepeat) {
  for (unsigned seed : {1u, 2u, 3u}) {
    SCOPED_TRACE(seed);
    const TLista l = Generuj(seed, 400);
    Typy::TStan s;
    testing_core::ReadBytes(s, l.bajty);
    const TRachunkiStanu r = SprawdzIPodsumujStan(s);
    EXPECT_TRUE(r.uwagi.empty());

    std::map<std::uint64_t, std::pair<std::uint64_t, Ostrzezenie>> ostrzezenia;
    for (const TOstrzezenieLinii& o : r.ostrzezenia) {
      EXPECT_EQ(ostrzezenia.count(o.linia), 0u) << "two warnings at line " << o.linia;
      ostrzezenia[o.linia] = {o.ostrzezenie.innaLinia, o.ostrzezenie.rodzaj};
      // The warning stands at the account it is about.
      const std::string_view linia = s.LinieOrg[o.linia - 1];
      EXPECT_EQ(o.ostrzezenie.Wartosc(linia).size(), 26u);
    }
    EXPECT_EQ(ostrzezenia, l.ostrzezenia);
    EXPECT_GT(l.ostrzezenia.size(), 20u);

    // The lines both programs show, against the test's own sums.
    std::vector<std::string> oczekiwane{"przelewów: " + std::to_string(l.razem.ile) +
                                        ", razem: " + Zl(l.razem.grosze) + " zł"};
    for (const auto& [d, o] : l.daty)
      oczekiwane.push_back(d + ": przelewów: " + std::to_string(o.ile) +
                           ", razem: " + Zl(o.grosze) + " zł");
    for (const auto& [b, o] : l.banki)
      oczekiwane.push_back("bank " + b + ": przelewów: " + std::to_string(o.ile) +
                           ", razem: " + Zl(o.grosze) + " zł");
    std::vector<std::string> linie;
    for (const std::string& x : LiniePodsumowania(r.sumy))
      linie.push_back(kodowanie::cp1250::ToUtf8(x));
    ASSERT_GE(linie.size(), oczekiwane.size());
    EXPECT_EQ(std::vector<std::string>(linie.begin(), linie.begin() + oczekiwane.size()),
              oczekiwane);
    // Then the direct debits, which are never added to the transfers.
    EXPECT_EQ(linie.size(), oczekiwane.size() + 1);
    EXPECT_TRUE(linie.back().starts_with("poleceń zapłaty: ")) << linie.back();
  }
}

TEST(Podsumowanie, OnlyTheSamePayeeAmountAndTitleIsATransferWrittenTwice) {
  std::mt19937 rng(5);
  const std::string p = ModelValid(rng), a = ModelValid(rng), b = ModelValid(rng);
  struct TPrzypadek {
    const char* co;
    std::string druga;
    bool ostrzezenie;
  };
  const std::string pierwsza = RekordElixirO("110", "20240328", "150000", p, a, "Pensja");
  const TPrzypadek przypadki[] = {
      {"the same", pierwsza, true},
      {"another date", RekordElixirO("110", "20240401", "150000", p, a, "Pensja"), true},
      {"the account grouped",
       RekordElixirO("110", "20240328", "150000", p,
                     a.substr(0, 2) + " " + a.substr(2, 4) + " " + a.substr(6, 4) + " " +
                         a.substr(10, 4) + " " + a.substr(14, 4) + " " + a.substr(18, 4) + " " +
                         a.substr(22, 4),
                     "Pensja"),
       true},
      {"another payee", RekordElixirO("110", "20240328", "150000", p, b, "Pensja"), false},
      {"another amount", RekordElixirO("110", "20240328", "150001", p, a, "Pensja"), false},
      {"another title", RekordElixirO("110", "20240328", "150000", p, a, "Premia"), false},
      {"the title's case", RekordElixirO("110", "20240328", "150000", p, a, "PENSJA"), false},
  };
  for (const TPrzypadek& x : przypadki) {
    SCOPED_TRACE(x.co);
    TSprawdzanieLinii sprawdzanie;
    TPodsumowanie podsumowanie;
    std::vector<TOstrzezenie> w;
    std::uint64_t nr = 0;
    for (const std::string& linia : {pierwsza, x.druga}) {
      sprawdzanie.Sprawdz(linia);
      ASSERT_NE(sprawdzanie.Pola(), nullptr);
      w = podsumowanie.Rekord(++nr, linia, *sprawdzanie.Pola());
    }
    ASSERT_EQ(w.size(), x.ostrzezenie ? 1u : 0u);
    if (x.ostrzezenie) {
      EXPECT_EQ(w[0].innaLinia, 1u);
      EXPECT_EQ(w[0].pole, Pole::RachunekKontrahenta);
      EXPECT_EQ(kodowanie::cp1250::ToUtf8(w[0].Opis()),
                "ostrzeżenie: ten sam przelew co w linii 1");
    }
    EXPECT_EQ(podsumowanie.Ostrzezen(), w.size());
  }
}

// A payee account after "PL" with a digit lost is no account to the
// summary either, as it is none to the record's check: two such records
// to different payees are not one transfer twice, and their money goes to
// the bank their sort code field names.
TEST(Podsumowanie, AnAccountADigitShortIsNoPayeeToRepeatOrSum) {
  std::mt19937 rng(8);
  const std::string p = ModelValid(rng), a = ModelValid(rng), b = ModelValid(rng);
  TSprawdzanieLinii sprawdzanie;
  TPodsumowanie podsumowanie;
  std::uint64_t nr = 0;
  for (const std::string& k : {a, b}) {
    std::string linia = RekordElixirO("110", "20240328", "150000", p, k, "Pensja");
    linia.replace(linia.find(k), k.size(), "PL" + k.substr(0, 25));
    sprawdzanie.Sprawdz(linia, &podsumowanie);
    ASSERT_NE(sprawdzanie.Pola(), nullptr);
    EXPECT_TRUE(podsumowanie.Rekord(++nr, linia, *sprawdzanie.Pola()).empty()) << nr;
  }
  std::map<std::uint32_t, std::uint64_t> banki;
  for (const auto& [kod, suma] : podsumowanie.Sumy().banki) banki[kod] = suma.ile;
  const std::uint32_t ka = std::stoul(a.substr(2, 8)), kb = std::stoul(b.substr(2, 8));
  EXPECT_EQ(banki, (ka == kb ? std::map<std::uint32_t, std::uint64_t>{{ka, 2}}
                             : std::map<std::uint32_t, std::uint64_t>{{ka, 1}, {kb, 1}}));
}

// A long state is checked on two threads, its second half's records summed
// up after the first half's: the findings, warnings and sums are the same
// as on one, wherever the halves part, with repeats, wrong digits and
// bare LFs on both sides of the cut.
TEST(Podsumowanie, TwoThreadsFindWhatOneFinds) {
  for (unsigned seed : {4u, 5u}) {
    SCOPED_TRACE(seed);
    std::string bajty = Generuj(seed, 300).bajty;
    std::mt19937 rng(seed);
    for (int k = 0; k < 60; ++k) {
      // A digit changed somewhere, and a line end left without its CR.
      std::size_t i = rng() % bajty.size();
      if (bajty[i] >= '0' && bajty[i] <= '8') ++bajty[i];
      const std::size_t cr = bajty.find("\r\n", rng() % bajty.size());
      if (cr != std::string::npos) bajty.erase(cr, 1);
    }
    Typy::TStan s;
    testing_core::ReadBytes(s, bajty);
    const TRachunkiStanu jeden = SprawdzIPodsumujStan(s, s.LinieOrg.size() + 1);
    ASSERT_GT(jeden.uwagi.size(), 10u);
    ASSERT_GT(jeden.ostrzezenia.size(), 10u);
    for (std::size_t od : {std::size_t{2}, std::size_t{1}}) {
      const TRachunkiStanu dwa = SprawdzIPodsumujStan(s, od);
      ASSERT_EQ(dwa.uwagi.size(), jeden.uwagi.size());
      for (std::size_t i = 0; i < jeden.uwagi.size(); ++i) {
        EXPECT_EQ(dwa.uwagi[i].linia, jeden.uwagi[i].linia) << i;
        EXPECT_EQ(dwa.uwagi[i].uwaga, jeden.uwagi[i].uwaga) << i;
      }
      ASSERT_EQ(dwa.ostrzezenia.size(), jeden.ostrzezenia.size());
      for (std::size_t i = 0; i < jeden.ostrzezenia.size(); ++i) {
        EXPECT_EQ(dwa.ostrzezenia[i].linia, jeden.ostrzezenia[i].linia) << i;
        EXPECT_EQ(dwa.ostrzezenia[i].ostrzezenie, jeden.ostrzezenia[i].ostrzezenie) << i;
      }
      EXPECT_EQ(LiniePodsumowania(dwa.sumy), LiniePodsumowania(jeden.sumy));
    }
  }
}

TEST(Podsumowanie, WithoutDatesAndBanksTheCountTotalAndWarningsStayTheSame) {
  const TLista l = Generuj(6, 300);
  Typy::TStan s;
  testing_core::ReadBytes(s, l.bajty);
  TPodsumowanie z(true), bez(false);
  std::vector<rekord::TPoleRekordu> pola;
  for (std::uint64_t nr = 1; nr <= s.LinieOrg.size(); ++nr) {
    const std::string_view linia = s.LinieOrg[nr - 1];
    ASSERT_EQ(rekord::PodzielRekord(linia, pola), rekord::Rekord::Tak) << linia;
    EXPECT_EQ(bez.Rekord(nr, linia, pola), z.Rekord(nr, linia, pola)) << nr;
  }
  const TSumy &a = z.Sumy(), &b = bez.Sumy();
  EXPECT_EQ(b.przelewy, a.przelewy);
  EXPECT_EQ(b.polecenia, a.polecenia);
  EXPECT_EQ(b.przelewy.ile, l.razem.ile);
  EXPECT_TRUE(b.daty.empty() && b.banki.empty());
  EXPECT_EQ(a.daty.size(), l.daty.size());
  EXPECT_EQ(bez.Ostrzezen(), l.ostrzezenia.size());
}

TEST(Podsumowanie, DatesAndBanksBeyondTheirBoundAreCountedTogether) {
  std::mt19937 rng(9);
  const std::string p = ModelValid(rng);
  TSprawdzanieLinii sprawdzanie;
  TPodsumowanie podsumowanie;
  const std::size_t ile = kNajwiecejBankow + 10;
  for (std::size_t i = 0; i < ile; ++i) {
    // A new bank every record, a new date every tenth: both run over.
    char data[16];
    std::snprintf(data, sizeof data, "%04zu0101", 1000 + i / 10);
    char bank[16];
    std::snprintf(bank, sizeof bank, "%07zu", i);
    std::string kod = bank;
    for (char c = '0'; c <= '9'; ++c)
      if (test_support::ModelSortCode(kod + c)) {
        kod += c;
        break;
      }
    const std::string linia = RekordElixirO("110", data, "100", p, ModelValid(rng, kod), "T");
    sprawdzanie.Sprawdz(linia);
    ASSERT_NE(sprawdzanie.Pola(), nullptr);
    podsumowanie.Rekord(i + 1, linia, *sprawdzanie.Pola());
  }
  const TSumy& s = podsumowanie.Sumy();
  EXPECT_EQ(s.przelewy.ile, ile);
  EXPECT_EQ(s.przelewy.grosze, TGrosze{100} * ile);
  for (const auto* m : {&s.daty, &s.banki}) {
    std::uint64_t razem = 0;
    for (const auto& [k, x] : *m) razem += x.ile;
    EXPECT_EQ(razem, ile);
    EXPECT_EQ(m->rbegin()->first, kInne);
  }
  EXPECT_EQ(s.daty.size(), kNajwiecejDat + 1);
  EXPECT_EQ(s.banki.size(), kNajwiecejBankow + 1);
  const std::vector<std::string> linie = LiniePodsumowania(s);
  EXPECT_EQ(linie[kNajwiecejDat + 1].substr(0, 14),
            kodowanie::cp1250::Literal{u8"pozostałe daty"}.str());
}

TEST(Podsumowanie, BankLinesTakeTheirNameWhereOneIsKnown) {
  TSumy s;
  s.przelewy = {3, 450000};
  s.banki[10901014] = {2, 300000};
  s.banki[10202892] = {1, 150000};
  s.bezKwoty = 1;
  const auto nazwa = [](std::uint32_t kod) {
    return kod == 10901014 ? std::string("Bank A") : std::string();
  };
  std::vector<std::string> linie;
  for (const std::string& x : LiniePodsumowania(s, nazwa))
    linie.push_back(kodowanie::cp1250::ToUtf8(x));
  const std::vector<std::string> oczekiwane = {
      "przelewów: 3, razem: 4 500,00 zł",
      "bank 10202892: przelewów: 1, razem: 1 500,00 zł",
      "bank 10901014 (Bank A): przelewów: 2, razem: 3 000,00 zł",
      "rekordów z nieczytelną kwotą (nie dodanych): 1",
  };
  EXPECT_EQ(linie, oczekiwane);
}

// The index of records seen grows by doubling, or is sized at once by a
// guess of the records to come, and past 2 MB lies apart from the heap: a
// record repeated after many growths still names its first line, and
// records that differ only in their amount are never taken for repeats,
// whether the guess was right, short, or far too big.
TEST(Podsumowanie, RepeatsAreFoundAcrossTheIndexGrowing) {
  std::mt19937 rng(30);
  const std::string p = ModelValid(rng), k = ModelValid(rng);
  const std::size_t ile = 120000;  // the index passes 2 MB at about 98 000
  auto linia = [&](std::size_t i) {
    return RekordElixirO("110", "20240328", std::to_string(100 + i), p, k, "Pensja");
  };
  for (const std::uint64_t zgadniete :
       {std::uint64_t{0}, std::uint64_t{ile}, std::uint64_t{ile / 10}, std::uint64_t{1} << 40}) {
    SCOPED_TRACE(zgadniete);
    TSprawdzanieLinii sprawdzanie;
    TPodsumowanie podsumowanie;
    std::uint64_t nr = 0;
    auto rekord = [&](const std::string& l) {
      sprawdzanie.Sprawdz(l, &podsumowanie);
      return podsumowanie.Rekord(++nr, l, *sprawdzanie.Pola());
    };
    for (std::size_t i = 0; i < ile; ++i) {
      if (i == 300 && zgadniete) podsumowanie.Oczekuj(zgadniete);
      ASSERT_TRUE(rekord(linia(i)).empty()) << i;
    }
    for (std::size_t i = 0; i < ile; i += 9973) {
      const std::vector<TOstrzezenie> w = rekord(linia(i));
      ASSERT_EQ(w.size(), 1u) << i;
      EXPECT_EQ(w[0].innaLinia, i + 1);
    }
    EXPECT_EQ(podsumowanie.Ostrzezen(), (ile + 9972) / 9973);
    EXPECT_EQ(podsumowanie.Rekordow(), ile);
  }
}
