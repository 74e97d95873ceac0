// Deferred placement: a batch of SetWindowPos calls recorded one by one and applied
// together, in the order they were recorded.
#include <algorithm>
#include <memory>
#include <vector>

#include "platform/win/WindowManager.h"

struct HDWP__ {
  std::vector<WINDOWPOS> Entries;
};

namespace {

// The batches handed out and not yet ended; a handle not in here is refused.
std::vector<std::unique_ptr<HDWP__>>& LiveDeferBatches() {
  thread_local std::vector<std::unique_ptr<HDWP__>> Batches;
  return Batches;
}

std::vector<std::unique_ptr<HDWP__>>::iterator FindDeferBatch(HDWP Batch) {
  auto& All = LiveDeferBatches();
  return std::find_if(All.begin(), All.end(), [Batch](const auto& B) { return B.get() == Batch; });
}

}  // namespace

HDWP BeginDeferWindowPos(int NumWindows) {
  if (NumWindows < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto Batch = std::make_unique<HDWP__>();
  Batch->Entries.reserve(static_cast<size_t>(NumWindows));
  HDWP Handle = Batch.get();
  LiveDeferBatches().push_back(std::move(Batch));
  return Handle;
}

HDWP DeferWindowPos(HDWP WinPosInfo, HWND Wnd, HWND InsertAfter, int X, int Y, int CX, int CY, UINT Flags) {
  auto It = FindDeferBatch(WinPosInfo);
  if (It == LiveDeferBatches().end()) {
    SetLastError(ERROR_INVALID_DWP_HANDLE);
    return nullptr;
  }
  if (!IsWindow(Wnd)) {
    LiveDeferBatches().erase(It);
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  (*It)->Entries.push_back(WINDOWPOS{Wnd, InsertAfter, X, Y, CX, CY, Flags});
  return WinPosInfo;
}

BOOL EndDeferWindowPos(HDWP WinPosInfo) {
  auto It = FindDeferBatch(WinPosInfo);
  if (It == LiveDeferBatches().end()) {
    SetLastError(ERROR_INVALID_DWP_HANDLE);
    return FALSE;
  }
  // Taken off the list first: a handler run by a placement may start batches of its own.
  std::unique_ptr<HDWP__> Batch = std::move(*It);
  LiveDeferBatches().erase(It);
  BOOL All = TRUE;
  for (const WINDOWPOS& P : Batch->Entries)
    if (!IsWindow(P.hwnd) || !SetWindowPos(P.hwnd, P.hwndInsertAfter, P.x, P.y, P.cx, P.cy, P.flags)) All = FALSE;
  return All;
}
