#include "okno_glowne/PasekListy.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <algorithm>
#include <vector>

namespace ui {

namespace {

// Shares `miejsce` among wishes: each gets what it asks up to an equal
// share, and what a smaller wish leaves goes to the others.
std::vector<int> Podziel(const std::vector<int>& zyczenia, int miejsce) {
  std::vector<int> przydzial(zyczenia.size(), 0);
  std::vector<std::size_t> kolejnosc(zyczenia.size());
  for (std::size_t i = 0; i < kolejnosc.size(); ++i) kolejnosc[i] = i;
  std::sort(kolejnosc.begin(), kolejnosc.end(),
            [&](std::size_t a, std::size_t b) { return zyczenia[a] < zyczenia[b]; });
  int zostalo = std::max(miejsce, 0);
  for (std::size_t k = 0; k < kolejnosc.size(); ++k) {
    const int udzial = zostalo / static_cast<int>(kolejnosc.size() - k);
    const std::size_t i = kolejnosc[k];
    przydzial[i] = std::min(zyczenia[i], udzial);
    zostalo -= przydzial[i];
  }
  return przydzial;
}

}  // namespace

void UlozPasek(std::span<const TWpisPaska> wpisy, int x, int prawa, int przerwa) {
  std::vector<int> zdania;
  std::vector<int> przyciski;
  int stale = 0;  // buttons and gaps
  for (std::size_t i = 0; i < wpisy.size(); ++i) {
    const TWpisPaska& w = wpisy[i];
    zdania.push_back(w.Etykieta->fontMetrics().horizontalAdvance(w.Zdanie));
    int p = 0;
    if (w.Przycisk) {
      p = std::max(w.Przycisk->width(), w.Przycisk->sizeHint().width());
      stale += przerwa + p;
    }
    przyciski.push_back(p);
    if (i > 0) stale += 2 * przerwa;
  }
  // Sentences give way; a button is never cut.
  const std::vector<int> szerokosci = Podziel(zdania, prawa - x - stale);
  for (std::size_t i = 0; i < wpisy.size(); ++i) {
    const TWpisPaska& w = wpisy[i];
    if (i > 0) x += 2 * przerwa;
    // A sentence given its whole measured width is never elided: the
    // eliding's own measure may come out a pixel wider.
    const QString krotkie = szerokosci[i] >= zdania[i] ? w.Zdanie
                                                       : w.Etykieta->fontMetrics().elidedText(
                                                             w.Zdanie, w.Skrot, szerokosci[i]);
    w.Etykieta->setText(krotkie);
    w.Etykieta->setToolTip(krotkie == w.Zdanie ? QString() : w.Zdanie);
    w.Etykieta->setAccessibleName(w.Zdanie);
    w.Etykieta->adjustSize();
    w.Etykieta->move(x, w.Etykieta->y());
    x = w.Etykieta->geometry().right() + 1;
    if (!w.Przycisk) continue;
    x += przerwa;
    w.Przycisk->resize(przyciski[i], w.Przycisk->height());
    w.Przycisk->move(x, w.Przycisk->y());
    x += przyciski[i];
  }
}

}  // namespace ui
