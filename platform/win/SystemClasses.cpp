// The native control classes a window manager registers when it starts.
#include "platform/win/SystemClasses.h"

#include <iterator>

#include "platform/win/Cursor.h"
#include "platform/win/Edit.h"
#include "platform/win/TreeView.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

struct SystemClassEntry {
  const char* Name;
  WNDPROCFUNC Proc;
  UINT Style;
  LPCSTR Cursor;
};

const SystemClassEntry kSystemClasses[] = {
    {"EDIT", &EditWindowProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_IBEAM},
    {"SysTreeView32", &TreeViewWindowProc, CS_DBLCLKS | CS_GLOBALCLASS, IDC_ARROW},
};

}  // namespace

void RegisterSystemClasses(WindowManager& M) {
  for (const SystemClassEntry& E : kSystemClasses) {
    auto Rec = std::make_shared<WindowClassRec>();
    Rec->Name = E.Name;
    Rec->Style = E.Style;
    Rec->Proc = MakeWndProc(E.Proc);
    Rec->Cursor = LoadCursor(nullptr, E.Cursor);
    M.AddClass(std::move(Rec));
  }
}

}  // namespace vantrel::win
