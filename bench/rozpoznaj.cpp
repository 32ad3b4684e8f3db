// The encoding diagnosis next to ICU's general-purpose detector, for the
// comparison in docs/ENCODINGS.md.
//
//   bench_rozpoznaj FILE...   one line per file: FILE, TAB, the diagnosis
//                             ("-" when the check finds the file clean and
//                             its letters read best as Windows-1250; "?"
//                             when it says nothing;
//                             "A albo B" when two readings are close),
//                             TAB, ICU's best guess ("?" for none)
#include <unicode/ucsdet.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "diagnoza/RozpoznajKodowanie.h"
#include "linie/WczytajPlik.h"

namespace {

std::string Nasza(const char* path) {
  Typy::TStan stan;
  stan.NazwaPliku = path;
  linie::WczytajPlik(stan);
  const auto d = diagnoza::RozpoznajKodowanie(stan);
  const bool windows = d && d->kodowanie == kodowanie::TKodowanie::Windows1250 && !d->albo;
  if (stan.Bledy.empty() && (!d || windows)) return "-";
  if (!d) return "?";
  std::string s(kodowanie::Nazwa(d->kodowanie));
  if (d->albo) s += " albo " + std::string(kodowanie::Nazwa(*d->albo));
  return s;
}

std::string Icu(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  UErrorCode status = U_ZERO_ERROR;
  UCharsetDetector* det = ucsdet_open(&status);
  ucsdet_setText(det, bytes.data(), static_cast<int32_t>(bytes.size()), &status);
  const UCharsetMatch* m = ucsdet_detect(det, &status);
  std::string name = "?";
  if (U_SUCCESS(status) && m) {
    const char* n = ucsdet_getName(m, &status);
    if (U_SUCCESS(status) && n) name = n;
  }
  ucsdet_close(det);
  return name;
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    try {
      std::printf("%s\t%s\t%s\n", argv[i], Nasza(argv[i]).c_str(), Icu(argv[i]).c_str());
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s: %s\n", argv[i], e.what());
      return 2;
    }
  }
  return 0;
}
