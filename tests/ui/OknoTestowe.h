#pragma once
// A main window with its report window and a recording message facility,
// and files to check, for the tests of the check command and of character
// correction.
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>

#include "Cp1250Text.h"
#include "RecordingUserMessages.h"
#include "kodowanie/Cp1250.h"
#include "okno_glowne/glow.h"
#include "okno_raportu/LOG.h"
#include "typy/Typy.h"

namespace test {

// The recorder, with a look at the window while an outcome dialog (or a
// plain message) is open.
struct TRejestrator : ui::TRecordingUserMessages {
  std::function<void()> PrzyDialogu;
  void Ostrzezenie(const std::string& t) override {
    if (PrzyDialogu) PrzyDialogu();
    TRecordingUserMessages::Ostrzezenie(t);
  }
  void Informacja(const std::string& t) override {
    if (PrzyDialogu) PrzyDialogu();
    TRecordingUserMessages::Informacja(t);
  }
  void Komunikat(const std::string& t) override {
    if (PrzyDialogu) PrzyDialogu();
    TRecordingUserMessages::Komunikat(t);
  }
};

inline QString T(std::string_view cp) {
  return ui::ZCp1250(cp);
}

// The bytes of a file.
inline std::string Odczytaj(const std::string& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// With ZRZUT_EKRANU set to a path prefix, saves the window as
// PREFIX-NAZWA.png, to be looked at.
inline void Zrzut(QWidget& w, const char* nazwa) {
  const char* prefiks = std::getenv("ZRZUT_EKRANU");
  if (prefiks && *prefiks)
    w.grab().save(QString::fromUtf8(prefiks) + QStringLiteral("-") + QString::fromUtf8(nazwa) +
                  QStringLiteral(".png"));
}

// UTF-8 source text to the Windows-1250 bytes the program holds.
inline std::string Cp(std::string_view utf8) {
  return kodowanie::cp1250::FromUtf8Lossy(utf8);
}

// Lines 2, 3 and 5 are faulty: an en dash at 2 and a middle dot at 4, an
// empty line, and SOH at 1 and DEL at 5 in the last line, which has no line
// end.
inline const std::string kZBledami = Cp("Ala ma kota\n") + "x\x96y\xB7z\n" + "\n" +
                                     Cp("zażółć\r\n") +
                                     "\x01"
                                     "abc\x7F";

struct TOkno {
  Typy::TStan stan;
  TRejestrator m;
  TFormGlow w{stan, m};
  TFormLOG log{m};
  QTemporaryDir katalog;

  TOkno() {
    w.FormLOG = &log;
    w.show();
  }

  std::string Sciezka(const std::string& nazwa) const {
    // In the system's own form, as the file dialogs hand paths to the core.
    return QDir::toNativeSeparators(QDir(katalog.path()).filePath(QString::fromStdString(nazwa)))
        .toStdString();
  }

  std::string Plik(const std::string& nazwa, std::string_view bajty) const {
    const std::string p = Sciezka(nazwa);
    std::ofstream(p, std::ios::binary)
        .write(bajty.data(), static_cast<std::streamsize>(bajty.size()));
    return p;
  }

  // Runs the check command with the file dialog answering `sciezka`.
  void Sprawdz(const std::string& sciezka) {
    m.OdpowiedziOtworz.push_back(sciezka);
    QTest::mouseClick(w.Button3, Qt::LeftButton);
  }

  // The recorded calls from `od` on, as kinds.
  std::vector<ui::TRecordingUserMessages::Rodzaj> Rodzaje(std::size_t od = 0) const {
    std::vector<ui::TRecordingUserMessages::Rodzaj> r;
    for (std::size_t i = od; i < m.Wywolania.size(); ++i) r.push_back(m.Wywolania[i].rodzaj);
    return r;
  }
};

}  // namespace test
