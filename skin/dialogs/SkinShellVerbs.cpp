// The shell's context menu over a view, one verb without a menu, and the forwarding of the
// menu messages a tracked menu needs.
#include "platform/win/WindowManager.h"
#include "skin/dialogs/SkinShellVerbs.h"

using vantrel::win::ComPtr;

ComPtr<IContextMenu2>& TrackedContextMenu() {
  static ComPtr<IContextMenu2> Tracked;
  return Tracked;
}

namespace {

ComPtr<IContextMenu> ItemContextMenu(TspShellFolder* Folder, HWND Owner) {
  ComPtr<IContextMenu> Menu;
  IShellFolder* Parent = Folder->ParentShellFolder();
  if (!Parent) return Menu;
  LPCITEMIDLIST Item = Folder->RelativeID();
  if (FAILED(Parent->GetUIObjectOf(Owner, 1, &Item, IID_IContextMenu, nullptr, Menu.PutVoid()))) Menu.Reset();
  return Menu;
}

struct PopupMenuHandle {
  HMENU Handle = CreatePopupMenu();
  ~PopupMenuHandle() { DestroyMenu(Handle); }
};

struct TrackingScope {
  explicit TrackingScope(IContextMenu* Menu) {
    TrackedContextMenu().Reset();
    Menu->QueryInterface(IID_IContextMenu2, TrackedContextMenu().PutVoid());
  }
  ~TrackingScope() { TrackedContextMenu().Reset(); }
};

}  // namespace

void ShowShellContextMenu(TWinControl* Owner, TspShellFolder* Folder, Integer X, Integer Y) {
  if (!Folder || !Owner) return;
  const HWND Wnd = Owner->Handle();
  ComPtr<IContextMenu> Menu = ItemContextMenu(Folder, Wnd);
  if (!Menu) return;
  POINT Pt{X, Y};
  ClientToScreen(Wnd, &Pt);
  PopupMenuHandle Popup;
  Menu->QueryContextMenu(Popup.Handle, 0, 1, 0x7FFF, CMF_EXPLORE | CMF_CANRENAME);
  UINT Command = 0;
  {
    TrackingScope Tracking(Menu.Get());
    Command = static_cast<UINT>(TrackPopupMenu(Popup.Handle, TPM_RETURNCMD | TPM_RIGHTBUTTON, Pt.X, Pt.Y, 0, Wnd, nullptr));
  }
  if (Command == 0) return;
  char Buffer[256] = {};
  String Verb;
  if (SUCCEEDED(Menu->GetCommandString(Command - 1, GCS_VERBA, nullptr, Buffer, sizeof Buffer))) Verb = Buffer;
  auto* Handler = dynamic_cast<IspShellVerbHandler*>(Owner);
  Boolean Handled = false;
  HRESULT Result = S_OK;
  if (Handler) Handler->ExecuteCommand(Verb, Handled);
  if (!Handled) {
    CMINVOKECOMMANDINFO Info;
    Info.hwnd = Wnd;
    Info.lpVerb = MAKEINTRESOURCE(Command - 1);
    Info.nShow = SW_SHOWNORMAL;
    Result = Menu->InvokeCommand(&Info);
  }
  if (Handler) Handler->CommandCompleted(Verb, SUCCEEDED(Result));
}

void RunShellVerb(TspShellFolder* Folder, const String& Verb) {
  if (!Folder) return;
  ComPtr<IContextMenu> Menu = ItemContextMenu(Folder, nullptr);
  if (!Menu) return;
  CMINVOKECOMMANDINFO Info;
  Info.fMask = CMIC_MASK_ASYNCOK;
  Info.lpVerb = Verb.c_str();
  Info.nShow = SW_SHOWNORMAL;
  Menu->InvokeCommand(&Info);
}

bool ForwardTrackedMenuMessage(TMessage& Message) {
  IContextMenu2* Menu = TrackedContextMenu().Get();
  if (!Menu) return false;
  switch (Message.Msg) {
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_INITMENUPOPUP:
    case WM_MENUCHAR:
      Menu->HandleMenuMsg(Message.Msg, Message.WParam, Message.LParam);
      Message.Result = 0;
      return true;
    default:
      return false;
  }
}
