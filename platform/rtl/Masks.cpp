#include "platform/rtl/Masks.h"

#include <cwctype>

#include "platform/rtl/Utf8.h"

namespace {

char32_t MaskFold(char32_t C) {
  if (C >= 'A' && C <= 'Z') return C + ('a' - 'A');
  if (C < 0x80) return C;
  return static_cast<char32_t>(std::towlower(static_cast<wint_t>(C)));
}

}  // namespace

TMask::TMask(const String& Mask) {
  const std::u32string M = Utf8ToCodePoints(Mask);
  for (size_t i = 0; i < M.size(); ++i) {
    Step S;
    if (M[i] == U'*') {
      if (!FSteps.empty() && FSteps.back().K == Step::AnyRun) continue;
      S.K = Step::AnyRun;
    } else if (M[i] == U'?') {
      S.K = Step::AnyOne;
    } else if (M[i] == U'[') {
      S.K = Step::Set;
      size_t j = i + 1;
      if (j < M.size() && M[j] == U'!') S.Negated = true, ++j;
      bool Closed = false;
      while (j < M.size()) {
        if (M[j] == U']') {
          Closed = true;
          break;
        }
        const char32_t Lo = MaskFold(M[j]);
        if (j + 2 < M.size() && M[j + 1] == U'-' && M[j + 2] != U']') {
          const char32_t Hi = MaskFold(M[j + 2]);
          if (Hi < Lo) throw EMaskException("Invalid mask");
          S.Ranges.emplace_back(Lo, Hi);
          j += 3;
        } else if (j + 1 < M.size() && M[j + 1] == U'-' && j + 2 >= M.size()) {
          throw EMaskException("Invalid mask");  // "[a-" never closes
        } else {
          S.Ranges.emplace_back(Lo, Lo);
          ++j;
        }
      }
      if (!Closed || S.Ranges.empty()) throw EMaskException("Invalid mask");
      i = j;
    } else {
      S.C = MaskFold(M[i]);
    }
    FSteps.push_back(std::move(S));
  }
}

bool TMask::Matches(const String& Name) const {
  std::u32string N = Utf8ToCodePoints(Name);
  for (char32_t& C : N) C = MaskFold(C);
  // Greedy matching with one back-track point for the last '*'.
  size_t s = 0, n = 0, StarStep = std::string::npos, StarName = 0;
  auto One = [&](const Step& St, char32_t C) {
    switch (St.K) {
      case Step::Literal: return St.C == C;
      case Step::AnyOne: return true;
      case Step::Set: {
        bool In = false;
        for (const auto& R : St.Ranges) In = In || (C >= R.first && C <= R.second);
        return In != St.Negated;
      }
      case Step::AnyRun: break;
    }
    return false;
  };
  while (n < N.size()) {
    if (s < FSteps.size() && FSteps[s].K == Step::AnyRun) {
      StarStep = s++;
      StarName = n;
    } else if (s < FSteps.size() && One(FSteps[s], N[n])) {
      ++s, ++n;
    } else if (StarStep != std::string::npos) {
      s = StarStep + 1;
      n = ++StarName;
    } else {
      return false;
    }
  }
  while (s < FSteps.size() && FSteps[s].K == Step::AnyRun) ++s;
  return s == FSteps.size();
}

bool MatchesMask(const String& Name, const String& Mask) { return TMask(Mask).Matches(Name); }
