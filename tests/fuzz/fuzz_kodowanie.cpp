// The encoding diagnosis and the automatic correction on any bytes. The
// first byte picks the encoding decoded from and the size of the pieces the
// input is handed over in. The corrected text must not depend on the
// pieces; its lines end in CR LF and hold no LF, CR or 1A of their own; and
// the diagnosis of the input's lines runs to a verdict.
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "diagnoza/PoprawKodowanie.h"
#include "diagnoza/RozpoznajKodowanie.h"

namespace {

std::string Przekoduj(std::string_view in, kodowanie::TKodowanie z, std::size_t kawalek) {
  std::string out;
  diagnoza::TPrzekodowanie p(
      z, [](void* k, const char* b, std::size_t n) { static_cast<std::string*>(k)->append(b, n); },
      &out);
  for (std::size_t i = 0; i < in.size(); i += kawalek)
    p.Dodaj(in.data() + i, std::min(kawalek, in.size() - i));
  p.Zakoncz();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const auto z = static_cast<kodowanie::TKodowanie>(data[0] % 9);
  const std::size_t kawalek = 1 + (data[0] >> 3);
  const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::string calosc = Przekoduj(in, z, in.size() ? in.size() : 1);
  FUZZ_CHECK(Przekoduj(in, z, kawalek) == calosc);
  for (std::size_t i = 0; i < calosc.size(); ++i) {
    const char c = calosc[i];
    FUZZ_CHECK(c != '\x1A');
    if (c == '\r') FUZZ_CHECK(i + 1 < calosc.size() && calosc[i + 1] == '\n');
    if (c == '\n') FUZZ_CHECK(i > 0 && calosc[i - 1] == '\r');
  }
  FUZZ_CHECK(calosc.empty() || calosc.ends_with("\r\n"));

  diagnoza::TRozpoznawanie r;
  const std::vector<std::string> linie = fuzz::ModelLines(in);
  for (std::size_t i = 0; i < linie.size(); ++i) {
    bool bledna = linie[i].empty();
    for (char c : linie[i]) bledna = bledna || fuzz::ModelFaulty(static_cast<unsigned char>(c));
    if (bledna && r.Potrzebna(static_cast<std::int64_t>(i)))
      r.LiniaBledna(static_cast<std::int64_t>(i), linie[i]);
  }
  for (std::size_t i = 0; i < linie.size() && r.PotrzebneLiniePoprawne(0); ++i)
    r.LiniaPoprawna(linie[i]);
  (void)r.Wynik();
  return 0;
}
