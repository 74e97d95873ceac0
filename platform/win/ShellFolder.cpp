#include "platform/win/ShellFolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <memory>

#include "platform/rtl/FileUtils.h"
#include "platform/win/ShellContextMenu.h"
#include "platform/win/ShellItemRecords.h"
#include "platform/win/Volumes.h"

namespace vantrel::win {

const char* const kDesktopParsingName = "::{6A3F0D12-48C7-4E5B-9D21-7C0B55E1A901}";
const char* const kComputerParsingName = "::{6A3F0D12-48C7-4E5B-9D21-7C0B55E1A902}";

namespace {

using Records = std::vector<ShellItemRecord>;

enum class FolderRole { Desktop, Computer, FileSystem };

HRESULT ShellText(const std::string& Text, STRRET* Out) {
  if (!Out) return E_INVALIDARG;
  auto* P = static_cast<char*>(CoTaskMemAlloc(Text.size() + 1));
  if (!P) return E_OUTOFMEMORY;
  std::memcpy(P, Text.c_str(), Text.size() + 1);
  Out->uType = STRRET_WSTR;
  Out->pOleStr = P;
  return S_OK;
}

// Whether Path holds a subfolder; stops at the first.
bool ShellHasSubfolder(const std::string& Path) {
  DIR* D = opendir(Path.c_str());
  if (!D) return false;
  bool Found = false;
  while (!Found) {
    dirent* E = readdir(D);
    if (!E) break;
    if (std::strcmp(E->d_name, ".") == 0 || std::strcmp(E->d_name, "..") == 0) continue;
    if (E->d_type == DT_DIR) {
      Found = true;
    } else if (E->d_type == DT_UNKNOWN || E->d_type == DT_LNK) {
      struct stat St {};
      Found = stat((Path + "/" + E->d_name).c_str(), &St) == 0 && S_ISDIR(St.st_mode);
    }
  }
  closedir(D);
  return Found;
}

std::string ShellSizeText(uint64_t Bytes) { return std::to_string((Bytes + 1023) / 1024) + " KB"; }

std::string ShellCapacityText(double Bytes) {
  char B[32];
  if (Bytes >= 1024.0 * 1024 * 1024)
    std::snprintf(B, sizeof B, "%.1f GB", Bytes / (1024.0 * 1024 * 1024));
  else
    std::snprintf(B, sizeof B, "%.1f MB", Bytes / (1024.0 * 1024));
  return B;
}

std::string ShellDateText(int64_t Seconds) {
  const time_t T = static_cast<time_t>(Seconds);
  tm L{};
  if (!localtime_r(&T, &L)) return {};
  char B[32];
  std::strftime(B, sizeof B, "%Y-%m-%d %H:%M", &L);
  return B;
}

std::string ShellAttributeText(const ShellItemRecord& R) {
  std::string S;
  if (R.Attributes & SFGAO_READONLY) S += 'R';
  if (R.Attributes & SFGAO_GHOSTED) S += 'H';
  if (R.Attributes & SFGAO_LINK) S += 'L';
  return S;
}

std::string ShellVolumeTypeText(UINT Type) {
  switch (Type) {
    case DRIVE_REMOVABLE: return "Removable Disk";
    case DRIVE_REMOTE: return "Network Drive";
    case DRIVE_CDROM: return "CD Drive";
    case DRIVE_RAMDISK: return "RAM Disk";
    default: return "Local Disk";
  }
}

std::string ShellTypeText(const ShellItemRecord& R) {
  switch (R.Kind) {
    case ShellItemKind::Computer: return "System Folder";
    case ShellItemKind::Volume: {
      Volume V;
      return ShellVolumeTypeText(VolumeOfPath(R.Name, V) && V.MountPoint == R.Name ? V.Type : DRIVE_FIXED);
    }
    case ShellItemKind::Home:
    case ShellItemKind::Folder: return "Folder";
    case ShellItemKind::File: break;
  }
  std::string Ext = ExtractFileExt(R.Name);
  if (Ext.size() <= 1 || Ext.size() == R.Name.size()) return "File";  // ".name" has no extension
  for (char& C : Ext) C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
  return Ext.substr(1) + " File";
}

std::string ShellNormalName(const ShellItemRecord& R) {
  if (R.Kind == ShellItemKind::Volume) {
    Volume V;
    if (VolumeOfPath(R.Name, V) && V.MountPoint == R.Name) return V.DisplayName;
    return R.Name == "/" ? "File System" : ExtractFileName(R.Name);
  }
  return R.Name;
}

int ShellCompareNumbers(int64_t A, int64_t B) { return A < B ? -1 : A > B ? 1 : 0; }

int ShellCompareNames(const std::string& A, const std::string& B) {
  const int C = strcasecmp(A.c_str(), B.c_str());
  if (C != 0) return C < 0 ? -1 : 1;
  const int D = A.compare(B);
  return D < 0 ? -1 : D > 0 ? 1 : 0;
}

// One level's order: virtual items by kind, folders before files, then by the column,
// then by name.
int ShellCompareRecords(const ShellItemRecord& A, const ShellItemRecord& B, int Column) {
  const bool VirtualA = A.Kind == ShellItemKind::Home || A.Kind == ShellItemKind::Computer;
  const bool VirtualB = B.Kind == ShellItemKind::Home || B.Kind == ShellItemKind::Computer;
  if (VirtualA || VirtualB) return ShellCompareNumbers(static_cast<int>(A.Kind), static_cast<int>(B.Kind));
  if (A.IsFolderKind() != B.IsFolderKind()) return A.IsFolderKind() ? -1 : 1;
  int C = 0;
  switch (Column) {
    case 1:  // folders have no size
      if (A.Kind == ShellItemKind::File) C = ShellCompareNumbers(static_cast<int64_t>(A.Size), static_cast<int64_t>(B.Size));
      break;
    case 2: C = ShellCompareNames(ShellTypeText(A), ShellTypeText(B)); break;
    case 3: C = ShellCompareNumbers(A.Modified, B.Modified); break;
    case 4: C = ShellCompareNumbers(A.Created, B.Created); break;
    case 5: C = ShellCompareNames(ShellAttributeText(A), ShellAttributeText(B)); break;
    default: break;
  }
  return C != 0 ? C : ShellCompareNames(ShellNormalName(A), ShellNormalName(B));
}

class ShellEnum final : public Counted<IEnumIDList> {
 public:
  explicit ShellEnum(std::shared_ptr<const Records> Items, size_t Pos = 0) : FItems(std::move(Items)), FPos(Pos) {}
  HRESULT QueryInterface(REFIID Iid, void** Object) override {
    return AnswerInterface(Iid == IID_IUnknown || Iid == IID_IEnumIDList ? this : nullptr, Object);
  }
  HRESULT Next(ULONG Count, LPITEMIDLIST* Items, ULONG* Fetched) override {
    if (!Items) return E_INVALIDARG;
    ULONG N = 0;
    while (N < Count && FPos < FItems->size()) {
      LPITEMIDLIST L = EncodeItemIdList({(*FItems)[FPos]});
      if (!L) break;
      Items[N++] = L;
      ++FPos;
    }
    if (Fetched) *Fetched = N;
    return N == Count ? S_OK : S_FALSE;
  }
  HRESULT Skip(ULONG Count) override {
    const size_t Left = FItems->size() - FPos;
    FPos += std::min<size_t>(Count, Left);
    return Count <= Left ? S_OK : S_FALSE;
  }
  HRESULT Reset() override {
    FPos = 0;
    return S_OK;
  }
  HRESULT Clone(IEnumIDList** Enum) override {
    if (!Enum) return E_INVALIDARG;
    *Enum = new ShellEnum(FItems, FPos);
    return S_OK;
  }

