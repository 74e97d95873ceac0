// What the store needs of the application's forms: the windows its messages go to and
// the screen's cursor table. Until the class library has forms, top-level windows stand
// in for them; this is the one place that changes when it does.
#include <algorithm>
#include <map>

#include "platform/ui/Controls.h"
#include "platform/win/Cursor.h"
#include "platform/win/WindowManager.h"
#include "skin/core/SkinData.h"

namespace vantrel::skin {

namespace {

BOOL CollectWindow(HWND Wnd, LPARAM Param) {
  reinterpret_cast<std::vector<HWND>*>(Param)->push_back(Wnd);
  return TRUE;
}

}  // namespace

HWND SkinOwnerFormWindow(TComponent* Owner) {
  // A windowed control without a parent whose window is a top-level one. A plain
  // windowed control cannot make a top-level window, so only a window it has counts.
  auto* Form = dynamic_cast<TWinControl*>(Owner);
  if (!Form || Form->Parent() || !Form->HandleAllocated()) return nullptr;
  HWND Wnd = Form->Handle();
  return GetParent(Wnd) == nullptr && !(GetWindowLong(Wnd, GWL_STYLE) & WS_CHILD) ? Wnd : nullptr;
}

std::vector<HWND> SkinApplicationFormWindows() {
  std::vector<HWND> Windows;
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&Windows));
  // The window manager hands out handles in increasing order and never reuses one, so
  // ordering by handle is the order the forms were made in.
  std::sort(Windows.begin(), Windows.end(), [](HWND A, HWND B) {
    return reinterpret_cast<uintptr_t>(A) < reinterpret_cast<uintptr_t>(B);
  });
  return Windows;
}

namespace {

// Slot -> cursor; the table owns the cursors. GUI thread only.
std::map<Integer, HCURSOR>& CursorTable() {
  static std::map<Integer, HCURSOR> Table;
  return Table;
}

}  // namespace

void InstallScreenCursor(Integer Slot, HCURSOR Cursor) {
  auto& Table = CursorTable();
  const auto It = Table.find(Slot);
  if (It != Table.end()) {
    if (It->second != Cursor) DestroyCursor(It->second);
    Table.erase(It);
  }
  if (Cursor) Table[Slot] = Cursor;
}

HCURSOR ScreenCursor(Integer Slot) {
  const auto& Table = CursorTable();
  const auto It = Table.find(Slot);
  return It == Table.end() ? nullptr : It->second;
}

}  // namespace vantrel::skin
