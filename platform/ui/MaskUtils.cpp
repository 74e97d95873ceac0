// Edit masks: reading, position checks and formatting.
#include "platform/ui/MaskUtils.h"

#include "platform/rtl/Utf8.h"

namespace {

bool MaskIsLetter(char32_t C) { return IsLetterChar(C); }
bool MaskIsDigit(char32_t C) { return C >= U'0' && C <= U'9'; }

// Splits at the ';' that are not escaped by '\'.
std::vector<std::u32string> MaskFields(const std::u32string& S) {
  std::vector<std::u32string> Out(1);
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == U'\\' && I + 1 < S.size()) {
      Out.back() += S[I];
      Out.back() += S[++I];
    } else if (S[I] == U';' && Out.size() < 3) {
      Out.emplace_back();
    } else {
      Out.back() += S[I];
    }
  }
  return Out;
}

}  // namespace

TMaskInfo ParseEditMask(const String& EditMask) {
  TMaskInfo Info;
  const std::vector<std::u32string> F = MaskFields(Utf8ToCodePoints(EditMask));
  if (F.size() > 1) Info.SaveLiterals = F[1] != U"0";
  if (F.size() > 2 && !F[2].empty()) Info.Blank = F[2][0];
  const std::u32string& M = F[0];
  TMaskCase Case = mcNone;
  const auto Literal = [&](char32_t C) { Info.Positions.push_back({mkLiteral, C, Case}); };
  for (size_t I = 0; I < M.size(); ++I) {
    const char32_t C = M[I];
    switch (C) {
      case U'\\':
        // A lone backslash at the end stands for itself.
        Literal(I + 1 < M.size() ? M[++I] : U'\\');
        break;
      case U'!': Info.Reverse = true; break;
      case U'>':
        if (I + 1 < M.size() && M[I + 1] == U'<') {
          Case = mcNone;
          ++I;
        } else {
          Case = mcUpper;
        }
        break;
      case U'<':
        if (I + 1 < M.size() && M[I + 1] == U'>') {
          Case = mcNone;
          ++I;
        } else {
          Case = mcLower;
        }
        break;
      case U'L': Info.Positions.push_back({mkLetter, 0, Case}); break;
      case U'l': Info.Positions.push_back({mkLetterOpt, 0, Case}); break;
      case U'A': Info.Positions.push_back({mkAlphaNum, 0, Case}); break;
      case U'a': Info.Positions.push_back({mkAlphaNumOpt, 0, Case}); break;
      case U'C': Info.Positions.push_back({mkAny, 0, Case}); break;
      case U'c': Info.Positions.push_back({mkAnyOpt, 0, Case}); break;
      case U'0': Info.Positions.push_back({mkDigit, 0, Case}); break;
      case U'9': Info.Positions.push_back({mkDigitOpt, 0, Case}); break;
      case U'#': Info.Positions.push_back({mkDigitSignOpt, 0, Case}); break;
      case U':': Literal(MaskTimeSeparator); break;
      case U'/': Literal(MaskDateSeparator); break;
      case U'_': Literal(U' '); break;
      default: Literal(C); break;
    }
  }
  return Info;
}

bool MaskIsLiteral(const TMaskInfo& Mask, Integer Pos) {
  return Pos < 0 || Pos >= Mask.Count() || Mask.Positions[static_cast<size_t>(Pos)].Kind == mkLiteral;
}

bool MaskIsRequired(const TMaskInfo& Mask, Integer Pos) {
  if (Pos < 0 || Pos >= Mask.Count()) return false;
  const TMaskCharKind K = Mask.Positions[static_cast<size_t>(Pos)].Kind;
  return K == mkLetter || K == mkAlphaNum || K == mkAny || K == mkDigit;
}

bool MaskCharFits(const TMaskInfo& Mask, Integer Pos, char32_t C) {
  if (MaskIsLiteral(Mask, Pos) || C < 32) return false;
  switch (Mask.Positions[static_cast<size_t>(Pos)].Kind) {
    case mkLetter:
    case mkLetterOpt: return MaskIsLetter(C);
    case mkAlphaNum:
    case mkAlphaNumOpt: return MaskIsLetter(C) || MaskIsDigit(C);
    case mkAny:
    case mkAnyOpt: return true;
    case mkDigit:
    case mkDigitOpt: return MaskIsDigit(C);
    case mkDigitSignOpt: return MaskIsDigit(C) || C == U'+' || C == U'-';
    default: return false;
  }
}

