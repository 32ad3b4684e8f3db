#include "rachunki/Tytuly.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "rachunki/Nrb.h"
#include "rachunki/Uwagi.h"

namespace rachunki {

namespace {

using scan::Cyfra;

using scan::SameCyfry;

// The title with its lines joined, and where each of its bytes stands in
// the line, so a finding points at the value as written.
class TTytul {
 public:
  TTytul(std::string_view linia, const rekord::TPoleRekordu& pole) {
    for (std::size_t i = 0; i < pole.dlugosc; ++i) {
      const char c = linia[pole.poczatek + i];
      if (c == '|') continue;
      t_ += c;
      poz_.push_back(pole.poczatek + i);
    }
    koniec_ = pole.poczatek + pole.dlugosc;
  }
  const std::string& Tekst() const { return t_; }
  // A finding for [od, od + n) of the joined title; an empty value is
  // pointed at where it would stand.
  TUwaga Uwaga(std::size_t od, std::size_t n, Blad b) const {
    const std::size_t p = od < poz_.size() ? poz_[od] : koniec_;
    const std::size_t k = n == 0 ? p : poz_[od + n - 1] + 1;
    return {p + 1, k - p, Pole::Tytul, b};
  }
  TUwaga Calosc(Blad b) const { return Uwaga(0, t_.size(), b); }

