// The trim editor's numbers: time texts, typed times and where the markers sit on the
// position track bar.
#pragma once

#include "platform/rtl/Types.h"

namespace vantrel::app {

// The track bar's range and the markers' offset from its left.
constexpr Integer TrimTrackMax = 1000;
constexpr Integer TrimMarkerOffset = 10;

// A typed time "h:m:s" (blanks around the fields allowed) in microseconds: hours 0-99,
// minutes and seconds 0-59. Raises EConvertError "'%s' is not a valid time" otherwise.
Int64 TypedTimeToMicroseconds(const String& S);

// The left of a marker for time T (DurationUs > 0; the track bar TrackWidth wide).
Integer TrimMarkerLeft(Int64 T, Int64 DurationUs, Integer TrackWidth);
// The time of a marker whose left is X.
Int64 TrimMarkerTime(Integer X, Int64 DurationUs, Integer TrackWidth);

}  // namespace vantrel::app
