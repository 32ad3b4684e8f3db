#include "okno_raportu/RichEditLOG.h"

#include <QClipboard>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string_view>

#include "kodowanie/Cp1250.h"

// The report is shown and printed in the window's font. The window's faces
// lack the control pictures; the last face has them, so a tab or NUL shows
// as its own sign rather than as an empty box.
QFont TRichEditLOG::CzcionkaWidoku(const QFont& czcionkaOkna) {
  QFont f = czcionkaOkna;
  QStringList rodziny = f.families();
  if (rodziny.isEmpty()) rodziny.push_back(f.family());
  rodziny.push_back(QStringLiteral("FreeSans"));
  f.setFamilies(rodziny);
  f.setStyleStrategy(QFont::PreferNoShaping);
  return f;
}

namespace {

// Free space between the view's border and its text.
constexpr int kMargines = 3;

// The shown characters of some bytes; a line's CR LF becomes `koniecLinii`.
QString Dekoduj(std::string_view bajty, QStringView koniecLinii) {
  QString t;
  t.reserve(static_cast<qsizetype>(bajty.size()));
  const std::size_t k = bajty.size();
  for (std::size_t i = 0; i < k; ++i) {
    const auto b = static_cast<unsigned char>(bajty[i]);
    if (b == '\r' && i + 1 < k && bajty[i + 1] == '\n') {
      t += koniecLinii;
      ++i;
      continue;
    }
    t += QChar(static_cast<char16_t>(kodowanie::cp1250::VisibleCodePoint(b)));
  }
  return t;
}

}  // namespace

TRichEditLOG::TRichEditLOG(QWidget* rodzic) : QAbstractScrollArea(rodzic) {
  setObjectName(QStringLiteral("RichEditLOG"));
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setLineWidth(1);
  setFocusPolicy(Qt::StrongFocus);
  setContextMenuPolicy(Qt::NoContextMenu);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Base, p.color(QPalette::Active, QPalette::Base));
  setPalette(p);
  UstawMiary();
}

QString TRichEditLOG::TekstWidoku(const std::string& bajty) {
  QString t = Dekoduj(bajty, u"\n");
  // The report's last CR LF ends its last line; it starts no empty one.
  if (bajty.ends_with("\r\n")) t.chop(1);
  return t;
}

void TRichEditLOG::UstawRaport(std::string bajty) {
  raport_ = std::move(bajty);
  // One pass: every CR LF pair ends a line; a lone CR or LF is a character
  // of its line.
  poczatki_.clear();
  poczatki_.push_back(0);
  const char* d = raport_.data();
  const std::size_t n = raport_.size();
  std::size_t start = 0;
  std::size_t najdluzsza = 0;
  punkty_.clear();
  for (std::size_t szukaj = 0; szukaj < n;) {
    const void* lf = std::memchr(d + szukaj, '\n', n - szukaj);
    if (!lf) break;
    const auto i = static_cast<std::size_t>(static_cast<const char*>(lf) - d);
    szukaj = i + 1;
    if (i == 0 || d[i - 1] != '\r') continue;
    najdluzsza = std::max(najdluzsza, i - 1 - start);
    start = i + 1;
    poczatki_.push_back(start);
  }
  if (start == n && poczatki_.size() > 1) {
    // The final CR LF ends the last line and starts none.
    poczatki_.pop_back();
    koniec_ = static_cast<qsizetype>(n - 2);
  } else {
    najdluzsza = std::max(najdluzsza, n - start);
    koniec_ = static_cast<qsizetype>(n);
  }
  najdluzsza_ = static_cast<qsizetype>(najdluzsza);
  kursor_ = kotwica_ = 0;
  xCelu_ = 0;
  PoliczSzerokosc();
  UstawPaski();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  viewport()->update();
}

qsizetype TRichEditLOG::Koniec(qsizetype linia) const {
  return linia + 1 < IleLinii() ? Poczatek(linia + 1) - 2 : koniec_;
}

QString TRichEditLOG::TekstLinii(qsizetype linia) const {
  if (linia < 0 || linia >= IleLinii()) return {};
  const auto od = static_cast<std::size_t>(Poczatek(linia));
  return Dekoduj(std::string_view(raport_).substr(od, static_cast<std::size_t>(Koniec(linia)) - od),
                 u"");
}

