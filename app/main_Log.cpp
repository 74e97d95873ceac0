// The main window's histories: error reports, the stamped events log and the media log.
#include "app/errordlg.h"
#include "app/log.h"
#include "app/main.h"
#include "app/PlainLog.h"
#include "platform/rtl/Format.h"

namespace vantrel::app {

void ReportError(TMainUnitState& State, const String& Text, const String& Mark) {
  if (!ErrorForm) {
    State.ErrorReports.push_back({Text, Mark});
    return;
  }
  ShowErrorReport(*ErrorForm, State, Text, Mark);
}

void AddActionLogLine(TMainUnitState& State, const String& Text) { AddPlainLogLine(State, StampedLine(Now(), Text)); }

void StartMediaLogHistory(TMainUnitState& State) {
  State.MediaLogHistory = std::make_unique<TStringList>();
  State.MediaLogHistory->Add("FFLOGGER HISTORY:");
}

String MediaLogLine(Cardinal AThreadID, media::TLogLevel ALogLevel, const String& ALogMsg) {
  return Format("#%u.%d: ", {AThreadID, static_cast<Integer>(ALogLevel)}) + ALogMsg;
}

void FFLoggerLog(TMainUnitState& State, Cardinal AThreadID, media::TLogLevel ALogLevel,
                 const String& ALogMsg) {
  if (!State.MediaLogHistory) StartMediaLogHistory(State);
  State.MediaLogHistory->Add(MediaLogLine(AThreadID, ALogLevel, ALogMsg));
}

}  // namespace vantrel::app
