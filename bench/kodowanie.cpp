// The encoding diagnosis and the automatic correction, timed in-process.
//
//   bench_kodowanie utf8 IN OUT         writes the Windows-1250 file IN in UTF-8
//   bench_kodowanie rozpoznaj FILE [N]  fastest of N runs of the check and of
//                                       the diagnosis after it: "CHECK DIAG NAME"
//                                       (seconds, then the encoding named)
//   bench_kodowanie strumien FILE [N]   fastest of N runs of the command-line
//                                       checker's streamed check without and
//                                       with the diagnosis fed from it, and
//                                       of the diagnosis's part after the
//                                       check: "WITHOUT WITH NAME AFTER"
//   bench_kodowanie czyste IN OUT       writes the clean lines of IN: a clean
//                                       file with Polish letters
//   bench_kodowanie popraw FILE ENC     one correction from ENC into the
//                                       corrected file: "SECONDS"
//   bench_kodowanie policz FILE ENC     the same without writing anything, as
//                                       for the confirmation: "SECONDS"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>

#include "diagnoza/PoprawKodowanie.h"
#include "diagnoza/RozpoznajKodowanie.h"
#include "kodowanie/Cp1250.h"
#include "linie/CzytajKawalkami.h"
#include "linie/LineSplitter.h"
#include "linie/SprawdzanieStrumienia.h"
#include "linie/WczytajPlik.h"
#include "platform/PlatformFile.h"

namespace {

using Clock = std::chrono::steady_clock;

double Od(Clock::time_point t) {
  return std::chrono::duration<double>(Clock::now() - t).count();
}

int Utf8(const char* in, const char* out) {
  std::ifstream src(in, std::ios::binary);
  std::ofstream dst(out, std::ios::binary | std::ios::trunc);
  std::string chunk(1 << 20, '\0');
  while (src) {
    src.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
    const auto n = static_cast<std::size_t>(src.gcount());
    if (n == 0) break;
    const std::string u = kodowanie::cp1250::ToUtf8(std::string_view(chunk.data(), n));
    dst.write(u.data(), static_cast<std::streamsize>(u.size()));
  }
  return dst ? 0 : 1;
}

int Czyste(const char* in, const char* out) {
  std::ifstream src(in, std::ios::binary);
  std::ofstream dst(out, std::ios::binary | std::ios::trunc);
  std::string linia;
  while (std::getline(src, linia)) {
    bool bledna = linia.empty();
    for (std::size_t i = 0; i < linia.size() && !bledna; ++i)
      bledna = linia[i] != '\r' && kodowanie::CzyZnakBledny(static_cast<unsigned char>(linia[i]));
    if (!bledna) dst << linia << '\n';
  }
  return dst ? 0 : 1;
}

int Rozpoznaj(const char* path, int runs) {
  double check = 1e9, diag = 1e9;
  std::string name;
  for (int r = 0; r < runs; ++r) {
    auto stan = std::make_unique<Typy::TStan>();
    stan->NazwaPliku = path;
    auto t = Clock::now();
    linie::WczytajPlik(*stan);
    check = std::min(check, Od(t));
    t = Clock::now();
    const auto d = diagnoza::RozpoznajKodowanie(*stan);
    diag = std::min(diag, Od(t));

    name = d ? std::string(kodowanie::Nazwa(d->kodowanie)) : "-";
  }
  std::printf("%.6f %.6f %s\n", check, diag, name.c_str());
  return 0;
}

// The checker's findings, printing nothing; with `rozpoznawanie` they feed
// the diagnosis as the checker does.
class TZnaleziska final : public linie::StreamFindings {
 public:
  explicit TZnaleziska(diagnoza::TRozpoznawanie* r) : r_(r) {}
  void FaultyByte(std::uint64_t, std::uint64_t, unsigned char) override { ++bajty_; }
  void EmptyLine(std::uint64_t) override {}
  void FaultyLine(std::uint64_t, std::string_view) override {}
  void Corrected(const char*, std::size_t) override {}
  void FaultyText(std::uint64_t line, std::string_view part) override {
    if (r_) r_->CzescBlednej(line, part);
  }
  std::uint64_t bajty_ = 0;

 private:
  diagnoza::TRozpoznawanie* r_;
};

// The streamed check, and the part of it after the last line: the clean
// lines read again and the verdict.
struct TCzasy {
  double calosc;
  double poSprawdzeniu;
};

TCzasy Strumien(const char* path, diagnoza::TRozpoznawanie* r) {
  const auto t = Clock::now();
  TZnaleziska z(r);
  linie::SprawdzanieStrumienia check(z, {});
  linie::BasicLineSplitter<linie::SprawdzanieStrumienia> splitter(check);
  platform::InputFile in(path);
  // Read as the checker reads.
  linie::CzytajKawalkami(in, [&splitter](const char* dane, std::size_t n) {
    if (n > 0) return splitter.Feed(dane, n);
    splitter.Finish();
    return true;
  });
  const auto po = Clock::now();
  if (r) {
    r->KoniecBlednych();
    if (r->PotrzebneLiniePoprawne(0)) diagnoza::DoczytajLiniePoprawne(*r, path);
    diagnoza::DoczytajPoczatek(*r, path);
    (void)r->Wynik();
  }
  return {Od(t), Od(po)};
}

int Strumienie(const char* path, int runs) {
  double bez = 1e9, z = 1e9, po = 1e9;
  std::string name;
  for (int i = 0; i < runs; ++i) {
    bez = std::min(bez, Strumien(path, nullptr).calosc);
    diagnoza::TRozpoznawanie r;
    const TCzasy c = Strumien(path, &r);
    z = std::min(z, c.calosc);
    po = std::min(po, c.poSprawdzeniu);
    const auto d = r.Wynik();
    name = d ? std::string(kodowanie::Nazwa(d->kodowanie)) : "-";
  }
  std::printf("%.6f %.6f %s %.6f\n", bez, z, name.c_str(), po);
  return 0;
}

int Popraw(const char* path, const char* enc, bool zapisz) {
  const auto k = kodowanie::ZNazwy(enc);
  if (!k) return 2;
  const auto t = Clock::now();
  diagnoza::TWynikPoprawy w;
  if (zapisz)
    diagnoza::ZapiszPoprawke(path, *k, w);
  else
    w = diagnoza::PoliczPoprawke(path, *k);
  std::printf("%.6f\n", Od(t));
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc == 4 && std::strcmp(argv[1], "utf8") == 0) return Utf8(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "czyste") == 0) return Czyste(argv[2], argv[3]);
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "rozpoznaj") == 0)
      return Rozpoznaj(argv[2], argc == 4 ? std::atoi(argv[3]) : 5);
    if ((argc == 3 || argc == 4) && std::strcmp(argv[1], "strumien") == 0)
      return Strumienie(argv[2], argc == 4 ? std::atoi(argv[3]) : 5);
    if (argc == 4 && std::strcmp(argv[1], "popraw") == 0) return Popraw(argv[2], argv[3], true);
    if (argc == 4 && std::strcmp(argv[1], "policz") == 0) return Popraw(argv[2], argv[3], false);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_kodowanie: %s\n", e.what());
    return 2;
  }
  std::fprintf(
      stderr,
      "usage: bench_kodowanie utf8|czyste IN OUT | rozpoznaj|strumien FILE [N] | popraw|policz "
      "FILE ENC\n");
  return 2;
}
