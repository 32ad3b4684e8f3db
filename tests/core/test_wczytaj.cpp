// The reader: how the bytes of a file become lines, records and corrected
// copies, and what the state holds after a clean, a faulty and a failed read.
#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "linie/GatheredLine.h"
#include "linie/LineSplitter.h"
#include "linie/LinieDoStanu.h"
#include "linie/WczytajPlik.h"

using namespace Typy;
using namespace linie;
using namespace testing_core;
using V = std::vector<std::string>;

namespace {

constexpr std::size_t kMiB = std::size_t{1} << 20;  // the reader's chunk

struct ReadCase {
  const char* name;
  std::string file;
  V lines;
};

std::string Bytes(std::initializer_list<std::string_view> parts) {
  std::string s;
  for (auto p : parts) s += p;
  return s;
}

const std::string CR = "\r", LF = "\n", CRLF = "\r\n", EOT = "\x1A";

// Reads each case and compares its lines with the expected ones, and with
// the test's own model, so that the model the property test trusts is held
// to the same table.
void ExpectCases(const std::vector<ReadCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ModelLines(c.file), c.lines) << "the model disagrees";
    TStan s;
    ReadBytes(s, c.file);
    EXPECT_EQ(LinesOf(s), c.lines);
    ExpectInvariants(s);
    ExpectMatchesModel(s, c.lines);
  }
}

}  // namespace

TEST(WczytajPlik, tableOfExamples) {
  ExpectCases({
      {"empty file", "", {}},
      {"CR LF ends", Bytes({"A", CRLF, "B", CRLF}), {"A", "B"}},
      {"LF ends, last line without end", Bytes({"A", LF, "B"}), {"A", "B"}},
      {"CR LF CR LF", Bytes({"A", CRLF, CRLF}), {"A", ""}},
      {"CR LF alone", CRLF, {""}},
      {"CR inside a line", Bytes({"A", CR, "B", LF}), {"AB"}},
      {"CR-only separators", Bytes({"A", CR, "B", CR}), {"AB"}},
      {"CR CR LF", Bytes({"A", CR, CRLF, "B"}), {"A", "B"}},
      {"1A after a line end", Bytes({"A", CRLF, EOT, CRLF}), {"A"}},
      {"1A inside a line", Bytes({"AB", EOT, "CD", CRLF, "EF", CRLF}), {"AB"}},
      {"1A first", Bytes({EOT, "A", CRLF}), {}},
      {"byte-order mark kept",
       Bytes({"\xEF\xBB\xBF", "A", CRLF}),
       {"\xEF\xBB\xBF"
        "A"}},
  });
}

