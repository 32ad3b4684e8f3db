#include "RichEditLOG.h"

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

#include "Cp1250.h"

// The report quotes the faulty lines byte for byte and points at their
// columns; a fixed-pitch face keeps those columns countable. The last face
// has the control pictures the others lack, so a tab or NUL shows as its
// own sign rather than as an empty box.
QFont TRichEditLOG::CzcionkaWidoku() {
  QFont f(QStringLiteral("Courier New"), 9);
  f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono"),
                 QStringLiteral("DejaVu Sans Mono"), QStringLiteral("FreeMono")});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
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
    t += QChar(static_cast<char16_t>(cp1250::VisibleCodePoint(b)));
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
  kursor_ = kotwica_ = kolumnaCelu_ = 0;
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
  komorka_ = fm.horizontalAdvance(QLatin1Char('0'));
  if (komorka_ <= 0) komorka_ = std::max<qreal>(1, fm.averageCharWidth());
  const QFontMetrics fmi(font());
  wysokoscLinii_ = std::max(1, fmi.lineSpacing());
  linia0_ = fmi.ascent();
  for (int b = 0; b < 256; ++b)
    szerokosci_[static_cast<std::size_t>(b)] = fm.horizontalAdvance(QString(
        QChar(static_cast<char16_t>(cp1250::VisibleCodePoint(static_cast<unsigned char>(b))))));
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
  const double szerokosc = 2.0 * kMargines + static_cast<double>(najdluzsza_) * komorka_ + 1;
  const int w = viewport()->width();
  QScrollBar* poziom = horizontalScrollBar();
  poziom->setRange(0, static_cast<int>(std::clamp<double>(std::ceil(szerokosc) - w, 0,
                                                          std::numeric_limits<int>::max())));
  poziom->setPageStep(std::max(1, w));
  poziom->setSingleStep(std::max(1, qCeil(komorka_)));
}

QRect TRichEditLOG::ProstokatKursora() const {
  const qsizetype linia = LiniaPozycji(kursor_);
  const qreal x = kMargines - horizontalScrollBar()->value() +
                  static_cast<qreal>(kursor_ - Poczatek(linia)) * komorka_;
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

  const double x = kMargines + static_cast<double>(kursor_ - Poczatek(linia)) * komorka_;
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
  kolumnaCelu_ = kursor_ - Poczatek(LiniaPozycji(kursor_));
  viewport()->update();
}

void TRichEditLOG::Przesun(qsizetype pozycja, bool zaznacz, bool zachowajKolumne) {
  const qsizetype cel = kolumnaCelu_;
  UstawKursor(pozycja, zaznacz);
  if (zachowajKolumne) kolumnaCelu_ = cel;
  PokazKursor();
}

void TRichEditLOG::ZaznaczWszystko() {
  kotwica_ = 0;
  kursor_ = koniec_;
  kolumnaCelu_ = kursor_ - Poczatek(LiniaPozycji(kursor_));
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
  const auto kolumna = static_cast<qsizetype>(std::max(0.0, std::floor(x / komorka_ + 0.5)));
  return Pozycja(linia, kolumna);
}

void TRichEditLOG::RysujOdcinek(QPainter& p, qsizetype start, qsizetype od, qsizetype do_, qreal x0,
                                int y) const {
  const int baza = y + linia0_;
  QString rzad;
  qsizetype poczatekRzedu = od;
  auto wypisz = [&](qsizetype k) {
    if (!rzad.isEmpty())
      p.drawText(QPointF(x0 + static_cast<qreal>(poczatekRzedu) * komorka_, baza), rzad);
    rzad.clear();
    poczatekRzedu = k;
  };
  for (qsizetype k = od; k < do_; ++k) {
    const auto b = static_cast<unsigned char>(raport_[static_cast<std::size_t>(start + k)]);
    const QChar z(static_cast<char16_t>(cp1250::VisibleCodePoint(b)));
    const qreal s = szerokosci_[b];
    if (std::abs(s - komorka_) < 0.01) {
      if (rzad.isEmpty()) poczatekRzedu = k;
      rzad += z;
      continue;
    }
    wypisz(k + 1);
    p.drawText(QPointF(x0 + static_cast<qreal>(k) * komorka_ + (komorka_ - s) / 2, baza),
               QString(z));
  }
  wypisz(do_);
}

