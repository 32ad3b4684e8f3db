#include "widgets/WidokLinii.h"

#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <algorithm>

#include "kodowanie/Cp1250.h"
#include "typy/Typy.h"

namespace ui {

QString TekstWidoczny(std::string_view bajty) {
  QString s(static_cast<qsizetype>(bajty.size()), Qt::Uninitialized);
  QChar* out = s.data();
  // Every picture and every decoded byte lies in the basic plane: one
  // UTF-16 unit per byte keeps offsets equal to byte positions.
  for (const char c : bajty)
    *out++ = QChar(
        static_cast<char16_t>(kodowanie::cp1250::VisibleCodePoint(static_cast<unsigned char>(c))));
  return s;
}

QString ZnakWidoczny(char bajt) {
  return TekstWidoczny(std::string_view(&bajt, 1));
}

std::optional<char> BajtZnaku(QChar znak) {
  const char16_t u = znak.unicode();
  if (u >= 0x2400 && u < 0x2420) return static_cast<char>(u - 0x2400);
  if (u == 0x2421) return static_cast<char>(0x7F);
  const int b = kodowanie::cp1250::FromUnicode(u);
  if (b < 0) return std::nullopt;
  return static_cast<char>(b);
}

QColor KolorBlednegoZnaku() {
  return QColor(255, 190, 190);
}

void PokazLinie(QPlainTextEdit& widok, std::string_view bajty, std::string_view liniaOrg) {
  widok.setPlainText(TekstWidoczny(bajty));
  QTextCharFormat tlo;
  tlo.setBackground(KolorBlednegoZnaku());
  // Full-strength text even in a disabled view, where the rest is greyed:
  // the faulty bytes are what the view is for.
  tlo.setForeground(widok.palette().color(QPalette::Active, QPalette::Text));
  QTextCursor kursor(widok.document());
  kursor.beginEditBlock();
  // Runs of neighbouring faulty bytes get one format change each.
  std::size_t poczatek = 0;
  std::size_t koniec = 0;
  const auto zaznacz = [&] {
    // Offsets of the run [poczatek, koniec) of 1-based positions, kept
    // inside the shown text.
    const std::size_t od = std::min(poczatek - 1, bajty.size());
    const std::size_t doo = std::min(koniec - 1, bajty.size());
    if (koniec == poczatek || od >= doo) return;
    kursor.setPosition(static_cast<int>(od));
    kursor.setPosition(static_cast<int>(doo), QTextCursor::KeepAnchor);
    kursor.mergeCharFormat(tlo);
  };
  Typy::ForEachFaultyByte(liniaOrg, [&](std::size_t pozycja, unsigned char) {
    if (pozycja != koniec) {
      zaznacz();
      poczatek = pozycja;
    }
    koniec = pozycja + 1;
  });
  zaznacz();
  kursor.endEditBlock();
  widok.moveCursor(QTextCursor::Start);
}

void TWidokLinii::mouseReleaseEvent(QMouseEvent* e) {
  QPlainTextEdit::mouseReleaseEvent(e);
  if (e->button() == Qt::LeftButton && PoKliknieciu) PoKliknieciu();
}

QValidator::State TWalidatorZnaku::validate(QString& input, int&) const {
  if (input.isEmpty()) return Acceptable;
  if (input.size() == 1 && BajtZnaku(input.front())) return Acceptable;
  return Invalid;
}

}  // namespace ui
