// The skinned file-system controls: the file-type filter box of the open dialog, and the
// volume box, folder list and file list that work together as a file-picking panel, with
// the path helpers they share. One tree starts at "/"; what other systems call a drive is
// here the mount point of a volume, and the lists move the process's current folder to the
// folder they show.
#pragma once

#include <memory>
#include <vector>

#include "platform/rtl/StringList.h"
#include "platform/ui/Edits.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"

enum TspFileAttr { spftReadOnly, spftHidden, spftSystem, spftVolumeID, spftDirectory, spftArchive, spftNormal };
using TspFileType = TSet<TspFileAttr>;

enum TTextCase { tcLowerCase, tcUpperCase };

class TspSkinFileListBox;
class TspSkinDirectoryListBox;

// ---------------------------------------------------------------------------------------
// The filter box: "description|mask|description|mask..." as a drop-down of descriptions.

class TspSkinFilterComboBox : public TspSkinComboBox {
  VANTREL_CLASS(TspSkinFilterComboBox)
  explicit TspSkinFilterComboBox(TComponent* AOwner);
  ~TspSkinFilterComboBox() override;

  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value);
  TspSkinFileListBox* FileList() const { return FFileList; }
  void SetFileList(TspSkinFileListBox* Value);
  // The chosen entry's mask; "*.*" when there are no entries.
  String Mask();

  void Click() override;
  void Change() override;

 protected:
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void BuildList();

  String FFilter;
  TspSkinFileListBox* FFileList = nullptr;  // not owned
  std::unique_ptr<TStringList> MaskList;    // item i's mask
};

// ---------------------------------------------------------------------------------------
// The volume box: one entry per volume, with its icon; choosing one moves the linked folder
// list to its mount point.

class TspSkinDriveComboBox : public TspSkinComboBox {
  VANTREL_CLASS(TspSkinDriveComboBox)
  explicit TspSkinDriveComboBox(TComponent* AOwner);
  ~TspSkinDriveComboBox() override;

  TspSkinDirectoryListBox* DirList() const { return FDirList; }
  void SetDirList(TspSkinDirectoryListBox* Value);
  // The chosen volume's mount point; empty for none.
  const String& Drive() const { return FDrive; }
  void SetDrive(const String& NewDrive);
  TTextCase TextCase() const { return FTextCase; }
  void SetTextCase(TTextCase Value);
  // The mount point of entry Index (empty outside the entries).
  String EntryDrive(Integer Index) const;

  void BuildList();

 protected:
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void DrawItem(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, const TRect& TxtRect,
                TOwnerDrawState State);
  void TextChanged(TObject* Sender);

  TspSkinDirectoryListBox* FDirList = nullptr;  // not owned
  String FDrive;
  TTextCase FTextCase = tcLowerCase;
  std::unique_ptr<TBitmap> FloppyBMP, FixedBMP, NetworkBMP, CDROMBMP, RAMBMP;
  std::vector<String> FEntryDrives;  // entry i's mount point
};

// ---------------------------------------------------------------------------------------
// The folder list: "/", each ancestor, the current folder, then its sub-folders.

class TspSkinDirectoryListBox : public TspSkinListBox {
  VANTREL_CLASS(TspSkinDirectoryListBox)
  explicit TspSkinDirectoryListBox(TComponent* AOwner);
  ~TspSkinDirectoryListBox() override;

  const String& Directory() const { return FDirectory; }
  void SetDirectory(const String& NewDirectory);
  // The mount point of the volume that holds Directory.
  String Drive() const;
  // Moves to the mount point NewDrive when it is another volume's.
  void SetDrive(const String& NewDrive);
  TspSkinFileListBox* FileList() const { return FFileList; }
  void SetFileList(TspSkinFileListBox* Value);
  TspSkinStdLabel* DirLabel() const { return FDirLabel; }
  void SetDirLabel(TspSkinStdLabel* Value);
  TspSkinDriveComboBox* DriveCombo() const { return FDriveCombo; }
  Boolean PreserveCase() const { return FPreserveCase; }
  Boolean CaseSensitive() const { return FCaseSensitive; }
  TNotifyEvent OnChange;

  // The folder entry Index stands for; empty past the entries.
  String GetItemPath(Integer Index);
  void OpenCurrent();
  // Reads the folder again (the class library's Update, which repainting uses, keeps its
  // meaning).
  void UpdateList();
  String DisplayCase(const String& S) const;
  Integer FileCompareText(const String& A, const String& B) const;