 private:
  std::string t_;
  std::vector<std::size_t> poz_;
  std::size_t koniec_ = 0;
};

// The parts after each tag, in the tags' order; the last tag may be left
// out when `ostatniWolny`. False when the title does not start with the
// first tag or a required one is missing.
template <std::size_t N>
bool Czesci(const std::string& t, const std::string_view (&znaczniki)[N], bool ostatniWolny,
            std::size_t (&od)[N], std::size_t (&dl)[N]) {
  if (!t.starts_with(znaczniki[0])) return false;
  std::size_t p = 0;
  for (std::size_t i = 0; i < N; ++i) {
    const std::size_t z = i == 0 ? 0 : t.find(znaczniki[i], p);
    if (z == std::string::npos) {
      if (i + 1 < N || !ostatniWolny) return false;
      od[i] = t.size();
      dl[i] = 0;
      dl[i - 1] = t.size() - od[i - 1];
      return true;
    }
    if (i > 0) dl[i - 1] = z - od[i - 1];
    od[i] = z + znaczniki[i].size();
    p = od[i];
  }
  dl[N - 1] = t.size() - od[N - 1];
  return true;
}

// "12 345,6" is no amount; "230,00" and "230,5" are: at most ten digits, a
// comma, one or two. In grosze, or -1.
std::int64_t KwotaVat(std::string_view s) {
  const std::size_t przecinek = s.find(',');
  if (przecinek == std::string_view::npos || przecinek == 0 || przecinek > 10) return -1;
  const std::string_view calosc = s.substr(0, przecinek), grosze = s.substr(przecinek + 1);
  if (!SameCyfry(calosc) || !SameCyfry(grosze) || grosze.size() > 2) return -1;
  std::int64_t v = 0;
  for (char c : calosc) v = v * 10 + (c - '0');
  return v * 100 + (grosze[0] - '0') * 10 + (grosze.size() == 2 ? grosze[1] - '0' : 0);
}

// A NIP as it is often written, with hyphens ("526-000-12-46"): its digits.
std::string CyfryNip(std::string_view s) {
  std::string c;
  for (char z : s) {
    if (Cyfra(z))
      c += z;
    else if (z != '-')
      return {};
  }
  return c.size() == 10 ? c : std::string();
}

// Two-digit year, the kind of period and its number: R (the year, no
// number), P (half-year 1-2), K (quarter 1-4), M (month 1-12), each number
// of one or two digits; D (ten days: 01-03 and the month) and J (the day:
// day and month) of four. Or "0", no period.
bool OkresPoprawny(std::string_view s) {
  if (s == "0") return true;
  if (s.size() < 3 || !Cyfra(s[0]) || !Cyfra(s[1])) return false;
  const std::string_view n = s.substr(3);
  if (!n.empty() && !SameCyfry(n)) return false;
  auto liczba = [](std::string_view d) {
    int v = 0;
    for (char c : d) v = v * 10 + (c - '0');
    return v;
  };
  auto w = [&](int najwiecej) {
    return (n.size() == 1 || n.size() == 2) && liczba(n) >= 1 && liczba(n) <= najwiecej;
  };
  switch (s[2]) {
    case 'R':
      return n.empty();
    case 'P':
      return w(2);
    case 'K':
      return w(4);
    case 'M':
      return w(12);
    case 'D':
    case 'J': {
      if (n.size() != 4) return false;
      const int a = liczba(n.substr(0, 2)), m = liczba(n.substr(2));
      return a >= 1 && a <= (s[2] == 'D' ? 3 : 31) && m >= 1 && m <= 12;
    }
    default:
      return false;
  }
}

}  // namespace

bool NipPoprawny(std::string_view s) {
  if (s.size() != 10 || !SameCyfry(s)) return false;
  constexpr int kWagi[9] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
  int suma = 0;
  for (int i = 0; i < 9; ++i) suma += kWagi[i] * (s[static_cast<std::size_t>(i)] - '0');
  return suma % 11 == s[9] - '0';
}

bool PeselPoprawny(std::string_view s) {
  if (s.size() != 11 || !SameCyfry(s)) return false;
  constexpr int kWagi[10] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
  int suma = 0;
  for (int i = 0; i < 10; ++i) suma += kWagi[i] * (s[static_cast<std::size_t>(i)] - '0');
  return (10 - suma % 10) % 10 == s[10] - '0';
}

bool Mikrorachunek(std::string_view c) {
  return c.size() == kCyfrNrb && c.substr(2, 11) == "10100071222";
}

void SprawdzTytulPodzielonej(std::string_view linia, const rekord::TPoleRekordu& pole,
                             std::string_view kwota, std::vector<TUwaga>& uwagi) {
  const TTytul tytul(linia, pole);
  const std::string& t = tytul.Tekst();
  // The paper form's "NIP" and "NR" written as tags: the bank's reader
  // finds no /IDC/ or /INV/ and books it as an ordinary transfer.
  if (t.find("/NIP/") != std::string::npos || t.find("/NR/") != std::string::npos) {
    uwagi.push_back(tytul.Calosc(Blad::ZnacznikiPapierowe));
    return;
  }
  static constexpr std::string_view kZnaczniki[] = {"/VAT/", "/IDC/", "/INV/", "/TXT/"};
  std::size_t od[4], dl[4];
  if (!Czesci(t, kZnaczniki, true, od, dl)) {
    uwagi.push_back(tytul.Calosc(Blad::PodzielonaPlatnosc));
    return;
  }
  const std::int64_t vat = KwotaVat(std::string_view(t).substr(od[0], dl[0]));
  if (vat < 0) {
    uwagi.push_back(tytul.Uwaga(od[0], dl[0], Blad::VatKwota));
  } else if (!kwota.empty()) {
    // The amount is digits; more than 18 of them cannot be below any VAT.
    std::int64_t grosze = 0;
    for (char c : kwota.substr(0, 18)) grosze = grosze * 10 + (c - '0');
    if (kwota.size() <= 18 && vat > grosze)
      uwagi.push_back(tytul.Uwaga(od[0], dl[0], Blad::VatWiekszaOdKwoty));
  }
  const std::string_view idc = std::string_view(t).substr(od[1], dl[1]);
  if (idc.size() > 14) {
    uwagi.push_back(tytul.Uwaga(od[1], dl[1], Blad::IdcZaDlugi));
  } else if (const std::string nip = CyfryNip(idc); !nip.empty() && !NipPoprawny(nip)) {
    uwagi.push_back(tytul.Uwaga(od[1], dl[1], Blad::Nip));
  }
  if (dl[2] > 35) uwagi.push_back(tytul.Uwaga(od[2], dl[2], Blad::InvZaDlugi));
  if (dl[3] > 33) uwagi.push_back(tytul.Uwaga(od[3], dl[3], Blad::TxtZaDlugi));
}

void SprawdzTytulPodatkowy(std::string_view linia, const rekord::TPoleRekordu& pole,
                           const rekord::TPoleRekordu& rachunek, std::string_view cyfry,
                           std::vector<TUwaga>& uwagi) {
  const TTytul tytul(linia, pole);
  const std::string& t = tytul.Tekst();
  static constexpr std::string_view kZnaczniki[] = {"/TI/", "/OKR/", "/SFP/", "/TXT/"};
  std::size_t od[4], dl[4];
  if (!Czesci(t, kZnaczniki, true, od, dl) || dl[0] < 2 || dl[2] == 0) {
    uwagi.push_back(tytul.Calosc(Blad::TytulPodatkowy));
    return;
  }
  const char typ = t[od[0]];
  const std::string_view id = std::string_view(t).substr(od[0] + 1, dl[0] - 1);
  bool idPoprawny = false;
  if (std::string_view("NRP123").find(typ) == std::string_view::npos) {
    uwagi.push_back(tytul.Uwaga(od[0], 1, Blad::TypIdentyfikatora));
  } else if (typ == 'N') {
    idPoprawny = NipPoprawny(id);
    if (!idPoprawny) uwagi.push_back(tytul.Uwaga(od[0] + 1, id.size(), Blad::Nip));
  } else if (typ == 'P') {
    idPoprawny = PeselPoprawny(id);
    if (!idPoprawny) uwagi.push_back(tytul.Uwaga(od[0] + 1, id.size(), Blad::Pesel));
  }
  if (!OkresPoprawny(std::string_view(t).substr(od[1], dl[1])))
    uwagi.push_back(tytul.Uwaga(od[1], dl[1], Blad::Okres));
  if (dl[3] > 20) uwagi.push_back(tytul.Uwaga(od[3], dl[3], Blad::TxtPodatkowyZaDlugi));
  // The micro-account is the identifier's: 222, then 2 and the NIP and two
  // zeros, or 1 and the PESEL and one zero.
  if (idPoprawny && !cyfry.empty()) {
    const std::string wlasciwy = std::string("10100071222") + (typ == 'N' ? "2" : "1") +
                                 std::string(id) + (typ == 'N' ? "00" : "0");
    if (cyfry.substr(2) != wlasciwy)
      uwagi.push_back({rachunek.poczatek + 1, rachunek.dlugosc, Pole::RachunekKontrahenta,
                       Blad::Mikrorachunek});
  }
}

}  // namespace rachunki
