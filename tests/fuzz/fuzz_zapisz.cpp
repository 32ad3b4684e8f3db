// The corrected file over arbitrary input: faulty bytes are replaced
// through the correction logic as the window drives it (stray picks
// included, and line-shaping bytes among the replacements), the file is
// written and read back. It must hold exactly the corrected lines, each
// with CR LF, and read back to them unless a replacement put a CR, LF or
// byte 26 into a line; no temporary file may be left behind.
#include <dirent.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

#include "FuzzCheck.h"
#include "linie/LineSplitter.h"
#include "linie/LinieDoStanu.h"
#include "linie/WczytajPlik.h"
#include "raport/ZapiszPoprawiony.h"
#include "typy/KorektaZnaku.h"

namespace {

std::string g_dir;

void RemoveDir() {
  if (DIR* d = opendir(g_dir.c_str())) {
    while (dirent* e = readdir(d))
      if (e->d_name[0] != '.' || e->d_name[1] == '~') unlink((g_dir + "/" + e->d_name).c_str());
    closedir(d);
  }
  rmdir(g_dir.c_str());
}

// A folder of its own in memory when the system has one, else in /tmp.
const std::string& Dir() {
  if (g_dir.empty()) {
    std::string tmpl = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp");
    tmpl += "/weryfikacja-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(tmpl.data()) != nullptr);
    g_dir = tmpl;
    std::atexit(RemoveDir);
  }
  return g_dir;
}

std::vector<std::string> Names(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = opendir(dir.c_str());
  FUZZ_CHECK(d != nullptr);
  while (dirent* e = readdir(d))
    if (std::string_view(e->d_name) != "." && std::string_view(e->d_name) != "..")
      names.emplace_back(e->d_name);
  closedir(d);
  return names;
}

std::string ReadAll(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

std::uint64_t SplitMix(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::string& dir = Dir();
  Typy::TStan s;
  s.NazwaPliku = dir + "/przelewy.txt";
  const std::string target = dir + "/przelewy_nowy.txt";
  {
    linie::TLinieDoStanu linie(s);
    linie::LineSplitter sp(linie);
    if (sp.Feed(in.data(), in.size())) sp.Finish();
  }

  // Corrections chosen by a generator seeded from the input.
  std::uint64_t seed = 1469598103934665603ull;
  for (unsigned char b : in) seed = (seed ^ b) * 1099511628211ull;
  const std::size_t picks = s.Bledy.empty() ? 0 : SplitMix(seed) % 16;
  for (std::size_t n = 0; n < picks; ++n) {
    const std::size_t k = SplitMix(seed) % s.Bledy.size();
    s.WybranyBlad = static_cast<std::int32_t>(k);
    const std::string_view org = s.LinieOrg[static_cast<std::size_t>(s.Bledy.LineIndex(k))];
    const long long offset = static_cast<long long>(SplitMix(seed) % (org.size() + 1));
    Typy::PokazWybranyZnak(s, static_cast<long long>(k) + 1, offset);
    static constexpr char kChoices[] = {'\r', '\n', '\x1A', '?', 'X', ','};
    const std::uint64_t r = SplitMix(seed);
    const char c = (r & 1) ? kChoices[(r >> 1) % sizeof kChoices] : static_cast<char>(r >> 8);
    const Typy::TWynikZmiany got = Typy::ZatwierdzZnak(s, c);
    const auto want = static_cast<std::size_t>(offset) == org.size() ? Typy::TWynikZmiany::Nic
                      : fuzz::ModelFaulty(static_cast<unsigned char>(org[offset]))
                          ? Typy::TWynikZmiany::Zmieniono
                          : Typy::TWynikZmiany::NieWolno;
    FUZZ_CHECK(got == want);
    if (got == Typy::TWynikZmiany::Zmieniono)
      FUZZ_CHECK(s.LinieNew.Znak(static_cast<std::size_t>(s.Bledy.LineIndex(k)),
                                 static_cast<std::size_t>(offset) + 1) == c);
  }
  fuzz::CheckState(s, in, /*corrected=*/true);

  const std::string before = ReadAll(target);
  const bool existed = access(target.c_str(), F_OK) == 0;
  const std::string written = raport::ZapiszPoprawionyPlik(s);
  if (s.LinieNew.empty()) {
    // Nothing to save: an earlier file stays as it was.
    FUZZ_CHECK(written.empty());
    FUZZ_CHECK((access(target.c_str(), F_OK) == 0) == existed && ReadAll(target) == before);
    return 0;
  }
  FUZZ_CHECK(written == target);
  FUZZ_CHECK(Names(dir) == std::vector<std::string>{"przelewy_nowy.txt"});

  std::string expected;
  bool shapesLines = false;
  for (std::size_t i = 0; i < s.LinieNew.size(); ++i) {
    const std::string line = s.LinieNew[i];
    shapesLines = shapesLines || line.find_first_of("\r\n\x1A") != std::string::npos;
    expected += line;
    expected += "\r\n";
  }
  const std::string bytes = ReadAll(target);
  FUZZ_CHECK(bytes == expected);

  Typy::TStan back;
  back.NazwaPliku = target;
  linie::WczytajPlik(back);
  if (!shapesLines) {
    FUZZ_CHECK(back.LinieOrg.size() == s.LinieNew.size());
    for (std::size_t i = 0; i < back.LinieOrg.size(); ++i)
      FUZZ_CHECK(back.LinieOrg[i] == s.LinieNew[i]);
  }
  fuzz::CheckState(back, bytes);
  return 0;
}