 private:
  std::shared_ptr<const Records> FItems;
  size_t FPos;
};

class NamespaceFolder final : public Counted<IShellFolder2> {
 public:
  NamespaceFolder(Records Prefix, std::string Path) : FPrefix(std::move(Prefix)), FPath(std::move(Path)) {
    FRole = FPrefix.empty() ? FolderRole::Desktop
            : FPrefix.size() == 1 && FPrefix[0].Kind == ShellItemKind::Computer ? FolderRole::Computer
                                                                                : FolderRole::FileSystem;
  }

  HRESULT QueryInterface(REFIID Iid, void** Object) override {
    const bool Ours = Iid == IID_IUnknown || Iid == IID_IShellFolder || Iid == IID_IShellFolder2;
    return AnswerInterface(Ours ? static_cast<IShellFolder2*>(this) : nullptr, Object);
  }

  HRESULT ParseDisplayName(HWND, void*, LPCSTR Name, ULONG* Eaten, LPITEMIDLIST* Result,
                           ULONG* Attributes) override {
    if (!Name || !Result) return E_INVALIDARG;
    *Result = nullptr;
    const std::string Text = Name;
    Records Found;
    if (FRole == FolderRole::Desktop) {
      if (Text == kDesktopParsingName) {
        Found = {};
      } else if (Text == kComputerParsingName) {
        Found = {ComputerRecord()};
      } else {
        ItemIdList L;
        const HRESULT R = ParseShellPath(Text, L.Put());
        if (FAILED(R)) return R;
        DecodeItemIdList(L.Get(), Found);
      }
    } else if (FRole == FolderRole::FileSystem && !Text.empty() && Text[0] != '/') {
      std::string Path = FPath;
      size_t Start = 0;
      while (Start <= Text.size()) {
        size_t End = Text.find('/', Start);
        if (End == std::string::npos) End = Text.size();
        const std::string Part = Text.substr(Start, End - Start);
        Start = End + 1;
        if (Part.empty() || Part == ".") continue;
        if (Part == "..") return E_INVALIDARG;
        ShellItemRecord R;
        if (!ReadShellRecord(Path, Part, R)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
        Path = JoinShellPath(Path, Part);
        Found.push_back(std::move(R));
      }
    } else {
      return E_INVALIDARG;
    }
    *Result = EncodeItemIdList(Found);
    if (!*Result) return E_OUTOFMEMORY;
    if (Eaten) *Eaten = static_cast<ULONG>(Text.size());
    if (Attributes) {
      LPCITEMIDLIST One = *Result;
      GetAttributesOf(1, &One, Attributes);
    }
    return S_OK;
  }

  HRESULT EnumObjects(HWND, DWORD Flags, IEnumIDList** Enum) override {
    if (!Enum) return E_INVALIDARG;
    *Enum = nullptr;
    auto Items = std::make_shared<Records>();
    const bool Folders = Flags & SHCONTF_FOLDERS;
    const bool Files = Flags & SHCONTF_NONFOLDERS;
    const bool Hidden = Flags & SHCONTF_INCLUDEHIDDEN;
    if (FRole == FolderRole::Desktop) {
      if (Folders) {
        ShellItemRecord Home;
        if (HomeShellRecord(Home)) Items->push_back(std::move(Home));
        Items->push_back(ComputerRecord());
      }
    } else if (FRole == FolderRole::Computer) {
      if (Folders)
        for (const Volume& V : ListVolumes()) Items->push_back(VolumeShellRecord(V));
    } else {
      if (access(FPath.c_str(), F_OK) != 0) return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
      if (access(FPath.c_str(), R_OK | X_OK) != 0) return HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED);
      DIR* D = opendir(FPath.c_str());
      if (!D) return HRESULT_FROM_WIN32(errno == EACCES ? ERROR_ACCESS_DENIED : ERROR_PATH_NOT_FOUND);
      while (dirent* E = readdir(D)) {
        const std::string Name = E->d_name;
        if (Name == "." || Name == "..") continue;
        if (!Hidden && Name[0] == '.') continue;
        ShellItemRecord R;
        if (!ReadShellRecord(FPath, Name, R)) continue;
        if (R.IsFolderKind() ? !Folders : !Files) continue;
        Items->push_back(std::move(R));
      }
      closedir(D);
    }
    *Enum = new ShellEnum(std::move(Items));
    return S_OK;
  }

