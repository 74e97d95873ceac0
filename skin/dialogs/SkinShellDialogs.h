// The skinned file dialogs: the open and save dialog, the folder picker and the edit with a
// folder button, each building its form in code per showing; and the rules they share for
// typed names, extensions, new folders and the folder history.
#pragma once

#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/StringList.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Menus.h"
#include "platform/win/ShellItemIds.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/dialogs/SkinFileCtrl.h"
#include "skin/dialogs/SkinShellCtrls.h"
#include "skin/dialogs/SkinShellViews.h"
#include "skin/forms/FormSkin.h"
#include "skin/forms/SkinMenus.h"

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

// ---- the open and save dialog ----

class TspOpenDlgForm : public TForm {
  VANTREL_CLASS(TspOpenDlgForm)
  TspOpenDlgForm(TComponent* AOwner, Boolean ToolButtonsTransparent, TspSkinData* CtrlSkinData, Boolean ASaveMode);
  ~TspOpenDlgForm() override;

  Boolean SaveMode = false;
  TspFolderHistory FolderHistory;
  Boolean StopAddToHistory = false;
  TspSkinData* CtrlSD = nullptr;
  Integer NewFolderCount = 0;
  String DefaultExt;
  Boolean OverwritePromt = false;
  String FileName;  // the result
  TspFormSkin* DSF = nullptr;
  TspSkinPanel* FileListViewPanel = nullptr;
  TspSkinPanel* BottomPanel = nullptr;
  TspSkinScrollBar* FLVHScrollBar = nullptr;
  TspSkinScrollBar* FLVVScrollBar = nullptr;
  TspSkinFileListView* FileListView = nullptr;
  TspSkinEdit* FileNameEdit = nullptr;
  TspSkinFilterComboBox* FilterComboBox = nullptr;
  TspSkinShellComboBox* ShellBox = nullptr;
  TspSkinButton* OpenButton = nullptr;
  TspSkinButton* CancelButton = nullptr;
  TspSkinStdLabel* Drivelabel = nullptr;
  TspSkinStdLabel* OpenFileLabel = nullptr;
  TspSkinStdLabel* FileTypeLabel = nullptr;
  TspSkinToolBar* ToolPanel = nullptr;
  TspSkinSpeedButton* NewFolderToolButton = nullptr;
  TspSkinSpeedButton* UpToolButton = nullptr;
  TspSkinSpeedButton* BackToolButton = nullptr;
  TspSkinMenuSpeedButton* StyleToolButton = nullptr;
  TspSkinPopupMenu* StylePopupMenu = nullptr;
  TMenuItem* IconMenuItem = nullptr;
  TMenuItem* SmallIconMenuItem = nullptr;
  TMenuItem* ReportMenuItem = nullptr;
  TMenuItem* ListMenuItem = nullptr;
  TNotifyEvent OnFolderChange;
  Boolean CheckFileExists = true;

  // The filter's extension (with its dot); empty when its mask takes every extension.
  String FilterExtension();
  // "." + DefaultExt when that is set, else FilterExtension.
  String DefaultExtension();
  // The check mark on the view menu's item for Style, and the list in that style.
  void ShowViewStyle(TViewStyle Style);

  void InitHistory();
  void BackToolButtonClick(TObject* Sender);
  void UpToolButtonClick(TObject* Sender);
  void NewFolderToolButtonClick(TObject* Sender);
  void IconItemClick(TObject* Sender);
  void SmallIconItemClick(TObject* Sender);
  void ListItemClick(TObject* Sender);
  void ReportItemClick(TObject* Sender);
  void FLVPathChange(TObject* Sender);
  void FLVChange(TObject* Sender, TListItem* Item, Integer Change);
  void FLVDBLClick(TObject* Sender);
  void FLVKeyPress(TObject* Sender, char32_t& Key);
  void EditKeyPress(TObject* Sender, char32_t& Key);
  void FCBChange(TObject* Sender);
  void OpenButtonClick(TObject* Sender);

 protected:
  // The name box becomes the active control as the form shows (a hidden form cannot take
  // the focus).
  void DoShow() override;

 private:
  void BuildToolBar(Boolean ToolButtonsTransparent);
  void BuildListView();
  void BuildBottom();
  // The overwrite question; true when the answer is OK.
  Boolean AskOverwrite();
  void FocusFirstRow();
  void RaiseFolderChange();
};

class TspSkinOpenDialog : public TComponent {
  VANTREL_CLASS(TspSkinOpenDialog)
  explicit TspSkinOpenDialog(TComponent* AOwner);
  ~TspSkinOpenDialog() override;

