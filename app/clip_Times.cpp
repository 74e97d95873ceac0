// The trim editor's numbers
#include "app/clip_Times.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"

namespace vantrel::app {

namespace {

constexpr Int64 UsPerSecond = 1000000;

// One field of a typed time: blanks around decimal digits, at most Max.
bool TrimTimeField(const String& S, size_t From, size_t To, Integer Max, Int64& Value) {
  while (From < To && S[From] == ' ') ++From;
  while (To > From && S[To - 1] == ' ') --To;
  if (From == To || To - From > 2) return false;
  Value = 0;
  for (size_t I = From; I < To; ++I) {
    if (S[I] < '0' || S[I] > '9') return false;
    Value = Value * 10 + (S[I] - '0');
  }
  return Value <= Max;
}

}  // namespace

Int64 TypedTimeToMicroseconds(const String& S) {
  const size_t First = S.find(':');
  const size_t Second = First == String::npos ? First : S.find(':', First + 1);
  Int64 H = 0, M = 0, Sec = 0;
  if (Second == String::npos || S.find(':', Second + 1) != String::npos ||
      !TrimTimeField(S, 0, First, 99, H) || !TrimTimeField(S, First + 1, Second, 59, M) ||
      !TrimTimeField(S, Second + 1, S.size(), 59, Sec))
    throw EConvertError(Format("'%s' is not a valid time", {S}));
  return H * 3600 * UsPerSecond + M * 60 * UsPerSecond + Sec * UsPerSecond;
}

Integer TrimMarkerLeft(Int64 T, Int64 DurationUs, Integer TrackWidth) {
  const Int64 V = T * TrimTrackMax / DurationUs;
  return CheckedInt(TrackWidth * V / TrimTrackMax + TrimMarkerOffset);
}

Int64 TrimMarkerTime(Integer X, Int64 DurationUs, Integer TrackWidth) {
  const Int64 V = Round(double(X - TrimMarkerOffset) * TrimTrackMax / TrackWidth);
  return DurationUs * V / TrimTrackMax;
}

}  // namespace vantrel::app
