// Shell queries of the views: icons, enumeration, display names and interface look-ups.
#include <cctype>
#include <cstring>

#include "platform/win/ShellFileInfo.h"
#include "skin/dialogs/SkinShellCtrls.h"

using vantrel::win::ComPtr;

Integer SystemIconIndex(LPCITEMIDLIST Absolute, bool Large, bool Open) {
  SHFILEINFO Info;
  UINT Flags = SHGFI_PIDL | SHGFI_SYSICONINDEX;
  if (Open) Flags |= SHGFI_OPENICON;
  if (!Large) Flags |= SHGFI_SMALLICON;
  SHGetFileInfoW(reinterpret_cast<LPCSTR>(Absolute), 0, &Info, sizeof Info, Flags);
  return Info.iIcon;
}

bool FolderHasItems(IShellFolder* Folder, DWORD Flags) {
  if (!Folder) return false;
  struct ErrorModeScope {
    UINT Old = SetErrorMode(SEM_FAILCRITICALERRORS);
    ~ErrorModeScope() { SetErrorMode(Old); }
  } Mode;
  ComPtr<IEnumIDList> Enum;
  if (FAILED(Folder->EnumObjects(nullptr, Flags, Enum.Put())) || !Enum) return false;
  LPITEMIDLIST Item = nullptr;
  ULONG Fetched = 0;
  const HRESULT R = Enum->Next(1, &Item, &Fetched);
  vantrel::win::ItemIdList Owned(Item);
  return R == S_OK;
}

DWORD EnumerationFlags(TShellObjectTypes Types) { return static_cast<DWORD>(Types.Bits() << 5); }

String StrRetText(LPCITEMIDLIST List, STRRET& Ret) {
  String Text;
  switch (Ret.uType) {
    case STRRET_WSTR:
      if (Ret.pOleStr) {
        Text = Ret.pOleStr;
        CoTaskMemFree(Ret.pOleStr);
        Ret.pOleStr = nullptr;
      }
      break;
    case STRRET_OFFSET:
      if (List) {
        uint16_t Count;
        std::memcpy(&Count, List, sizeof Count);
        if (Ret.uOffset < Count)
          Text.assign(reinterpret_cast<const char*>(List) + Ret.uOffset, Count - Ret.uOffset);
      }
      break;
    case STRRET_CSTR:
      Text.assign(Ret.cStr, strnlen(Ret.cStr, sizeof Ret.cStr));
      break;
    default:
      break;
  }
  if (Text.size() >= 2 && Text[0] == '?' && std::isdigit(static_cast<unsigned char>(Text[1]))) {
    String Kept;
    for (char C : Text)
      if (C != '?') Kept += C;
    Text = Kept;
  }
  return Text;
}

String GetShellDisplayName(IShellFolder* Folder, LPCITEMIDLIST List, DWORD Flags) {
  if (!Folder) return "parentfolder = nil";
  STRRET Ret;
  if (FAILED(Folder->GetDisplayNameOf(List, Flags, &Ret))) return String();
  String Name = StrRetText(List, Ret);
  if (Name.rfind("::{", 0) == 0) {
    STRRET Normal;
    if (SUCCEEDED(Folder->GetDisplayNameOf(List, SHGDN_NORMAL, &Normal))) Name = StrRetText(List, Normal);
  }
  return Name;
}

namespace {

// The look-up chain of one interface: bind, the item's UI object, the folder's view
// object, and last the Desktop's bind.
template <class I>
HRESULT BindShellInterfaceChain(IShellFolder* Folder, LPCITEMIDLIST List, HWND Owner, REFIID Iid, ComPtr<I>& Out) {
  Out.Reset();
  HRESULT R = E_NOINTERFACE;
  if (Folder) {
    R = Folder->BindToObject(List, nullptr, Iid, Out.PutVoid());
    if (FAILED(R) || !Out) R = Folder->GetUIObjectOf(Owner, 1, &List, Iid, nullptr, Out.PutVoid());
    if (FAILED(R) || !Out) R = Folder->CreateViewObject(Owner, Iid, Out.PutVoid());
  }
  if (FAILED(R) || !Out) {
    ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
    R = Desktop->BindToObject(List, nullptr, Iid, Out.PutVoid());
    if (FAILED(R)) Out.Reset();
  }
  return R;
}

}  // namespace

HRESULT BindShellFolder(IShellFolder* Folder, LPCITEMIDLIST List, HWND Owner, ComPtr<IShellFolder>& Out) {
  return BindShellInterfaceChain(Folder, List, Owner, IID_IShellFolder, Out);
}

HRESULT BindShellDetails(IShellFolder* Folder, LPCITEMIDLIST List, HWND Owner, ComPtr<IShellDetails>& Out) {
  return BindShellInterfaceChain(Folder, List, Owner, IID_IShellDetails, Out);
}

HRESULT BindShellFolder2(IShellFolder* Folder, LPCITEMIDLIST List, HWND Owner, ComPtr<IShellFolder2>& Out) {
  Out.Reset();
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  HRESULT R = Desktop->BindToObject(List, nullptr, IID_IShellFolder2, Out.PutVoid());
  if ((FAILED(R) || !Out) && Folder) {
    R = Folder->GetUIObjectOf(Owner, 1, &List, IID_IShellFolder2, nullptr, Out.PutVoid());
    if (FAILED(R) || !Out) R = Folder->BindToObject(List, nullptr, IID_IShellFolder2, Out.PutVoid());
  }
  if (FAILED(R)) Out.Reset();
  return R;
}
