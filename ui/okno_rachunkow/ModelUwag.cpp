#include "okno_rachunkow/ModelUwag.h"

#include <QColor>
#include <QString>

#include "Cp1250Text.h"
#include "TekstyOkien.h"
#include "rachunki/Uwagi.h"
#include "typy/Typy.h"
#include "widgets/WidokLinii.h"

namespace ui {

using namespace teksty::okno_rachunkow;

void TModelUwag::Ustaw(const Typy::TStan* stan, const rachunki::TRachunkiStanu& wynik) {
  beginResetModel();
  stan_ = stan;
  ostrzezenia_.clear();
  for (const rachunki::TOstrzezenieLinii& o : wynik.ostrzezenia)
    ostrzezenia_.push_back(o.ostrzezenie);
  wiersze_.clear();
  wiersze_.reserve(wynik.uwagi.size() + wynik.ostrzezenia.size());
  // Both lists are in line order: merged, a line's findings first.
  std::size_t o = 0;
  auto ostrzezeniaDo = [&](std::uint64_t linia) {
    for (; o < ostrzezenia_.size() && wynik.ostrzezenia[o].linia < linia; ++o) {
      const rachunki::TOstrzezenie& x = ostrzezenia_[o];
      wiersze_.push_back({wynik.ostrzezenia[o].linia, {x.kolumna, x.dlugosc, x.pole, {}}, &x});
    }
  };
  for (const rachunki::TUwagaLinii& u : wynik.uwagi) {
    ostrzezeniaDo(u.linia);
    wiersze_.push_back({u.linia, u.uwaga, nullptr});
  }
  ostrzezeniaDo(UINT64_MAX);
  endResetModel();
}

std::string_view TModelUwag::Linia(int wiersz) const {
  return stan_->LinieOrg[static_cast<std::size_t>(Wiersz(wiersz).linia - 1)];
}

std::string_view TModelUwag::Wartosc(int wiersz) const {
  const TWiersz& w = Wiersz(wiersz);
  return w.uwaga.Wartosc(Linia(wiersz));
}

int TModelUwag::rowCount(const QModelIndex& rodzic) const {
  return rodzic.isValid() || !stan_ ? 0 : static_cast<int>(wiersze_.size());
}

int TModelUwag::columnCount(const QModelIndex& rodzic) const {
  return rodzic.isValid() ? 0 : kKolumn;
}

QVariant TModelUwag::data(const QModelIndex& indeks, int rola) const {
  if (!indeks.isValid() || indeks.row() >= rowCount()) return {};
  const TWiersz& u = Wiersz(indeks.row());
  if (rola == Qt::TextAlignmentRole && indeks.column() < 2)
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  // Warnings in the strip's colour for them: the bank takes those records.
  if (rola == Qt::ForegroundRole && u.ostrzezenie) return QColor(176, 88, 0);
  // A narrow column cuts what is wrong short: the whole of it on hovering.
  if (rola == Qt::ToolTipRole && indeks.column() == 3) return data(indeks, Qt::DisplayRole);
  if (rola != Qt::DisplayRole) return {};
  switch (indeks.column()) {
    case 0:
      return QString::number(u.linia);
    case 1:
      return QString::number(u.uwaga.kolumna);
    case 2:
      return ZCp1250(rachunki::NazwaPola(u.uwaga.pole));
    case 3:
      return ZCp1250(u.ostrzezenie ? u.ostrzezenie->Opis()
                                   : rachunki::OpisUwagi(u.uwaga, Linia(indeks.row())));
    case 4:
      return TekstWidoczny(Wartosc(indeks.row()));
    default:
      return ZCp1250(rachunki::BankUwagi(u.uwaga, Linia(indeks.row())));
  }
}

QVariant TModelUwag::headerData(int sekcja, Qt::Orientation kierunek, int rola) const {
  if (kierunek != Qt::Horizontal || rola != Qt::DisplayRole) return {};
  static constexpr std::string_view kNaglowki[kKolumn] = {kLinia, kKolumna, kPole,
                                                          kBlad,  kWartosc, kBank};
  return sekcja >= 0 && sekcja < kKolumn ? ZCp1250(kNaglowki[sekcja]) : QVariant();
}

}  // namespace ui
