// Lines of the events log written as they stand
#include "app/PlainLog.h"

#include "app/log.h"
#include "app/main.h"

namespace vantrel::app {

void AddPlainLogLine(TMainUnitState& State, const String& Line) {
  if (LogForm)
    LogForm->AddLine(Line);
  else
    State.ActionLog.push_back(Line);
}

}  // namespace vantrel::app
