// Lines of the events log written as they stand, without the time stamp.
#pragma once

#include "platform/rtl/Types.h"

namespace vantrel::app {

struct TMainUnitState;

// Appends Line to the events log (kept in ActionLog while there is none).
void AddPlainLogLine(TMainUnitState& State, const String& Line);

}  // namespace vantrel::app