  HRESULT BindToObject(LPCITEMIDLIST Item, void*, REFIID Iid, void** Object) override {
    if (!Object) return E_INVALIDARG;
    *Object = nullptr;
    Records Full;
    if (!Absolute(Item, Full)) return E_INVALIDARG;
    if (Full.empty() || !Full.back().IsFolderKind()) return E_INVALIDARG;
    std::string Path;
    const bool FileSystem = ShellRecordsPath(Full, Path);
    if (!(Full.size() == 1 && Full[0].Kind == ShellItemKind::Computer)) {
      struct stat St {};
      if (!FileSystem || stat(Path.c_str(), &St) != 0 || !S_ISDIR(St.st_mode))
        return HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND);
    }
    auto F = MakeCounted<NamespaceFolder>(std::move(Full), std::move(Path));
    return F->QueryInterface(Iid, Object);
  }

  HRESULT BindToStorage(LPCITEMIDLIST, void*, REFIID, void** Object) override {
    if (Object) *Object = nullptr;
    return E_NOTIMPL;
  }

  HRESULT CompareIDs(LPARAM LParam, LPCITEMIDLIST A, LPCITEMIDLIST B) override {
    Records RA, RB;
    if (!DecodeItemIdList(A, RA) || !DecodeItemIdList(B, RB)) return E_INVALIDARG;
    const int Column = static_cast<int>(LParam & 0xFFFF);
    // One path reached two ways is one item.
    Records FA = FPrefix, FB = FPrefix;
    FA.insert(FA.end(), RA.begin(), RA.end());
    FB.insert(FB.end(), RB.begin(), RB.end());
    std::string PA, PB;
    if (ShellRecordsPath(FA, PA) && ShellRecordsPath(FB, PB) && PA == PB) return MAKE_COMPARE_RESULT(0);
    const size_t N = std::min(RA.size(), RB.size());
    for (size_t i = 0; i < N; ++i) {
      if (RA[i].Kind == RB[i].Kind && RA[i].Name == RB[i].Name) continue;
      return MAKE_COMPARE_RESULT(ShellCompareRecords(RA[i], RB[i], i + 1 == N ? Column : 0));
    }
    return MAKE_COMPARE_RESULT(ShellCompareNumbers(static_cast<int64_t>(RA.size()), static_cast<int64_t>(RB.size())));
  }

