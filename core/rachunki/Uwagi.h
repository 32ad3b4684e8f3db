#pragma once
// What the account-number and record checks find in one line, beside the
// character rule: a number whose check digits do not fit, or a field of a
// transfer record the bank would refuse. Both programs check each line here,
// so they find the same.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "profile/RegulaZnakow.h"
#include "rachunki/ElixirO.h"
#include "rachunki/WykazBankow.h"

namespace rachunki {

class TPodsumowanie;

// Where a finding stands: a field of the record, or a number found
// elsewhere in a line.
enum class Pole : unsigned char {
  Rachunek,
  RodzajZlecenia,
  Data,
  Kwota,
  BankZleceniodawcy,
  RachunekZleceniodawcy,
  RachunekKontrahenta,
  NazwaZleceniodawcy,
  NazwaKontrahenta,
  BankKontrahenta,
  Tytul,
  Klasyfikacja,
  Rekord,
  KoniecLinii,
};

enum class Blad : unsigned char {
  SumaKontrolna,
  NumerBankuWRachunku,
  SumaINumerBanku,
  RodzajZlecenia,
  Data,
  KwotaZnaki,
  KwotaZero,
  NumerBankuZnaki,
  NumerBankuCyfra,
  NumerBankuInny,
  NieRachunek,
  ZaDuzoCzesci,
  CzescZaDluga,
  PodzielonaPlatnosc,
  Klasyfikacja,
  Cudzyslow,
  KoniecLiniiLf,
  // After "PL" or "IBAN" a number of another length than 26.
  LiczbaCyfr,
  // A sort code whose check digit fits, not on the central bank's list.
  SpozaWykazu,
  // The split payment's title.
  VatKwota,
  VatWiekszaOdKwoty,
  IdcZaDlugi,
  Nip,
  InvZaDlugi,
  TxtZaDlugi,
  ZnacznikiPapierowe,
  // The title of a payment to a tax micro-account.
  TytulPodatkowy,
  TypIdentyfikatora,
  Pesel,
  Okres,
  TxtPodatkowyZaDlugi,
  Mikrorachunek,
};

// The user's words, in Windows-1250.
std::string_view NazwaPola(Pole p);
std::string_view OpisBledu(Blad b);

struct TUwaga {
  // 1-based, where the number or the field's value starts, like the
  // positions of faulty characters; the value as written runs `dlugosc`
  // bytes from there.
  std::size_t kolumna = 0;
  std::size_t dlugosc = 0;
  Pole pole = Pole::Rachunek;
  Blad blad = Blad::SumaKontrolna;

  std::string_view Wartosc(std::string_view linia) const {
    if (dlugosc == 0) return {};
    return linia.substr(kolumna - 1, dlugosc);
  }
  friend bool operator==(const TUwaga&, const TUwaga&) = default;
};

// A line of `dlugosc` bytes ended by LF alone where the bank wants CR LF:
// the finding stands after its last byte and shows no value.
inline TUwaga UwagaKoncaLinii(std::uint64_t dlugosc) {
  return {static_cast<std::size_t>(dlugosc) + 1, 0, Pole::KoniecLinii, Blad::KoniecLiniiLf};
}
// What is wrong, as told for a finding of `linia`: `OpisBledu`, with the
// sort code and the list's date filled in for one not on the list.
std::string OpisUwagi(const TUwaga& u, std::string_view linia);
// The bank (Windows-1250) behind the account or sort code a finding's value
// is, by the list in use; empty for other values and codes not on it.
std::string_view BankUwagi(const TUwaga& u, std::string_view linia);

// Longer lines are not looked at: no payment list has them, and the
// checker would have to hold them whole. Both programs skip them alike.
inline constexpr std::size_t kNajdluzszaLinia = std::size_t{1} << 20;

// Checks lines one by one, reusing its storage.
class TSprawdzanieLinii {
 public:
  // Without `naSkroty`, every record is checked field by field, even one
  // RekordBezUwag would clear at once: what the tests hold that against.
  explicit TSprawdzanieLinii(bool naSkroty = true) : naSkroty_(naSkroty) {}
  // The findings of one line in column order; valid until the next call.
  // With `podsumowanie`, a record is announced to it (Zapowiedz) as soon as
  // it is split.
  const std::vector<TUwaga>& Sprawdz(std::string_view linia, TPodsumowanie* podsumowanie = nullptr);
  // The fields of the line last checked when it is a record, else none.
  const std::vector<rekord::TPoleRekordu>* Pola() const { return rekord_ ? &pola_ : nullptr; }
  // Records RekordBezUwag cleared so far.
  std::uint64_t NaSkroty() const { return naSkrotyRekordow_; }

 private:
  std::vector<TUwaga> uwagi_;
  std::vector<rekord::TPoleRekordu> pola_;
  TPamiecZleceniodawcy zleceniodawca_;
  // The list of banks in use when the check began, asked once a line.
  const TWykazBankow* wykaz_ = &WykazBankow();
  // The profile in use: one object, whose limits a new choice overwrites.
  const profile::TProfil* limity_ = &profile::AktywnyProfil();
  bool rekord_ = false;
  const bool naSkroty_;
  std::uint64_t naSkrotyRekordow_ = 0;
};

}  // namespace rachunki
