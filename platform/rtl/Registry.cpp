// The settings store: one file of sections named by key path ("HKEY_CURRENT_USER\Software\..")
// holding lines name=type:data. Names and string data are percent-encoded where a character
// would break the line format. Every operation reads the file afresh; changes are made under
// an advisory lock and written atomically.
#include "platform/rtl/Registry.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr const char* SInvalidRegType = "Invalid data type for '%s'";
constexpr const char* SRegGetDataFailed = "Failed to get data for '%s'";
constexpr const char* SRegSetDataFailed = "Failed to set data for '%s'";
constexpr const char* SRegCreateFailed = "Failed to create key %s";

struct RegValue {
  String Name;
  TRegDataType Type = rdUnknown;
  String Data;  // text for strings, the bytes for binary, decimal text for integers
};

struct RegKey {
  String Path;  // root name and key names joined by '\'
  std::vector<RegValue> Values;

  RegValue* Find(const String& Name) {
    for (auto& V : Values)
      if (SameText(V.Name, Name)) return &V;
    return nullptr;
  }
};

bool Special(char C) {
  return C == '%' || C == '=' || C == '[' || C == ']' || C == ';' || C == '\r' || C == '\n' ||
         C == '\0';
}

String Encode(const String& S) {
  String R;
  for (char C : S) {
    if (Special(C)) R += "%" + IntToHex(static_cast<unsigned char>(C), 2);
    else R += C;
  }
  return R;
}

String Decode(const String& S) {
  String R;
  for (size_t i = 0; i < S.size(); ++i) {
    Integer V;
    if (S[i] == '%' && i + 2 < S.size() && TryStrToInt("$" + S.substr(i + 1, 2), V)) {
      R += static_cast<char>(V);
      i += 2;
    } else {
      R += S[i];
    }
  }
  return R;
}

String HexBytes(const String& Bytes) {
  String R;
  for (char C : Bytes) R += IntToHex(static_cast<unsigned char>(C), 2);
  return R;
}

String UnhexBytes(const String& Hex) {
  String R;
  for (size_t i = 0; i + 1 < Hex.size(); i += 2) {
    Integer V;
    if (!TryStrToInt("$" + Hex.substr(i, 2), V)) break;
    R += static_cast<char>(V);
  }
  return R;
}

}  // namespace

namespace vantrel::rtl::detail {

class RegStore {
 public:
  // Reads the file; a missing file is an empty store.
  void Load(const String& FileName) {
    FKeys.clear();
    if (FileName.empty() || !FileExists(FileName)) return;
    TStringList Lines;
    try {
      Lines.LoadFromFile(FileName);
    } catch (const EStreamError& E) {
      throw ERegistryException(E.Message());
    }
    RegKey* Cur = nullptr;
    for (Integer i = 0; i < Lines.Count(); ++i) {
      const String L = Lines[i];
      if (L.empty() || L[0] == ';') continue;
      if (L.size() >= 2 && L.front() == '[' && L.back() == ']') {
        Cur = Create(Decode(L.substr(1, L.size() - 2)));
        continue;
      }
      const size_t Eq = L.find('=');
      if (!Cur || Eq == String::npos) continue;
      RegValue V;
      V.Name = Decode(L.substr(0, Eq));
      const String Typed = L.substr(Eq + 1);
      const size_t Colon = Typed.find(':');
      const String Type = Colon == String::npos ? String() : Typed.substr(0, Colon);
      const String Data = Colon == String::npos ? Typed : Typed.substr(Colon + 1);
      if (Type == "sz") {
        V.Type = rdString;
        V.Data = Decode(Data);
      } else if (Type == "expand_sz") {
        V.Type = rdExpandString;
        V.Data = Decode(Data);
      } else if (Type == "dword") {
        V.Type = rdInteger;
        V.Data = Data;
      } else if (Type == "hex") {
        V.Type = rdBinary;
        V.Data = UnhexBytes(Data);
      } else {
        V.Type = rdUnknown;
        V.Data = Typed;
      }
      if (!Cur->Find(V.Name)) Cur->Values.push_back(std::move(V));
    }
  }