  Boolean ShowHiddenFiles() const { return FShowHiddenFiles; }
  void SetShowHiddenFiles(Boolean Value) { FShowHiddenFiles = Value; }
  Boolean ToolButtonsTransparent() const { return FToolButtonsTransparent; }
  void SetToolButtonsTransparent(Boolean Value) { FToolButtonsTransparent = Value; }
  Boolean OverwritePromt() const { return FOverwritePromt; }
  void SetOverwritePromt(Boolean Value) { FOverwritePromt = Value; }
  const String& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const String& Value) { FDefaultExt = Value; }
  Integer DialogWidth() const { return FDialogWidth; }
  void SetDialogWidth(Integer Value) { FDialogWidth = Value; }
  Integer DialogHeight() const { return FDialogHeight; }
  void SetDialogHeight(Integer Value) { FDialogHeight = Value; }
  Integer DialogMinWidth() const { return FDialogMinWidth; }
  void SetDialogMinWidth(Integer Value) { FDialogMinWidth = Value; }
  Integer DialogMinHeight() const { return FDialogMinHeight; }
  void SetDialogMinHeight(Integer Value) { FDialogMinHeight = Value; }
  Boolean CheckFileExists() const { return FCheckFileExists; }
  void SetCheckFileExists(Boolean Value) { FCheckFileExists = Value; }
  Boolean MultiSelection() const { return FMultiSelection; }
  void SetMultiSelection(Boolean Value) { FMultiSelection = Value; }
  Boolean AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(Boolean Value) { FAlphaBlend = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  Boolean AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(Boolean Value) { FAlphaBlendAnimation = Value; }
  Boolean CtrlAlphaBlend() const { return FCtrlAlphaBlend; }
  void SetCtrlAlphaBlend(Boolean Value) { FCtrlAlphaBlend = Value; }
  Byte CtrlAlphaBlendValue() const { return FCtrlAlphaBlendValue; }
  void SetCtrlAlphaBlendValue(Byte Value) { FCtrlAlphaBlendValue = Value; }
  Boolean CtrlAlphaBlendAnimation() const { return FCtrlAlphaBlendAnimation; }
  void SetCtrlAlphaBlendAnimation(Boolean Value) { FCtrlAlphaBlendAnimation = Value; }
  const String& LVHeaderSkinDataName() const { return FLVHeaderSkinDataName; }
  void SetLVHeaderSkinDataName(const String& Value) { FLVHeaderSkinDataName = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  const String& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const String& Value) { FInitialDir = Value; }
  const String& Filter() const { return FFilter; }
  void SetFilter(const String& Value) { FFilter = Value; }
  Integer FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(Integer Value) { FFilterIndex = Value; }
  // Save behaviour: the Save button, the overwrite question, the name completed from the
  // filter. The application never switches it on.
  Boolean SaveMode() const { return FSaveMode; }
  void SetSaveMode(Boolean Value) { FSaveMode = Value; }
  TNotifyEvent OnFolderChange, OnShow, OnClose;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  TspSkinData* CtrlSkinData() const { return FCtrlSD; }
  void SetCtrlSkinData(TspSkinData* Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  const String& FileName() const { return FFileName; }
  // While the form is shown, the whole value also goes into its name box.
  void SetFileName(const String& Value);
  // The files selected when the dialog last closed with OK.
  TStrings* Files() const { return FFiles.get(); }
  // The selected file row's full path while the form is shown; empty otherwise.
  String GetSelectedFile();
  // The form while it is shown.
  TspOpenDlgForm* Form() const { return FForm; }
  TViewStyle ListStyle() const { return FLVStyle; }

  Boolean Execute();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SetUpForm(TspOpenDlgForm* F);

  Boolean FShowHiddenFiles = false;
  Boolean FToolButtonsTransparent = false;
  Boolean FOverwritePromt = false;
  String FDefaultExt;
  Integer FDialogWidth = 0;
  Integer FDialogHeight = 0;
  Integer FDialogMinWidth = 0;
  Integer FDialogMinHeight = 0;
  Boolean FCheckFileExists = true;
  Boolean FMultiSelection = false;
  Boolean FAlphaBlend = false;
  Byte FAlphaBlendValue = 225;
  Boolean FAlphaBlendAnimation = false;
  Boolean FCtrlAlphaBlend = false;
  Byte FCtrlAlphaBlendValue = 225;
  Boolean FCtrlAlphaBlendAnimation = false;
  String FLVHeaderSkinDataName = "resizebutton";
  String FTitle = "Open file";
  String FInitialDir;
  String FFilter = "All files|*.*";
  Integer FFilterIndex = 1;
  Boolean FSaveMode = false;
  TspSkinData* FSD = nullptr;
  TspSkinData* FCtrlSD = nullptr;
  TOwned<TFont> FDefaultFont;
  String FFileName;
  TOwned<TStringList> FFiles;
  TspOpenDlgForm* FForm = nullptr;
  TViewStyle FLVStyle = vsList;
};

// ---- the folder picker ----

class TspSelDirDlgForm : public TForm {
  VANTREL_CLASS(TspSelDirDlgForm)
  TspSelDirDlgForm(TComponent* AOwner, Boolean ToolButtonsTransparent, Boolean AShowToolBar,
                   TspSkinData* CtrlSkinData);
  ~TspSelDirDlgForm() override;

  TspSkinData* CtrlSD = nullptr;
  Boolean ShowToolBar = false;
  TspFormSkin* DSF = nullptr;
  TspSkinPanel* DirTreeViewPanel = nullptr;
  TspSkinPanel* BottomPanel = nullptr;
  TspSkinDirTreeView* DirTreeView = nullptr;
  TspSkinScrollBar* VScrollBar = nullptr;
  TspSkinScrollBar* HScrollBar = nullptr;
  TspSkinButton* OkButton = nullptr;
  TspSkinButton* CancelButton = nullptr;
  TspSkinPanel* ToolPanel = nullptr;
  TspSkinSpeedButton* NewFolderToolButton = nullptr;
  TspSkinEdit* DirEdit = nullptr;

  void DirEditKeyPress(TObject* Sender, char32_t& Key);
  void DirTreeViewChange(TObject* Sender, TTreeNode* Node);
  void NewFolderToolButtonClick(TObject* Sender);
};

class TspSkinSelectDirectoryDialog : public TComponent {
  VANTREL_CLASS(TspSkinSelectDirectoryDialog)
  explicit TspSkinSelectDirectoryDialog(TComponent* AOwner);
  ~TspSkinSelectDirectoryDialog() override;

  Boolean ToolButtonsTransparent() const { return FToolButtonsTransparent; }
  void SetToolButtonsTransparent(Boolean Value) { FToolButtonsTransparent = Value; }
  Integer DialogWidth() const { return FDialogWidth; }
  void SetDialogWidth(Integer Value) { FDialogWidth = Value; }
  Integer DialogHeight() const { return FDialogHeight; }
  void SetDialogHeight(Integer Value) { FDialogHeight = Value; }
  Integer DialogMinWidth() const { return FDialogMinWidth; }
  void SetDialogMinWidth(Integer Value) { FDialogMinWidth = Value; }
  Integer DialogMinHeight() const { return FDialogMinHeight; }
  void SetDialogMinHeight(Integer Value) { FDialogMinHeight = Value; }
  Boolean AlphaBlend() const { return FAlphaBlend; }
  void SetAlphaBlend(Boolean Value) { FAlphaBlend = Value; }
  Byte AlphaBlendValue() const { return FAlphaBlendValue; }
  void SetAlphaBlendValue(Byte Value) { FAlphaBlendValue = Value; }
  Boolean AlphaBlendAnimation() const { return FAlphaBlendAnimation; }
  void SetAlphaBlendAnimation(Boolean Value) { FAlphaBlendAnimation = Value; }
  const String& Title() const { return FTitle; }
  void SetTitle(const String& Value) { FTitle = Value; }
  const String& Directory() const { return FDirectory; }
  void SetDirectory(const String& Value) { FDirectory = Value; }
  Boolean ShowToolBar() const { return FShowToolBar; }
  void SetShowToolBar(Boolean Value) { FShowToolBar = Value; }
  TNotifyEvent OnShow, OnClose;

  TspSkinData* SkinData() const { return FSD; }
  void SetSkinData(TspSkinData* Value);
  TspSkinData* CtrlSkinData() const { return FCtrlSD; }
  void SetCtrlSkinData(TspSkinData* Value);
  TFont* DefaultFont() const { return FDefaultFont.get(); }
  void SetDefaultFont(TFont* Value) { FDefaultFont->Assign(Value); }
  // The form while it is shown.
  TspSelDirDlgForm* Form() const { return FForm; }

  Boolean Execute();

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void SetUpForm(TspSelDirDlgForm* F);

  Boolean FToolButtonsTransparent = false;
  Integer FDialogWidth = 0;
  Integer FDialogHeight = 0;
  Integer FDialogMinWidth = 0;
  Integer FDialogMinHeight = 0;
  Boolean FAlphaBlend = false;
  Byte FAlphaBlendValue = 200;
  Boolean FAlphaBlendAnimation = false;
  String FTitle = "Select folder";
  String FDirectory;
  Boolean FShowToolBar = false;
  TspSkinData* FSD = nullptr;
  TspSkinData* FCtrlSD = nullptr;
  TOwned<TFont> FDefaultFont;
  TspSelDirDlgForm* FForm = nullptr;
};

// An edit with a button that picks a folder: the button opens its folder picker at the
// edit's text, and OK writes the chosen folder back.
class TspSkinDirectoryEdit : public TspSkinEdit {
  VANTREL_CLASS(TspSkinDirectoryEdit)
  explicit TspSkinDirectoryEdit(TComponent* AOwner);
  ~TspSkinDirectoryEdit() override;

  TspSkinData* DlgSkinData() const { return FDlgSkinData; }
  void SetDlgSkinData(TspSkinData* Value);
  TspSkinData* DlgCtrlSkinData() const { return FDlgCtrlSkinData; }
  void SetDlgCtrlSkinData(TspSkinData* Value);
  TspSkinSelectDirectoryDialog* DirectoryDialog() const { return FDlg; }

  void ButtonClick(TObject* Sender);

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TspSkinData* FDlgSkinData = nullptr;
  TspSkinData* FDlgCtrlSkinData = nullptr;
  TspSkinSelectDirectoryDialog* FDlg = nullptr;  // owned as a component
};