qsizetype TRichEditLOG::LiniaPozycji(qsizetype pozycja) const {
  if (pozycja <= 0) return 0;
  const auto za =
      std::upper_bound(poczatki_.begin(), poczatki_.end(), static_cast<std::size_t>(pozycja));
  return static_cast<qsizetype>(za - poczatki_.begin()) - 1;
}

qsizetype TRichEditLOG::Przytnij(qsizetype pozycja) const {
  if (pozycja <= 0) return 0;
  if (pozycja >= koniec_) return koniec_;
  // Inside a line's CR LF the caret stays at the end of that line.
  return std::min(pozycja, Koniec(LiniaPozycji(pozycja)));
}

qsizetype TRichEditLOG::Pozycja(qsizetype linia, qsizetype kolumna) const {
  linia = std::clamp<qsizetype>(linia, 0, IleLinii() - 1);
  return Poczatek(linia) + std::clamp<qsizetype>(kolumna, 0, Koniec(linia) - Poczatek(linia));
}

qsizetype TRichEditLOG::PierwszaWidocznaLinia() const {
  return verticalScrollBar()->value();
}

int TRichEditLOG::WidoczneLinie() const {
  return std::max(1, (viewport()->height() - kMargines) / wysokoscLinii_);
}

void TRichEditLOG::UstawMiary() {
  const QFontMetricsF fm(font());
  const QFontMetrics fmi(font());
  wysokoscLinii_ = std::max(1, fmi.lineSpacing());
  linia0_ = fmi.ascent();
  najszerszyZnak_ = 0;
  for (int b = 0; b < 256; ++b) {
    const qreal s = fm.horizontalAdvance(QString(QChar(static_cast<char16_t>(
        kodowanie::cp1250::VisibleCodePoint(static_cast<unsigned char>(b))))));
    szerokosci_[static_cast<std::size_t>(b)] = s;
    najszerszyZnak_ = std::max(najszerszyZnak_, s);
  }
  krok_ = std::max<qreal>(1, fm.averageCharWidth());
  punkty_.clear();
  PoliczSzerokosc();
  UstawPaski();
  viewport()->update();
}

void TRichEditLOG::UstawPaski() {
  const int widoczne = WidoczneLinie();
  QScrollBar* pion = verticalScrollBar();
  const qsizetype zakres = std::max<qsizetype>(0, IleLinii() - widoczne);
  pion->setRange(0, static_cast<int>(std::min<qsizetype>(zakres, std::numeric_limits<int>::max())));
  pion->setPageStep(widoczne);
  pion->setSingleStep(1);

  // The widest line, the margins on both sides and the caret after it.
  const double szerokosc = 2.0 * kMargines + najszerszaLinia_ + 1;
  const int w = viewport()->width();
  QScrollBar* poziom = horizontalScrollBar();
  poziom->setRange(0, static_cast<int>(std::clamp<double>(std::ceil(szerokosc) - w, 0,
                                                          std::numeric_limits<int>::max())));
  poziom->setPageStep(std::max(1, w));
  poziom->setSingleStep(std::max(1, qCeil(krok_)));
}

QRect TRichEditLOG::ProstokatKursora() const {
  const qsizetype linia = LiniaPozycji(kursor_);
  const qreal x = kMargines - horizontalScrollBar()->value() + X(linia, kursor_ - Poczatek(linia));
  const auto y = kMargines + static_cast<int>(linia - PierwszaWidocznaLinia()) * wysokoscLinii_;
  return QRect(qFloor(x), y, 1, wysokoscLinii_);
}

void TRichEditLOG::PokazKursor() {
  const qsizetype linia = LiniaPozycji(kursor_);
  const qsizetype pierwsza = PierwszaWidocznaLinia();
  const int widoczne = WidoczneLinie();
  if (linia < pierwsza)
    verticalScrollBar()->setValue(static_cast<int>(linia));
  else if (linia >= pierwsza + widoczne)
    verticalScrollBar()->setValue(static_cast<int>(linia - widoczne + 1));

  const double x = kMargines + X(linia, kursor_ - Poczatek(linia));
  const int przesuniecie = horizontalScrollBar()->value();
  const int w = viewport()->width();
  if (x - kMargines < przesuniecie)
    horizontalScrollBar()->setValue(static_cast<int>(std::floor(x - kMargines)));
  else if (x + 1 + kMargines > przesuniecie + w)
    horizontalScrollBar()->setValue(static_cast<int>(std::ceil(x + 1 + kMargines - w)));
}