TEST(WczytajPlik, lineEndsAndEndOfText) {
  ExpectCases({
      {"last line without line end", Bytes({"A", CRLF, "B", CRLF, "C"}), {"A", "B", "C"}},
      {"lines separated by CR alone", Bytes({"Ab", CR, "Cd", CR, "Ef"}), {"AbCdEf"}},
      {"a lone CR is a line of nothing", CR, {""}},
      {"a lone CR after the last line end", Bytes({"A", CRLF, CR}), {"A", ""}},
      {"LF alone", LF, {""}},
      {"LF LF", Bytes({LF, LF}), {"", ""}},
      {"LF CR LF", Bytes({"A", LF, CRLF, "B"}), {"A", "", "B"}},
      {"CR before 1A", Bytes({"A", CR, EOT, "B"}), {"A"}},
      {"1A at the very end", Bytes({"A", CRLF, "B", EOT}), {"A", "B"}},
      {"1A after a lone CR ends an empty line", Bytes({"A", LF, CR, EOT}), {"A", ""}},
      {"NUL inside a line",
       Bytes({"A", std::string(1, '\0'), "B", CRLF, std::string(2, '\0')}),
       {std::string("A\0B", 3), std::string(2, '\0')}},
      {"tab and spaces kept", Bytes({" \tA \t", CRLF}), {" \tA \t"}},
      {"300-byte line", std::string(300, 'q') + CRLF, {std::string(300, 'q')}},
      {"100,000-byte line",
       std::string(99'999, 'q') + "\xE4" + CRLF + "z",
       {std::string(99'999, 'q') + "\xE4", "z"}},
  });
}

TEST(WczytajPlik, lfAndCrLfFilesGiveTheSameLines) {
  const V lines = {"Przelew 1", "",
                   "Zap\xB3"
                   "ata \x96 czerwiec",
                   "\xEF\xBB\xBF", "koniec"};
  std::string lf, crlf;
  for (const auto& l : lines) {
    lf += l + LF;
    crlf += l + CRLF;
  }
  TStan a, b;
  ReadBytes(a, lf);
  ReadBytes(b, crlf);
  EXPECT_EQ(LinesOf(a), lines);
  EXPECT_EQ(LinesOf(b), lines);
  EXPECT_EQ(CorrectedLinesOf(a), CorrectedLinesOf(b));
  ASSERT_EQ(a.Bledy.size(), b.Bledy.size());
  for (std::size_t k = 0; k < a.Bledy.size(); ++k) EXPECT_EQ(a.Bledy[k], b.Bledy[k]);
}

// The reader takes the file in pieces of 1 MiB; the line format must not
// notice where one piece ends.
TEST(WczytajPlik, linesAcrossChunkBoundaries) {
  const std::string x1 = std::string(kMiB - 1, 'x');
  const std::string x = std::string(kMiB, 'x');
  ExpectCases({
      {"CR last in a piece, LF first in the next", Bytes({x1, CRLF, "B"}), {x1, "B"}},
      {"CR last in a piece, no LF after", Bytes({x1, CR, "y", LF}), {x1 + "y"}},
      {"CR last in a piece, 1A after", Bytes({x1, CR, EOT, "z"}), {x1}},
      {"CR last in a piece and last in the file", Bytes({x1, CR}), {x1}},
      {"LF last in a piece", Bytes({x1, LF, "B"}), {x1, "B"}},
      {"LF first in a piece", Bytes({x, LF, "B"}), {x, "B"}},
      {"1A first in a piece", Bytes({x, EOT, "B", LF}), {x}},
      {"empty line across the boundary",
       Bytes({std::string(kMiB - 2, 'x'), CRLF, CRLF}),
       {std::string(kMiB - 2, 'x'), ""}},
      {"faulty byte last in a piece, line ends in the next",
       Bytes({x1, "\x01", "yyy", CRLF, "B"}),
       {x1 + "\x01yyy", "B"}},
      {"faulty byte first in a piece", Bytes({x, "\x96", "y", LF}), {x + "\x96y"}},
      {"a line over two boundaries",
       Bytes({"\t", std::string(2 * kMiB, 'x'), "\xE4", CRLF}),
       {std::string("\t").append(2 * kMiB, 'x').append("\xE4")}},
      {"CR LF split at the second boundary",
       Bytes({std::string(kMiB + 5, 'x'), LF, std::string(kMiB - 7, 'y'), CRLF, "z"}),
       {std::string(kMiB + 5, 'x'), std::string(kMiB - 7, 'y'), "z"}},
  });
}

TEST(WczytajPlik, positionsBeyondOnePiece) {
  TStan s;
  ReadBytes(s, std::string(kMiB, 'x') + "\x96" + CRLF);
  ASSERT_EQ(s.Bledy.size(), 1u);
  EXPECT_EQ(s.Bledy[0].BadPositions, "1048577");
}

// The check as the user sees it: the state after a clean file, a faulty one,
// and a path that can no longer be opened.
TEST(WczytajPlik, stateAfterCleanFaultyAndFailedChecks) {
  TempDir dir;
  TStan s;
  s.WybranaPozycja = 7;  // picked in an earlier check; nothing here resets it

  const std::string clean = Bytes({"Jan Kowalski;100,00", CRLF,
                                   "\xA3\xF3"
                                   "d\x9F",
                                   CRLF});
  Sprawdz(s, dir.Write("czysty.txt", clean));
  EXPECT_TRUE(s.Bledy.empty());
  EXPECT_EQ(s.WybranyBlad, -1);
  EXPECT_EQ(LinesOf(s), (V{"Jan Kowalski;100,00",
                           "\xA3\xF3"
                           "d\x9F"}));
  EXPECT_EQ(CorrectedLinesOf(s), LinesOf(s));
  ExpectInvariants(s);

  const std::string faulty = Bytes({"ok", CRLF,
                                    "Zap\xB3"
                                    "ata\t\x96 czerwiec",
                                    CRLF, CRLF, "ok", CRLF, "a\xC4\x85"});
  Sprawdz(s, dir.Write("bledny.txt", faulty));
  const V lines = {"ok",
                   "Zap\xB3"
                   "ata\t\x96 czerwiec",
                   "", "ok", "a\xC4\x85"};
  EXPECT_EQ(LinesOf(s), lines);
  EXPECT_EQ(CorrectedLinesOf(s), (V{"ok",
                                    "Zap\xB3"
                                    "ata?? czerwiec",
                                    "", "ok", "a??"}));
  ASSERT_EQ(s.Bledy.size(), 3u);
  EXPECT_EQ(s.Bledy[0], (TRecError{1, "\t,\x96", "8,9", kBledneZnaki}));
  EXPECT_EQ(s.Bledy[1], (TRecError{2, "", "", kCiagPusty}));
  EXPECT_EQ(s.Bledy[2], (TRecError{4, "\xC4,\x85", "2,3", kBledneZnaki}));
  ExpectInvariants(s);
  ExpectMatchesModel(s, lines);
  s.WybranyBlad = 2;
  s.LinieNew.UstawZnak(1, 9, '-');

  // The file vanished after it was chosen: the lists keep the lines of the
  // file before, with the user's change, and no record points at them.
  const std::string gone = dir.File("zniknal.txt");
  try {
    Sprawdz(s, gone);
    FAIL() << "no error for a missing file";
  } catch (const platform::EInOutError& e) {
    EXPECT_EQ(e.Code(), 2);
    EXPECT_STREQ(e.what(), "File not found");
  }
  EXPECT_TRUE(s.Bledy.empty());
  EXPECT_EQ(s.WybranyBlad, -1);
  EXPECT_EQ(s.NazwaPliku, gone);
  EXPECT_EQ(LinesOf(s), lines);
  EXPECT_EQ(CorrectedLinesOf(s), (V{"ok",
                                    "Zap\xB3"
                                    "ata?- czerwiec",
                                    "", "ok", "a??"}));
  EXPECT_EQ(s.WybranaPozycja, 7);
  ExpectInvariants(s);

  // The next good check replaces everything, the user's change included.
  Sprawdz(s, dir.Write("czysty2.txt", "A\n"));
  EXPECT_EQ(LinesOf(s), V{"A"});
  EXPECT_EQ(CorrectedLinesOf(s), V{"A"});
  EXPECT_TRUE(s.Bledy.empty());
  ExpectInvariants(s);
}

TEST(WczytajPlik, emptyFileAfterAnotherLeavesNothing) {
  TempDir dir;
  TStan s;
  Sprawdz(s, dir.Write("a.txt", "\x96\n\n"));
  ASSERT_EQ(s.Bledy.size(), 2u);
  Sprawdz(s, dir.Write("pusty.txt", ""));
  EXPECT_TRUE(s.LinieOrg.empty());
  EXPECT_TRUE(s.LinieNew.empty());
  EXPECT_TRUE(s.Bledy.empty());
  ExpectInvariants(s);
}

#ifndef _WIN32  // making a symbolic link takes administrator rights there
TEST(WczytajPlik, followsSymbolicLinks) {
  TempDir dir;
  const std::string target = dir.Write("cel.txt", "A\r\nB\x96\r\n");
  std::filesystem::create_symlink(target, dir.File("link.txt"));
  TStan s;
  Sprawdz(s, dir.File("link.txt"));
  EXPECT_EQ(LinesOf(s), (V{"A", "B\x96"}));
  EXPECT_EQ(s.Bledy.size(), 1u);
}
#endif

// A read that fails part-way keeps the lines completed before it; the piece
// of the unfinished line must not stick to a later line.
TEST(LineSplitter, abandonedLineIsDropped) {
  TStan s;
  linie::TLinieDoStanu linie(s);
  linie::LineSplitter splitter(linie);
  ASSERT_TRUE(splitter.Feed("A\r\nB\x96\r\nunfinished\x01", 18));
  splitter.Abandon();
  EXPECT_EQ(LinesOf(s), (V{"A", "B\x96"}));
  EXPECT_EQ(s.Bledy.size(), 1u);
  s.LinieOrg.push_back("next");
  EXPECT_EQ(LinesOf(s), (V{"A", "B\x96", "next"}));
  ExpectInvariants(s);
}

// Real files met in the wild, compared line by line with the model.
TEST(WczytajPlik, corpusFilesMatchTheModel) {
  struct Expect {
    const char* name;
    bool anyFaulty;
  };
  const Expect files[] = {
      {"mbank_mt940_iph_iso8859-2.txt", true},    {"mbank_mt940_multi_iso8859-2.txt", true},
      {"pekao_collect_report_cp1250.csv", false}, {"sberbank_hu_mt940_ufffd_crlf.sta", true},
      {"wolph_mbank_mt940_soh_etx.sta", true},
  };
  for (const auto& f : files) {
    SCOPED_TRACE(f.name);
    const std::string path = (std::filesystem::path(CORPUS_DIR) / f.name).string();
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    TStan s;
    Sprawdz(s, path);
    ASSERT_FALSE(s.LinieOrg.empty());
    ExpectInvariants(s);
    ExpectMatchesModel(s, ModelLines(bytes));
    EXPECT_EQ(!s.Bledy.empty(), f.anyFaulty);
  }
}

TEST(GatheredLine, keepsAPrefixOrOnlyWholeLines) {
  // A line in parts, some cut by a piece's end: the prefix kept, or with
  // wholeOnly nothing of a line longer than kept, and the next line whole.
  struct Case {
    std::size_t keep;
    bool wholeOnly;
    std::vector<std::string> parts;
    std::string view;
  };
  const Case cases[] = {
      {8, false, {"abc"}, "abc"},
      {8, false, {"abc", "def"}, "abcdef"},
      {8, false, {"abcdef", "ghijkl"}, "abcdefgh"},
      {8, true, {"abcdef", "gh"}, "abcdefgh"},
      {8, true, {"abcdef", "ghi"}, ""},
      {8, true, {"abcdefghijk"}, ""},
      {8, true, {"abcdefghijk", "l", "m"}, ""},
  };
  for (const Case& c : cases) {
    linie::GatheredLine line(c.keep, c.wholeOnly);
    std::uint64_t length = 0;
    for (const std::string& part : c.parts) {
      line.Add(part.data(), part.size());
      line.PieceEnds();
      length += part.size();
    }
    EXPECT_EQ(line.View(), c.view) << c.parts[0];
    EXPECT_EQ(line.Length(), length) << c.parts[0];
    line.Clear();
    const std::string next = "xyz";
    line.Add(next.data(), 2);
    line.PieceEnds();
    line.Add(next.data() + 2, 1);
    EXPECT_EQ(line.View(), next) << c.parts[0];
  }
}