  String Text() const {
    String R;
    for (const auto& K : FKeys) {
      R += "[" + Encode(K.Path) + "]\n";
      for (const auto& V : K.Values) {
        R += Encode(V.Name) + "=";
        switch (V.Type) {
          case rdString: R += "sz:" + Encode(V.Data); break;
          case rdExpandString: R += "expand_sz:" + Encode(V.Data); break;
          case rdInteger: R += "dword:" + V.Data; break;
          case rdBinary: R += "hex:" + HexBytes(V.Data); break;
          default: R += V.Data; break;
        }
        R += "\n";
      }
      R += "\n";
    }
    return R;
  }

  RegKey* Find(const String& Path) {
    for (auto& K : FKeys)
      if (SameText(K.Path, Path)) return &K;
    return nullptr;
  }

  // A key exists when it was created or a key below it exists.
  bool Exists(const String& Path) {
    if (Path.find('\\') == String::npos) return true;  // a root key
    const String Prefix = Path + "\\";
    for (const auto& K : FKeys)
      if (SameText(K.Path, Path) || StartsText(Prefix, K.Path)) return true;
    return false;
  }

  // Creates the key and every key above it.
  RegKey* Create(const String& Path) {
    size_t P = Path.find('\\');
    while (P != String::npos) {
      if (!Find(Path.substr(0, P))) FKeys.push_back(RegKey{Path.substr(0, P), {}});
      P = Path.find('\\', P + 1);
    }
    if (RegKey* K = Find(Path)) return K;
    FKeys.push_back(RegKey{Path, {}});
    return &FKeys.back();
  }

  bool Delete(const String& Path) {
    const String Prefix = Path + "\\";
    const size_t Before = FKeys.size();
    std::erase_if(FKeys, [&](const RegKey& K) { return SameText(K.Path, Path) || StartsText(Prefix, K.Path); });
    return FKeys.size() != Before;
  }

  std::vector<String> SubKeyNames(const String& Path) {
    std::vector<String> R;
    const String Prefix = Path + "\\";
    for (const auto& K : FKeys) {
      if (!StartsText(Prefix, K.Path)) continue;
      const String Rest = K.Path.substr(Prefix.size());
      const String Name = Rest.substr(0, Rest.find('\\'));
      if (std::none_of(R.begin(), R.end(), [&](const String& N) { return SameText(N, Name); }))
        R.push_back(Name);
    }
    return R;
  }

 private:
  std::vector<RegKey> FKeys;  // in file order; few keys, so lookups are linear
};

}  // namespace vantrel::rtl::detail

namespace {

using vantrel::rtl::detail::RegStore;

// Holds an exclusive advisory lock next to the store while a change is read, made and written.
class StoreLock {
 public:
  explicit StoreLock(const String& FileName) {
    FFd = ::open((FileName + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (FFd >= 0)
      while (::flock(FFd, LOCK_EX) != 0 && errno == EINTR) {
      }
  }
  ~StoreLock() {
    if (FFd >= 0) ::close(FFd);
  }
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

 private:
  int FFd = -1;
};

String RootName(HKEY Root) {
  switch (Root) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    default: return "HKEY_" + IntToHex(static_cast<UInt64>(Root), 8);
  }
}

// Key names joined by '\', empty names dropped.
String NormalizePath(const String& Path) {
  String R;
  size_t i = 0;
  while (i <= Path.size()) {
    size_t j = Path.find('\\', i);
    if (j == String::npos) j = Path.size();
    if (j > i) {
      if (!R.empty()) R += '\\';
      R += Path.substr(i, j - i);
    }
    i = j + 1;
  }
  return R;
}

}  // namespace

TRegistry::TRegistry() = default;

TRegistry::~TRegistry() { CloseKey(); }

String TRegistry::StoreFileName() {
  String Config = GetEnvironmentVariable("XDG_CONFIG_HOME");
  if (Config.empty() || Config[0] != '/') {
    const String Home = GetEnvironmentVariable("HOME");
    if (Home.empty()) return String();
    Config = IncludeTrailingPathDelimiter(Home) + ".config";
  }
  return IncludeTrailingPathDelimiter(Config) + "vantrel/registry.ini";
}

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == FRootKey) return;
  CloseKey();
  FRootKey = Value;
}

