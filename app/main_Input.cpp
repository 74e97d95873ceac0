// Small helpers of the track-bar and time-field handlers: the logical left mouse button and
// a time of day in microseconds.
#include "app/main.h"
#include "platform/win/Keyboard.h"
#include "platform/win/SysMetrics.h"

namespace vantrel::app {

bool IsLeftButtonDown() {
  const int Button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return (static_cast<unsigned short>(GetAsyncKeyState(Button)) & 0x8000) != 0;
}

Int64 TimeToMicroseconds(TDateTime T) {
  Word Hour, Min, Sec, MSec;
  DecodeTime(T, Hour, Min, Sec, MSec);
  return (Int64{Hour} * 3600000 + Int64{Min} * 60000 + Int64{Sec} * 1000 + MSec) * 1000;
}

}  // namespace vantrel::app
