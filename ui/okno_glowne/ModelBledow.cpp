#include "okno_glowne/ModelBledow.h"

#include "Cp1250Text.h"
#include "TekstyOkien.h"
#include "kodowanie/Cp1250.h"
#include "widgets/WidokLinii.h"

namespace ui {
namespace {

using namespace teksty::okno_glowne;

bool Wyswietlanie(int rola) {
  return rola == Qt::DisplayRole;
}

}  // namespace

QString NaglowekBledow(int kolumnaSiatki) {
  switch (kolumnaSiatki) {
    case 0:
      return ZCp1250(kLp);
    case 1:
      return ZCp1250(kNrLinii);
    case 2:
      return ZCp1250(kBlad);
    case 3:
      return ZCp1250(kBledneZnakiKolumna);
    default:
      return {};
  }
}

QString NaglowekZnakow(int kolumnaSiatki) {
  switch (kolumnaSiatki) {
    case 0:
      return ZCp1250(kLp);
    case 1:
      return ZCp1250(kZnak);
    case 2:
      return ZCp1250(kPozycja);
    default:
      return {};
  }
}

// --- TModelBledow -------------------------------------------------------------

TModelBledow::TModelBledow(const Typy::TBledy& bledy, QObject* rodzic)
    : QAbstractTableModel(rodzic), bledy_(bledy) {}

void TModelBledow::UstawSamNaglowek() {
  beginResetModel();
  staly_ = false;
  liczba_ = 0;
  wierszWPamieci_ = -1;
  endResetModel();
}

void TModelBledow::UstawRekordy(int liczba) {
  beginResetModel();
  staly_ = true;
  liczba_ = liczba;
  wierszWPamieci_ = -1;
  endResetModel();
}

int TModelBledow::rowCount(const QModelIndex& rodzic) const {
  if (rodzic.isValid()) return 0;
  return staly_ ? liczba_ : 1;
}

int TModelBledow::columnCount(const QModelIndex& rodzic) const {
  return rodzic.isValid() ? 0 : 3;
}

QVariant TModelBledow::data(const QModelIndex& indeks, int rola) const {
  if (!Wyswietlanie(rola) || !checkIndex(indeks, CheckIndexOption::IndexIsValid)) return {};
  const int kolumna = indeks.column();
  if (!staly_) return NaglowekBledow(kolumna + 1);
  const auto wiersz = static_cast<std::size_t>(indeks.row());
  // The list is filled only after the records exist; a stale row asks
  // for nothing.
  if (wiersz >= bledy_.size()) return {};
  if (kolumna == 0) return QString::number(bledy_.LineIndex(wiersz) + 1LL);
  if (wierszWPamieci_ != indeks.row()) {
    rekord_ = bledy_[wiersz];
    wierszWPamieci_ = indeks.row();
  }
  if (kolumna == 1) return ZCp1250(rekord_.ErrorText);
  return TekstWidoczny(rekord_.BadChars);
}

QVariant TModelBledow::headerData(int sekcja, Qt::Orientation kierunek, int rola) const {
  if (!Wyswietlanie(rola) || sekcja < 0) return {};
  if (kierunek == Qt::Horizontal) return sekcja < 3 ? NaglowekBledow(sekcja + 1) : QVariant();
  if (sekcja >= rowCount()) return {};
  // Without the fixed row, the only row is the header row.
  return staly_ ? QString::number(sekcja + 1) : NaglowekBledow(0);
}

// --- TModelZnakow -------------------------------------------------------------

void TModelZnakow::Ustaw(std::vector<TBlednyZnak> znaki) {
  beginResetModel();
  znaki_ = std::move(znaki);
  endResetModel();
}

int TModelZnakow::rowCount(const QModelIndex& rodzic) const {
  return rodzic.isValid() ? 0 : static_cast<int>(znaki_.size());
}

int TModelZnakow::columnCount(const QModelIndex& rodzic) const {
  return rodzic.isValid() ? 0 : 2;
}

QVariant TModelZnakow::data(const QModelIndex& indeks, int rola) const {
  if (!Wyswietlanie(rola) || !checkIndex(indeks, CheckIndexOption::IndexIsValid)) return {};
  const auto wiersz = static_cast<std::size_t>(indeks.row());
  const TBlednyZnak& z = znaki_[wiersz];
  if (indeks.column() == 0) return ZnakWidoczny(z.Znak);
  return QString::number(static_cast<qulonglong>(z.Pozycja));
}

QVariant TModelZnakow::headerData(int sekcja, Qt::Orientation kierunek, int rola) const {
  if (!Wyswietlanie(rola) || sekcja < 0) return {};
  if (kierunek == Qt::Horizontal) return sekcja < 2 ? NaglowekZnakow(sekcja + 1) : QVariant();
  return sekcja < rowCount() ? QVariant(QString::number(sekcja + 1)) : QVariant();
}

}  // namespace ui
