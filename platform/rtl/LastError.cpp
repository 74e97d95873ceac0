#include "platform/rtl/LastError.h"

namespace {
thread_local uint32_t tLastErrorCode = 0;
}

uint32_t GetLastError() { return tLastErrorCode; }
void SetLastError(uint32_t Code) { tLastErrorCode = Code; }
