#pragma once
// The report window's view of the report text (see the class comment).
#include <QAbstractScrollArea>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

class QFocusEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QPainter;
class QResizeEvent;

// The report's view. It keeps the report's exact bytes as the text of
// record (what is saved and printed) and shows them decoded, with every
// control byte other than a line's CR LF drawn as its control picture, so
// that a NUL or a tab in a quoted line can be seen.
//
// A report can run to hundreds of thousands of lines, so the view never
// builds a document: setting a report only notes where each line starts,
// and painting decodes just the lines in sight. The text is in the report
// window's font; each character takes its own width, and a long line keeps
// an index of where its columns begin while it is in sight.
//
// Positions count the report's bytes from 0, CR and LF one each. The caret
// and the selection's anchor stand only where a character can be put: at a
// line's start, between its characters or after its last one, never inside
// a line's CR LF nor after the report's final CR LF.
class TRichEditLOG : public QAbstractScrollArea {
 public:
  explicit TRichEditLOG(QWidget* rodzic = nullptr);

  // Replaces the whole text in one step; the caret goes to the start and
  // the view to its top.
  void UstawRaport(std::string bajty);
  const std::string& Raport() const { return raport_; }

  // The shown text for some report bytes: CR LF pairs end lines; any other
  // byte below 32, and 127, becomes its control picture.
  static QString TekstWidoku(const std::string& bajty);
  // The whole shown text, lines joined by LF.
  QString Tekst() const { return TekstWidoku(raport_); }

  // Lines as shown: a report of n CR LF-ended lines has n of them, an empty
  // report one empty line.
  qsizetype IleLinii() const { return static_cast<qsizetype>(poczatki_.size()); }
  QString TekstLinii(qsizetype linia) const;
  qsizetype LiniaPozycji(qsizetype pozycja) const;
  // The most characters a line has; the width the view can scroll over.
  qsizetype NajdluzszaLinia() const { return najdluzsza_; }

  // The caret at a position, moved to the nearest place it may stand; with
  // `zaznacz` the anchor stays and the text between becomes the selection,
  // otherwise the selection is empty.
  void UstawKursor(qsizetype pozycja, bool zaznacz = false);
  qsizetype Kursor() const { return kursor_; }
  qsizetype Kotwica() const { return kotwica_; }
  void ZaznaczWszystko();
  // The selected text as shown, its lines separated by CR LF.
  QString ZaznaczonyTekst() const;
  // Scrolls just far enough for the caret to be seen.
  void PokazKursor();
  // The first line in sight, and how many lines fit whole.
  qsizetype PierwszaWidocznaLinia() const;
  int WidoczneLinie() const;
  // Where the caret is drawn, in the viewport's coordinates.
  QRect ProstokatKursora() const;

  // Told of every key released in the view.
  std::function<void()> PoPuszczeniuKlawisza;

  // The view's font: the window's, with a face that has the control
  // pictures after the window's own faces, and characters laid out one by
  // one (no kerning), so a column's place is the sum of the widths before it.
  static QFont CzcionkaWidoku(const QFont& czcionkaOkna);

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void changeEvent(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void scrollContentsBy(int dx, int dy) override;
  bool event(QEvent* e) override;

 private:
  qsizetype Poczatek(qsizetype linia) const {
    return static_cast<qsizetype>(poczatki_[static_cast<std::size_t>(linia)]);
  }
  qsizetype Koniec(qsizetype linia) const;
  qsizetype Pozycja(qsizetype linia, qsizetype kolumna) const;
  qsizetype Przytnij(qsizetype pozycja) const;
  qsizetype PozycjaPunktu(QPoint p) const;
  void Przesun(qsizetype pozycja, bool zaznacz, bool zachowajKolumne = false);
  void UstawMiary();
  void UstawPaski();
  void Kopiuj() const;
  void RysujOdcinek(QPainter& p, qsizetype start, qsizetype od, qsizetype do_, qreal x,
                    int y) const;
  qreal Szerokosc(qsizetype pozycja) const {
    return szerokosci_[static_cast<unsigned char>(raport_[static_cast<std::size_t>(pozycja)])];
  }
  // Where a column of a line begins, from the line's start; and the column
  // at a distance from the line's start: the nearest boundary, or the
  // character the distance falls in.
  qreal X(qsizetype linia, qsizetype kolumna) const;
  qsizetype Kolumna(qsizetype linia, qreal x, bool najblizsza) const;
  // For a long line, where every kKrok-th column begins; nothing for a
  // short one.
  const std::vector<qreal>* Punkty(qsizetype linia) const;
  void PoliczSzerokosc();
  // The position in a line nearest to where Up and Down aim.
  qsizetype PozycjaCelu(qsizetype linia) const;
  qreal XKursora() const {
    return X(LiniaPozycji(kursor_), kursor_ - Poczatek(LiniaPozycji(kursor_)));
  }

  std::string raport_;
  // Byte offset where each line starts; the last line ends at koniec_.
  std::vector<std::size_t> poczatki_{0};
  qsizetype koniec_ = 0;
  qsizetype najdluzsza_ = 0;
  qsizetype kursor_ = 0;
  qsizetype kotwica_ = 0;
  // How far from a line's start Up and Down aim, kept across short lines:
  // the caret keeps its place across the screen, not its column.
  qreal xCelu_ = 0;
  // How far a horizontal scroll step goes.
  qreal krok_ = 8;
  int wysokoscLinii_ = 16;
  int linia0_ = 0;  // ascent: from a line's top to its baseline
  // How wide each byte's shown character is in the view's font: characters
  // are laid out one after another, so a column begins where the widths
  // before it add up to.
  std::array<qreal, 256> szerokosci_{};
  qreal najszerszyZnak_ = 0;
  qreal najszerszaLinia_ = 0;
  static constexpr qsizetype kKrok = 1024;
  mutable std::unordered_map<qsizetype, std::vector<qreal>> punkty_;
};
