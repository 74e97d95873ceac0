#include "platform/win/ShellFileInfo.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/FileUtils.h"
#include "platform/win/ShellItemRecords.h"

namespace {

using vantrel::win::ShellItemKind;
using vantrel::win::ShellItemRecord;
using vantrel::win::SystemIcon;

SystemIcon IconOfChain(const std::vector<ShellItemRecord>& Chain, bool Open) {
  if (Chain.empty()) return SystemIcon::Desktop;
  const ShellItemRecord& R = Chain.back();
  switch (R.Kind) {
    case ShellItemKind::Home: return SystemIcon::Home;
    case ShellItemKind::Computer: return SystemIcon::Computer;
    case ShellItemKind::Volume: {
      vantrel::win::Volume V;
      const UINT Type = vantrel::win::VolumeOfPath(R.Name, V) && V.MountPoint == R.Name ? V.Type : DRIVE_FIXED;
      switch (Type) {
        case DRIVE_REMOVABLE: return SystemIcon::VolumeRemovable;
        case DRIVE_REMOTE: return SystemIcon::VolumeNetwork;
        case DRIVE_CDROM: return SystemIcon::VolumeCD;
        case DRIVE_RAMDISK: return SystemIcon::VolumeRam;
        default: return SystemIcon::VolumeFixed;
      }
    }
    case ShellItemKind::Folder: return Open ? SystemIcon::FolderOpen : SystemIcon::FolderClosed;
    case ShellItemKind::File: break;
  }
  return vantrel::win::FileIconOf(R.Name, (R.Mode & 0111) != 0);
}

void CopyInfoText(const std::string& S, char* Out, size_t Size) {
  const size_t N = std::min(S.size(), Size - 1);
  std::memcpy(Out, S.data(), N);
  Out[N] = 0;
}

std::string TakeText(STRRET& S) {
  std::string T = S.pOleStr ? S.pOleStr : "";
  CoTaskMemFree(S.pOleStr);
  S.pOleStr = nullptr;
  return T;
}

}  // namespace

DWORD_PTR SHGetFileInfo(LPCSTR Path, DWORD FileAttributes, SHFILEINFO* Info, UINT, UINT Flags) {
  if (!Path) return 0;
  std::vector<ShellItemRecord> Chain;
  if (Flags & SHGFI_PIDL) {
    if (!vantrel::win::DecodeItemIdList(reinterpret_cast<LPCITEMIDLIST>(Path), Chain)) return 0;
  } else if (Flags & SHGFI_USEFILEATTRIBUTES) {
    ShellItemRecord R;
    R.Name = ExtractFileName(Path);
    const bool Dir = FileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    R.Kind = Dir ? ShellItemKind::Folder : ShellItemKind::File;
    R.Attributes = SFGAO_FILESYSTEM | (Dir ? SFGAO_FOLDER | SFGAO_FILESYSANCESTOR : 0);
    Chain.push_back(std::move(R));
  } else {
    vantrel::win::ItemIdList L;
    if (FAILED(vantrel::win::ParseShellPath(Path, L.Put()))) return 0;
    vantrel::win::DecodeItemIdList(L.Get(), Chain);
  }
  vantrel::win::ItemIdList Absolute(vantrel::win::EncodeItemIdList(Chain));
  if (!Absolute.Get()) return 0;
  vantrel::win::ComPtr<IShellFolder> Desktop;
  SHGetDesktopFolder(Desktop.Put());
  const bool Large = !(Flags & SHGFI_SMALLICON);
  const int Index = static_cast<int>(IconOfChain(Chain, Flags & SHGFI_OPENICON));
  if (Info) {
    if (Flags & (SHGFI_SYSICONINDEX | SHGFI_ICON)) Info->iIcon = Index;
    if (Flags & SHGFI_ICON) Info->hIcon = ImageList_GetIcon(vantrel::win::SystemImageList(Large), Index, 0);
    if (Flags & SHGFI_DISPLAYNAME) {
      STRRET S;
      if (SUCCEEDED(Desktop->GetDisplayNameOf(Absolute.Get(), SHGDN_NORMAL, &S)))
        CopyInfoText(TakeText(S), Info->szDisplayName, sizeof Info->szDisplayName);
    }
    if (Flags & SHGFI_TYPENAME) {
      vantrel::win::ComPtr<IShellFolder2> Details;
      SHELLDETAILS D;
      if (SUCCEEDED(Desktop->QueryInterface(IID_IShellFolder2, Details.PutVoid())) &&
          SUCCEEDED(Details->GetDetailsOf(Absolute.Get(), 2, &D)))
        CopyInfoText(TakeText(D.str), Info->szTypeName, sizeof Info->szTypeName);
    }
    if (Flags & SHGFI_ATTRIBUTES) {
      ULONG A = 0;
      LPCITEMIDLIST One = Absolute.Get();
      if (Flags & SHGFI_USEFILEATTRIBUTES) A = Chain.back().Attributes;
      else Desktop->GetAttributesOf(1, &One, &A);
      Info->dwAttributes = A;
    }
  }
  if (Flags & SHGFI_SYSICONINDEX) return reinterpret_cast<DWORD_PTR>(vantrel::win::SystemImageList(Large));
  return 1;
}