char32_t MaskApplyCase(const TMaskInfo& Mask, Integer Pos, char32_t C) {
  if (Pos < 0 || Pos >= Mask.Count()) return C;
  switch (Mask.Positions[static_cast<size_t>(Pos)].Case) {
    case mcUpper: return UpperCaseChar(C);
    case mcLower: return LowerCaseChar(C);
    default: return C;
  }
}

Integer MaskNextInput(const TMaskInfo& Mask, Integer Pos) {
  if (Pos < 0) Pos = 0;
  while (Pos < Mask.Count() && MaskIsLiteral(Mask, Pos)) ++Pos;
  return Pos;
}

Integer MaskPrevInput(const TMaskInfo& Mask, Integer Pos) {
  if (Pos >= Mask.Count()) Pos = Mask.Count() - 1;
  while (Pos >= 0 && MaskIsLiteral(Mask, Pos)) --Pos;
  return Pos;
}

char32_t MaskEmptyChar(const TMaskInfo& Mask, Integer Pos) {
  if (Pos < 0 || Pos >= Mask.Count()) return Mask.Blank;
  const TMaskPosition& P = Mask.Positions[static_cast<size_t>(Pos)];
  return P.Kind == mkLiteral ? P.Literal : Mask.Blank;
}

String MaskFormat(const TMaskInfo& Mask, const String& Value) {
  if (!Mask.IsMasked()) return Value;
  const std::u32string V = Utf8ToCodePoints(Value);
  const Integer N = Mask.Count();
  std::u32string Out(static_cast<size_t>(N), U' ');
  const Integer Step = Mask.Reverse ? -1 : 1;
  Integer J = Mask.Reverse ? static_cast<Integer>(V.size()) - 1 : 0;
  const auto HasValue = [&] { return J >= 0 && J < static_cast<Integer>(V.size()); };
  for (Integer K = 0; K < N; ++K) {
    const Integer Pos = Mask.Reverse ? N - 1 - K : K;
    const TMaskPosition& P = Mask.Positions[static_cast<size_t>(Pos)];
    if (P.Kind == mkLiteral) {
      Out[static_cast<size_t>(Pos)] = P.Literal;
      // A value written with its literals carries them in place.
      if (HasValue() && V[static_cast<size_t>(J)] == P.Literal) J += Step;
      continue;
    }
    char32_t C = Mask.Blank;
    if (HasValue()) {
      const char32_t Got = V[static_cast<size_t>(J)];
      J += Step;
      if (Got != U' ' && Got != Mask.Blank && MaskCharFits(Mask, Pos, Got)) C = MaskApplyCase(Mask, Pos, Got);
    }
    Out[static_cast<size_t>(Pos)] = C;
  }
  return CodePointsToUtf8(Out);
}

String FormatMaskText(const String& EditMask, const String& Value) {
  return MaskFormat(ParseEditMask(EditMask), Value);
}

String MaskEditTextToText(const TMaskInfo& Mask, const String& EditText) {
  if (!Mask.IsMasked()) return EditText;
  const std::u32string T = Utf8ToCodePoints(EditText);
  std::u32string Out;
  for (size_t I = 0; I < T.size(); ++I) {
    const Integer Pos = static_cast<Integer>(I);
    if (Pos < Mask.Count() && MaskIsLiteral(Mask, Pos)) {
      if (Mask.SaveLiterals) Out += T[I];
      continue;
    }
    Out += T[I] == Mask.Blank ? U' ' : T[I];
  }
  return CodePointsToUtf8(Out);
}

bool MaskValidate(const TMaskInfo& Mask, const String& EditText, Integer& Pos) {
  const std::u32string T = Utf8ToCodePoints(EditText);
  for (Integer I = 0; I < Mask.Count(); ++I) {
    if (!MaskIsRequired(Mask, I)) continue;
    const bool Missing = I >= static_cast<Integer>(T.size()) || T[static_cast<size_t>(I)] == Mask.Blank ||
                         T[static_cast<size_t>(I)] == U' ';
    if (Missing) {
      Pos = I;
      return false;
    }
  }
  Pos = 0;
  return true;
}
