#include "platform/rtl/DynLibs.h"

#include <dlfcn.h>

namespace {

thread_local String tLastError;

void Fail(const char* Fallback) {
  const char* Text = ::dlerror();
  tLastError = Text ? Text : Fallback;
}

int SystemFlags(int Flags) {
  int R = (Flags & DL_NOW) ? RTLD_NOW : RTLD_LAZY;
  if (Flags & DL_GLOBAL)
    R |= RTLD_GLOBAL;
  else
    R |= RTLD_LOCAL;
  if (Flags & DL_NODELETE) R |= RTLD_NODELETE;
  return R;
}

}  // namespace

TLibHandle LoadDynLibrary(const String& FileName, int Flags) {
  if (FileName.empty()) {
    tLastError = "empty library file name";
    return nullptr;
  }
  void* Lib = ::dlopen(FileName.c_str(), SystemFlags(Flags));
  if (!Lib) Fail("cannot open library");
  return Lib;
}

void* GetDynProc(TLibHandle Lib, const String& ProcName) {
  if (!Lib) {
    tLastError = "invalid library handle";
    return nullptr;
  }
  ::dlerror();  // a symbol may be nil without an error: tell the two apart
  void* Proc = ::dlsym(Lib, ProcName.c_str());
  if (!Proc) {
    const char* Text = ::dlerror();
    tLastError = Text ? Text : ProcName + ": symbol has a nil address";
  }
  return Proc;
}

bool FreeDynLibrary(TLibHandle Lib) {
  if (!Lib) {
    tLastError = "invalid library handle";
    return false;
  }
  if (::dlclose(Lib) == 0) return true;
  Fail("cannot close library");
  return false;
}

String DynLibError() { return tLastError; }
