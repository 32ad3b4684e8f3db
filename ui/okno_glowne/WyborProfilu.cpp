#include "okno_glowne/WyborProfilu.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "Cp1250Text.h"

namespace ui {

TWyborProfilu::TWyborProfilu(QWidget* rodzic) : QComboBox(rodzic) {
  setObjectName(QStringLiteral("ComboProfil"));
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  // The list opens as wide as its longest name, whatever the box's width.
  setMinimumContentsLength(8);
  Wypelnij();
  connect(this, &QComboBox::currentIndexChanged, this, [this] {
    PokazOpis();
    if (!cicho_ && PoZmianie) PoZmianie();
  });
}

void TWyborProfilu::Wypelnij() {
  const bool cicho = cicho_;
  cicho_ = true;
  clear();
  for (const profile::TProfil& p : profile::Wbudowane()) addItem(ZCp1250(p.nazwa));
  if (!plik_.isEmpty()) addItem(ZCp1250(zPliku_.nazwa));
  cicho_ = cicho;
}

void TWyborProfilu::PokazOpis() {
  // The box may be narrower than a long name: the whole name and where the
  // rules come from are in its tip.
  const profile::TProfil p = Profil();
  QString opis = ZCp1250(p.nazwa);
  if (!p.zrodlo.empty()) opis += QStringLiteral("\n") + ZCp1250(p.zrodlo);
  setToolTip(opis);
}

void TWyborProfilu::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionComboBox o;
  initStyleOption(&o);
  p.drawComplexControl(QStyle::CC_ComboBox, o);
  const QRect pole =
      style()->subControlRect(QStyle::CC_ComboBox, &o, QStyle::SC_ComboBoxEditField, this);
  o.currentText = fontMetrics().elidedText(o.currentText, Qt::ElideRight, pole.width());
  p.drawControl(QStyle::CE_ComboBoxLabel, o);
}

profile::TProfil TWyborProfilu::Wybierz(const QString& klucz) {
  cicho_ = true;
  const auto& wbudowane = profile::Wbudowane();
  int indeks = 0;
  plik_.clear();
  try {
    for (std::size_t i = 0; i < wbudowane.size() && !klucz.isEmpty(); ++i)
      if (ZCp1250(wbudowane[i].nazwa) == klucz) indeks = static_cast<int>(i) + 1;
    if (indeks > 0) {
      --indeks;
    } else if (!klucz.isEmpty()) {
      zPliku_ = profile::WczytajProfil(klucz.toStdString());
      plik_ = klucz;
      indeks = static_cast<int>(wbudowane.size());
    }
  } catch (...) {
    Wypelnij();
    setCurrentIndex(0);
    PokazOpis();
    cicho_ = false;
    throw;
  }
  Wypelnij();
  setCurrentIndex(indeks);
  PokazOpis();
  cicho_ = false;
  return Profil();
}

QString TWyborProfilu::Klucz() const {
  const int i = currentIndex();
  const auto& wbudowane = profile::Wbudowane();
  if (i <= 0) return {};
  if (static_cast<std::size_t>(i) < wbudowane.size()) return ZCp1250(wbudowane[i].nazwa);
  return plik_;
}

profile::TProfil TWyborProfilu::Profil() const {
  const int i = currentIndex();
  const auto& wbudowane = profile::Wbudowane();
  if (i < 0) return wbudowane.front();
  if (static_cast<std::size_t>(i) < wbudowane.size()) return wbudowane[i];
  return zPliku_;
}

}  // namespace ui
