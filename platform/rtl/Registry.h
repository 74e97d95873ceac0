// The settings store standing in for the system registry: the keys of HKEY_CURRENT_USER live
// in one file, $XDG_CONFIG_HOME/vantrel/registry.ini (default ~/.config), one section per key
// path with typed values. Every change is written at once and atomically (a temporary file in
// the same folder, then rename), so an interrupted write leaves the old file intact.
#pragma once

#include <functional>

#include "platform/rtl/Classes.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Types.h"

namespace vantrel::rtl::detail {
class RegStore;
}

using HKEY = uintptr_t;
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;

enum TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

// Errors raise ERegistryException with the class library's texts: "Invalid data type for
// '%s'" (a value of another type), "Failed to get data for '%s'" (a missing value),
// "Failed to set data for '%s'" (no key open, or the file could not be written),
// "Failed to create key %s".
class TRegistry : public TObject {
  VANTREL_CLASS(TRegistry)

  TRegistry();
  ~TRegistry() override;

  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY Value);
  // Path of the open key relative to the root ("" when none is open).
  const String& CurrentPath() const { return FCurrentPath; }

  // Key paths use '\' between names and match without regard to case. A path starting with
  // '\' is taken from the root, otherwise from the open key. Without CanCreate, a missing key
  // fails (false).
  bool OpenKey(const String& Key, bool CanCreate);
  bool OpenKeyReadOnly(const String& Key);
  void CloseKey();
  bool KeyExists(const String& Key);
  bool CreateKey(const String& Key);
  bool DeleteKey(const String& Key);  // with its subkeys
  bool HasSubKeys();
  void GetKeyNames(TStrings& Strings);
  void GetValueNames(TStrings& Strings);

  bool ValueExists(const String& Name);
  TRegDataType GetDataType(const String& Name);
  bool DeleteValue(const String& Name);

  String ReadString(const String& Name);  // "" when the value is missing
  void WriteString(const String& Name, const String& Value);
  void WriteExpandString(const String& Name, const String& Value);
  Integer ReadInteger(const String& Name);
  void WriteInteger(const String& Name, Integer Value);
  bool ReadBool(const String& Name);  // an integer value, non-zero = true
  void WriteBool(const String& Name, bool Value);
  // Reads up to BufSize bytes of a binary value; returns the number read.
  Integer ReadBinaryData(const String& Name, void* Buffer, Integer BufSize);
  void WriteBinaryData(const String& Name, const void* Buffer, Integer BufSize);
  Integer GetDataSize(const String& Name);  // -1 when the value is missing

  // The store's file for the current environment.
  static String StoreFileName();

  // Test hook: runs after the temporary file is complete and before it replaces the store;
  // an exception from it abandons the write.
  std::function<void(const String& TempFileName)> BeforeCommitHook;

 private:
  String FullPath(const String& Key) const;
  String OpenPath() const;  // store path of the open key
  void Load(vantrel::rtl::detail::RegStore& Store) const;
  // Reads the store under the lock, runs Change and writes the store back when Change returns
  // true. Raises ERegistryException "Failed to set data for '<Name>'" when it cannot be written.
  void Modify(const String& Name, const std::function<bool(vantrel::rtl::detail::RegStore&)>& Change);
  void CheckWritable(const String& Name) const;
  void WriteValue(const String& Name, TRegDataType Type, const String& Data);
  // The open key's value Name; nil when missing.
  bool ReadValue(const String& Name, TRegDataType& Type, String& Data) const;
  HKEY FRootKey = HKEY_CURRENT_USER;
  String FCurrentPath;
  bool FKeyOpen = false;
  bool FReadOnly = false;
};