// The store path of Key: from the root when Key starts with '\' or no key is open, else
// below the open key. "" means the root itself.
String TRegistry::FullPath(const String& Key) const {
  const bool Relative = Key.empty() || Key[0] != '\\';
  String Rel = NormalizePath(Key);
  if (Relative && FKeyOpen && !FCurrentPath.empty()) Rel = Rel.empty() ? FCurrentPath : FCurrentPath + "\\" + Rel;
  return Rel;
}

namespace {
String StorePath(HKEY Root, const String& Rel) {
  return Rel.empty() ? RootName(Root) : RootName(Root) + "\\" + Rel;
}
}  // namespace

bool TRegistry::OpenKey(const String& Key, bool CanCreate) {
  const String Rel = FullPath(Key);
  if (CanCreate && !Rel.empty()) {
    try {
      CreateKey("\\" + Rel);
    } catch (const ERegistryException&) {
      return false;
    }
  } else if (!KeyExists("\\" + Rel)) {
    return false;
  }
  CloseKey();
  FCurrentPath = Rel;
  FKeyOpen = true;
  FReadOnly = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const String& Key) {
  if (!OpenKey(Key, false)) return false;
  FReadOnly = true;
  return true;
}

void TRegistry::CloseKey() {
  FKeyOpen = false;
  FReadOnly = false;
  FCurrentPath.clear();
}

bool TRegistry::KeyExists(const String& Key) {
  RegStore Store;
  Load(Store);
  return Store.Exists(StorePath(FRootKey, FullPath(Key)));
}


String TRegistry::OpenPath() const { return StorePath(FRootKey, FCurrentPath); }

void TRegistry::Load(RegStore& Store) const { Store.Load(StoreFileName()); }

void TRegistry::Modify(const String& Name, const std::function<bool(RegStore&)>& Change) {
  const String File = StoreFileName();
  if (File.empty() || !ForceDirectories(ExtractFileDir(File)))
    throw ERegistryException(Format(SRegSetDataFailed, {Name}));
  StoreLock Lock(File);
  RegStore Store;
  Store.Load(File);
  if (!Change(Store)) return;
  try {
    vantrel::rtl::SaveFileAtomically(File, Store.Text(), BeforeCommitHook);
  } catch (const EStreamError&) {
    throw ERegistryException(Format(SRegSetDataFailed, {Name}));
  }
}

bool TRegistry::CreateKey(const String& Key) {
  const String Path = StorePath(FRootKey, FullPath(Key));
  try {
    Modify(Key, [&](RegStore& Store) {
      if (Store.Find(Path)) return false;
      Store.Create(Path);
      return true;
    });
  } catch (const ERegistryException&) {
    throw ERegistryException(Format(SRegCreateFailed, {Key}));
  }
  return true;
}

bool TRegistry::DeleteKey(const String& Key) {
  const String Rel = FullPath(Key);
  if (Rel.empty()) return false;  // a root key cannot go
  const String Path = StorePath(FRootKey, Rel);
  bool Deleted = false;
  Modify(Key, [&](RegStore& Store) { return Deleted = Store.Delete(Path); });
  if (Deleted && FKeyOpen && (SameText(FCurrentPath, Rel) || StartsText(Rel + "\\", FCurrentPath)))
    CloseKey();
  return Deleted;
}

bool TRegistry::HasSubKeys() {
  RegStore Store;
  Load(Store);
  return !Store.SubKeyNames(OpenPath()).empty();
}

void TRegistry::GetKeyNames(TStrings& Strings) {
  RegStore Store;
  Load(Store);
  Strings.Clear();
  if (!FKeyOpen) return;
  for (const String& N : Store.SubKeyNames(OpenPath())) Strings.Add(N);
}

void TRegistry::GetValueNames(TStrings& Strings) {
  RegStore Store;
  Load(Store);
  Strings.Clear();
  if (!FKeyOpen) return;
  if (auto* K = Store.Find(OpenPath()))
    for (const auto& V : K->Values) Strings.Add(V.Name);
}

