// The last-error code of the calling thread (Windows error numbers), set by the calls of
// the window system and the waitable objects that fail with FALSE or an invalid handle.
#pragma once

#include <cstdint>

uint32_t GetLastError();
void SetLastError(uint32_t Code);
