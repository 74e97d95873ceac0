// TScreen: the forms in creation order, the active form and control, cursors and the
// screen's geometry.
#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/ui/Forms.h"
#include "platform/win/Cursor.h"
#include "platform/win/SysMetrics.h"
#include "platform/win/WindowManager.h"

TScreen::TScreen(TComponent* AOwner) : TComponent(AOwner) {}

// The screen owns the cursors installed in its slots.
TScreen::~TScreen() {
  for (const auto& Entry : FCursorSlots) DestroyCursor(Entry.second);
}

void TScreen::AddForm(TCustomForm* Form) {
  if (std::find(FCustomForms.begin(), FCustomForms.end(), Form) == FCustomForms.end()) FCustomForms.push_back(Form);
}

void TScreen::RemoveForm(TCustomForm* Form) {
  FCustomForms.erase(std::remove(FCustomForms.begin(), FCustomForms.end(), Form), FCustomForms.end());
  if (FActiveCustomForm == Form) {
    FActiveCustomForm = nullptr;
    FActiveControl = nullptr;
  } else if (FActiveControl && GetParentForm(FActiveControl) == Form) {
    FActiveControl = nullptr;
  }
}

// A form registers itself before its derived parts exist, so the TForm view is taken when
// asked.
Integer TScreen::FormCount() const {
  return static_cast<Integer>(
      std::count_if(FCustomForms.begin(), FCustomForms.end(), [](TCustomForm* F) { return dynamic_cast<TForm*>(F); }));
}

TForm* TScreen::Forms(Integer Index) const {
  Integer N = 0;
  for (TCustomForm* F : FCustomForms)
    if (auto* Form = dynamic_cast<TForm*>(F))
      if (N++ == Index) return Form;
  throw EListError(Format("List index out of bounds (%d)", {Index}));
}

TCustomForm* TScreen::CustomForms(Integer Index) const {
  if (Index < 0 || Index >= CustomFormCount()) throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FCustomForms[static_cast<size_t>(Index)];
}

TForm* TScreen::ActiveForm() const { return dynamic_cast<TForm*>(FActiveCustomForm); }

void TScreen::SetActiveForm(TCustomForm* Form) {
  if (FActiveCustomForm == Form) return;
  FActiveCustomForm = Form;
  if (OnActiveFormChange) OnActiveFormChange(this);
  SetFocusedControl(Form ? Form->ActiveControl() : nullptr);
}

void TScreen::SetFocusedControl(TWinControl* Control) {
  if (FActiveControl == Control) return;
  FActiveControl = Control;
  if (OnActiveControlChange) OnActiveControlChange(this);
}

namespace {

LPCSTR StandardCursorName(TCursor Index) {
  switch (Index) {
    case crDefault:
    case crArrow: return IDC_ARROW;
    case crCross: return IDC_CROSS;
    case crIBeam: return IDC_IBEAM;
    case crSizeNESW: return IDC_SIZENESW;
    case crSizeNS:
    case crVSplit: return IDC_SIZENS;
    case crSizeNWSE: return IDC_SIZENWSE;
    case crSizeWE:
    case crHSplit: return IDC_SIZEWE;
    case crUpArrow: return IDC_UPARROW;
    case crHourGlass:
    case crSQLWait: return IDC_WAIT;
    case crNo:
    case crNoDrop: return IDC_NO;
    case crAppStart: return IDC_APPSTARTING;
    case crHelp: return IDC_HELP;
    case crHandPoint: return IDC_HAND;
    case crSizeAll:
    case crDrag:
    case crMultiDrag: return IDC_SIZEALL;
    default: return nullptr;
  }
}

}  // namespace

HCURSOR TScreen::Cursors(TCursor Index) const {
  for (const auto& [Slot, Handle] : FCursorSlots)
    if (Slot == Index) return Handle;
  if (Index == crNone) return nullptr;
  const LPCSTR Name = StandardCursorName(Index);
  return LoadCursor(nullptr, Name ? Name : IDC_ARROW);
}

// A null handle empties the slot, which then shows its standard shape again.
void TScreen::SetCursors(TCursor Index, HCURSOR Handle) {
  auto It = std::find_if(FCursorSlots.begin(), FCursorSlots.end(),
                         [Index](const auto& Entry) { return Entry.first == Index; });
  if (It != FCursorSlots.end()) {
    if (It->second == Handle) return;
    DestroyCursor(It->second);
    FCursorSlots.erase(It);
  }
  if (Handle) FCursorSlots.emplace_back(Index, Handle);
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  FCursor = Value;
  if (Value != crDefault && vantrel::win::WindowManager::Instance()) ::SetCursor(Cursors(Value));
}

Integer TScreen::Width() const { return GetSystemMetrics(SM_CXSCREEN); }
Integer TScreen::Height() const { return GetSystemMetrics(SM_CYSCREEN); }

TRect TScreen::WorkAreaRect() const {
  RECT R{0, 0, Width(), Height()};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &R, 0);
  return R;
}

Integer TScreen::WorkAreaWidth() const {
  const TRect R = WorkAreaRect();
  return R.Right - R.Left;
}

Integer TScreen::WorkAreaHeight() const {
  const TRect R = WorkAreaRect();
  return R.Bottom - R.Top;
}

HMONITOR TScreen::MonitorFromWindow(HWND Handle) const { return ::MonitorFromWindow(Handle, MONITOR_DEFAULTTONEAREST); }
