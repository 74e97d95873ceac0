// Dynamic libraries: open by file name, look up entry points, close; the system's
// text of the calling thread's last failure is kept until its next failure.
#pragma once

#include "platform/rtl/Types.h"

using TLibHandle = void*;

// Flags of LoadDynLibrary (combined with |).
constexpr int DL_LAZY = 0x1;
constexpr int DL_NOW = 0x2;
constexpr int DL_LOCAL = 0x0;
constexpr int DL_GLOBAL = 0x100;
constexpr int DL_NODELETE = 0x1000;

// Nil on failure (see DynLibError). A name without "/" is searched the system's way.
TLibHandle LoadDynLibrary(const String& FileName, int Flags = DL_NOW | DL_LOCAL);
// Nil when the library has no such symbol (see DynLibError).
void* GetDynProc(TLibHandle Lib, const String& ProcName);
bool FreeDynLibrary(TLibHandle Lib);
// The system's text of the calling thread's last failed call above, "" when none.
String DynLibError();