void TRichEditLOG::UstawKursor(qsizetype pozycja, bool zaznacz) {
  kursor_ = Przytnij(pozycja);
  if (!zaznacz) kotwica_ = kursor_;
  xCelu_ = XKursora();
  viewport()->update();
}

void TRichEditLOG::Przesun(qsizetype pozycja, bool zaznacz, bool zachowajKolumne) {
  const qreal cel = xCelu_;
  UstawKursor(pozycja, zaznacz);
  if (zachowajKolumne) xCelu_ = cel;
  PokazKursor();
}

void TRichEditLOG::ZaznaczWszystko() {
  kotwica_ = 0;
  kursor_ = koniec_;
  xCelu_ = XKursora();
  viewport()->update();
}

QString TRichEditLOG::ZaznaczonyTekst() const {
  const auto od = static_cast<std::size_t>(std::min(kursor_, kotwica_));
  const auto do_ = static_cast<std::size_t>(std::max(kursor_, kotwica_));
  return Dekoduj(std::string_view(raport_).substr(od, do_ - od), u"\r\n");
}

void TRichEditLOG::Kopiuj() const {
  if (kursor_ == kotwica_) return;
  if (QClipboard* schowek = QGuiApplication::clipboard()) schowek->setText(ZaznaczonyTekst());
}

qsizetype TRichEditLOG::PozycjaPunktu(QPoint p) const {
  const int wiersz = p.y() >= kMargines ? (p.y() - kMargines) / wysokoscLinii_ : -1;
  const qsizetype linia =
      std::clamp<qsizetype>(PierwszaWidocznaLinia() + wiersz, 0, IleLinii() - 1);
  const double x = p.x() + horizontalScrollBar()->value() - kMargines;
  return Pozycja(linia, Kolumna(linia, x, true));
}

const std::vector<qreal>* TRichEditLOG::Punkty(qsizetype linia) const {
  const qsizetype start = Poczatek(linia);
  const qsizetype dlugosc = Koniec(linia) - start;
  if (dlugosc < kKrok) return nullptr;
  if (const auto it = punkty_.find(linia); it != punkty_.end()) return &it->second;
  // Only the long lines in sight are indexed; the index is short-lived.
  if (punkty_.size() >= 64) punkty_.clear();
  std::vector<qreal> punkty;
  punkty.reserve(static_cast<std::size_t>(dlugosc / kKrok + 1));
  qreal x = 0;
  for (qsizetype k = 0; k < dlugosc; ++k) {
    if (k % kKrok == 0) punkty.push_back(x);
    x += Szerokosc(start + k);
  }
  return &punkty_.emplace(linia, std::move(punkty)).first->second;
}

qreal TRichEditLOG::X(qsizetype linia, qsizetype kolumna) const {
  const qsizetype start = Poczatek(linia);
  kolumna = std::clamp<qsizetype>(kolumna, 0, Koniec(linia) - start);
  qsizetype k = 0;
  qreal x = 0;
  if (const std::vector<qreal>* punkty = Punkty(linia)) {
    const auto i = std::min(static_cast<std::size_t>(kolumna / kKrok), punkty->size() - 1);
    k = static_cast<qsizetype>(i) * kKrok;
    x = (*punkty)[i];
  }
  for (; k < kolumna; ++k) x += Szerokosc(start + k);
  return x;
}

qsizetype TRichEditLOG::Kolumna(qsizetype linia, qreal x, bool najblizsza) const {
  const qsizetype start = Poczatek(linia);
  const qsizetype dlugosc = Koniec(linia) - start;
  qsizetype k = 0;
  qreal lewo = 0;
  if (const std::vector<qreal>* punkty = Punkty(linia)) {
    const auto za = std::upper_bound(punkty->begin(), punkty->end(), x);
    const auto i = za == punkty->begin() ? 0 : static_cast<std::size_t>(za - punkty->begin()) - 1;
    k = static_cast<qsizetype>(i) * kKrok;
    lewo = (*punkty)[i];
  }
  for (; k < dlugosc; ++k) {
    const qreal s = Szerokosc(start + k);
    if (x < lewo + (najblizsza ? s / 2 : s)) return k;
    lewo += s;
  }
  return dlugosc;
}

