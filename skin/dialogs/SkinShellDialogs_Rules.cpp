// The rules the file dialogs share: how a typed name is resolved and completed, what Enter
// in the name box does, the names of new folders, the start folder and the folder history.
#include <cerrno>

#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysEnv.h"
#include "skin/core/data/SkinData.h"
#include "skin/dialogs/SkinShellDialogs.h"

String ShellDialogText(TspSkinData* CtrlSD, const char* Key, const char* BuiltIn) {
  if (CtrlSD && CtrlSD->ResourceStrData()) return CtrlSD->ResourceStrData()->GetResStr(Key);
  return BuiltIn;
}

String ResolveTypedName(const String& Folder, const String& Text) {
  if (Text.empty()) return String();
  if (Text[0] == '/') return Text;
  // A virtual folder has no place in the file system to resolve from.
  if (Folder.empty() || Folder[0] != '/') return String();
  return ExpandFileName(IncludeTrailingPathDelimiter(Folder) + Text);
}

Boolean HasFileExtension(const String& FileName) { return !ExtractFileExt(FileName).empty(); }

String MaskExtension(const String& Mask) {
  if (Mask.find(".*") != String::npos) return String();
  return ExtractFileExt(Mask.substr(0, Mask.find(';')));
}

String DefaultExtensionFor(const String& DefaultExt, const String& Mask) {
  return DefaultExt.empty() ? MaskExtension(Mask) : "." + DefaultExt;
}

String CompleteSaveName(const String& Name, const String& Mask, const String& DefaultExt) {
  String Result = Name;
  if (!HasFileExtension(Result)) Result += MaskExtension(Mask);
  if (!HasFileExtension(Result) && !DefaultExt.empty()) Result += "." + DefaultExt;
  return Result;
}

String SwapFilterExtension(const String& Name, const String& FilterExt) {
  if (Name.empty() || FilterExt.empty()) return Name;
  // The name's own extension goes, not the first place its text appears ("a.mp4x.mp4").
  return ChangeFileExt(Name, FilterExt);
}

String NumberedNewFolderName(const String& Base, Integer Count) {
  return Count > 1 ? Format("%s(%d)", {Base, Count}) : Base;
}

String FileDialogStartFolder(const String& FileName, const String& InitialDir) {
  if (!ExtractFilePath(FileName).empty()) return ExtractFileDir(FileName);
  if (!InitialDir.empty() && DirectoryExists(InitialDir)) return InitialDir;
  return GetExeFolder();
}

void CreateDialogFolder(const String& Dir) {
  if (CreateDir(Dir)) return;
  const int Reason = errno;
  throw EInOutError(Format("Cannot create the folder %s. %s", {Dir, SysErrorMessage(Reason)}));
}

TspTypedNameAction TypedNameAction(const String& Folder, const String& Text) {
  if (Text.find('*') != String::npos) return tnFilter;
  if (Text.find('/') != String::npos && DirectoryExists(ResolveTypedName(Folder, Text))) return tnOpenFolder;
  return tnAccept;
}

void TspFolderHistory::Add(LPCITEMIDLIST ID) {
  if (!FEntries.empty() && SameShellItem(FEntries.back().Get(), ID)) return;
  FEntries.emplace_back(CloneIDList(ID));
}

LPCITEMIDLIST TspFolderHistory::Previous() const {
  return FEntries.size() < 2 ? nullptr : FEntries[FEntries.size() - 2].Get();
}

void TspFolderHistory::DropLast() {
  if (!FEntries.empty()) FEntries.pop_back();
}
