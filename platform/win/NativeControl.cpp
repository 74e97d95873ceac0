// The native control classes every window manager starts with.
#include "platform/win/NativeControl.h"

#include "platform/win/Cursor.h"
#include "platform/win/ComboBox.h"
#include "platform/win/Header.h"
#include "platform/win/ListBox.h"
#include "platform/win/ListView.h"
#include "platform/win/TrackBar.h"

namespace vantrel::win {

namespace {

struct NativeClassEntry {
  const char* Name;
  WNDPROCFUNC Proc;
  UINT Style;
};

constexpr NativeClassEntry NativeClassTable[] = {
    {"LISTBOX", ListBoxWndProc, CS_DBLCLKS},
    {TRACKBAR_CLASS, TrackBarWndProc, 0},
    {"COMBOBOX", ComboBoxWndProc, CS_DBLCLKS},
    {ComboDropClassName, ComboDropWndProc, CS_DROPSHADOW},
    {WC_LISTVIEW, ListViewWndProc, CS_DBLCLKS},
    {WC_HEADER, HeaderWndProc, CS_DBLCLKS},
};

}  // namespace

void RegisterNativeControlClasses() {
  for (const NativeClassEntry& E : NativeClassTable) {
    WNDCLASS Class{};
    Class.style = E.Style | CS_GLOBALCLASS;
    Class.lpfnWndProc = MakeWndProc(E.Proc);
    Class.cbWndExtra = NativeStateBytes;
    Class.hCursor = LoadCursor(nullptr, IDC_ARROW);
    Class.lpszClassName = E.Name;
    RegisterClass(&Class);
  }
}

}  // namespace vantrel::win
