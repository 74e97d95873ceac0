// The process's environment, its executable and current folder, and the system's
// error texts.
#pragma once

#include "platform/rtl/Types.h"

constexpr char PathDelim = '/';

// "" when the variable is not set.
String GetEnvironmentVariable(const String& Name);
// Sets (an empty Value sets it empty); false when Name is empty or holds '='.
bool SetEnvironmentVariable(const String& Name, const String& Value);
bool UnsetEnvironmentVariable(const String& Name);

// Full path of the running program, and its folder with a trailing '/'.
String GetExeFileName();
String GetExeFolder();
String GetCurrentDir();
// The program's command-line arguments as the system passed them: the number after the
// program's own name, and argument Index (0: the program's name; "" past the last).
Integer ParamCount();
String ParamStr(Integer Index);
// Makes Dir the process's current folder; false when it cannot (errno tells why).
bool SetCurrentDir(const String& Dir);
// As SetCurrentDir, raising EInOutError with the system's text on failure.
void ChDir(const String& Dir);

String IncludeTrailingPathDelimiter(const String& S);
String ExcludeTrailingPathDelimiter(const String& S);

// The system's text for an errno value.
String SysErrorMessage(int Errno);
