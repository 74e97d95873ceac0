// What the store needs of the application's forms: the windows its messages go to (the
// screen's form list) and the screen's cursor table for the skin's cursors.
#include <map>

#include "platform/ui/Forms.h"
#include "platform/win/Cursor.h"
#include "skin/core/data/SkinData.h"

namespace vantrel::skin {

namespace {

bool IsBeingDestroyed(TComponent* C) { return C->ComponentState().Contains(csDestroying); }

}  // namespace

HWND SkinOwnerFormWindow(TComponent* Owner) {
  auto* Form = dynamic_cast<TCustomForm*>(Owner);
  // A form on its way out gets no new window.
  if (!Form || IsBeingDestroyed(Form)) return nullptr;
  return Form->Handle();
}

std::vector<HWND> SkinApplicationFormWindows() {
  std::vector<HWND> Windows;
  if (!Screen) return Windows;
  for (Integer i = 0; i < Screen->FormCount(); ++i) {
    TForm* Form = Screen->Forms(i);
    if (IsBeingDestroyed(Form) || String(Form->ClassName()) == SkinLayerWindowClassName) continue;
    Windows.push_back(Form->Handle());
  }
  return Windows;
}

namespace {

// The slots of Screen.Cursors the skin filled, kept by a component the screen owns, so
// that it lives exactly as long as the screen. The screen owns the handles in its slots
// (it frees one it replaces) but does not free them when it goes; this record does, for
// the skin's cursors. A handle freed twice (replaced meanwhile by someone else) is a
// stale handle, which DestroyCursor refuses harmlessly.
class TSkinCursorSlots : public TComponent {
  VANTREL_CLASS(TSkinCursorSlots)
  explicit TSkinCursorSlots(TComponent* AOwner) : TComponent(AOwner) {}
  ~TSkinCursorSlots() override {
    for (const auto& [Slot, Cursor] : Installed)
      if (Cursor) DestroyCursor(Cursor);
  }

  // Slot -> the skin's cursor there, nullptr where the slot was left at the default.
  std::map<Integer, HCURSOR> Installed;
};

TSkinCursorSlots* ScreenSlots(bool Make) {
  for (Integer i = 0; i < Screen->ComponentCount(); ++i)
    if (auto* Slots = dynamic_cast<TSkinCursorSlots*>(Screen->Components(i))) return Slots;
  return Make ? TSkinCursorSlots::Create(Screen) : nullptr;
}

// Without a screen: slot -> cursor; the table owns the cursors. GUI thread only.
std::map<Integer, HCURSOR>& LocalCursorTable() {
  static std::map<Integer, HCURSOR> Table;
  return Table;
}

}  // namespace

void InstallScreenCursor(Integer Slot, HCURSOR Cursor) {
  if (Screen) {
    // An empty slot would hide the pointer: one whose file did not load shows the arrow,
    // as a slot never set does.
    Screen->SetCursors(Slot, Cursor ? Cursor : LoadCursor(nullptr, IDC_ARROW));
    ScreenSlots(true)->Installed[Slot] = Cursor;
    return;
  }
  auto& Table = LocalCursorTable();
  const auto It = Table.find(Slot);
  if (It != Table.end()) {
    if (It->second != Cursor) DestroyCursor(It->second);
    Table.erase(It);
  }
  if (Cursor) Table[Slot] = Cursor;
}

HCURSOR ScreenCursor(Integer Slot) {
  if (Screen) {
    const TSkinCursorSlots* Slots = ScreenSlots(false);
    if (!Slots) return nullptr;
    const auto It = Slots->Installed.find(Slot);
    // Replaced by someone else since: no longer the skin's.
    if (It == Slots->Installed.end() || !It->second || Screen->Cursors(Slot) != It->second)
      return nullptr;
    return It->second;
  }
  const auto& Table = LocalCursorTable();
  const auto It = Table.find(Slot);
  return It == Table.end() ? nullptr : It->second;
}

}  // namespace vantrel::skin
