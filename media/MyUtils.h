// Small helpers of the media engine and the application: program folder, file size,
// byte-size and date texts, string splitting, the message pump of wait loops and the
// call into the main thread through which media events reach the GUI.
#pragma once

#include "platform/rtl/DateUtils.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Threads.h"

namespace vantrel::media {

// Size in bytes, -1 when the file does not exist.
Int64 GetFileSizeByName(const String& AFileName);

// The running program's full name, and its folder with a trailing "/".
using ::GetExeFileName;
using ::GetExeFolder;

// The input's text before the first ADelimiter, or all of it when there is none; with
// ADelete that part and the delimiter leave AInput (which is then empty when there was
// no delimiter).
String FetchString(String& AInput, const String& ADelimiter, bool ADelete);

// "%d Byte" up to 1024, then "%.2f KB" up to 1 MiB, "%.2f MB" up to 1 GiB, else "%.2f GB".
String FormatByteSize(Int64 ASize);

// The local wall-clock time of the instant (seconds since 1970 UTC), daylight saving
// of that instant applied.
using ::UnixToLocalDateTime;

// The class library's date-time format rules ("yyyy-mm-dd hh:nn:ss").
String DateTimeToText(const String& AFormat, TDateTime ADateTime);

// Runs what is waiting for the calling thread's loop and returns when nothing is left:
// on the main thread, the calls other threads queued for it; elsewhere nothing.
void ProcessPendingMessages();

// Runs a method on the main thread and waits for it (directly when already there).
using ::CallInMainThread;

}  // namespace vantrel::media
