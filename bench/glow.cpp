// The window program's check command, end to end: the main and report
// windows are built as at start-up and shown offscreen, the file-open
// dialog answers with the given path, and the time runs from pressing the
// check button to the outcome dialog. The message facility is the
// recording one, so no dialog waits for a hand.
//
//   bench_glow FILE RESULT   writes "SECONDS FAULTY_LINES" to RESULT
#include <QApplication>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <fstream>

#include "RecordingUserMessages.h"
#include "okno_glowne/glow.h"
#include "okno_raportu/LOG.h"
#include "typy/Typy.h"

namespace {

using Clock = std::chrono::steady_clock;

// Notes when the outcome of the check is shown.
class TZegarKomunikatow : public ui::TRecordingUserMessages {
 public:
  void Ostrzezenie(const std::string& tekst) override {
    Koniec = Clock::now();
    ui::TRecordingUserMessages::Ostrzezenie(tekst);
  }
  void Informacja(const std::string& tekst) override {
    Koniec = Clock::now();
    ui::TRecordingUserMessages::Informacja(tekst);
  }
  std::optional<Clock::time_point> Koniec;
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: bench_glow FILE RESULT\n");
    return 2;
  }
  QApplication app(argc, argv);
  TZegarKomunikatow komunikaty;
  Typy::TStan stan;
  TFormGlow FormGlow(stan, komunikaty);
  TFormLOG FormLOG(komunikaty);
  FormGlow.FormLOG = &FormLOG;
  FormGlow.show();
  QApplication::processEvents();

  komunikaty.OdpowiedziOtworz.push_back(std::string(argv[1]));
  const auto start = Clock::now();
  FormGlow.Button3->click();
  if (!komunikaty.Koniec) {
    std::fprintf(stderr, "bench_glow: the check showed no outcome\n");
    return 1;
  }
  const double s = std::chrono::duration<double>(*komunikaty.Koniec - start).count();
  std::ofstream(argv[2]) << s << '\n';
  return 0;
}
