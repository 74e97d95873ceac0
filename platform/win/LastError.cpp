#include "platform/win/WinTypes.h"

namespace {
thread_local DWORD tLastError = 0;
}

DWORD GetLastError() { return tLastError; }
void SetLastError(DWORD Code) { tLastError = Code; }
