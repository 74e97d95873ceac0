// One shown shell item: its lists, names, attributes, icon and rename; the Desktop's item
// and the roots a view may start at.
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Messages.h"
#include "platform/win/Shell.h"
#include "platform/win/ShellSpecialFolders.h"
#include "skin/dialogs/SkinShellCtrls.h"

using vantrel::win::ComPtr;
using vantrel::win::ItemIdList;

namespace {

struct RootFolderName {
  const char* Name;
  int FolderId;
};

// The roots by name, in the order of TspRootFolder.
constexpr RootFolderName kRootFolderNames[] = {
    {"rfDesktop", CSIDL_DESKTOP},
    {"rfMyComputer", CSIDL_DRIVES},
    {"rfNetwork", CSIDL_NETWORK},
    {"rfRecycleBin", CSIDL_BITBUCKET},
    {"rfAppData", CSIDL_APPDATA},
    {"rfCommonDesktopDirectory", CSIDL_COMMON_DESKTOPDIRECTORY},
    {"rfCommonPrograms", CSIDL_COMMON_PROGRAMS},
    {"rfCommonStartMenu", CSIDL_COMMON_STARTMENU},
    {"rfCommonStartup", CSIDL_COMMON_STARTUP},
    {"rfControlPanel", CSIDL_CONTROLS},
    {"rfDesktopDirectory", CSIDL_DESKTOPDIRECTORY},
    {"rfFavorites", CSIDL_FAVORITES},
    {"rfFonts", CSIDL_FONTS},
    {"rfInternet", CSIDL_INTERNET},
    {"rfPersonal", CSIDL_PERSONAL},
    {"rfPrinters", CSIDL_PRINTERS},
    {"rfPrintHood", CSIDL_PRINTHOOD},
    {"rfPrograms", CSIDL_PROGRAMS},
    {"rfRecent", CSIDL_RECENT},
    {"rfSendTo", CSIDL_SENDTO},
    {"rfStartMenu", CSIDL_STARTMENU},
    {"rfStartup", CSIDL_STARTUP},
    {"rfTemplates", CSIDL_TEMPLATES},
};

struct CapabilityBit {
  TspShellFolderCapability Member;
  ULONG Attribute;
};
constexpr CapabilityBit kCapabilityBits[] = {
    {fcCanCopy, SFGAO_CANCOPY},     {fcCanDelete, SFGAO_CANDELETE},       {fcCanLink, SFGAO_CANLINK},
    {fcCanMove, SFGAO_CANMOVE},     {fcCanRename, SFGAO_CANRENAME},       {fcDropTarget, SFGAO_DROPTARGET},
    {fcHasPropSheet, SFGAO_HASPROPSHEET},
};

struct PropertyBit {
  TspShellFolderProperty Member;
  ULONG Attribute;
  bool FirstQuery;
};
constexpr PropertyBit kPropertyBits[] = {
    {fpCut, SFGAO_GHOSTED, true},
    {fpIsLink, SFGAO_LINK, true},
    {fpReadOnly, SFGAO_READONLY, true},
    {fpShared, SFGAO_SHARE, true},
    {fpFileSystem, SFGAO_FILESYSTEM, false},
    {fpFileSystemAncestor, SFGAO_FILESYSANCESTOR, false},
    {fpRemovable, SFGAO_REMOVABLE, false},
    {fpValidate, SFGAO_VALIDATE, false},
};

}  // namespace

TspShellFolder* DesktopItem() {
  static const std::unique_ptr<TspShellFolder, void (*)(TspShellFolder*)> Desktop(
      TspShellFolder::MakeDesktopItem(), [](TspShellFolder* F) { F->Free(); });
  return Desktop.get();
}

TspShellFolder* TspShellFolder::MakeDesktopItem() {
  ItemIdList List(GetDesktopIDList());
  auto* Item = new TspShellFolder(DesktopTag{}, DesktopIShellFolder(), List.Get());
  Item->AfterConstruction();
  return Item;
}

TspShellFolder::TspShellFolder(DesktopTag, ComPtr<IShellFolder> SF, LPCITEMIDLIST ID) : FIShellFolder(std::move(SF)) {
  FPIDL.Reset(CloneIDList(ID));
  FFullPIDL.Reset(CloneIDList(ID));
}

TspShellFolder::TspShellFolder(TspShellFolder* AParent, ComPtr<IShellFolder> SF, LPCITEMIDLIST ID)
    : FParent(AParent), FIShellFolder(std::move(SF)) {
  FPIDL.Reset(CloneIDList(ID));
  if (AParent) {
    FFullPIDL.Reset(JoinIDLists(AParent->FFullPIDL.Get(), ID));
  } else {
    ItemIdList Desktop(GetDesktopIDList());
    FFullPIDL.Reset(JoinIDLists(Desktop.Get(), ID));
    FParent = DesktopItem();
  }
  for (TspShellFolder* P = AParent ? AParent->FParent : nullptr; P; P = P->FParent) ++FLevel;
}

TspShellFolder::~TspShellFolder() = default;

// Only the Desktop's own item has no parent, and its own folder is the Desktop.
IShellFolder* TspShellFolder::ParentShellFolder() const {
  return FParent ? FParent->FIShellFolder.Get() : FIShellFolder.Get();
}