qsizetype TRichEditLOG::PozycjaCelu(qsizetype linia) const {
  linia = std::clamp<qsizetype>(linia, 0, IleLinii() - 1);
  return Poczatek(linia) + Kolumna(linia, xCelu_, true);
}

void TRichEditLOG::PoliczSzerokosc() {
  // A line can be no wider than its length in the widest character; only
  // those that might beat the widest so far are measured.
  najszerszaLinia_ = 0;
  for (qsizetype linia = 0; linia < IleLinii(); ++linia) {
    const qsizetype start = Poczatek(linia);
    const qsizetype dlugosc = Koniec(linia) - start;
    if (static_cast<qreal>(dlugosc) * najszerszyZnak_ <= najszerszaLinia_) continue;
    qreal x = 0;
    for (qsizetype k = 0; k < dlugosc; ++k) x += Szerokosc(start + k);
    najszerszaLinia_ = std::max(najszerszaLinia_, x);
  }
}

void TRichEditLOG::RysujOdcinek(QPainter& p, qsizetype start, qsizetype od, qsizetype do_, qreal x,
                                int y) const {
  if (od >= do_) return;
  const auto poczatek = static_cast<std::size_t>(start + od);
  p.drawText(
      QPointF(x, y + linia0_),
      Dekoduj(std::string_view(raport_).substr(poczatek, static_cast<std::size_t>(do_ - od)), u""));
}

void TRichEditLOG::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  p.setFont(font());
  const QPalette& pal = palette();
  const int wysokosc = viewport()->height();
  const int szerokosc = viewport()->width();
  const qreal x0 = kMargines - horizontalScrollBar()->value();
  // Only the characters in sight are decoded and drawn: from the one that
  // reaches into the left edge to the one that reaches past the right.
  const qreal lewaKrawedz = horizontalScrollBar()->value() - kMargines;
  const qreal prawaKrawedz = lewaKrawedz + szerokosc;
  // The selection shows only while the view has the focus.
  const bool zaznaczenie = hasFocus() && kursor_ != kotwica_;
  const qsizetype zazOd = std::min(kursor_, kotwica_);
  const qsizetype zazDo = std::max(kursor_, kotwica_);
  const QRect obszar = e->rect();
  const qreal szerokoscKonca = szerokosci_[static_cast<unsigned char>(' ')];

  int y = kMargines;
  for (qsizetype linia = PierwszaWidocznaLinia(); linia < IleLinii() && y < wysokosc;
       ++linia, y += wysokoscLinii_) {
    if (y + wysokoscLinii_ <= obszar.top()) continue;
    if (y > obszar.bottom()) break;
    const qsizetype start = Poczatek(linia);
    const qsizetype dlugosc = Koniec(linia) - start;
    const qsizetype od = Kolumna(linia, lewaKrawedz, false);
    const qsizetype do_ = std::min(dlugosc, Kolumna(linia, prawaKrawedz, false) + 1);
    qsizetype zaz0 = do_;
    qsizetype zaz1 = do_;
    if (zaznaczenie && zazOd <= start + dlugosc && zazDo >= start) {
      zaz0 = std::max(zazOd, start) - start;
      zaz1 = std::min(zazDo, start + dlugosc) - start;
      // A selected line end shows as one more blank.
      const qreal koniecLinii = zazDo > start + dlugosc ? szerokoscKonca : 0;
      const qreal lewo = x0 + X(linia, zaz0);
      const qreal prawo = x0 + X(linia, zaz1) + koniecLinii;
      if (prawo > lewo)
        p.fillRect(QRectF(lewo, y, prawo - lewo, wysokoscLinii_),
                   pal.color(QPalette::Active, QPalette::Highlight));
      zaz0 = std::clamp(zaz0, od, do_);
      zaz1 = std::clamp(zaz1, od, do_);
    }
    p.setPen(pal.color(QPalette::Text));
    RysujOdcinek(p, start, od, zaz0, x0 + X(linia, od), y);
    p.setPen(pal.color(QPalette::Active, QPalette::HighlightedText));
    RysujOdcinek(p, start, zaz0, zaz1, x0 + X(linia, zaz0), y);
    p.setPen(pal.color(QPalette::Text));
    RysujOdcinek(p, start, zaz1, do_, x0 + X(linia, zaz1), y);
  }
  if (hasFocus()) p.fillRect(ProstokatKursora(), pal.color(QPalette::Text));
}

