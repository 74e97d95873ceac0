// Clipboard text and the memory blocks that carry it.
#include "platform/win/Clipboard.h"

#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/win/Shell.h"
#include "platform/win/WindowManager.h"

namespace {

constexpr DWORD kErrorInvalidHandle = 6;
constexpr DWORD kErrorAccessDenied = 5;
constexpr DWORD kErrorClipboardNotOpen = 1418;

struct Block {
  std::unique_ptr<uint8_t[]> Data;
  size_t Size;
};

// Live blocks by address, so a stale or foreign handle is refused, not read.
std::mutex& BlockLock() {
  static std::mutex M;
  return M;
}
std::map<uintptr_t, Block>& Blocks() {
  static std::map<uintptr_t, Block> M;
  return M;
}

bool IsText(UINT Format) { return Format == CF_TEXT || Format == CF_UNICODETEXT; }

vantrel::win::WindowManager* Gui() {
  auto* M = vantrel::win::OnGuiThread() ? vantrel::win::WindowManager::Instance() : nullptr;
  if (!M) SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
  return M;
}

// The clipboard state, when the clipboard is open on this thread.
vantrel::win::ClipboardState* OpenState(vantrel::win::WindowManager* M) {
  if (!M) return nullptr;
  vantrel::win::ClipboardState& C = M->Shell().Clipboard();
  if (!C.Open) {
    SetLastError(kErrorClipboardNotOpen);
    return nullptr;
  }
  return &C;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT, size_t Bytes) {
  const size_t N = Bytes ? Bytes : 1;
  auto Data = std::make_unique<uint8_t[]>(N);  // zeroed whatever the flags say
  HGLOBAL H = Data.get();
  std::lock_guard G(BlockLock());
  Blocks().emplace(reinterpret_cast<uintptr_t>(H), Block{std::move(Data), Bytes});
  return H;
}

LPVOID GlobalLock(HGLOBAL Mem) {
  std::lock_guard G(BlockLock());
  if (Blocks().count(reinterpret_cast<uintptr_t>(Mem))) return Mem;
  SetLastError(kErrorInvalidHandle);
  return nullptr;
}

BOOL GlobalUnlock(HGLOBAL) {
  SetLastError(0);  // no lock counts: the block is unlocked at once
  return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL Mem) {
  std::lock_guard G(BlockLock());
  if (Blocks().erase(reinterpret_cast<uintptr_t>(Mem))) return nullptr;
  SetLastError(kErrorInvalidHandle);
  return Mem;
}

size_t GlobalSize(HGLOBAL Mem) {
  std::lock_guard G(BlockLock());
  auto It = Blocks().find(reinterpret_cast<uintptr_t>(Mem));
  return It == Blocks().end() ? 0 : It->second.Size;
}

namespace vantrel::win {

ClipboardState::~ClipboardState() {
  if (Given) GlobalFree(Given);
  if (Lent) GlobalFree(Lent);
}

}  // namespace vantrel::win

BOOL OpenClipboard(HWND NewOwner) {
  vantrel::win::WindowManager* M = Gui();
  if (!M) return FALSE;
  vantrel::win::ClipboardState& C = M->Shell().Clipboard();
  if (C.Open && C.OpenedBy != NewOwner) {
    SetLastError(kErrorAccessDenied);
    return FALSE;
  }
  C.Open = true;
  C.OpenedBy = NewOwner;
  return TRUE;
}

BOOL CloseClipboard() {
  vantrel::win::ClipboardState* C = OpenState(Gui());
  if (!C) return FALSE;
  if (C->Lent) GlobalFree(C->Lent);
  C->Lent = nullptr;
  C->Open = false;
  C->OpenedBy = nullptr;
  return TRUE;
}

BOOL EmptyClipboard() {
  vantrel::win::WindowManager* M = Gui();
  vantrel::win::ClipboardState* C = OpenState(M);
  if (!C) return FALSE;
  M->GetDisplay().SetClipboardText("");
  if (C->Given) GlobalFree(C->Given);
  C->Given = nullptr;
  C->Owner = C->OpenedBy;
  return TRUE;
}

HANDLE SetClipboardData(UINT Format, HANDLE Mem) {
  vantrel::win::WindowManager* M = Gui();
  vantrel::win::ClipboardState* C = OpenState(M);
  if (!C) return nullptr;
  if (!IsText(Format) || !Mem) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  std::string Text;
  {
    std::lock_guard G(BlockLock());
    auto It = Blocks().find(reinterpret_cast<uintptr_t>(Mem));
    if (It == Blocks().end()) {
      SetLastError(kErrorInvalidHandle);
      return nullptr;
    }
    const char* P = reinterpret_cast<const char*>(It->second.Data.get());
    Text.assign(P, strnlen(P, It->second.Size));
  }
  M->GetDisplay().SetClipboardText(Text);
  if (C->Given && C->Given != Mem) GlobalFree(C->Given);
  C->Given = Mem;
  return Mem;
}

HANDLE GetClipboardData(UINT Format) {
  vantrel::win::WindowManager* M = Gui();
  vantrel::win::ClipboardState* C = OpenState(M);
  if (!C) return nullptr;
  if (!IsText(Format)) return nullptr;
  const std::string Text = M->GetDisplay().ClipboardText();
  if (Text.empty()) return nullptr;
  HGLOBAL H = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
  std::memcpy(GlobalLock(H), Text.c_str(), Text.size() + 1);
  if (C->Lent) GlobalFree(C->Lent);
  C->Lent = H;
  return H;
}

BOOL IsClipboardFormatAvailable(UINT Format) {
  vantrel::win::WindowManager* M = Gui();
  return M && IsText(Format) && !M->GetDisplay().ClipboardText().empty() ? TRUE : FALSE;
}

HWND GetClipboardOwner() {
  vantrel::win::WindowManager* M = Gui();
  if (!M) return nullptr;
  const HWND O = M->Shell().Clipboard().Owner;
  return M->IsLive(O) ? O : nullptr;
}

HWND GetOpenClipboardWindow() {
  vantrel::win::WindowManager* M = Gui();
  if (!M || !M->Shell().Clipboard().Open) return nullptr;
  return M->Shell().Clipboard().OpenedBy;
}
