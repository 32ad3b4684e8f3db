#include "scan/LineScanner.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>

#include "kodowanie/ZnakiDozwolone.h"
#include "scan/scalar/LineScannerScalar.h"

// The one choice of a version: the plain loops (scalar/), and on x86-64 the
// 16-byte ones (sse/) and the 32-byte one (avx2/) the processor can run.
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define WERYFIKACJA_X86_SIMD 1
#include "scan/x86/LineScannerX86.h"
#endif

#ifdef WERYFIKACJA_X86_SIMD
namespace scan::x86 {
// The look-ups of a profile's rule, built when it is put in use, and the
// look-ups in use (constant-initialised: the default's before any
// constructor of the program runs).
Tables gTables;
constinit const Tables* gActive = &kDefaultTables;
}  // namespace scan::x86
#endif

namespace scan {

const unsigned char* ToLineBreakScalar(const unsigned char* p, const unsigned char* end,
                                       bool& faulty) {
  return scalar::ToLineBreak(p, end, faulty);
}
const unsigned char* ToFaultyByteScalar(const unsigned char* p, const unsigned char* end) {
  return scalar::ToFaultyByte(p, end);
}
CleanRun CleanLinesScalar(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return scalar::CleanLines(p, end, stops);
}

namespace {

constexpr Version kScalar{"scalar", ToLineBreakScalar, CleanLinesScalar, ToFaultyByteScalar};

// Best last, each a pointer to a version that lives as long as the program.
std::vector<const Version*> Available() {
  std::vector<const Version*> v{&kScalar};
#ifdef WERYFIKACJA_X86_SIMD
  v.push_back(&x86::kSse2);
  if (x86::CpuHasSsse3()) v.push_back(&x86::kSsse3);
  if (x86::CpuHasAvx2()) v.push_back(&x86::kAvx2);
#endif
  return v;
}

// The best version, or the one WERYFIKACJA_SIMD names if this processor
// has it: a level above what it has cannot be forced.
const Version* Choose() {
  const std::vector<const Version*> all = Available();
  const char* wanted = std::getenv("WERYFIKACJA_SIMD");
  if (wanted)
    for (const Version* v : all)
      if (std::strcmp(v->name, wanted) == 0) return v;
  return all.back();
}

const Version* ChooseNow() {
  const Version* v = Choose();
  detail::chosen.store(v, std::memory_order_relaxed);
  return v;
}
const unsigned char* ChooseAndScan(const unsigned char* p, const unsigned char* end, bool& faulty) {
  return ChooseNow()->toLineBreak(p, end, faulty);
}
CleanRun ChooseAndRun(const unsigned char* p, const unsigned char* end, unsigned stops) {
  return ChooseNow()->cleanLines(p, end, stops);
}
const unsigned char* ChooseAndFind(const unsigned char* p, const unsigned char* end) {
  return ChooseNow()->toFaultyByte(p, end);
}
constexpr Version kChoosing{"choosing", ChooseAndScan, ChooseAndRun, ChooseAndFind};

}  // namespace

// Constant-initialised: valid before any constructor of the program runs.
constinit std::atomic<const Version*> detail::chosen{&kChoosing};

}  // namespace scan

namespace scan {

namespace {
kodowanie::TRegulaZnakow gRegula;
}

void UzyjReguly(const kodowanie::TRegulaZnakow& regula) {
  const bool domyslna = regula.klasa == kodowanie::kRegulaDomyslna.klasa &&
                        regula.bledny == kodowanie::kRegulaDomyslna.bledny && !regula.zalezny &&
                        !regula.crlf;
  gRegula = regula;
  kodowanie::detail::regula = domyslna ? &kodowanie::kRegulaDomyslna : &gRegula;
#ifdef WERYFIKACJA_X86_SIMD
  if (domyslna) {
    x86::gActive = &x86::kDefaultTables;
    return;
  }
  bool refused = false;
  for (const bool z : gRegula.zabroniony) refused = refused || z;
  x86::gTables = x86::MakeTables([](int b) { return gRegula.bledny[b] && !gRegula.zabroniony[b]; },
                                 [](int b) { return gRegula.zabroniony[b]; }, refused);
  x86::gActive = &x86::gTables;
#endif
}

bool RegulaWektorowa() {
#ifdef WERYFIKACJA_X86_SIMD
  return x86::gActive->vector;
#else
  return false;
#endif
}

std::vector<Version> Versions() {
  std::vector<Version> v;
  for (const Version* p : Available()) v.push_back(*p);
  return v;
}

const Version& Active() {
  return *Choose();
}

}  // namespace scan
