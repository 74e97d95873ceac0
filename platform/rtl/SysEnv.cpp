#include "platform/rtl/SysEnv.h"

#include <unistd.h>

#include "platform/rtl/Exceptions.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>
#include <system_error>

String GetEnvironmentVariable(const String& Name) {
  const char* Value = Name.empty() ? nullptr : std::getenv(Name.c_str());
  return Value ? String(Value) : String();
}

bool SetEnvironmentVariable(const String& Name, const String& Value) {
  if (Name.empty() || Name.find('=') != String::npos) return false;
  return ::setenv(Name.c_str(), Value.c_str(), 1) == 0;
}

bool UnsetEnvironmentVariable(const String& Name) {
  if (Name.empty() || Name.find('=') != String::npos) return false;
  return ::unsetenv(Name.c_str()) == 0;
}

String GetExeFileName() {
  std::error_code Error;
  const auto Path = std::filesystem::read_symlink("/proc/self/exe", Error);
  return Error ? String() : Path.string();
}

String GetExeFolder() {
  const String Exe = GetExeFileName();
  const size_t Slash = Exe.rfind(PathDelim);
  return Slash == String::npos ? String() : Exe.substr(0, Slash + 1);
}

namespace {

std::vector<String> ReadCommandLine() {
  std::ifstream In("/proc/self/cmdline", std::ios::binary);
  std::vector<String> Args;
  String Arg;
  while (std::getline(In, Arg, '\0')) Args.push_back(Arg);
  return Args;
}

}  // namespace

Integer ParamCount() {
  const size_t Count = ReadCommandLine().size();
  return Count ? static_cast<Integer>(Count - 1) : 0;
}

String ParamStr(Integer Index) {
  const std::vector<String> Args = ReadCommandLine();
  return Index >= 0 && static_cast<size_t>(Index) < Args.size() ? Args[Index] : String();
}

String GetCurrentDir() {
  std::error_code Error;
  const auto Path = std::filesystem::current_path(Error);
  return Error ? String() : Path.string();
}

bool SetCurrentDir(const String& Dir) { return !Dir.empty() && ::chdir(Dir.c_str()) == 0; }

void ChDir(const String& Dir) {
  if (SetCurrentDir(Dir)) return;
  throw EInOutError(SysErrorMessage(Dir.empty() ? ENOENT : errno));
}

String IncludeTrailingPathDelimiter(const String& S) {
  return (!S.empty() && S.back() == PathDelim) ? S : S + PathDelim;
}

String ExcludeTrailingPathDelimiter(const String& S) {
  return (!S.empty() && S.back() == PathDelim) ? S.substr(0, S.size() - 1) : S;
}

String SysErrorMessage(int Errno) {
  char Buffer[256];
  // GNU strerror_r: returns the text, which may or may not be in Buffer.
  const char* Text = ::strerror_r(Errno, Buffer, sizeof Buffer);
  return Text ? String(Text) : String();
}
