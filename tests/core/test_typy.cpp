// The state, the character rule and the line validator, without files.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "kodowanie/ZnakiDozwolone.h"
#include "linie/SprawdzLinie.h"
#include "typy/Teksty.h"
#include "typy/Typy.h"

using namespace Typy;
using namespace linie;
using namespace testing_core;
using V = std::vector<std::string>;

TEST(PodzielTekst, commaListShapes) {
  EXPECT_EQ(PodzielTekst("", ","), V{});
  EXPECT_EQ(PodzielTekst("a", ","), V{"a"});
  EXPECT_EQ(PodzielTekst("abc", ","), V{"abc"});
  EXPECT_EQ(PodzielTekst("a,", ","), V{"a"});
  EXPECT_EQ(PodzielTekst(",a", ","), (V{"", "a"}));
  EXPECT_EQ(PodzielTekst("a,,b", ","), (V{"a", "", "b"}));
  EXPECT_EQ(PodzielTekst(",", ","), V{""});
  EXPECT_EQ(PodzielTekst(",,", ","), (V{"", ""}));
  EXPECT_EQ(PodzielTekst("5,12,40", ","), (V{"5", "12", "40"}));
}

TEST(PodzielTekst, otherDelimitersAndBytes) {
  EXPECT_EQ(PodzielTekst("a,b", ""), V{"a,b"});
  EXPECT_EQ(PodzielTekst("", ""), V{});
  EXPECT_EQ(PodzielTekst("a::b::", "::"), (V{"a", "b"}));
  EXPECT_EQ(PodzielTekst("a:b", "::"), V{"a:b"});
  // A comma list of faulty bytes may hold NUL and bytes above 127.
  const std::string chars("\x01,\0,\xE4", 5);
  EXPECT_EQ(PodzielTekst(chars, ","), (V{"\x01", std::string(1, '\0'), "\xE4"}));
}

TEST(Teksty, storedInWindows1250) {
  EXPECT_EQ(Typy::teksty::CiagPusty.view(), kCiagPusty);
  EXPECT_EQ(Typy::teksty::BledneZnaki.view(), kBledneZnaki);
  EXPECT_EQ(Typy::teksty::CiagPusty.view().size(), 23u);
  EXPECT_EQ(Typy::teksty::BledneZnaki.view().size(), 24u);
}

TEST(Stan, startsEmptyAndIsOneInstance) {
  TStan s;
  EXPECT_TRUE(s.LinieOrg.empty());
  EXPECT_TRUE(s.LinieNew.empty());
  EXPECT_TRUE(s.Bledy.empty());
  EXPECT_TRUE(s.NazwaPliku.empty());
  EXPECT_EQ(s.WybranyBlad, 0);
  EXPECT_EQ(s.WybranaPozycja, 0);
  EXPECT_EQ(&Stan(), &Stan());
}

// The rule is restated here from its definition: 32..126, the Polish letters,
// LF and CR are allowed, every other byte is faulty.
TEST(CharacterRule, everyByteValue) {
  const std::string allowedOutside = kPolishLetters + "\n\r";
  ASSERT_EQ(std::string(reinterpret_cast<const char*>(ZnakiDozwolone), 20), allowedOutside)
      << "the table holds the twenty bytes in their order";
  int allowed = 0;
  for (int v = 0; v < 256; ++v) {
    SCOPED_TRACE("byte " + std::to_string(v));
    const auto b = static_cast<unsigned char>(v);
    const bool inTable = allowedOutside.find(static_cast<char>(b)) != std::string::npos;
    const bool ok = (v >= 32 && v <= 126) || inTable;
    allowed += ok;
    EXPECT_EQ(CzyZnakDozwolony(b), inTable);
    EXPECT_EQ(kodowanie::CzyZnakBledny(b), !ok);

    std::uint8_t klass = ok ? kodowanie::kAllowed : kodowanie::kFaulty;
    if (v == 0x0A) klass = kodowanie::kLineFeed;
    if (v == 0x0D) klass = kodowanie::kCarriageReturn;
    if (v == 0x1A) klass = kodowanie::kEndOfText;
    EXPECT_EQ(kodowanie::kByteClass[b], klass);

    // The validator applies the same rule to a line of that one byte.
    TStan s;
    s.LinieOrg.push_back(std::string(1, static_cast<char>(b)));
    EXPECT_EQ(SprawdzLinie(s, 0, s.LinieOrg[0]), ok);
    EXPECT_EQ(s.Bledy.size(), ok ? 0u : 1u);
    EXPECT_EQ(s.LinieNew[0], ok ? std::string(1, static_cast<char>(b)) : "?");
  }
  EXPECT_EQ(allowed, 95 + 20);
}

struct LineCase {
  const char* name;
  std::string line;
  bool clean;
  std::string chars;
  std::string positions;
  std::string corrected;
};

std::string Printable() {
  std::string s;
  for (int c = 32; c <= 126; ++c) s += static_cast<char>(c);
  return s;
}

std::string WithFaultsAt(std::size_t length, std::vector<std::pair<std::size_t, char>> faults) {
  std::string s(length, 'x');
  for (auto [pos, b] : faults) s[pos - 1] = b;
  return s;
}

