#include "layout/WindowBuilder.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>
#include <stdexcept>

#include "Cp1250Text.h"
#include "layout/Przycisk.h"

namespace ui {

QFont CzcionkaOkna() {
  QFont f(QStringLiteral("MS Sans Serif"), 8);
  f.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans")});
  f.setStyleHint(QFont::SansSerif);
  return f;
}

QFont CzcionkaStalaSzerokosc(int punkty) {
  QFont f(QStringLiteral("Courier New"), punkty);
  f.setFamilies({QStringLiteral("Courier New"), QStringLiteral("Liberation Mono")});
  f.setStyleHint(QFont::TypeWriter);
  f.setFixedPitch(true);
  return f;
}

TScale UstawOknoWlasne(QWidget* okno, const QString& nazwa, const QString& tytul,
                       const QFont& czcionka) {
  okno->setObjectName(nazwa);
  okno->setWindowTitle(tytul);
  okno->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
  okno->setAttribute(Qt::WA_QuitOnClose, false);
  okno->setFont(czcionka);
  return TScale(QFontMetrics(czcionka).height());
}

namespace {

// An edge and the five-pixel inner border inside it.
constexpr int kKrawedz = 1;
constexpr int kObramowanie = 5;

bool Panel(TRodzaj r) {
  return r == TRodzaj::PanelWypukly || r == TRodzaj::PanelWypuklyZObramowaniem ||
         r == TRodzaj::PanelPlaski || r == TRodzaj::PanelPlaskiZObramowaniem;
}

}  // namespace

QWidget* TWindowBuilder::Nowy(const TElementUkladu& w, QWidget* rodzic) {
  const QString nazwa = QString::fromLatin1(w.Nazwa);
  const QString tekst = ZCp1250(w.Tekst);
  switch (w.Rodzaj) {
    case TRodzaj::PanelWypukly:
    case TRodzaj::PanelWypuklyZObramowaniem:
    case TRodzaj::PanelPlaski:
    case TRodzaj::PanelPlaskiZObramowaniem: {
      const bool wypukly =
          w.Rodzaj == TRodzaj::PanelWypukly || w.Rodzaj == TRodzaj::PanelWypuklyZObramowaniem;
      auto* p = new TPanel(nazwa, wypukly, rodzic);
      if (!tekst.isEmpty()) p->UstawNapis(tekst);
      return p;
    }
    case TRodzaj::Ramka:
      return new QGroupBox(tekst, rodzic);
    case TRodzaj::Przycisk: {
      auto* b = new TPrzycisk(tekst, rodzic);
      // Enter on a focused button presses it, as Space does. No button is
      // a window's default unless the window makes it so.
      b->setAutoDefault(true);
      b->setDefault(false);
      b->setFocusPolicy(Qt::StrongFocus);
      return b;
    }
    case TRodzaj::Etykieta: {
      auto* l = new QLabel(tekst, rodzic);
      l->setTextFormat(Qt::PlainText);
      return l;
    }
    case TRodzaj::Pole: {
      auto* e = new QLineEdit(rodzic);
      e->setMaxLength(1);
      return e;
    }
    case TRodzaj::Wlasny:
      break;
  }
  return nullptr;
}

QMargins TWindowBuilder::Wnetrze(const QWidget* kontener) const {
  const auto r = rodzaje_.find(const_cast<QWidget*>(kontener));
  if (r == rodzaje_.end()) return {};
  switch (r->second) {
    case TRodzaj::PanelWypukly:
      return {kKrawedz, kKrawedz, kKrawedz, kKrawedz};
    case TRodzaj::PanelWypuklyZObramowaniem: {
      constexpr int m = kKrawedz + kObramowanie;
      return {m, m, m, m};
    }
    case TRodzaj::PanelPlaskiZObramowaniem:
      return {kObramowanie, kObramowanie, kObramowanie, kObramowanie};
    case TRodzaj::Ramka:
      // The frame's line and, at the top, its caption.
      return {2, skala_(15), 2, 2};
    default:
      return {};
  }
}

TLayout& TWindowBuilder::Uklad(QWidget* kontener) {
  TLayout*& u = uklady_[kontener];
  if (!u) u = new TLayout(kontener, Wnetrze(kontener));
  return *u;
}

QWidget* TWindowBuilder::Element(std::string_view nazwa) const {
  const auto e = elementy_.find(nazwa);
  if (e == elementy_.end()) throw std::logic_error("no element " + std::string(nazwa));
  return e->second;
}

void TWindowBuilder::Zbuduj(std::span<const TElementUkladu> tabela, const Tworzenie& wlasne) {
  QFont pogrubiona = okno_->font();
  pogrubiona.setBold(true);
  for (const TElementUkladu& w : tabela) {
    QWidget* rodzic = w.Rodzic ? Element(w.Rodzic) : okno_;
    QWidget* e = w.Rodzaj == TRodzaj::Wlasny ? wlasne(w, rodzic) : Nowy(w, rodzic);
    e->setObjectName(QString::fromLatin1(w.Nazwa));
    elementy_.emplace(w.Nazwa, e);
    rodzaje_.emplace(e, w.Rodzaj);
    if (Panel(w.Rodzaj) || w.Rodzaj == TRodzaj::Ramka) e->setFocusPolicy(Qt::NoFocus);

    switch (w.Czcionka) {
      case TCzcionka::Okna:
        break;
      case TCzcionka::Pogrubiona:
        e->setFont(pogrubiona);
        break;
      case TCzcionka::StalaSzerokosc8:
        e->setFont(skala_.Czcionka(CzcionkaStalaSzerokosc(8)));
        break;
      case TCzcionka::StalaSzerokosc10:
        e->setFont(skala_.Czcionka(CzcionkaStalaSzerokosc(10)));
        break;
    }

    if (w.Rodzaj == TRodzaj::Etykieta) {
      e->move(skala_.Punkt(w.Lewo, w.Gora));
      e->adjustSize();
    } else if (w.Miejsce == TMiejsce::Stale) {
      e->setGeometry(skala_.Prostokat(w.Lewo, w.Gora, w.Szerokosc, w.Wysokosc));
    }
    if (w.Stan & kUkryty) e->hide();
    if (w.Stan & kWylaczony) e->setEnabled(false);

    switch (w.Miejsce) {
      case TMiejsce::Stale:
        break;
      case TMiejsce::Gora:
        Uklad(rodzic).Dodaj(e, Wyrownanie::Gora, skala_(w.Wysokosc));
        break;
      case TMiejsce::Dol:
        Uklad(rodzic).Dodaj(e, Wyrownanie::Dol, skala_(w.Wysokosc));
        break;
      case TMiejsce::Lewo:
        Uklad(rodzic).Dodaj(e, Wyrownanie::Lewo, skala_(w.Szerokosc));
        break;
      case TMiejsce::Wypelnij:
        Uklad(rodzic).Dodaj(e, Wyrownanie::Wypelnij);
        break;
    }
  }
}

}  // namespace ui