bool TRegistry::ReadValue(const String& Name, TRegDataType& Type, String& Data) const {
  if (!FKeyOpen) return false;
  RegStore Store;
  Load(Store);
  auto* K = Store.Find(OpenPath());
  auto* V = K ? K->Find(Name) : nullptr;
  if (!V) return false;
  Type = V->Type;
  Data = V->Data;
  return true;
}

bool TRegistry::ValueExists(const String& Name) {
  TRegDataType T;
  String D;
  return ReadValue(Name, T, D);
}

TRegDataType TRegistry::GetDataType(const String& Name) {
  TRegDataType T = rdUnknown;
  String D;
  return ReadValue(Name, T, D) ? T : rdUnknown;
}

Integer TRegistry::GetDataSize(const String& Name) {
  TRegDataType T;
  String D;
  if (!ReadValue(Name, T, D)) return -1;
  switch (T) {
    case rdString:
    case rdExpandString: return static_cast<Integer>(D.size()) + 1;
    case rdInteger: return 4;
    default: return static_cast<Integer>(D.size());
  }
}

void TRegistry::CheckWritable(const String& Name) const {
  if (!FKeyOpen || FReadOnly) throw ERegistryException(Format(SRegSetDataFailed, {Name}));
}

void TRegistry::WriteValue(const String& Name, TRegDataType Type, const String& Data) {
  CheckWritable(Name);
  const String Path = OpenPath();
  Modify(Name, [&](RegStore& Store) {
    RegKey* K = Store.Create(Path);
    if (RegValue* V = K->Find(Name)) {
      V->Type = Type;
      V->Data = Data;
    } else {
      K->Values.push_back(RegValue{Name, Type, Data});
    }
    return true;
  });
}

bool TRegistry::DeleteValue(const String& Name) {
  CheckWritable(Name);
  const String Path = OpenPath();
  bool Deleted = false;
  Modify(Name, [&](RegStore& Store) {
    if (RegKey* K = Store.Find(Path)) {
      const size_t Before = K->Values.size();
      std::erase_if(K->Values, [&](const RegValue& V) { return SameText(V.Name, Name); });
      Deleted = K->Values.size() != Before;
    }
    return Deleted;
  });
  return Deleted;
}

String TRegistry::ReadString(const String& Name) {
  TRegDataType T;
  String D;
  if (!ReadValue(Name, T, D)) return String();
  if (T != rdString && T != rdExpandString) throw ERegistryException(Format(SInvalidRegType, {Name}));
  return D;
}

void TRegistry::WriteString(const String& Name, const String& Value) { WriteValue(Name, rdString, Value); }

void TRegistry::WriteExpandString(const String& Name, const String& Value) {
  WriteValue(Name, rdExpandString, Value);
}

Integer TRegistry::ReadInteger(const String& Name) {
  TRegDataType T;
  String D;
  if (!ReadValue(Name, T, D)) throw ERegistryException(Format(SRegGetDataFailed, {Name}));
  Integer V;
  if (T != rdInteger) throw ERegistryException(Format(SInvalidRegType, {Name}));
  if (!TryStrToInt(D, V)) throw ERegistryException(Format(SRegGetDataFailed, {Name}));
  return V;
}

void TRegistry::WriteInteger(const String& Name, Integer Value) {
  WriteValue(Name, rdInteger, IntToStr(Value));
}

bool TRegistry::ReadBool(const String& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const String& Name, bool Value) { WriteInteger(Name, Value ? 1 : 0); }

Integer TRegistry::ReadBinaryData(const String& Name, void* Buffer, Integer BufSize) {
  TRegDataType T;
  String D;
  if (!ReadValue(Name, T, D)) throw ERegistryException(Format(SRegGetDataFailed, {Name}));
  if (T != rdBinary && T != rdUnknown) throw ERegistryException(Format(SInvalidRegType, {Name}));
  if (static_cast<Integer>(D.size()) > BufSize)
    throw ERegistryException(Format(SRegGetDataFailed, {Name}));
  std::copy(D.begin(), D.end(), static_cast<char*>(Buffer));
  return static_cast<Integer>(D.size());
}

void TRegistry::WriteBinaryData(const String& Name, const void* Buffer, Integer BufSize) {
  WriteValue(Name, rdBinary, String(static_cast<const char*>(Buffer), static_cast<size_t>(std::max(BufSize, 0))));
}