String TspShellFolder::DisplayName() const {
  return GetShellDisplayName(ParentShellFolder(), FPIDL.Get(), SHGDN_INFOLDER);
}

String TspShellFolder::PathName() const {
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  return GetShellDisplayName(Desktop.Get(), FFullPIDL.Get(), SHGDN_FORPARSING);
}

String TspShellFolder::FullObjectName() const {
  std::vector<char> Buffer(MAX_PATH, '\0');
  if (!SHGetPathFromIDListW(FFullPIDL.Get(), Buffer.data())) return String();
  return String(Buffer.data());
}

ULONG TspShellFolder::AttributesOf(ULONG Mask) const {
  IShellFolder* Folder = ParentShellFolder();
  if (!Folder) return 0;
  LPCITEMIDLIST One = FPIDL.Get();
  ULONG Bits = Mask;
  if (FAILED(Folder->GetAttributesOf(1, &One, &Bits))) return 0;
  return Bits;
}

bool TspShellFolder::IsFolder() const {
  return (AttributesOf(SFGAO_FOLDER) & SFGAO_FOLDER) && UpperCase(ExtractFileExt(FullObjectName())) != ".ZIP";
}

bool TspShellFolder::SubFolders() const { return AttributesOf(SFGAO_HASSUBFOLDER) & SFGAO_HASSUBFOLDER; }

TspShellFolderCapabilities TspShellFolder::Capabilities() const {
  ULONG Mask = 0;
  for (const CapabilityBit& C : kCapabilityBits) Mask |= C.Attribute;
  const ULONG Bits = AttributesOf(Mask);
  TspShellFolderCapabilities Result;
  for (const CapabilityBit& C : kCapabilityBits)
    if (Bits & C.Attribute) Result.Include(C.Member);
  return Result;
}

TspShellFolderProperties TspShellFolder::Properties() const {
  TspShellFolderProperties Result;
  if (!ParentShellFolder()) return Result;
  ULONG FirstMask = 0;
  for (const PropertyBit& P : kPropertyBits)
    if (P.FirstQuery) FirstMask |= P.Attribute;
  const ULONG First = AttributesOf(FirstMask);
  const ULONG Second = AttributesOf(0);
  for (const PropertyBit& P : kPropertyBits)
    if ((P.FirstQuery ? First : Second) & P.Attribute) Result.Include(P.Member);
  return Result;
}

Integer TspShellFolder::ImageIndex(bool LargeIcon) const { return SystemIconIndex(FFullPIDL.Get(), LargeIcon, false); }

bool TspShellFolder::Rename(const String& NewName) {
  if (!Capabilities().Contains(fcCanRename)) return false;
  IShellFolder* Folder = ParentShellFolder();
  LPITEMIDLIST NewList = nullptr;
  const HRESULT R = Folder ? Folder->SetNameOf(nullptr, FPIDL.Get(), NewName.c_str(), SHGDN_NORMAL, &NewList) : E_FAIL;
  if (FAILED(R) || !NewList) {
    ILFree(NewList);
    throw Exception(Format("Rename to %s failed", {NewName}));
  }
  ItemIdList Fresh(NewList);
  ItemIdList Full(FParent ? JoinIDLists(FParent->FFullPIDL.Get(), Fresh.Get()) : CloneIDList(Fresh.Get()));
  FPIDL = std::move(Fresh);
  FFullPIDL = std::move(Full);
  FDetails.clear();
  return true;
}

bool TspShellFolder::ExecuteDefault() {
  SHELLEXECUTEINFOW Info;
  Info.fMask = SEE_MASK_INVOKEIDLIST;
  Info.lpIDList = FFullPIDL.Get();
  Info.nShow = SW_SHOW;
  return ShellExecuteExW(&Info);
}

TspShellFolder* RootFolderFromIDList(LPCITEMIDLIST ID) {
  ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
  ComPtr<IShellFolder> SF;
  BindShellFolder(Desktop.Get(), ID, nullptr, SF);
  if (!SF) SF = Desktop;
  return TspShellFolder::Create(DesktopItem(), SF, ID);
}

TspShellFolder* ResolveRootFolder(TspShellFolder* RootFolder, const TRoot& OldRoot, TRoot& NewRoot) {
  ItemIdList List;
  HRESULT R = E_FAIL;
  const RootFolderName* Named = nullptr;
  for (const RootFolderName& N : kRootFolderNames)
    if (SameText(N.Name, NewRoot)) Named = &N;
  if (Named) {
    R = SHGetSpecialFolderLocation(nullptr, Named->FolderId, List.Put());
  } else if (!NewRoot.empty()) {
    ComPtr<IShellFolder> Desktop = DesktopIShellFolder();
    ULONG Eaten = 0;
    R = Desktop->ParseDisplayName(nullptr, nullptr, NewRoot.c_str(), &Eaten, List.Put(), nullptr);
  }
  if (FAILED(R) || !List.Get()) {
    const String Message = Format("Error setting path: \"%s\"", {NewRoot});
    NewRoot = OldRoot;
    throw Exception(Message);
  }
  TspShellFolder* Result = RootFolderFromIDList(List.Get());
  FreeObject(RootFolder);
  return Result;
}
