// The class library's file-name masks: '*' any run of characters, '?' one character,
// "[set]" one character of the set and "[!set]" one outside it (a set holds characters and
// ranges "a-z"), all without regard to letter case. "*.*" asks for a dot.
#pragma once

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"

VANTREL_EXCEPTION(EMaskException, Exception);

class TMask {
 public:
  // Raises EMaskException "Invalid mask" for a set that does not close.
  explicit TMask(const String& Mask);
  bool Matches(const String& Name) const;

 private:
  struct Step {
    enum Kind { Literal, AnyRun, AnyOne, Set } K = Literal;
    char32_t C = 0;
    bool Negated = false;
    std::vector<std::pair<char32_t, char32_t>> Ranges;
  };
  std::vector<Step> FSteps;
};

bool MatchesMask(const String& Name, const String& Mask);
