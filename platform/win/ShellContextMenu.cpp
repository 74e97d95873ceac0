#include "platform/win/ShellContextMenu.h"

#include <strings.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/rtl/FileUtils.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Shell.h"
#include "platform/win/ShellItemRecords.h"
#include "platform/win/ShellTrash.h"
#include "platform/win/WindowManager.h"

namespace vantrel::win {

namespace {

enum class ItemVerb { Open, Delete, Rename, Properties };

struct ItemVerbInfo {
  ItemVerb Verb;
  const char* Name;     // the verb text
  const char* Caption;  // the menu text
  const char* Help;
};

const ItemVerbInfo kItemVerbs[] = {
    {ItemVerb::Open, "open", "&Open", "Opens the item with the program that shows it."},
    {ItemVerb::Delete, "delete", "&Delete", "Moves the item to the Trash."},
    {ItemVerb::Rename, "rename", "Rena&me", "Gives the item another name."},
    {ItemVerb::Properties, "properties", "P&roperties", "Shows the item's name, location, type, size and date."},
};

const ItemVerbInfo& InfoOfVerb(ItemVerb V) { return kItemVerbs[static_cast<int>(V)]; }

std::string ShellDetailText(IShellFolder2* Folder, LPCITEMIDLIST Child, UINT Column) {
  SHELLDETAILS D;
  if (FAILED(Folder->GetDetailsOf(Child, Column, &D))) return {};
  std::string T = D.str.uType == STRRET_WSTR && D.str.pOleStr ? D.str.pOleStr : "";
  if (D.str.uType == STRRET_WSTR) CoTaskMemFree(D.str.pOleStr);
  return T;
}

// "1,234,567"
std::string GroupedNumber(uint64_t N) {
  std::string Digits = std::to_string(N), Out;
  for (size_t I = 0; I < Digits.size(); ++I) {
    if (I > 0 && (Digits.size() - I) % 3 == 0) Out += ',';
    Out += Digits[I];
  }
  return Out;
}

class ItemContextMenu final : public Counted<IContextMenu2> {
 public:
  ItemContextMenu(IShellFolder2* Parent, LPCITEMIDLIST Child, std::string Path)
      : FParent(Parent), FChild(ILClone(Child)), FPath(std::move(Path)) {
    FVerbs = VerbsFor(CMF_CANRENAME);
  }

  HRESULT QueryInterface(REFIID Iid, void** Object) override {
    const bool Ours = Iid == IID_IUnknown || Iid == IID_IContextMenu || Iid == IID_IContextMenu2;
    return AnswerInterface(Ours ? static_cast<IContextMenu2*>(this) : nullptr, Object);
  }

  HRESULT QueryContextMenu(HMENU Menu, UINT IndexMenu, UINT IdCmdFirst, UINT IdCmdLast, UINT Flags) override {
    if (!IsMenu(Menu)) return E_INVALIDARG;
    std::vector<ItemVerb> Wanted = VerbsFor(Flags);
    // Only as many as the id range holds.
    const UINT Room = IdCmdLast >= IdCmdFirst ? IdCmdLast - IdCmdFirst + 1 : 0;
    if (Wanted.size() > Room) Wanted.resize(Room);
    FVerbs = Wanted;
    UINT At = std::min<UINT>(IndexMenu, static_cast<UINT>(GetMenuItemCount(Menu)));
    for (size_t I = 0; I < FVerbs.size(); ++I) {
      const ItemVerb V = FVerbs[I];
      // Separators: after Open, and before Properties.
      if ((V == ItemVerb::Properties && I > 0) || (I == 1 && V != ItemVerb::Properties))
        InsertMenu(Menu, At++, MF_BYPOSITION | MF_SEPARATOR, 0, nullptr);
      InsertMenu(Menu, At++, MF_BYPOSITION | MF_STRING, IdCmdFirst + I, InfoOfVerb(V).Caption);
      if (V == ItemVerb::Open) SetMenuDefaultItem(Menu, IdCmdFirst + static_cast<UINT>(I), FALSE);
    }
    return MAKE_SUCCESS_RESULT(static_cast<UINT>(FVerbs.size()));
  }

  HRESULT GetCommandString(UINT_PTR IdCmd, UINT Type, UINT*, LPSTR Name, UINT MaxChars) override {
    const bool Known = IdCmd < FVerbs.size();
    if (Type == GCS_VALIDATEA || Type == GCS_VALIDATEW) return Known ? S_OK : S_FALSE;
    if (!Known) return E_INVALIDARG;
    const ItemVerbInfo& Info = InfoOfVerb(FVerbs[IdCmd]);
    const char* Text;
    if (Type == GCS_VERBA || Type == GCS_VERBW) Text = Info.Name;
    else if (Type == GCS_HELPTEXTA || Type == GCS_HELPTEXTW) Text = Info.Help;
    else return E_INVALIDARG;
    if (!Name || MaxChars == 0) return E_INVALIDARG;
    const size_t N = std::min<size_t>(std::strlen(Text), MaxChars - 1);
    std::memcpy(Name, Text, N);
    Name[N] = 0;
    return S_OK;
  }