TEST(SprawdzLinie, recordsAndCorrectedCopies) {
  const std::vector<LineCase> cases = {
      {"printable only", Printable(), true, "", "", Printable()},
      {"Polish letters", kPolishLetters, true, "", "", kPolishLetters},
      {"space and tilde", " ~", true, "", "", " ~"},
      {"CR and LF given to the validator", "a\rb\nc", true, "", "", "a\rb\nc"},
      {"empty line", "", false, "", "", ""},
      {"last byte faulty", "ABC\x96", false, "\x96", "4", "ABC?"},
      {"one faulty byte", "\x84", false, "\x84", "1", "?"},
      {"TAB", "a\tb", false, "\t", "2", "a?b"},
      {"DEL", "\x7F", false, "\x7F", "1", "?"},
      {"1A", "a\x1A", false, "\x1A", "2", "a?"},
      {"NUL", std::string("A\0B", 3), false, std::string(1, '\0'), "2", "A?B"},
      {"a-ogonek in UTF-8", "a\xC4\x85", false, "\xC4,\x85", "2,3", "a??"},
      {"UTF-8 byte-order mark",
       "\xEF\xBB\xBF"
       "A",
       false, "\xEF,\xBB", "1,2",
       "??\xBF"
       "A"},
      {"dashes, quotes, no-break space, a-umlaut", "\xA0\x96\x84\x94\xE4", false,
       "\xA0,\x96,\x84,\x94,\xE4", "1,2,3,4,5", "?????"},
      {"positions 5, 12, 40", WithFaultsAt(40, {{5, '\x01'}, {12, '\xA0'}, {40, '\xE4'}}), false,
       "\x01,\xA0,\xE4", "5,12,40", WithFaultsAt(40, {{5, '?'}, {12, '?'}, {40, '?'}})},
      {"positions of several digits", WithFaultsAt(125, {{10, '\t'}, {125, '\x7F'}}), false,
       "\t,\x7F", "10,125", WithFaultsAt(125, {{10, '?'}, {125, '?'}})},
      {"a line of question marks is clean", "???", true, "", "", "???"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TStan s;
    s.WybranyBlad = -1;
    s.LinieOrg.push_back(c.line);
    EXPECT_EQ(SprawdzLinie(s, 0, s.LinieOrg[0]), c.clean);
    EXPECT_EQ(s.LinieNew[0], c.corrected);
    EXPECT_EQ(s.LinieOrg[0], c.line) << "the line as read never changes";
    if (c.clean) {
      EXPECT_TRUE(s.Bledy.empty());
    } else {
      ASSERT_EQ(s.Bledy.size(), 1u);
      const TRecError r = s.Bledy[0];
      EXPECT_EQ(r.LineIndex, 0);
      EXPECT_EQ(r.BadChars, c.chars);
      EXPECT_EQ(r.BadPositions, c.positions);
      EXPECT_EQ(r.ErrorText, c.line.empty() ? kCiagPusty : kBledneZnaki);
      EXPECT_EQ(PodzielTekst(r.BadChars, ",").size(), PodzielTekst(r.BadPositions, ",").size());
    }
    ExpectInvariants(s);
  }
}

TEST(SprawdzLinie, faultyLinesTwoAndSevenOfEight) {
  TStan s;
  s.WybranyBlad = -1;
  for (int i = 1; i <= 8; ++i) {
    s.LinieOrg.push_back(i == 2 || i == 7 ? "Line\x96" + std::to_string(i)
                                          : "Line " + std::to_string(i));
    const std::size_t index = s.LinieOrg.size() - 1;
    EXPECT_EQ(SprawdzLinie(s, static_cast<std::int32_t>(index), s.LinieOrg[index]),
              i != 2 && i != 7);
  }
  ASSERT_EQ(s.Bledy.size(), 2u);
  EXPECT_EQ(s.Bledy[0].LineIndex, 1);
  EXPECT_EQ(s.Bledy[1].LineIndex, 6);
  EXPECT_EQ(s.Bledy[1].BadPositions, "5");
  EXPECT_EQ(s.LinieNew[1], "Line?2");
  EXPECT_EQ(s.LinieNew[0], "Line 1");
  ExpectInvariants(s);
}

// A corrected copy changes one byte of one entry and only where the line as
// read has a faulty byte.
TEST(LinieNew, replacementsStayInTheirLineAndPosition) {
  TStan s;
  s.WybranyBlad = -1;
  s.LinieOrg.push_back("a\tb\x96");
  s.LinieOrg.push_back("x\x01y");
  s.LinieOrg.push_back("clean");
  for (std::int32_t i = 0; i < 3; ++i) SprawdzLinie(s, i, s.LinieOrg[static_cast<std::size_t>(i)]);

  s.LinieNew.UstawZnak(0, 4, '-');
  EXPECT_EQ(s.LinieNew[0], "a?b-");
  EXPECT_EQ(s.LinieNew[1], "x?y");
  EXPECT_EQ(s.LinieOrg[0], "a\tb\x96");
  EXPECT_EQ(s.LinieNew.Znak(0, 4), '-');
  EXPECT_EQ(s.LinieNew.Znak(0, 2), '?');
  s.LinieNew.UstawZnak(0, 4, '.');  // a second change of the same byte wins
  EXPECT_EQ(s.LinieNew[0], "a?b.");

  EXPECT_THROW(s.LinieNew.UstawZnak(0, 1, 'z'), std::invalid_argument);
  EXPECT_THROW(s.LinieNew.UstawZnak(2, 1, 'z'), std::invalid_argument);
  EXPECT_THROW(s.LinieNew.UstawZnak(0, 0, 'z'), std::out_of_range);
  EXPECT_THROW(s.LinieNew.UstawZnak(0, 5, 'z'), std::out_of_range);
  EXPECT_THROW(s.LinieNew.Znak(2, 6), std::out_of_range);

  std::string streamed;
  s.LinieNew.Wypisz(0, [&](const char* p, std::size_t n) { streamed.append(p, n); });
  EXPECT_EQ(streamed, s.LinieNew[0]);
  EXPECT_EQ(CorrectedLinesOf(s), (V{"a?b.", "x?y", "clean"}));
  ExpectInvariants(s);
}
