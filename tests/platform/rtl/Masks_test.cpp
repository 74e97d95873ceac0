#include <gtest/gtest.h>

#include "platform/rtl/Masks.h"

TEST(Masks, MatchesTable) {
  struct {
    const char* Name;
    const char* Mask;
    bool Match;
  } Cases[] = {
      {"A.AVI", "*.avi", true},   {"readme", "readme", true}, {"readme", "*.*", false},
      {"a.b", "*.*", true},       {"b1", "[a-c]*", true},     {"d1", "[a-c]*", false},
      {"d1", "[!a-c]*", true},    {"B1", "[a-c]?", true},     {"b12", "[a-c]?", false},
      {"clip.mkv", "*.mp4", false}, {"x", "*", true},         {"", "*", true},
      {"a.tar.gz", "*.gz", true}, {"q", "[xyz]", false},      {"Z", "[xyz]", true},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(std::string(C.Name) + " ~ " + C.Mask);
    EXPECT_EQ(MatchesMask(C.Name, C.Mask), C.Match);
  }
}

TEST(Masks, MalformedSetRaises) {
  for (const char* Bad : {"[a-", "[abc", "*.[", "[]", "[z-a]"}) {
    SCOPED_TRACE(Bad);
    try {
      TMask M(Bad);
      ADD_FAILURE() << "no exception";
    } catch (const EMaskException& E) {
      EXPECT_EQ(E.Message(), "Invalid mask");
    }
  }
}
