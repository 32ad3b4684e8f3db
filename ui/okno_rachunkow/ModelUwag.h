#pragma once
// The list of the findings window as a table model: one row per finding or
// warning of the account checks, in line order, its cells made from the
// state's lines when asked for.
#include <QAbstractTableModel>
#include <QVariant>
#include <cstdint>
#include <string_view>
#include <vector>

#include "rachunki/PodsumowanieStanu.h"

namespace Typy {
struct TStan;
}

namespace ui {

// The findings as a table model; cells are made from the state's lines when
// asked for.
class TModelUwag : public QAbstractTableModel {
 public:
  using QAbstractTableModel::QAbstractTableModel;
  static constexpr int kKolumn = 6;
  // The first columns, sized to show their text whole.
  static constexpr int kKolumnyCzytaneCale = 4;

  // A row: a finding, or a warning (`ostrzezenie`), in line order, the
  // findings of a line before its warnings.
  struct TWiersz {
    std::uint64_t linia = 0;
    // Where it stands; for a warning, its field and place alone.
    rachunki::TUwaga uwaga;
    const rachunki::TOstrzezenie* ostrzezenie = nullptr;
  };

  void Ustaw(const Typy::TStan* stan, const rachunki::TRachunkiStanu& wynik);
  const TWiersz& Wiersz(int wiersz) const { return wiersze_[static_cast<std::size_t>(wiersz)]; }
  // The value of a finding as written in its line, in Windows-1250.
  std::string_view Wartosc(int wiersz) const;
  std::string_view Linia(int wiersz) const;

  int rowCount(const QModelIndex& rodzic = {}) const override;
  int columnCount(const QModelIndex& rodzic = {}) const override;
  QVariant data(const QModelIndex& indeks, int rola = Qt::DisplayRole) const override;
  QVariant headerData(int sekcja, Qt::Orientation kierunek,
                      int rola = Qt::DisplayRole) const override;

 private:
  const Typy::TStan* stan_ = nullptr;
  std::vector<TWiersz> wiersze_;
  std::vector<rachunki::TOstrzezenie> ostrzezenia_;
};

}  // namespace ui
