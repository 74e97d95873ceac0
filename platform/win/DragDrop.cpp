// File drops from the display to the window that accepts them.
#include "platform/win/DragDrop.h"

#include <algorithm>
#include <cstring>

#include "platform/win/Input.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Shell.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

HDROP DropStore::Add(Drop D) {
  FNext += 0x10;
  FDrops.emplace(FNext, std::move(D));
  return reinterpret_cast<HDROP>(FNext);
}

const DropStore::Drop* DropStore::Find(HDROP H) const {
  auto It = FDrops.find(reinterpret_cast<uintptr_t>(H));
  return It == FDrops.end() ? nullptr : &It->second;
}

bool DropStore::Remove(HDROP H) { return FDrops.erase(reinterpret_cast<uintptr_t>(H)) > 0; }

void RouteDrop(WindowManager& M, const RawInput& Event) {
  if (Event.Paths.empty()) return;
  const HitResult Hit = M.Input().HitTest(Event.Pos);
  if (!Hit.W || Hit.Code == HTERROR) return;
  Window* W = Hit.W;
  while (W && !(W->ExStyle & WS_EX_ACCEPTFILES)) W = W->Parent;
  if (!W) return;  // nobody takes files here: the drop is refused
  const POINT O = M.ClientOrigin(W);
  DropStore::Drop D;
  D.Paths = Event.Paths;
  D.Point = {Event.Pos.X - O.X, Event.Pos.Y - O.Y};
  D.InClient = D.Point.X >= 0 && D.Point.Y >= 0 && D.Point.X < W->ClientRect.Right - W->ClientRect.Left &&
               D.Point.Y < W->ClientRect.Bottom - W->ClientRect.Top;
  const HDROP H = M.Shell().Drops().Add(std::move(D));
  M.Queue().Post(MSG{W->Handle, WM_DROPFILES, reinterpret_cast<WPARAM>(H), 0,
                     static_cast<DWORD>(M.GetClock().Now()), Event.Pos});
}

}  // namespace vantrel::win

using vantrel::win::DropStore;
using vantrel::win::WindowManager;

namespace {

const DropStore::Drop* FindDrop(HDROP Drop) {
  WindowManager* M = vantrel::win::OnGuiThread() ? WindowManager::Instance() : nullptr;
  const DropStore::Drop* D = M ? M->Shell().Drops().Find(Drop) : nullptr;
  if (!D) SetLastError(ERROR_INVALID_PARAMETER);
  return D;
}

}  // namespace

void DragAcceptFiles(HWND Wnd, BOOL Accept) {
  WindowManager* M = WindowManager::Instance();
  vantrel::win::Window* W = M ? M->FindOrFail(Wnd) : nullptr;
  if (!W) return;
  if (Accept)
    W->ExStyle |= WS_EX_ACCEPTFILES;
  else
    W->ExStyle &= ~WS_EX_ACCEPTFILES;
}

UINT DragQueryFile(HDROP Drop, UINT File, LPSTR Buffer, UINT Size) {
  const DropStore::Drop* D = FindDrop(Drop);
  if (!D) return 0;
  if (File == 0xFFFFFFFF) return static_cast<UINT>(D->Paths.size());
  if (File >= D->Paths.size()) return 0;
  const std::string& P = D->Paths[File];
  if (!Buffer) return static_cast<UINT>(P.size());
  if (Size == 0) return 0;
  // Cut at a whole code point when the buffer is short.
  size_t N = std::min<size_t>(P.size(), Size - 1);
  while (N > 0 && N < P.size() && (static_cast<unsigned char>(P[N]) & 0xC0) == 0x80) --N;
  std::memcpy(Buffer, P.data(), N);
  Buffer[N] = '\0';
  return static_cast<UINT>(N);
}

BOOL DragQueryPoint(HDROP Drop, LPPOINT Point) {
  const DropStore::Drop* D = FindDrop(Drop);
  if (!D || !Point) return FALSE;
  *Point = D->Point;
  return D->InClient ? TRUE : FALSE;
}

void DragFinish(HDROP Drop) {
  WindowManager* M = vantrel::win::OnGuiThread() ? WindowManager::Instance() : nullptr;
  if (M) M->Shell().Drops().Remove(Drop);
}
