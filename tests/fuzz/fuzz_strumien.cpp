// The command-line checker's streamed check against the window program's
// state over arbitrary files cut into pieces of every small size: the same
// faulty bytes at the same places, the same empty and faulty lines, the
// same corrected copy and the same report, byte for byte. The checker counts
// runs of clean lines without looking at them one by one, and differently
// when it makes the copy, so it is checked with the copy and without.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "FuzzCheck.h"
#include "linie/LineSplitter.h"
#include "linie/LinieDoStanu.h"
#include "linie/SprawdzanieStrumienia.h"
#include "raport/UtworzLOG.h"

namespace {

using Bajt = std::tuple<std::uint64_t, std::uint64_t, unsigned char>;

// Keeps everything a streamed check hands on, and writes the report from it
// as the checker does.
struct Zapis final : linie::StreamFindings {
  std::vector<Bajt> bajty;
  std::vector<std::uint64_t> puste;
  std::vector<std::uint64_t> bledne;
  std::string poprawiony;
  raport::TRaportTekst raport;

  void FaultyByte(std::uint64_t line, std::uint64_t column, unsigned char b) override {
    bajty.emplace_back(line, column, b);
  }
  void EmptyLine(std::uint64_t line) override { puste.push_back(line); }
  void FaultyLine(std::uint64_t line, std::string_view text) override {
    if (bledne.empty()) raport::NaglowekRaportu(raport, "/plik.txt", Chwila(), ':');
    bledne.push_back(line);
    raport::CzescLinii(raport, line, text);
  }
  void Corrected(const char* data, std::size_t n) override { poprawiony.append(data, n); }

  static raport::TChwila Chwila() { return {2024, 3, 5, 9, 7, 2}; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);

  Typy::TStan stan;
  stan.NazwaPliku = "/plik.txt";
  {
    linie::TLinieDoStanu linie(stan);
    linie::LineSplitter sp(linie);
    if (sp.Feed(in.data(), in.size())) sp.Finish();
  }

  // Pieces of every size up to a little past two vector steps, and the
  // whole input, so piece edges fall everywhere: inside lines, between CR
  // and LF, at faulty bytes, at the edges of the scan's blocks. A long input
  // gets the sizes around those edges only, so the fuzzer keeps its pace.
  auto strumien = [&](std::size_t kawalek, linie::SprawdzanieStrumienia::Options opcje, Zapis& z) {
    linie::SprawdzanieStrumienia check(z, opcje);
    linie::BasicLineSplitter<linie::SprawdzanieStrumienia> sp(check);
    bool dalej = true;
    for (std::size_t off = 0; dalej && off < size; off += kawalek)
      dalej = sp.Feed(in.data() + off, std::min(kawalek, size - off));
    if (dalej) sp.Finish();
    FUZZ_CHECK(check.Lines() == stan.LinieOrg.size());
    FUZZ_CHECK(check.FaultyLines() == stan.Bledy.size());
  };
  Zapis z;
  strumien(std::max<std::size_t>(size, 1), {.keepFaultyLines = true, .corrected = true}, z);
  static constexpr std::size_t kKrawedzie[] = {1,  2,  3,  5,  15, 16,  17,  31,
                                               32, 33, 63, 64, 65, 127, 128, 129};
  std::vector<std::size_t> kawalki;
  if (size <= 1024)
    for (std::size_t k = 1; k <= 140; ++k) kawalki.push_back(k);
  else
    kawalki.assign(std::begin(kKrawedzie), std::end(kKrawedzie));
  for (const std::size_t kawalek : kawalki) {
    if (kawalek >= size) break;
    Zapis zc, zs;
    strumien(kawalek, {.keepFaultyLines = true, .corrected = true}, zc);
    strumien(kawalek, {}, zs);
    FUZZ_CHECK(zc.bajty == z.bajty && zs.bajty == z.bajty);
    FUZZ_CHECK(zc.puste == z.puste && zs.puste == z.puste);
    FUZZ_CHECK(zc.bledne == z.bledne && zs.bledne == z.bledne);
    FUZZ_CHECK(zc.poprawiony == z.poprawiony && zc.raport.Tekst() == z.raport.Tekst());
  }

  std::vector<Bajt> bajty;
  std::vector<std::uint64_t> puste, bledne;
  for (std::size_t i = 0; i < stan.Bledy.size(); ++i) {
    const auto idx = static_cast<std::size_t>(stan.Bledy.LineIndex(i));
    const std::string_view linia = stan.LinieOrg[idx];
    bledne.push_back(idx + 1);
    if (linia.empty()) puste.push_back(idx + 1);
    for (std::size_t p : fuzz::ModelFaultyPositions(linia))
      bajty.emplace_back(idx + 1, p, static_cast<unsigned char>(linia[p - 1]));
  }
  FUZZ_CHECK(z.bajty == bajty);
  FUZZ_CHECK(z.puste == puste);
  FUZZ_CHECK(z.bledne == bledne);

  std::string poprawiony;
  stan.LinieNew.WypiszWszystkie([&](const char* p, std::size_t n) { poprawiony.append(p, n); },
                                "\r\n");
  FUZZ_CHECK(z.poprawiony == poprawiony);

  raport::TRaportTekst okno;
  raport::UtworzLOG(stan, okno, Zapis::Chwila, ':');
  if (!z.bledne.empty()) raport::KoniecRaportu(z.raport);
  FUZZ_CHECK(z.raport.Tekst() == okno.Tekst());
  return 0;
}
