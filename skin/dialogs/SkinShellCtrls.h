// The shell folder layer under the folder tree, the file list and the look-in box: item id
// list helpers, the roots a view may start at, and one object per shown shell item that
// answers its names, path, attributes, icon and detail columns and can rename it.
// Everything here runs on the GUI thread.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/DateUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Types.h"
#include "platform/win/ShellCom.h"
#include "platform/win/ShellFolder.h"
#include "platform/win/ShellItemIds.h"

// A view's root: the name of a TspRootFolder value ("rfDesktop") or a path.
using TRoot = String;

enum TspRootFolder {
  rfDesktop, rfMyComputer, rfNetwork, rfRecycleBin, rfAppData, rfCommonDesktopDirectory,
  rfCommonPrograms, rfCommonStartMenu, rfCommonStartup, rfControlPanel, rfDesktopDirectory,
  rfFavorites, rfFonts, rfInternet, rfPersonal, rfPrinters, rfPrintHood, rfPrograms,
  rfRecent, rfSendTo, rfStartMenu, rfStartup, rfTemplates
};

enum TShellObjectType { otFolders, otNonFolders, otHidden };
using TShellObjectTypes = TSet<TShellObjectType>;

enum TspShellFolderCapability { fcCanCopy, fcCanDelete, fcCanLink, fcCanMove, fcCanRename, fcDropTarget, fcHasPropSheet };
using TspShellFolderCapabilities = TSet<TspShellFolderCapability>;

enum TspShellFolderProperty { fpCut, fpIsLink, fpReadOnly, fpShared, fpFileSystem, fpFileSystemAncestor, fpRemovable, fpValidate };
using TspShellFolderProperties = TSet<TspShellFolderProperty>;

// ---- item id lists (blocks of the shell's task allocator) ----

LPITEMIDLIST AllocatePIDL(UINT Size);
void FreeIDList(LPITEMIDLIST List);
LPITEMIDLIST NextItemID(LPCITEMIDLIST List);
Integer ItemIDCount(LPCITEMIDLIST List);
UINT ItemIDListSize(LPCITEMIDLIST List);
LPITEMIDLIST CloneIDList(LPCITEMIDLIST List);
LPITEMIDLIST JoinIDLists(LPCITEMIDLIST First, LPCITEMIDLIST Second);
void TrimLastItemID(LPITEMIDLIST List);
LPITEMIDLIST LastItemIDCopy(LPCITEMIDLIST List);
// Every ancestor of the item: the Desktop's empty list first, the parent last.
std::vector<vantrel::win::ItemIdList> AncestorIDLists(LPCITEMIDLIST List);
bool SameShellItem(LPCITEMIDLIST A, LPCITEMIDLIST B);
LPITEMIDLIST GetDesktopIDList();
vantrel::win::ComPtr<IShellFolder> DesktopIShellFolder();

// ---- shell queries ----

Integer SystemIconIndex(LPCITEMIDLIST Absolute, bool Large, bool Open);
bool FolderHasItems(IShellFolder* Folder, DWORD Flags);
DWORD EnumerationFlags(TShellObjectTypes Types);
String StrRetText(LPCITEMIDLIST List, STRRET& Ret);
String GetShellDisplayName(IShellFolder* Folder, LPCITEMIDLIST List, DWORD Flags);
HRESULT BindShellFolder(IShellFolder* Folder, LPCITEMIDLIST List, HWND Owner, vantrel::win::ComPtr<IShellFolder>& Out);
HRESULT BindShellDetails(IShellFolder* Folder, LPCITEMIDLIST List, HWND Owner, vantrel::win::ComPtr<IShellDetails>& Out);
HRESULT BindShellFolder2(IShellFolder* Folder, LPCITEMIDLIST List, HWND Owner, vantrel::win::ComPtr<IShellFolder2>& Out);

// What the file system tells of one item (the details of a folder without detail
// interfaces).
struct TspFindData {
  DWORD Attributes = 0;  // FILE_ATTRIBUTE_* bits
  Int64 Size = 0;
  Int64 Modified = 0;    // seconds since 1970
  String FileName;
};

constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;

Int64 FindDataSize(const TspFindData& Data);
TDateTime FindDataDate(const TspFindData& Data);
String FindDataDetail(const TspFindData& Data, Integer Column);

// One shown shell item.
class TspShellFolder : public TObject {
  VANTREL_CLASS(TspShellFolder)
  // ID is relative to AParent; without a parent it is taken as absolute and the item
  // gets the Desktop item as parent.
  TspShellFolder(TspShellFolder* AParent, vantrel::win::ComPtr<IShellFolder> SF, LPCITEMIDLIST ID);
  ~TspShellFolder() override;

  LPITEMIDLIST RelativeID() const { return FPIDL.Get(); }
  LPITEMIDLIST AbsoluteID() const { return FFullPIDL.Get(); }
  TspShellFolder* Parent() const { return FParent; }
  IShellFolder* ShellFolder() const { return FIShellFolder.Get(); }
  IShellFolder2* ShellFolder2();
  IShellDetails* ShellDetails();
  Integer Level() const { return FLevel; }
  HWND ViewHandle() const { return FViewHandle; }
  void SetViewHandle(HWND Value) { FViewHandle = Value; }

  IShellFolder* ParentShellFolder() const;
  String DisplayName() const;
  String PathName() const;
  String FullObjectName() const;
  bool IsFolder() const;
  bool SubFolders() const;
  TspShellFolderProperties Properties() const;
  TspShellFolderCapabilities Capabilities() const;
  Integer ImageIndex(bool LargeIcon) const;
  bool Rename(const String& NewName);
  bool ExecuteDefault();
  void LoadColumnDetails(TspShellFolder* RootFolder, HWND ViewHandle, Integer ColumnCount);
  String DetailText(Integer Index) const;
  bool DetailsLoaded() const { return !FDetails.empty(); }
  // The item's find data (a stat); EInvalidPath when the item cannot be read.
  void ReadFindData(TspFindData& Data) const;

 private:
  friend TspShellFolder* DesktopItem();
  struct DesktopTag {};
  TspShellFolder(DesktopTag, vantrel::win::ComPtr<IShellFolder> SF, LPCITEMIDLIST ID);
  static TspShellFolder* MakeDesktopItem();
  void ResolveDetailSource();
  ULONG AttributesOf(ULONG Mask) const;
  [[noreturn]] void DetailsError(DWORD Code) const;

  vantrel::win::ItemIdList FPIDL;
  vantrel::win::ItemIdList FFullPIDL;
  TspShellFolder* FParent = nullptr;
  vantrel::win::ComPtr<IShellFolder> FIShellFolder;
  vantrel::win::ComPtr<IShellFolder2> FIShellFolder2;
  vantrel::win::ComPtr<IShellDetails> FIShellDetails;
  bool FDetailSourceChosen = false;
  Integer FLevel = 0;
  HWND FViewHandle = nullptr;
  std::vector<String> FDetails;
};

// The Desktop's item: the parent of every root folder.
TspShellFolder* DesktopItem();

TspShellFolder* RootFolderFromIDList(LPCITEMIDLIST ID);
// A new root object for NewRoot; frees RootFolder on success. On failure NewRoot reverts
// to OldRoot, RootFolder stays and Exception "Error setting path: "%s"" is raised.
TspShellFolder* ResolveRootFolder(TspShellFolder* RootFolder, const TRoot& OldRoot, TRoot& NewRoot);
