// The native control classes a window manager registers when it starts.
#include "platform/win/SystemClasses.h"

#include <iterator>

#include "platform/win/ComboBox.h"
#include "platform/win/Cursor.h"
#include "platform/win/Edit.h"
#include "platform/win/Header.h"
#include "platform/win/ListBox.h"
#include "platform/win/ListView.h"
#include "platform/win/NativeControl.h"
#include "platform/win/TrackBar.h"
#include "platform/win/TreeView.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

struct SystemClassEntry {
  const char* Name;
  WNDPROCFUNC Proc;
  UINT Style;
  LPCSTR Cursor;
  int WndExtra;  // the list-type controls keep their state pointer there
};

const SystemClassEntry kSystemClasses[] = {
    {"EDIT", &EditWindowProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_IBEAM, 0},
    {"LISTBOX", &ListBoxWndProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_ARROW, NativeStateBytes},
    {TRACKBAR_CLASS, &TrackBarWndProc, CS_GLOBALCLASS, IDC_ARROW, NativeStateBytes},
    {"COMBOBOX", &ComboBoxWndProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_ARROW, NativeStateBytes},
    {ComboDropClassName, &ComboDropWndProc, CS_DROPSHADOW | CS_GLOBALCLASS, IDC_ARROW, NativeStateBytes},
    {WC_LISTVIEW, &ListViewWndProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_ARROW, NativeStateBytes},
    {WC_HEADER, &HeaderWndProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_ARROW, NativeStateBytes},
    {"SysTreeView32", &TreeViewWindowProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_ARROW, 0},
};

}  // namespace

void RegisterSystemClasses(WindowManager& M) {
  for (const SystemClassEntry& E : kSystemClasses) {
    auto Rec = std::make_shared<WindowClassRec>();
    Rec->Name = E.Name;
    Rec->Style = E.Style;
    Rec->WndExtra = E.WndExtra;
    Rec->Proc = MakeWndProc(E.Proc);
    Rec->Cursor = LoadCursor(nullptr, E.Cursor);
    M.AddClass(std::move(Rec));
  }
}

}  // namespace vantrel::win
