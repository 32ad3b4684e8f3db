// The profile reader over arbitrary bytes: a file is either a profile whose
// every value is within what the keys allow, or refused as EProfil naming
// the file (nothing else escapes). A profile that reads is put in use, and
// the rule it makes must be one: its byte table and its faulty bytes agree,
// the default's rule comes back byte for byte, and every scan version finds
// what the plain loops find under it, here over the input's own bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "profile/RegulaZnakow.h"
#include "scan/LineScanner.h"
#include "typy/BledneWLinii.h"

namespace {

void SprawdzRegule(std::string_view bajty) {
  const kodowanie::TRegulaZnakow& r = kodowanie::Regula();
  for (int b = 0; b < 256; ++b) {
    const auto k = r.klasa[static_cast<std::size_t>(b)];
    if (b == '\n' || b == '\r' || b == 0x1A) continue;
    FUZZ_CHECK((k == kodowanie::kFaulty) == r.bledny[static_cast<std::size_t>(b)]);
    FUZZ_CHECK(!r.zabroniony[static_cast<std::size_t>(b)] || (b >= 0x20 && b <= 0x7E));
  }
  const auto* p = reinterpret_cast<const unsigned char*>(bajty.data());
  const auto* const end = p + bajty.size();
  for (const scan::Version& v : scan::Versions()) {
    bool a = false, b = false;
    FUZZ_CHECK(v.toLineBreak(p, end, a) == scan::ToLineBreakScalar(p, end, b) && a == b);
    FUZZ_CHECK(v.toFaultyByte(p, end) == scan::ToFaultyByteScalar(p, end));
    for (unsigned stops = 0; stops < 4; ++stops) {
      const scan::CleanRun x = v.cleanLines(p, end, stops);
      const scan::CleanRun y = scan::CleanLinesScalar(p, end, stops);
      FUZZ_CHECK(x.end == y.end && x.lines == y.lines);
    }
  }
  // Every position the line's decision gives is a candidate of the table.
  for (const std::size_t pos : Typy::BledneWLinii(bajty))
    FUZZ_CHECK(pos >= 1 && pos <= bajty.size() &&
               r.bledny[static_cast<unsigned char>(bajty[pos - 1])]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view tekst(reinterpret_cast<const char*>(data), size);
  profile::TProfil p;
  try {
    p = profile::CzytajProfil(tekst, "fuzz.toml");
  } catch (const profile::EProfil& e) {
    FUZZ_CHECK(e.Plik() == "fuzz.toml");
    FUZZ_CHECK(std::string_view(e.what()).substr(0, 9) == "fuzz.toml");
    FUZZ_CHECK(e.Linia() <=
               static_cast<std::uint32_t>(std::count(tekst.begin(), tekst.end(), '\n')) + 1);
    return 0;
  }
  FUZZ_CHECK(!p.nazwa.empty());
  FUZZ_CHECK(std::is_sorted(p.zabronione.begin(), p.zabronione.end()));
  FUZZ_CHECK(std::adjacent_find(p.zabronione.begin(), p.zabronione.end()) == p.zabronione.end());
  FUZZ_CHECK(p.czesci >= 1 && p.czesci <= 99 && p.dlugoscCzesci >= 1 && p.dlugoscCzesci <= 999);
  profile::UzyjProfilu(p);
  SprawdzRegule(tekst);
  profile::UzyjProfilu(profile::Domyslny());
  FUZZ_CHECK(&kodowanie::Regula() == &kodowanie::kRegulaDomyslna);
  return 0;
}
