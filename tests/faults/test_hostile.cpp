// Inputs no user means to give, each with a clear outcome and bounded
// memory: paths at and past the system's length limit, a file name that is
// not UTF-8, a file of NUL bytes, ten million empty lines, a gigabyte in one
// line, something odd where the corrected file should go, and memory that
// runs out part-way.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <fstream>
#include <new>
#include <string>

#include <gtest/gtest.h>

#include "../fuzz/FuzzCheck.h"
#include "FaultSupport.h"
#include "kodowanie/Cp1250.h"
#include "linie/WczytajPlik.h"
#include "platform/InOutError.h"
#include "raport/UtworzLOG.h"
#include "raport/ZapiszPoprawiony.h"

using faults::ReadFile;
using faults::RunInChild;
using faults::TempDir;
using faults::WriteFile;

namespace {

constexpr long long kMiB = 1 << 20;

// Reads `path` into a state that holds an earlier file, and returns the
// error's code and message, or "read".
std::string CheckAfterPrevious(Typy::TStan& s, const std::string& path) {
  s.LinieOrg.clear();
  s.LinieNew.clear();
  s.Bledy.clear();
  s.LinieOrg.push_back("poprzedni");
  s.NazwaPliku = path;
  try {
    linie::WczytajPlik(s);
    return "read";
  } catch (const platform::EInOutError& e) {
    const bool kept = s.LinieOrg.size() == 1 && s.LinieOrg[0] == "poprzedni";
    return std::to_string(e.Code()) + " " + e.what() + (kept ? "" : " (lists changed)");
  }
}

// A folder path of exactly `length` bytes under `base`, made of nested
// folders whose names stay within the file system's 255 bytes.
std::string DeepFolder(const std::string& base, std::size_t length) {
  std::string path = base;
  if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return {};
  while (path.size() < length) {
    const std::size_t part = std::min<std::size_t>(200, length - path.size() - 1);
    path.append(1, '/').append(part ? part : 1, 'k');
    if (path.size() > length) path.resize(length);
    if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) return {};
  }
  return path;
}

// A file of `size` bytes made of `piece` repeated, written in large blocks.
void WriteRepeated(const std::string& path, const std::string& piece, long long size) {
  std::string block;
  while (static_cast<long long>(block.size()) < 8 * kMiB) block += piece;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  for (long long left = size; left > 0;) {
    const auto n =
        static_cast<std::size_t>(std::min<long long>(left, static_cast<long long>(block.size())));
    ASSERT_EQ(std::fwrite(block.data(), 1, n, f), n);
    left -= static_cast<long long>(n);
  }
  ASSERT_EQ(std::fclose(f), 0);
}

}  // namespace

// A file at a path of 4,000 bytes reads and its corrected copy is written
// beside it; a path past the system's limit is an invalid file name, for
// the reader and for the corrected file alike, and nothing is written.
TEST(HostilePaths, atAndPastTheLengthLimit) {
  TempDir dir;
  const std::string folder = DeepFolder(dir.path(), 4000 - 9);
  ASSERT_EQ(folder.size(), 4000u - 9);
  const std::string file = folder + "/a234.txt";
  ASSERT_EQ(file.size(), 4000u);
  WriteFile(file, "Przelew\t1\r\n");
  Typy::TStan s;
  EXPECT_EQ(CheckAfterPrevious(s, file), "read");
  EXPECT_EQ(raport::ZapiszPoprawionyPlik(s), folder + "/a234_nowy.txt");
  EXPECT_EQ(ReadFile(folder + "/a234_nowy.txt"), "Przelew?1\r\n");

  EXPECT_EQ(
      CheckAfterPrevious(s, folder + "/" + std::string(1000, 'x') + "/" + std::string(200, 'y')),
      "3 Invalid filename");

  // A source that fits with a corrected name that does not.
  const std::string folder2 = DeepFolder(dir.path() + "/b", PATH_MAX - 1 - 9);
  ASSERT_FALSE(folder2.empty());
  const std::string tight = folder2 + "/a23.txt";
  ASSERT_EQ(tight.size(), std::size_t{PATH_MAX} - 2);
  WriteFile(tight, "Przelew\t2\r\n");
  ASSERT_EQ(CheckAfterPrevious(s, tight), "read");
  try {
    raport::ZapiszPoprawionyPlik(s);
    ADD_FAILURE() << "a corrected path of " << raport::NazwaPlikuPoprawionego(tight).size()
                  << " bytes was written";
  } catch (const platform::EInOutError& e) {
    EXPECT_EQ(e.Code(), 3);
    EXPECT_STREQ(e.what(), "Invalid filename");
  }
  EXPECT_EQ(faults::Names(folder2), std::vector<std::string>{"a23.txt"});
}

