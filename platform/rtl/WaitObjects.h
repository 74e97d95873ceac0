// Waitable objects of the system: mutexes (recursive, owned by a thread), events (manual-
// or auto-reset) and, in ChangeNotify.h, folder change notifications. Each is a handle;
// one wait takes any mix of them (every object carries an event descriptor, so a wait is
// one poll over them all). Handles are never reused while the process runs, so a stale
// one is detectably invalid. Failures set the calling thread's last error.
#pragma once

#include <cstdint>

#include "platform/rtl/LastError.h"
#include "platform/rtl/SyncObjs.h"  // INFINITE

using HANDLE = void*;
inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1));

constexpr uint32_t WAIT_OBJECT_0 = 0x00000000;
constexpr uint32_t WAIT_ABANDONED_0 = 0x00000080;
constexpr uint32_t WAIT_TIMEOUT = 0x00000102;
constexpr uint32_t WAIT_FAILED = 0xFFFFFFFF;
// The most handles one wait takes.
constexpr uint32_t MAXIMUM_WAIT_OBJECTS = 64;

constexpr uint32_t ERROR_INVALID_HANDLE = 6;
constexpr uint32_t ERROR_NOT_OWNER = 288;

// Attributes are ignored; Name must be null or empty (objects are not shared between
// processes here), else null with ERROR_INVALID_NAME.
// InitialOwner: the calling thread owns the new mutex once.
HANDLE CreateMutex(void* Attributes, int32_t InitialOwner, const char* Name);
inline HANDLE CreateMutexW(void* A, int32_t O, const char* N) { return CreateMutex(A, O, N); }
// Gives up one level of the calling thread's ownership; FALSE with ERROR_NOT_OWNER when
// it does not own the mutex.
int32_t ReleaseMutex(HANDLE Mutex);

HANDLE CreateEvent(void* Attributes, int32_t ManualReset, int32_t InitialState, const char* Name);
inline HANDLE CreateEventW(void* A, int32_t M, int32_t I, const char* N) { return CreateEvent(A, M, I, N); }
int32_t SetEvent(HANDLE Event);
int32_t ResetEvent(HANDLE Event);

// Closes any handle of this file or ChangeNotify.h; a wait that uses the object ends with
// WAIT_FAILED and the object's descriptors go once no wait uses them. FALSE with
// ERROR_INVALID_HANDLE for null, INVALID_HANDLE_VALUE or an object closed before. Other
// handles of the system that own nothing (a process token) close with TRUE.
int32_t CloseHandle(HANDLE Object);

// Waits until one of the objects is signalled, at most Milliseconds (INFINITE: for ever,
// 0: only looks). WAIT_OBJECT_0 + i for the first signalled object in the array (a mutex
// then belongs to the calling thread, an auto-reset event is reset), WAIT_TIMEOUT, or
// WAIT_FAILED with the last error: ERROR_INVALID_HANDLE for a handle that is not open or is
// closed during the wait (or a change notification whose folder is gone),
// ERROR_INVALID_PARAMETER for no handles, too many, or WaitAll (only "any" is supported).
uint32_t WaitForMultipleObjects(uint32_t Count, const HANDLE* Handles, int32_t WaitAll, uint32_t Milliseconds);
uint32_t WaitForSingleObject(HANDLE Object, uint32_t Milliseconds);
