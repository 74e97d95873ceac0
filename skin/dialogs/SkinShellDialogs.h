// The rules the skinned file dialogs share for typed names, extensions, new folders and
// the folder history.
#pragma once

#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/win/ShellItemIds.h"
#include "skin/dialogs/SkinShellCtrls.h"

class TspSkinData;

// A dialog text: the skin's text table entry Key when CtrlSD has a table, else BuiltIn.
String ShellDialogText(TspSkinData* CtrlSD, const char* Key, const char* BuiltIn);

// Where a typed name points: an absolute name as it is, a relative one (also with "/" or
// "..") from Folder, with "." and ".." resolved. Empty for an empty Text.
String ResolveTypedName(const String& Folder, const String& Text);
// Whether the name part of FileName has an extension.
Boolean HasFileExtension(const String& FileName);
// The extension (with its dot) of Mask's first pattern (the text before the first ";");
// empty when Mask contains ".*".
String MaskExtension(const String& Mask);
// "." + DefaultExt when DefaultExt is set, else MaskExtension(Mask).
String DefaultExtensionFor(const String& DefaultExt, const String& Mask);
// Name as a save dialog returns it: without an extension it gets Mask's extension, and
// when it still has none, "." + DefaultExt.
String CompleteSaveName(const String& Name, const String& Mask, const String& DefaultExt);
// Name with its extension (if any) replaced by FilterExt, as when the chosen file type
// changes; Name unchanged when FilterExt or Name is empty.
String SwapFilterExtension(const String& Name, const String& FilterExt);
// The name of the Count-th new folder made in one showing: Base, then Base(2), Base(3)...
String NumberedNewFolderName(const String& Base, Integer Count);
// The folder a file dialog starts in: FileName's folder, else InitialDir when it is an
// existing folder, else the program's folder.
String FileDialogStartFolder(const String& FileName, const String& InitialDir);
// Makes the folder Dir; EInOutError naming it and the system's reason when that fails.
void CreateDialogFolder(const String& Dir);

// What Enter in a file dialog's name box does with its text.
enum TspTypedNameAction { tnFilter, tnOpenFolder, tnAccept };
// A text with "*" filters; a text with "/" that resolves (from Folder) to an existing
// folder opens it; anything else is accepted as a file name.
TspTypedNameAction TypedNameAction(const String& Folder, const String& Text);

// The folders a file dialog has shown, the last one being the folder shown now.
class TspFolderHistory {
 public:
  // Appends a copy of ID unless it is the same shell item as the last entry.
  void Add(LPCITEMIDLIST ID);
  Integer Count() const { return static_cast<Integer>(FEntries.size()); }
  LPCITEMIDLIST Entry(Integer Index) const { return FEntries.at(static_cast<size_t>(Index)).Get(); }
  // The entry before the last (null with fewer than two), which going back shows.
  LPCITEMIDLIST Previous() const;
  void DropLast();

 private:
  std::vector<vantrel::win::ItemIdList> FEntries;
};