void TRichEditLOG::paintEvent(QPaintEvent* e) {
  QPainter p(viewport());
  p.setFont(font());
  const QPalette& pal = palette();
  const int wysokosc = viewport()->height();
  const int szerokosc = viewport()->width();
  const qreal x0 = kMargines - horizontalScrollBar()->value();
  // Only the columns in sight are decoded and drawn.
  const auto pierwszaKolumna = static_cast<qsizetype>(
      std::max(0.0, std::floor((horizontalScrollBar()->value() - kMargines) / komorka_)));
  const auto ostatniaKolumna =
      pierwszaKolumna + static_cast<qsizetype>(std::ceil(szerokosc / komorka_)) + 1;
  // The selection shows only while the view has the focus.
  const bool zaznaczenie = hasFocus() && kursor_ != kotwica_;
  const qsizetype zazOd = std::min(kursor_, kotwica_);
  const qsizetype zazDo = std::max(kursor_, kotwica_);
  const QRect obszar = e->rect();

  int y = kMargines;
  for (qsizetype linia = PierwszaWidocznaLinia(); linia < IleLinii() && y < wysokosc;
       ++linia, y += wysokoscLinii_) {
    if (y + wysokoscLinii_ <= obszar.top()) continue;
    if (y > obszar.bottom()) break;
    const qsizetype start = Poczatek(linia);
    const qsizetype dlugosc = Koniec(linia) - start;
    const qsizetype od = std::min(pierwszaKolumna, dlugosc);
    const qsizetype do_ = std::min(ostatniaKolumna, dlugosc);
    qsizetype zaz0 = do_;
    qsizetype zaz1 = do_;
    if (zaznaczenie && zazOd <= start + dlugosc && zazDo >= start) {
      zaz0 = std::max(zazOd, start) - start;
      zaz1 = std::min(zazDo, start + dlugosc) - start;
      // A selected line end shows as one more cell.
      const qsizetype koniecLinii = zazDo > start + dlugosc ? 1 : 0;
      const qreal lewo = x0 + static_cast<qreal>(zaz0) * komorka_;
      const qreal prawo = x0 + static_cast<qreal>(zaz1 + koniecLinii) * komorka_;
      if (prawo > lewo)
        p.fillRect(QRectF(lewo, y, prawo - lewo, wysokoscLinii_),
                   pal.color(QPalette::Active, QPalette::Highlight));
      zaz0 = std::clamp(zaz0, od, do_);
      zaz1 = std::clamp(zaz1, od, do_);
    }
    p.setPen(pal.color(QPalette::Text));
    RysujOdcinek(p, start, od, zaz0, x0, y);
    p.setPen(pal.color(QPalette::Active, QPalette::HighlightedText));
    RysujOdcinek(p, start, zaz0, zaz1, x0, y);
    p.setPen(pal.color(QPalette::Text));
    RysujOdcinek(p, start, zaz1, do_, x0, y);
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
        Przesun(Pozycja(linia + 1, kolumnaCelu_), zaznacz, true);
        break;
      case RGora:
        Przesun(Pozycja(linia - 1, kolumnaCelu_), zaznacz, true);
        break;
      case RStronaDol:
      case RStronaGora: {
        // The view turns a page and the caret keeps its place in it.
        const int krok = static_cast<Co>(i) == RStronaDol ? strona : -strona;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + krok);
        Przesun(Pozycja(linia + krok, kolumnaCelu_), zaznacz, true);
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