  HRESULT CreateViewObject(HWND, REFIID, void** Object) override {
    if (Object) *Object = nullptr;
    return E_NOTIMPL;
  }

  HRESULT GetAttributesOf(UINT Count, LPCITEMIDLIST* Items, ULONG* InOut) override {
    if (!InOut || (Count && !Items)) return E_INVALIDARG;
    const ULONG Asked = *InOut;
    ULONG Common = ~0u;
    for (UINT i = 0; i < Count; ++i) {
      Records Full;
      if (!Absolute(Items[i], Full)) return E_INVALIDARG;
      ULONG A;
      if (Full.empty()) {
        A = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR | SFGAO_HASPROPSHEET;
      } else {
        A = Full.back().Attributes;
        if ((Asked & SFGAO_HASSUBFOLDER) && Full.back().IsFolderKind()) {
          std::string Path;
          if (Full.back().Kind == ShellItemKind::Computer || (ShellRecordsPath(Full, Path) && ShellHasSubfolder(Path)))
            A |= SFGAO_HASSUBFOLDER;
        }
      }
      Common &= A;
    }
    *InOut = Count == 0 ? 0 : Asked == 0 ? Common : (Common & Asked);
    return S_OK;
  }

  // Context menus (IContextMenu, IContextMenu2) of one item that has a file-system path.
  HRESULT GetUIObjectOf(HWND, UINT Count, LPCITEMIDLIST* Items, REFIID Iid, UINT*, void** Object) override {
    if (!Object) return E_INVALIDARG;
    *Object = nullptr;
    if (!(Iid == IID_IContextMenu || Iid == IID_IContextMenu2)) return E_NOINTERFACE;
    if (Count != 1 || !Items || !Items[0]) return E_INVALIDARG;
    Records Full;
    std::string Path;
    if (!Absolute(Items[0], Full) || Full.empty()) return E_INVALIDARG;
    if (!ShellRecordsPath(Full, Path)) return E_NOINTERFACE;  // Computer has no commands of its own
    return CreateShellContextMenu(this, Items[0], Path, Iid, Object);
  }

  HRESULT GetDisplayNameOf(LPCITEMIDLIST Item, DWORD Flags, STRRET* Name) override {
    Records Full;
    if (!Name || !Absolute(Item, Full)) return E_INVALIDARG;
    const bool Parsing = Flags & SHGDN_FORPARSING;
    const bool InFolder = Flags & SHGDN_INFOLDER;
    if (Full.empty()) return ShellText(Parsing ? kDesktopParsingName : "Desktop", Name);
    const ShellItemRecord& Last = Full.back();
    if (Last.Kind == ShellItemKind::Computer) return ShellText(Parsing ? kComputerParsingName : "Computer", Name);
    if (Parsing) {
      std::string Path;
      if (!ShellRecordsPath(Full, Path)) return E_INVALIDARG;
      const bool Child = Last.Kind == ShellItemKind::Folder || Last.Kind == ShellItemKind::File;
      return ShellText(InFolder && Child ? Last.Name : Path, Name);
    }
    return ShellText(Last.Kind == ShellItemKind::Home ? "Home" : ShellNormalName(Last), Name);
  }