// A name in Windows-1250 (or any bytes) is a valid name here: the file
// reads, the corrected copy keeps the name's bytes, and the report and the
// message hold only Windows-1250 text.
TEST(HostilePaths, fileNameThatIsNotUtf8) {
  TempDir dir;
  for (const std::string& name : {std::string("lista_\xB3\xF3\xB9"), std::string("\xFF\xFE\x80")}) {
    SCOPED_TRACE(name);
    const std::string file = dir / (name + ".txt");
    WriteFile(file,
              "Wyp\xB3"
              "ata\x96\r\n");
    Typy::TStan s;
    ASSERT_EQ(CheckAfterPrevious(s, file), "read");
    ASSERT_EQ(s.Bledy.size(), 1u);
    EXPECT_EQ(raport::ZapiszPoprawionyPlik(s), dir / (name + "_nowy.txt"));
    EXPECT_EQ(ReadFile(dir / (name + "_nowy.txt")),
              "Wyp\xB3"
              "ata?\r\n");

    const std::string message = raport::KomunikatZapisano(dir / (name + "_nowy.txt"));
    EXPECT_NE(message.find(kodowanie::cp1250::FromUtf8Lossy(dir / (name + "_nowy.txt"))),
              std::string::npos);
    EXPECT_EQ(kodowanie::cp1250::FromUtf8Lossy(kodowanie::cp1250::ToUtf8(message)), message);

    raport::TRaportTekst report;
    raport::UtworzLOG(
        s, report, [] { return raport::TChwila{2024, 1, 2, 3, 4, 5}; }, ':');
    const std::string& text = report.Tekst();
    const std::string first = text.substr(0, text.find("\r\n"));
    EXPECT_EQ(kodowanie::cp1250::FromUtf8Lossy(kodowanie::cp1250::ToUtf8(first)), first);
    EXPECT_NE(first.find(dir.path()), std::string::npos);
  }
}

// Something that is not a plain file where the corrected file goes is
// replaced, never opened: a FIFO would block the save, a loop of links
// would fail it.
TEST(HostilePaths, oddThingInPlaceOfTheCorrectedFile) {
  TempDir dir;
  const std::string file = dir / "lista.txt";
  WriteFile(file, "A\tB\r\n");
  Typy::TStan s;
  ASSERT_EQ(CheckAfterPrevious(s, file), "read");
  const std::string target = dir / "lista_nowy.txt";
  for (const char* kind : {"fifo", "loop"}) {
    SCOPED_TRACE(kind);
    ::unlink(target.c_str());
    if (kind[0] == 'f')
      ASSERT_EQ(::mkfifo(target.c_str(), 0644), 0);
    else
      ASSERT_EQ(::symlink(target.c_str(), target.c_str()), 0);
    EXPECT_EQ(raport::ZapiszPoprawionyPlik(s), target);
    struct stat st {};
    ASSERT_EQ(::lstat(target.c_str(), &st), 0);
    EXPECT_TRUE(S_ISREG(st.st_mode));
    EXPECT_EQ(ReadFile(target), "A?B\r\n");
  }
}

// A file of NUL bytes only: one line, every byte faulty, every byte in the
// record, the corrected copy all "?".
TEST(HostileContent, onlyNulBytes) {
  TempDir dir;
  const std::string bytes(kMiB, '\0');
  WriteFile(dir / "zera.bin", bytes);
  Typy::TStan s;
  ASSERT_EQ(CheckAfterPrevious(s, dir / "zera.bin"), "read");
  fuzz::CheckState(s, bytes);
  EXPECT_EQ(raport::ZapiszPoprawionyPlik(s), dir / "zera_nowy.txt");
  EXPECT_EQ(ReadFile(dir / "zera_nowy.txt"), std::string(kMiB, '?') + "\r\n");

  // The report names every byte, and a view that refuses NUL stops at the
  // first line that holds one.
  raport::TRaportTekst report;
  raport::UtworzLOG(
      s, report, [] { return raport::TChwila{2024, 1, 2, 3, 4, 5}; }, ':');
  std::size_t lines = 0;
  for (std::size_t p = report.Tekst().find("\r\n"); p != std::string::npos;
       p = report.Tekst().find("\r\n", p + 2))
    ++lines;
  EXPECT_EQ(lines, 4 + (1 + kMiB + 5) + 2);
}

