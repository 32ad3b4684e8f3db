#pragma once
// How bytes of a line are shown on screen: each byte is one character,
// decoded from Windows-1250, with the bytes nobody can see (0-31 and 127)
// drawn as their control pictures. So a caret offset in a line view is a
// byte position, and a tab or a NUL stands visibly where it is.
#include <QColor>
#include <QPlainTextEdit>
#include <QString>
#include <QValidator>
#include <functional>
#include <optional>
#include <string_view>

namespace ui {

// The text shown for some bytes: one character per byte.
QString TekstWidoczny(std::string_view bajty);
QString ZnakWidoczny(char bajt);

// The byte a shown character stands for: a control picture gives its
// control byte back; none when Windows-1250 has no byte for it.
std::optional<char> BajtZnaku(QChar znak);

// The background of a faulty byte in the line views.
QColor KolorBlednegoZnaku();

// Shows a line in a line view, with the faulty bytes of `liniaOrg` (the
// line as read, of which `bajty` is the same line or its corrected copy)
// on the faulty-byte background. The caret goes to the start.
void PokazLinie(QPlainTextEdit& widok, std::string_view bajty, std::string_view liniaOrg);

// A line view that tells when a left-button click has placed its caret.
// The view moves the caret on the release too (a click inside a selection
// drops the selection there), so the news comes after the view's own
// handling, never before it.
class TWidokLinii : public QPlainTextEdit {
 public:
  using QPlainTextEdit::QPlainTextEdit;
  std::function<void()> PoKliknieciu;

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override;
};

// The new-character field takes nothing or one character that stands for a
// single Windows-1250 byte, so a confirm always puts in exactly one byte.
class TWalidatorZnaku : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

}  // namespace ui