  Integer GetItemTextWidth(Integer Index, TCanvas* Canvas) override;
  void ListBoxDblClick() override;
  void ListBoxKeyPress(char32_t& Key) override;

 protected:
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void Change();
  void BuildList();
  void DrawItem(TCanvas* Cnvs, Integer Index, Integer ItemWidth, Integer ItemHeight, const TRect& TxtRect,
                TOwnerDrawState State);
  void ShowDirLabel();
  // Changes to Directory when it still exists, then to Target (raising EInOutError), and
  // takes the folder reached as Directory.
  void MoveTo(const String& Target);

  TspSkinFileListBox* FFileList = nullptr;     // not owned
  TspSkinDriveComboBox* FDriveCombo = nullptr;  // not owned
  TspSkinStdLabel* FDirLabel = nullptr;         // not owned
  Boolean FInSetDir = false;
  Boolean FPreserveCase = true;
  Boolean FCaseSensitive = true;
  std::unique_ptr<TBitmap> ClosedBMP, OpenedBMP, CurrentBMP;
  String FDirectory;

  friend class TspSkinDriveComboBox;
};

// ---------------------------------------------------------------------------------------
// The file list: the names of its folder that match Mask and FileType, sorted.

class TspSkinFileListBox : public TspSkinListBox {
  VANTREL_CLASS(TspSkinFileListBox)
  explicit TspSkinFileListBox(TComponent* AOwner);
  ~TspSkinFileListBox() override;

  const String& Directory() const { return FDirectory; }
  void SetDirectory(const String& NewDirectory);
  // The mount point of the volume that holds Directory.
  String Drive() const;
  void SetDrive(const String& NewDrive);
  const String& Mask() const { return FMask; }
  void SetMask(const String& Value);
  TspFileType FileType() const { return FFileType; }
  void SetFileType(TspFileType Value);
  TCustomEdit* FileEdit() const { return FFileEdit; }
  void SetFileEdit(TCustomEdit* Value);
  TspSkinDirectoryListBox* DirList() const { return FDirList; }
  TspSkinFilterComboBox* FilterCombo() const { return FFilterCombo; }
  // The selected entry in Directory; empty when none is selected.
  String FileName();
  void SetFileName(const String& NewFile);
  TNotifyEvent OnChange;

  // Takes a typed path: a folder (also "[name]" of an entry) opens it, a pattern becomes
  // Mask, a file name selects that file.
  void ApplyFilePath(const String& EditText);
  // Reads the folder again (see the folder list's UpdateList).
  void UpdateList();

  void ListBoxClick() override;

 protected:
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void Change();
  void ReadFileNames();
  String SelectedText();

  String FDirectory;
  String FMask = "*.*";
  TspFileType FFileType = {spftNormal};
  TCustomEdit* FFileEdit = nullptr;                 // not owned
  TspSkinDirectoryListBox* FDirList = nullptr;      // set by the folder list
  TspSkinFilterComboBox* FFilterCombo = nullptr;    // set by the filter box
  Integer FLastSel = -1;

  friend class TspSkinDirectoryListBox;
  friend class TspSkinFilterComboBox;
};

// ---------------------------------------------------------------------------------------
// Path helpers.

// Whether Path names an existing folder; false for a file, a missing path or "".
Boolean IsExistingDirectory(const String& Path);
// Path + "/" + S, without a second "/" when Path ends in one.
String SlashSep(const String& Path, const String& S);
// FileName with leading folders replaced by "..." until it fits MaxLen pixels on Canvas:
// "/.../App/file.txt", ".../file.txt", and at last the bare name.
String MinimizeName(const String& FileName, TCanvas* Canvas, Integer MaxLen);
// "/a/b/c/" -> "/.../b/c/", "/.../b/c/" -> "/.../c/"; "/" -> "".
void CutFirstDirectory(String& S);
// "[label]" of the volume mounted at Drive, the label in the case TextCase asks for; empty
// when the volume has no label or Drive is no mount point.
String VolumeID(const String& Drive, TTextCase TextCase = tcLowerCase);
// The source a network volume mounted at Drive comes from; VolumeID for other volumes.
String NetworkVolume(const String& Drive, TTextCase TextCase = tcLowerCase);
// Splits a typed path into the folder it names (DirPart, absolute) and a file name or
// pattern (FilePart); Drive becomes the mount point of the volume holding that folder. The
// current folder is the same afterwards; a folder that cannot be entered raises EInOutError.
void ProcessPath(const String& EditText, String& Drive, String& DirPart, String& FilePart);
// The number of "/" in PathName.
Integer DirLevel(const String& PathName);