  HRESULT SetNameOf(HWND, LPCITEMIDLIST Item, LPCSTR NewName, DWORD, LPITEMIDLIST* Result) override {
    if (Result) *Result = nullptr;
    Records Rel, Full;
    if (!NewName || !DecodeItemIdList(Item, Rel) || Rel.empty() || !Absolute(Item, Full)) return E_INVALIDARG;
    const ShellItemRecord& Last = Full.back();
    if (Last.Kind != ShellItemKind::Folder && Last.Kind != ShellItemKind::File) return E_INVALIDARG;
    const std::string Name = NewName;
    if (Name.empty() || Name == "." || Name == ".." || Name.find('/') != std::string::npos)
      return HRESULT_FROM_WIN32(ERROR_INVALID_NAME);
    std::string OldPath;
    if (!ShellRecordsPath(Full, OldPath)) return E_INVALIDARG;
    const std::string Parent = ExtractFileDir(OldPath);
    const std::string NewPath = JoinShellPath(Parent, Name);
    if (Name == Last.Name) {
      // Nothing to move.
    } else {
      const HRESULT R = RenameShellItem(OldPath, NewPath);
      if (FAILED(R)) return R;
    }
    ShellItemRecord Fresh;
    if (!ReadShellRecord(Parent, Name, Fresh)) return E_FAIL;
    Rel.back() = std::move(Fresh);
    if (Result) {
      *Result = EncodeItemIdList(Rel);
      if (!*Result) return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  HRESULT GetDefaultColumnState(UINT Column, DWORD* State) override {
    if (!State) return E_INVALIDARG;
    if (Column >= ColumnCount()) return E_INVALIDARG;
    if (FRole == FolderRole::Computer) {
      *State = SHCOLSTATE_ONBYDEFAULT | SHCOLSTATE_TYPE_STR;
      return S_OK;
    }
    static const DWORD kStates[] = {SHCOLSTATE_TYPE_STR | SHCOLSTATE_ONBYDEFAULT,
                                    SHCOLSTATE_TYPE_INT | SHCOLSTATE_ONBYDEFAULT,
                                    SHCOLSTATE_TYPE_STR | SHCOLSTATE_ONBYDEFAULT,
                                    SHCOLSTATE_TYPE_DATE | SHCOLSTATE_ONBYDEFAULT, SHCOLSTATE_TYPE_DATE,
                                    SHCOLSTATE_TYPE_STR};
    *State = kStates[Column];
    return S_OK;
  }

  HRESULT GetDetailsOf(LPCITEMIDLIST Item, UINT Column, SHELLDETAILS* Details) override {
    if (!Details) return E_INVALIDARG;
    if (Column >= ColumnCount()) return E_FAIL;
    static const char* const kFileColumns[] = {"Name", "Size", "Type", "Modified", "Created", "Attributes"};
    static const char* const kComputerColumns[] = {"Name", "Type", "Total Size", "Free Space"};
    const bool Computer = FRole == FolderRole::Computer;
    Details->fmt = (Computer ? Column >= 2 : Column == 1) ? LVCFMT_RIGHT : LVCFMT_LEFT;
    Details->cxChar = Column == 0 ? 24 : 12;
    if (!Item) return ShellText(Computer ? kComputerColumns[Column] : kFileColumns[Column], &Details->str);
    Records Full;
    if (!Absolute(Item, Full) || Full.empty()) return E_INVALIDARG;
    const ShellItemRecord& R = Full.back();
    std::string Text;
    if (Computer) {
      std::string Path;
      struct statvfs Vfs {};
      const bool Sized = ShellRecordsPath(Full, Path) && statvfs(Path.c_str(), &Vfs) == 0;
      switch (Column) {
        case 0: Text = ShellNormalName(R); break;
        case 1: Text = ShellTypeText(R); break;
        case 2: if (Sized) Text = ShellCapacityText(static_cast<double>(Vfs.f_blocks) * Vfs.f_frsize); break;
        default: if (Sized) Text = ShellCapacityText(static_cast<double>(Vfs.f_bavail) * Vfs.f_frsize); break;
      }
    } else {
      const bool FileSystem = R.Kind == ShellItemKind::Folder || R.Kind == ShellItemKind::File ||
                              R.Kind == ShellItemKind::Home || R.Kind == ShellItemKind::Volume;
      switch (Column) {
        case 0: Text = R.Kind == ShellItemKind::Computer ? "Computer" : R.Kind == ShellItemKind::Home ? "Home"
                                                                                                      : ShellNormalName(R);
          break;
        case 1: if (R.Kind == ShellItemKind::File) Text = ShellSizeText(R.Size); break;
        case 2: Text = ShellTypeText(R); break;
        case 3: if (FileSystem) Text = ShellDateText(R.Modified); break;
        case 4: if (FileSystem) Text = ShellDateText(R.Created); break;
        default: Text = ShellAttributeText(R); break;
      }
    }
    return ShellText(Text, &Details->str);
  }

 private:
  UINT ColumnCount() const { return FRole == FolderRole::Computer ? 4 : 6; }

  // This folder's records, then Item's; false for a malformed list.
  bool Absolute(LPCITEMIDLIST Item, Records& Full) const {
    Records Rel;
    if (!DecodeItemIdList(Item, Rel)) return false;
    Full = FPrefix;
    Full.insert(Full.end(), std::make_move_iterator(Rel.begin()), std::make_move_iterator(Rel.end()));
    return true;
  }

  Records FPrefix;
  std::string FPath;
  FolderRole FRole;
};

}  // namespace

HRESULT ParseShellPath(const std::string& Text, LPITEMIDLIST* Result) {
  if (!Result) return E_INVALIDARG;
  *Result = nullptr;
  if (Text.empty() || Text[0] != '/') return E_INVALIDARG;
  std::string Path = ExpandFileName(Text);
  while (Path.size() > 1 && Path.back() == '/') Path.pop_back();
  struct stat St {};
  if (lstat(Path.c_str(), &St) != 0) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  Records Out;
  std::string Base;
  ShellItemRecord Home;
  const std::string HomePath = ShellHomePath();
  if (!HomePath.empty() && (Path == HomePath || Path.compare(0, HomePath.size() + 1, HomePath + "/") == 0) &&
      HomeShellRecord(Home)) {
    Out.push_back(std::move(Home));
    Base = HomePath;
  } else {
    Volume V;
    if (!VolumeOfPath(Path, V)) return E_FAIL;
    Out.push_back(ComputerRecord());
    Out.push_back(VolumeShellRecord(V));
    Base = V.MountPoint;
  }
  std::string Rest = Path.substr(Base.size());
  std::string Folder = Base;
  size_t Start = 0;
  while (Start < Rest.size()) {
    size_t End = Rest.find('/', Start);
    if (End == std::string::npos) End = Rest.size();
    const std::string Part = Rest.substr(Start, End - Start);
    Start = End + 1;
    if (Part.empty()) continue;
    ShellItemRecord R;
    if (!ReadShellRecord(Folder, Part, R)) return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
    Folder = JoinShellPath(Folder, Part);
    Out.push_back(std::move(R));
  }
  *Result = EncodeItemIdList(Out);
  return *Result ? S_OK : E_OUTOFMEMORY;
}

bool ShellPathOf(LPCITEMIDLIST List, std::string& Path) {
  Records R;
  return DecodeItemIdList(List, R) && ShellRecordsPath(R, Path);
}

}  // namespace vantrel::win

HRESULT SHGetDesktopFolder(IShellFolder** Folder) {
  if (!Folder) return E_INVALIDARG;
  *Folder = new vantrel::win::NamespaceFolder({}, std::string());
  return S_OK;
}

BOOL SHGetPathFromIDList(LPCITEMIDLIST List, char* Path) {
  if (!Path) return FALSE;
  Path[0] = 0;
  std::string P;
  if (!vantrel::win::ShellPathOf(List, P) || P.size() >= MAX_PATH) return FALSE;
  std::memcpy(Path, P.c_str(), P.size() + 1);
  return TRUE;
}