void TRichEditLOG::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  UstawPaski();
}

void TRichEditLOG::changeEvent(QEvent* e) {
  QAbstractScrollArea::changeEvent(e);
  if (e->type() == QEvent::FontChange) UstawMiary();
}

void TRichEditLOG::scrollContentsBy(int, int) {
  viewport()->update();
}

bool TRichEditLOG::event(QEvent* e) {
  // Copying and selecting all belong to the view while it has the focus.
  if (e->type() == QEvent::ShortcutOverride) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->matches(QKeySequence::Copy) || k->matches(QKeySequence::SelectAll)) {
      e->accept();
      return true;
    }
  }
  return QAbstractScrollArea::event(e);
}

void TRichEditLOG::keyPressEvent(QKeyEvent* e) {
  const qsizetype linia = LiniaPozycji(kursor_);
  const qsizetype start = Poczatek(linia);
  const int strona = WidoczneLinie();
  struct Ruch {
    QKeySequence::StandardKey przesun, zaznacz;
  };
  enum Co {
    RPrawo,
    RLewo,
    RDol,
    RGora,
    RStronaDol,
    RStronaGora,
    RPoczatekLinii,
    RKoniecLinii,
    RPoczatek,
    RKoniec
  };
  static constexpr Ruch ruchy[] = {
      {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar},
      {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar},
      {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine},
      {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine},
      {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage},
      {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage},
      {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine},
      {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine},
      {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument},
      {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument},
  };
  if (e->matches(QKeySequence::Copy)) {
    Kopiuj();
    return;
  }
  if (e->matches(QKeySequence::SelectAll)) {
    ZaznaczWszystko();
    return;
  }
  for (int i = 0; i < static_cast<int>(std::size(ruchy)); ++i) {
    const bool zaznacz = e->matches(ruchy[i].zaznacz);
    if (!zaznacz && !e->matches(ruchy[i].przesun)) continue;
    switch (static_cast<Co>(i)) {
      case RPrawo:
        // After a line's last character the next line's start follows.
        if (kursor_ < Koniec(linia))
          Przesun(kursor_ + 1, zaznacz);
        else if (linia + 1 < IleLinii())
          Przesun(Poczatek(linia + 1), zaznacz);
        break;
      case RLewo:
        Przesun(kursor_ > start ? kursor_ - 1 : (linia > 0 ? Koniec(linia - 1) : 0), zaznacz);
        break;
      case RDol:
        Przesun(PozycjaCelu(linia + 1), zaznacz, true);
        break;
      case RGora:
        Przesun(PozycjaCelu(linia - 1), zaznacz, true);
        break;
      case RStronaDol:
      case RStronaGora: {
        // The view turns a page and the caret keeps its place in it.
        const int krok = static_cast<Co>(i) == RStronaDol ? strona : -strona;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + krok);
        Przesun(PozycjaCelu(linia + krok), zaznacz, true);
        break;
      }
      case RPoczatekLinii:
        Przesun(start, zaznacz);
        break;
      case RKoniecLinii:
        Przesun(Koniec(linia), zaznacz);
        break;
      case RPoczatek:
        Przesun(0, zaznacz);
        break;
      case RKoniec:
        Przesun(koniec_, zaznacz);
        break;
    }
    return;
  }
  // Nothing is typed; other keys go on to the window.
  e->ignore();
}

void TRichEditLOG::keyReleaseEvent(QKeyEvent* e) {
  QAbstractScrollArea::keyReleaseEvent(e);
  if (PoPuszczeniuKlawisza) PoPuszczeniuKlawisza();
}

void TRichEditLOG::mousePressEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) return;
  Przesun(PozycjaPunktu(e->position().toPoint()), e->modifiers().testFlag(Qt::ShiftModifier));
}

void TRichEditLOG::mouseMoveEvent(QMouseEvent* e) {
  // Dragging past an edge scrolls the view with the caret.
  if (e->buttons().testFlag(Qt::LeftButton)) Przesun(PozycjaPunktu(e->position().toPoint()), true);
}

void TRichEditLOG::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  viewport()->update();
}

void TRichEditLOG::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  viewport()->update();
}