// Ten million empty lines: every one is stored and reported, and memory
// stays within six times the file's size, writing the corrected copy
// included (measured in the build without sanitizers).
TEST(HostileContent, tenMillionEmptyLinesInBoundedMemory) {
  TempDir dir;
  const long long lines = 10'000'000;
  const std::string file = dir / "puste.txt";
  WriteRepeated(file, "\r\n", 2 * lines);
  const auto r = RunInChild([&]() -> std::string {
    Typy::TStan s;
    s.NazwaPliku = file;
    linie::WczytajPlik(s);
    if (s.LinieOrg.size() != static_cast<std::size_t>(lines) || s.Bledy.size() != s.LinieOrg.size())
      return "lines " + std::to_string(s.LinieOrg.size()) + ", records " +
             std::to_string(s.Bledy.size());
    const Typy::TRecError last = s.Bledy[s.Bledy.size() - 1];
    if (last.LineIndex != lines - 1 || last.ErrorText != Typy::teksty::CiagPusty.str())
      return "last record";
    raport::ZapiszPoprawionyPlik(s);
    return {};
  });
  EXPECT_TRUE(r.ok) << r.message;
#ifndef SANITIZED_BUILD
  // The sanitizers' own shadow memory and redzones are no measure of ours.
  EXPECT_LE(r.peakRssBytes, 6 * 2 * lines) << "peak " << r.peakRssBytes / kMiB << " MiB";
#endif
  std::cout << "10 million empty lines: peak " << r.peakRssBytes / kMiB << " MiB for a "
            << 2 * lines / kMiB << " MiB file\n";
  EXPECT_EQ(faults::ReadFile(dir / "puste_nowy.txt").size(), static_cast<std::size_t>(2 * lines));
}

#ifndef SANITIZED_BUILD
// A gigabyte in one line without a line end: read whole, faulty at both
// ends, in memory of at most 1.5 times the file plus 64 MiB. Left out of
// the sanitizer build, whose own memory would say nothing about ours.
TEST(HostileContent, oneGigabyteLineInBoundedMemory) {
  TempDir dir;
  const long long size = 1024 * kMiB;
  const std::string file = dir / "linia.txt";
  WriteRepeated(file, "Wyplata 1234,56 PLN ", size);
  {
    // A tab at each end makes the line faulty where a slip would show.
    const int fd = ::open(file.c_str(), O_WRONLY);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::pwrite(fd, "\t", 1, 0), 1);
    ASSERT_EQ(::pwrite(fd, "\t", 1, size - 1), 1);
    ASSERT_EQ(::close(fd), 0);
  }
  const auto r = RunInChild([&]() -> std::string {
    Typy::TStan s;
    s.NazwaPliku = file;
    linie::WczytajPlik(s);
    if (s.LinieOrg.size() != 1 || s.LinieOrg[0].size() != static_cast<std::size_t>(size))
      return "lines " + std::to_string(s.LinieOrg.size());
    if (s.Bledy.size() != 1 || s.LinieNew.Znak(0, 1) != '?' || s.LinieNew.Znak(0, size) != '?' ||
        s.LinieNew.Znak(0, 2) != 'y')
      return "record or corrected copy";
    return {};
  });
  ::unlink(file.c_str());
  EXPECT_TRUE(r.ok) << r.message;
  EXPECT_LE(r.peakRssBytes, size + size / 2 + 64 * kMiB)
      << "peak " << r.peakRssBytes / kMiB << " MiB";
  std::cout << "1 GiB line: peak " << r.peakRssBytes / kMiB << " MiB\n";
}

// Memory that runs out, before the read and part-way through it: a plain
// error, a state that still keeps its invariants, and the next check works.
TEST(HostileContent, memoryRunningOutIsAnErrorNotACrash) {
  TempDir dir;
  const std::string big = dir / "duzy.txt";
  WriteRepeated(big, "\r\n", 2 * 10'000'000);
  const std::string small = dir / "maly.txt";
  WriteFile(small, "A\tB\r\n");
  for (const long long headroom : {8 * kMiB, 32 * kMiB}) {
    SCOPED_TRACE(headroom / kMiB);
    const auto r = RunInChild([&]() -> std::string {
      Typy::TStan s;
      std::ifstream statm("/proc/self/statm");
      long long pages = 0;
      statm >> pages;
      const rlim_t limit = static_cast<rlim_t>(pages * ::sysconf(_SC_PAGESIZE) + headroom);
      const struct rlimit rl { limit, limit };
      if (::setrlimit(RLIMIT_AS, &rl) != 0) return "setrlimit failed";
      s.NazwaPliku = big;
      try {
        linie::WczytajPlik(s);
        return "the whole file was read in " + std::to_string(headroom / kMiB) + " MiB";
      } catch (const std::bad_alloc&) {
      }
      // Every line kept has its record, as after any failed read.
      if (s.LinieNew.size() != s.LinieOrg.size()) return "line lists differ";
      if (s.Bledy.size() != s.LinieOrg.size())
        return std::to_string(s.LinieOrg.size()) + " lines but " + std::to_string(s.Bledy.size()) +
               " records";
      s.Bledy.clear();
      s.NazwaPliku = small;
      linie::WczytajPlik(s);
      if (s.LinieOrg.size() != 1 || s.Bledy.size() != 1) return "the next check failed";
      return {};
    });
    EXPECT_TRUE(r.ok) << r.message;
  }
}
#endif