  HRESULT InvokeCommand(LPCMINVOKECOMMANDINFO Info) override {
    if (!Info) return E_INVALIDARG;  // a null verb is offset 0
    ItemVerb Verb;
    if (IS_INTRESOURCE(Info->lpVerb)) {
      const uintptr_t Offset = reinterpret_cast<uintptr_t>(Info->lpVerb);
      if (Offset >= FVerbs.size()) return E_INVALIDARG;
      Verb = FVerbs[Offset];
    } else {
      const ItemVerbInfo* Found = nullptr;
      for (const ItemVerbInfo& I : kItemVerbs)
        if (strcasecmp(I.Name, Info->lpVerb) == 0) Found = &I;
      if (!Found) return E_INVALIDARG;
      Verb = Found->Verb;
    }
    const bool Quiet = Info->fMask & CMIC_MASK_FLAG_NO_UI;
    switch (Verb) {
      case ItemVerb::Open: return Open(Info->hwnd, Quiet);
      case ItemVerb::Delete: return Delete(Info->hwnd, Quiet);
      case ItemVerb::Rename: return E_FAIL;  // views rename in place
      case ItemVerb::Properties: return Properties(Info->hwnd);
    }
    return E_INVALIDARG;
  }

  HRESULT HandleMenuMsg(UINT, WPARAM, LPARAM) override { return S_OK; }  // nothing owner-drawn

 private:
  // The item's record as it is now; false when it is gone.
  bool Fresh(ShellItemRecord& R) const {
    return ReadShellRecord(ExtractFileDir(FPath).empty() ? "/" : ExtractFileDir(FPath), ExtractFileName(FPath), R);
  }

  // The commands for these flags, by what the item allows now.
  std::vector<ItemVerb> VerbsFor(UINT Flags) const {
    std::vector<ItemVerb> V{ItemVerb::Open};
    if (Flags & CMF_DEFAULTONLY) return V;
    ShellItemRecord R;
    const bool Child = FileSystemChild() && Fresh(R);
    if (Child && (R.Attributes & SFGAO_CANDELETE)) V.push_back(ItemVerb::Delete);
    if (Child && (Flags & CMF_CANRENAME) && (R.Attributes & SFGAO_CANRENAME)) V.push_back(ItemVerb::Rename);
    V.push_back(ItemVerb::Properties);
    return V;
  }

  // A file or folder of a folder (not Home or a volume, which are not removed or renamed).
  bool FileSystemChild() const {
    std::vector<ShellItemRecord> Rel;
    return DecodeItemIdList(FChild.Get(), Rel) && !Rel.empty() &&
           (Rel.back().Kind == ShellItemKind::File || Rel.back().Kind == ShellItemKind::Folder);
  }

  std::string DisplayName() const {
    const std::string N = ExtractFileName(FPath);
    return N.empty() ? FPath : N;
  }

  HRESULT Open(HWND Owner, bool Quiet) {
    WindowManager* M = WindowManager::Instance();
    if (!M) return E_FAIL;
    std::string Error;
    if (M->Shell().GetLauncher().Launch({"xdg-open", FPath}, ExtractFileDir(FPath), Error)) return S_OK;
    if (!Quiet) MessageBox(Owner, "\"" + DisplayName() + "\" cannot be opened: " + Error, "Open", MB_OK | MB_ICONERROR);
    return E_FAIL;
  }

  HRESULT Delete(HWND Owner, bool Quiet) {
    struct stat St {};
    if (lstat(FPath.c_str(), &St) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    if (!Quiet && MessageBox(Owner, "Move \"" + DisplayName() + "\" to the Trash?", "Delete",
                             MB_YESNO | MB_ICONQUESTION) != IDYES)
      return HRESULT_FROM_WIN32(ERROR_CANCELLED);
    std::string TrashedAs, Error;
    if (MoveToTrash(FPath, TrashedAs, Error)) return S_OK;
    if (!Quiet) MessageBox(Owner, Error, "Delete", MB_OK | MB_ICONERROR);
    return E_FAIL;
  }

  HRESULT Properties(HWND Owner) {
    struct stat St {};
    if (stat(FPath.c_str(), &St) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    std::string Text = "Name: " + DisplayName() + "\nLocation: " + (ExtractFileDir(FPath).empty() ? "/" : ExtractFileDir(FPath)) +
                       "\nType: " + ShellDetailText(FParent.Get(), FChild.Get(), 2);
    if (!S_ISDIR(St.st_mode)) Text += "\nSize: " + GroupedNumber(static_cast<uint64_t>(St.st_size)) + " bytes";
    Text += "\nModified: " + ShellDetailText(FParent.Get(), FChild.Get(), 3);
    MessageBox(Owner, Text, DisplayName() + " Properties", MB_OK | MB_ICONINFORMATION);
    return S_OK;
  }

  ComPtr<IShellFolder2> FParent;
  ItemIdList FChild;
  std::string FPath;
  std::vector<ItemVerb> FVerbs;  // the commands by offset, as last added to a menu
};

}  // namespace

HRESULT CreateShellContextMenu(IShellFolder2* Parent, LPCITEMIDLIST Child, const std::string& Path, REFIID Iid,
                               void** Object) {
  if (!Object) return E_INVALIDARG;
  *Object = nullptr;
  if (!Parent || !Child || Path.empty()) return E_INVALIDARG;
  auto Menu = MakeCounted<ItemContextMenu>(Parent, Child, Path);
  return Menu->QueryInterface(Iid, Object);
}

}  // namespace vantrel::win
