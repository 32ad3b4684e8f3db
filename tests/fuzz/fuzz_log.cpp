// The error report built from the state of arbitrary input: its structure
// must follow the state record by record, into a view that takes every line
// and into one that refuses a line holding NUL, as the report window does.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "kodowanie/Cp1250.h"
#include "linie/LineSplitter.h"
#include "linie/LinieDoStanu.h"
#include "raport/UtworzLOG.h"

namespace {

constexpr kodowanie::cp1250::Literal kNaglowek{u8"Lista błędów w pliku "};
constexpr kodowanie::cp1250::Literal kZawieraBlad{u8" zawiera błąd: "};
constexpr kodowanie::cp1250::Literal kBlednyZnak{u8"  Błędny znak: \""};
constexpr kodowanie::cp1250::Literal kWKolumnie{u8"\" w kolumnie "};
constexpr kodowanie::cp1250::Literal kTresc{u8"Treść błędnej linii:"};

// Fails at a line with a NUL byte, as a report file fails when it cannot be
// written, keeping what it took before.
struct WidokBezNul final : raport::TWidokRaportu {
  struct Odmowa {};
  std::vector<std::string> lines;
  void DodajLinie(std::string_view l) override {
    if (l.find('\0') != std::string_view::npos) throw Odmowa{};
    lines.emplace_back(l);
  }
};

std::vector<std::string> SplitCrLf(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t p = text.find("\r\n"); p != std::string::npos; p = text.find("\r\n", start)) {
    lines.push_back(text.substr(start, p - start));
    start = p + 2;
  }
  FUZZ_CHECK(start == text.size());  // every line, the last included, ends with CR LF
  return lines;
}

void CheckReport(const Typy::TStan& s, const std::vector<std::string>& L) {
  FUZZ_CHECK(L.size() >= 6);
  FUZZ_CHECK(L[0].compare(0, kNaglowek.view().size(), kNaglowek.view()) == 0);
  FUZZ_CHECK(L[1] == "2024-03-05, 09:07:02");
  FUZZ_CHECK(L[2] == std::string(96, '_'));
  FUZZ_CHECK(L[3].empty());
  std::size_t i = 4;
  for (std::size_t k = 0; k < s.Bledy.size(); ++k) {
    const std::int32_t index = s.Bledy.LineIndex(k);
    const std::string_view org = s.LinieOrg[static_cast<std::size_t>(index)];
    const std::string text =
        org.empty() ? Typy::teksty::CiagPusty.str() : Typy::teksty::BledneZnaki.str();
    FUZZ_CHECK(i < L.size());
    FUZZ_CHECK(L[i++] ==
               "Linia " + std::to_string(index + 1) + std::string(kZawieraBlad.view()) + text);
    for (std::size_t p : fuzz::ModelFaultyPositions(org)) {
      FUZZ_CHECK(i < L.size());
      FUZZ_CHECK(L[i++] == std::string(kBlednyZnak.view()) + org[p - 1] +
                               std::string(kWKolumnie.view()) + std::to_string(p));
    }
    FUZZ_CHECK(i + 5 <= L.size());
    FUZZ_CHECK(L[i++].empty());
    FUZZ_CHECK(L[i++] == kTresc.view());
    FUZZ_CHECK(L[i++] == org);
    FUZZ_CHECK(L[i++] == std::string(96, '-'));
    FUZZ_CHECK(L[i++].empty());
  }
  FUZZ_CHECK(i + 2 == L.size());
  FUZZ_CHECK(L[i] == "*****");
  FUZZ_CHECK(L[i + 1] == "Koniec pliku LOG");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  Typy::TStan s;
  {
    linie::TLinieDoStanu linie(s);
    linie::LineSplitter sp(linie);
    if (sp.Feed(in.data(), in.size())) sp.Finish();
  }
  // The path comes from the input too, up to its first line end, so that
  // odd bytes in a file name reach the report's first line.
  s.NazwaPliku = std::string(in.substr(0, std::min<std::size_t>(in.find('\n'), 200)));
  const raport::TZegar zegar = [] { return raport::TChwila{2024, 3, 5, 9, 7, 2}; };

  // The report goes after what the view holds.
  constexpr std::string_view kPoprzedni = "previous report\r\n";
  raport::TRaportTekst full;
  full.DodajLinie("previous report");
  raport::UtworzLOG(s, full, zegar, ':');
  FUZZ_CHECK(full.Tekst().starts_with(kPoprzedni));
  if (s.Bledy.empty()) {
    // Nothing to report: nothing written.
    FUZZ_CHECK(full.Tekst() == kPoprzedni);
    return 0;
  }
  const std::vector<std::string> lines = SplitCrLf(full.Tekst().substr(kPoprzedni.size()));
  CheckReport(s, lines);

  // A view that fails at a line stops the build there: the lines before it
  // stay.
  WidokBezNul bezNul;
  bool refused = false;
  try {
    raport::UtworzLOG(s, bezNul, zegar, ':');
  } catch (const WidokBezNul::Odmowa&) {
    refused = true;
  }
  std::size_t firstNul = 0;
  while (firstNul < lines.size() && lines[firstNul].find('\0') == std::string::npos) ++firstNul;
  FUZZ_CHECK(refused == (firstNul < lines.size()));
  FUZZ_CHECK(bezNul.lines.size() == firstNul);
  for (std::size_t i = 0; i < firstNul; ++i) FUZZ_CHECK(bezNul.lines[i] == lines[i]);

  // The time separator parser over arbitrary format text: whatever it
  // returns is ":" or a byte of the format that can stand between digits.
  const std::string_view format = in.substr(0, 64);
  const char sep = platform::SeparatorCzasu(format);
  FUZZ_CHECK(sep == ':' || format.find(sep) != std::string_view::npos);
  FUZZ_CHECK(!(sep >= '0' && sep <= '9') && sep != ' ');
  return 0;
}
