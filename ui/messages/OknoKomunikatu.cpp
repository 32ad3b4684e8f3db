#include "messages/OknoKomunikatu.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "Cp1250Text.h"
#include "TekstyOkien.h"
#include "messages/MessageLayout.h"

namespace ui {

std::string TekstDoSchowka(std::string_view tytul, std::string_view tekst,
                           const std::vector<std::string>& przyciski) {
  const std::string kreska(27, '-');
  std::string out;
  auto linia = [&out](std::string_view s) {
    out.append(s);
    out.append("\r\n");
  };
  linia(kreska);
  linia(tytul);
  linia(kreska);
  linia(tekst);
  linia(kreska);
  std::string wiersz;
  for (const std::string& p : przyciski) {
    for (char c : p)
      if (c != '&') wiersz.push_back(c);
    wiersz.append("   ");
  }
  linia(wiersz);
  linia(kreska);
  return out;
}

namespace {

// Ctrl+C in a dialog: the beep, and the dialog's content as a text block.
void Kopiuj(const std::string& tytul, const std::string& tekst, const QString& przycisk) {
  QApplication::beep();
  const std::string s = TekstDoSchowka(tytul, tekst, {DoCp1250(przycisk)});
  QGuiApplication::clipboard()->setText(ZCp1250(s));
}

class TOknoKomunikatu : public QDialog {
 public:
  TOknoKomunikatu(const std::string& tytul, const std::string& tekst, QStyle::StandardPixmap ikona,
                  bool zIkona)
      : tytul_(tytul), tekst_(tekst) {
    setObjectName(QStringLiteral("OknoKomunikatu"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(ZCp1250(tytul));
    setFont(QApplication::font("QMessageBox"));

    const QScreen* ekran = QGuiApplication::primaryScreen();
    const QRect obszar = ekran ? ekran->geometry() : QRect(0, 0, 1024, 768);
    const QString napis = ZCp1250(teksty::komunikaty::kOK);
    const TMessageLayout u =
        ObliczUkladKomunikatu(font(), ZCp1250(tekst), zIkona, obszar.width(), napis);

    if (zIkona) {
      auto* obraz = new QLabel(this);
      obraz->setObjectName(QStringLiteral("Ikona"));
      obraz->setPixmap(style()->standardIcon(ikona).pixmap(32, 32));
      obraz->setGeometry(u.Ikona);
    }
    // A label, so that a screen reader (and anything else that reads the
    // dialog's widgets) finds the message. It wraps as the layout measured
    // it: at word boundaries, with tabs expanded, from the block's top left.
    auto* napisTekstu = new QLabel(ZCp1250(tekst), this);
    napisTekstu->setObjectName(QStringLiteral("Tekst"));
    napisTekstu->setTextFormat(Qt::PlainText);
    napisTekstu->setWordWrap(true);
    napisTekstu->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    napisTekstu->setGeometry(u.Tekst);

    ok_ = new QPushButton(napis, this);
    ok_->setObjectName(QStringLiteral("OK"));
    ok_->setGeometry(u.Przycisk);
    ok_->setDefault(true);
    ok_->setAutoDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(u.Wnetrze);
    move(obszar.center() - QPoint(u.Wnetrze.width() / 2, u.Wnetrze.height() / 2));
    ok_->setFocus();
  }

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->matches(QKeySequence::Copy)) {
      Kopiuj(tytul_, tekst_, ok_->text());
      return;
    }
    // Esc rejects, Enter presses OK: both close the dialog.
    QDialog::keyPressEvent(e);
  }

 private:
  std::string tytul_;
  std::string tekst_;
  QPushButton* ok_ = nullptr;
};

// The error box: the system's standard message box, which copies its text
// block with Ctrl+C as the message dialog does (Qt's box does that only on
// Windows).
class TOknoBledu : public QMessageBox {
 public:
  TOknoBledu(const std::string& tytul, const std::string& tekst)
      : QMessageBox(QMessageBox::Critical, ZCp1250(tytul), ZCp1250(tekst), QMessageBox::Ok),
        tytul_(tytul),
        tekst_(tekst) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override {
    if (e->matches(QKeySequence::Copy)) {
      Kopiuj(tytul_, tekst_, button(QMessageBox::Ok)->text());
      return;
    }
    QMessageBox::keyPressEvent(e);
  }

 private:
  std::string tytul_;
  std::string tekst_;
};

}  // namespace

void PokazOknoKomunikatu(const std::string& tytul, const std::string& tekst,
                         QStyle::StandardPixmap ikona, bool zIkona) {
  TOknoKomunikatu okno(tytul, tekst, ikona, zIkona);
  okno.exec();
}

void PokazOknoBledu(const std::string& tytul, const std::string& tekst) {
  TOknoBledu box(tytul, tekst);
  box.setObjectName(QStringLiteral("OknoBledu"));
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

bool PokazPytanie(const std::string& tytul, const std::string& tekst, bool takDomyslnie) {
  QMessageBox box(QMessageBox::Question, ZCp1250(tytul), ZCp1250(tekst),
                  QMessageBox::Yes | QMessageBox::No);
  box.setObjectName(QStringLiteral("OknoPytania"));
  box.setDefaultButton(takDomyslnie ? QMessageBox::Yes : QMessageBox::No);
  box.setEscapeButton(QMessageBox::No);
  box.setWindowModality(Qt::ApplicationModal);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace ui
