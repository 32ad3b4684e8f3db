#include <gtest/gtest.h>

#include "SprawdzLinie.h"
#include "Teksty.h"
#include "Typy.h"

using namespace Typy;

TEST(PodzielTekst, commaListShapes) {
  using V = std::vector<std::string>;
  EXPECT_EQ(PodzielTekst("", ","), V{});
  EXPECT_EQ(PodzielTekst("a", ","), V{"a"});
  EXPECT_EQ(PodzielTekst("a,", ","), V{"a"});
  EXPECT_EQ(PodzielTekst(",a", ","), (V{"", "a"}));
  EXPECT_EQ(PodzielTekst("a,,b", ","), (V{"a", "", "b"}));
  EXPECT_EQ(PodzielTekst(",", ","), V{""});
  EXPECT_EQ(PodzielTekst("a,b", ""), V{"a,b"});
}

TEST(Teksty, storedInWindows1250) {
  EXPECT_EQ(teksty::CiagPusty.view().size(), 23u);
  EXPECT_EQ(teksty::BledneZnaki.view().size(), 24u);
}

TEST(SprawdzLinie, marksFaultyBytesInCorrectedCopyOnly) {
  TStan s;
  const std::string line = "A\tB\x96" "C";
  s.LinieOrg.push_back(line);
  EXPECT_FALSE(SprawdzLinie(s, 0, s.LinieOrg[0]));
  ASSERT_EQ(s.Bledy.size(), 1u);
  const TRecError r = s.Bledy[0];
  EXPECT_EQ(r.LineIndex, 0);
  EXPECT_EQ(r.BadChars, "\t,\x96");
  EXPECT_EQ(r.BadPositions, "2,4");
  EXPECT_EQ(r.ErrorText, teksty::BledneZnaki.str());
  EXPECT_EQ(s.LinieNew[0], "A?B?C");
  EXPECT_EQ(s.LinieOrg[0], line);
}
