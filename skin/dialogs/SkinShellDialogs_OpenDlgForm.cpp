// The open and save dialog's form: built in code (tool bar with the look-in box and the
// Back, Up, New Folder and view buttons, the file list with its bars, the name and type
// boxes and the two buttons) and the handlers that navigate, filter and accept a name.
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysEnv.h"
#include "platform/win/Keyboard.h"
#include "skin/dialogs/SkinMessageDlg.h"
#include "skin/dialogs/SkinShellDialogs.h"

namespace {

constexpr Integer OpenDlgToolButtonWidth = 27;
constexpr Integer OpenDlgToolButtonHeight = 25;
constexpr Integer OpenDlgStyleButtonWidth = 37;
constexpr Integer OpenDlgSpacerWidth = 10;
constexpr Integer OpenDlgBarSize = 19;
constexpr Integer OpenDlgBottomHeight = 80;
constexpr Integer OpenDlgBoxLeft = 70;
constexpr Integer OpenDlgBoxHeight = 21;
constexpr Integer OpenDlgButtonWidth = 70;
constexpr Integer OpenDlgButtonHeight = 25;
constexpr Integer OpenDlgFirstRowTop = 10;
constexpr Integer OpenDlgSecondRowTop = 45;

// The tool buttons right of the look-in box, from left to right.
struct OpenDlgToolButtonEntry {
  const char* Glyph;
  const char* HintKey;
  const char* Hint;
  TspSkinSpeedButton* TspOpenDlgForm::*Field;
  void (TspOpenDlgForm::*Handler)(TObject*);
};
constexpr OpenDlgToolButtonEntry OpenDlgToolButtons[] = {
    {"SP_BACK", "MSG_BTN_BACK_HINT", "Go To Last Folder Visited", &TspOpenDlgForm::BackToolButton,
     &TspOpenDlgForm::BackToolButtonClick},
    {"SP_UP", "MSG_BTN_UP_HINT", "Up One Level", &TspOpenDlgForm::UpToolButton, &TspOpenDlgForm::UpToolButtonClick},
    {"SP_NEWFOLDER", "MSG_BTN_NEWFOLDER_HINT", "Create New Folder", &TspOpenDlgForm::NewFolderToolButton,
     &TspOpenDlgForm::NewFolderToolButtonClick},
};

// The view menu, in its order.
struct OpenDlgViewItemEntry {
  const char* Key;
  const char* Caption;
  TViewStyle Style;
  TMenuItem* TspOpenDlgForm::*Field;
  void (TspOpenDlgForm::*Handler)(TObject*);
};
constexpr OpenDlgViewItemEntry OpenDlgViewItems[] = {
    {"MSG_LV_ICON", "Large icons", vsIcon, &TspOpenDlgForm::IconMenuItem, &TspOpenDlgForm::IconItemClick},
    {"MSG_LV_SMALLICON", "Small icons", vsSmallIcon, &TspOpenDlgForm::SmallIconMenuItem,
     &TspOpenDlgForm::SmallIconItemClick},
    {"MSG_LV_LIST", "List", vsList, &TspOpenDlgForm::ListMenuItem, &TspOpenDlgForm::ListItemClick},
    {"MSG_LV_DETAILS", "Details", vsReport, &TspOpenDlgForm::ReportMenuItem, &TspOpenDlgForm::ReportItemClick},
};

void LoadOpenDlgGlyph(TspSkinSpeedButton* Button, const char* Name) {
  TOwned<TBitmap> B = CreateOwned<TBitmap>();
  B->LoadFromResourceName(nullptr, Name);
  Button->SetGlyph(B.get());
  Button->SetNumGlyphs(1);
}

// Sets a flag for as long as it lives.
struct OpenDlgFlagGuard {
  Boolean& Flag;
  explicit OpenDlgFlagGuard(Boolean& F) : Flag(F) { Flag = true; }
  ~OpenDlgFlagGuard() { Flag = false; }
};

}  // namespace

TspOpenDlgForm::TspOpenDlgForm(TComponent* AOwner, Boolean ToolButtonsTransparent, TspSkinData* CtrlSkinData,
                               Boolean ASaveMode)
    : TForm(AOwner), SaveMode(ASaveMode), CtrlSD(CtrlSkinData) {
  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  DSF = TspFormSkin::Create(this);
  BuildToolBar(ToolButtonsTransparent);
  BottomPanel = TspSkinPanel::Create(this);
  BottomPanel->SetParent(this);
  BottomPanel->SetAlign(alBottom);
  BottomPanel->SetBorderStyle(bvNone);
  BottomPanel->SetHeight(OpenDlgBottomHeight);
  BuildListView();
  BuildBottom();
}

TspOpenDlgForm::~TspOpenDlgForm() = default;

void TspOpenDlgForm::DoShow() {
  SetActiveControl(FileNameEdit);
  TForm::DoShow();
}

void TspOpenDlgForm::BuildToolBar(Boolean ToolButtonsTransparent) {
  ToolPanel = TspSkinToolBar::Create(this);
  ToolPanel->SetParent(this);
  ToolPanel->SetAlign(alTop);
  ToolPanel->SetBorderStyle(bvNone);
  ToolPanel->SetDefaultHeight(OpenDlgToolButtonHeight);
  ToolPanel->SetSkinDataName("toolpanel");

  TspSkinBevel* LeftSpacer = TspSkinBevel::Create(this);
  LeftSpacer->SetParent(ToolPanel);
  LeftSpacer->SetShape(bsSpacer);
  LeftSpacer->SetWidth(OpenDlgSpacerWidth);
  LeftSpacer->SetAlign(alLeft);
  Drivelabel = TspSkinStdLabel::Create(this);
  Drivelabel->SetParent(ToolPanel);
  Drivelabel->SetLeft(OpenDlgSpacerWidth + 1);
  Drivelabel->SetAutoSize(true);
  Drivelabel->SetLayout(tlCenter);
  Drivelabel->SetAlign(alLeft);
  Drivelabel->SetCaption(ShellDialogText(CtrlSD, "FLV_LOOKIN", "Look in: "));

  // Right-aligned controls keep the order of their left edges.
  Integer Left = 1000;
  for (const OpenDlgToolButtonEntry& E : OpenDlgToolButtons) {
    TspSkinSpeedButton* B = TspSkinSpeedButton::Create(this);
    this->*E.Field = B;
    B->SetParent(ToolPanel);
    B->SetSkinDataName("toolbutton");
    B->SetBounds(Left, 0, OpenDlgToolButtonWidth, OpenDlgToolButtonHeight);
    B->SetAlign(alRight);
    LoadOpenDlgGlyph(B, E.Glyph);
    B->SetHint(ShellDialogText(CtrlSD, E.HintKey, E.Hint));
    B->SetShowHint(true);
    B->SetFlat(ToolButtonsTransparent);
    B->OnClick = [this, H = E.Handler](TObject* Sender) { (this->*H)(Sender); };
    Left += OpenDlgToolButtonWidth + 1;
  }
  TspSkinBevel* RightSpacer = TspSkinBevel::Create(this);
  RightSpacer->SetParent(ToolPanel);
  RightSpacer->SetShape(bsSpacer);
  RightSpacer->SetBounds(Left, 0, OpenDlgSpacerWidth, OpenDlgToolButtonHeight);
  RightSpacer->SetAlign(alRight);
  Left += OpenDlgSpacerWidth + 1;

  StylePopupMenu = TspSkinPopupMenu::Create(this);
  for (const OpenDlgViewItemEntry& E : OpenDlgViewItems) {
    TMenuItem* Item = TMenuItem::Create(this);
    this->*E.Field = Item;
    Item->SetCaption(ShellDialogText(CtrlSD, E.Key, E.Caption));
    Item->SetRadioItem(true);
    Item->OnClick = [this, H = E.Handler](TObject* Sender) { (this->*H)(Sender); };
    StylePopupMenu->Items()->Add(Item);
  }
  StyleToolButton = TspSkinMenuSpeedButton::Create(this);
  StyleToolButton->SetParent(ToolPanel);
  StyleToolButton->SetSkinDataName("toolmenubutton");
  StyleToolButton->SetBounds(Left, 0, OpenDlgStyleButtonWidth, OpenDlgToolButtonHeight);
  StyleToolButton->SetAlign(alRight);
  LoadOpenDlgGlyph(StyleToolButton, "SP_LVSTYLE");
  StyleToolButton->SetSkinPopupMenu(StylePopupMenu);
  StyleToolButton->SetHint(ShellDialogText(CtrlSD, "MSG_BTN_VIEWMENU_HINT", "View Menu"));
  StyleToolButton->SetShowHint(true);
  StyleToolButton->SetFlat(ToolButtonsTransparent);

  ShellBox = TspSkinShellComboBox::Create(this);
  ShellBox->SetParent(ToolPanel);
  ShellBox->SetWidth(190);
  ShellBox->SetAlign(alClient);
  ShellBox->SetDropDownCount(10);
}

void TspOpenDlgForm::BuildListView() {
  FileListViewPanel = TspSkinPanel::Create(this);
  FileListViewPanel->SetParent(this);
  FileListViewPanel->SetAlign(alClient);
  FileListViewPanel->SetBorderStyle(bvFrame);

  FLVHScrollBar = TspSkinScrollBar::Create(this);
  FLVHScrollBar->SetParent(FileListViewPanel);
  FLVHScrollBar->SetAlign(alBottom);
  FLVHScrollBar->SetDefaultHeight(OpenDlgBarSize);
  FLVHScrollBar->SetBoth(true);
  FLVHScrollBar->SetBothMarkerWidth(OpenDlgBarSize);
  FLVHScrollBar->SetEnabled(false);
  FLVHScrollBar->SetSkinDataName("hscrollbar");

  FLVVScrollBar = TspSkinScrollBar::Create(this);
  FLVVScrollBar->SetParent(FileListViewPanel);
  FLVVScrollBar->SetKind(sbVertical);
  FLVVScrollBar->SetAlign(alRight);
  FLVVScrollBar->SetDefaultWidth(OpenDlgBarSize);
  FLVVScrollBar->SetEnabled(false);
  FLVVScrollBar->SetSkinDataName("vscrollbar");

  FileListView = TspSkinFileListView::Create(this);
  FileListView->SetParent(FileListViewPanel);
  FileListView->SetAlign(alClient);
  FileListView->SetViewStyle(vsList);
  FileListView->SetShowColumnHeaders(true);
  FileListView->SetAutoArrange(true);
  FileListView->SetHScrollBar(FLVHScrollBar);
  FileListView->SetVScrollBar(FLVVScrollBar);
  FileListView->SetHideSelection(false);
  FileListView->OnChange = [this](TObject* Sender, TListItem* Item, Integer Change) { FLVChange(Sender, Item, Change); };
  FileListView->OnPathChanged = [this](TObject* Sender) { FLVPathChange(Sender); };
  FileListView->OnDblClick = [this](TObject* Sender) { FLVDBLClick(Sender); };
  FileListView->OnKeyPress = [this](TObject* Sender, char32_t& Key) { FLVKeyPress(Sender, Key); };
  FileListView->SetShellComboBox(ShellBox);
}

void TspOpenDlgForm::BuildBottom() {
  const Integer W = ClientWidth();
  OpenFileLabel = TspSkinStdLabel::Create(this);
  OpenFileLabel->SetParent(BottomPanel);
  OpenFileLabel->SetAutoSize(true);
  OpenFileLabel->SetLeft(10);
  OpenFileLabel->SetTop(OpenDlgFirstRowTop);
  OpenFileLabel->SetCaption(ShellDialogText(CtrlSD, "MSG_FILENAME", "File name:"));
  FileTypeLabel = TspSkinStdLabel::Create(this);
  FileTypeLabel->SetParent(BottomPanel);
  FileTypeLabel->SetAutoSize(true);
  FileTypeLabel->SetLeft(10);
  FileTypeLabel->SetTop(OpenDlgSecondRowTop);
  FileTypeLabel->SetCaption(ShellDialogText(CtrlSD, "MSG_FILETYPE", "File type:"));

  FileNameEdit = TspSkinEdit::Create(this);
  FileNameEdit->SetParent(BottomPanel);
  FileNameEdit->SetDefaultHeight(OpenDlgBoxHeight);
  FileNameEdit->SetBounds(OpenDlgBoxLeft, OpenDlgFirstRowTop, W - 160, OpenDlgBoxHeight);
  FileNameEdit->SetAnchors({akLeft, akTop, akRight});
  FileNameEdit->OnKeyPress = [this](TObject* Sender, char32_t& Key) { EditKeyPress(Sender, Key); };

  FilterComboBox = TspSkinFilterComboBox::Create(this);
  FilterComboBox->SetParent(BottomPanel);
  FilterComboBox->SetDefaultHeight(OpenDlgBoxHeight);
  FilterComboBox->SetBounds(OpenDlgBoxLeft, OpenDlgSecondRowTop, W - 160, OpenDlgBoxHeight);
  FilterComboBox->SetAnchors({akLeft, akTop, akRight});
  FilterComboBox->OnChange = [this](TObject* Sender) { FCBChange(Sender); };

  OpenButton = TspSkinButton::Create(this);
  OpenButton->SetParent(BottomPanel);
  OpenButton->SetCanFocused(true);
  OpenButton->SetBounds(W - 80, OpenDlgFirstRowTop, OpenDlgButtonWidth, OpenDlgButtonHeight);
  OpenButton->SetAnchors({akTop, akRight});
  OpenButton->SetCaption(SaveMode ? ShellDialogText(CtrlSD, "MSG_BTN_SAVE", "&Save")
                                  : ShellDialogText(CtrlSD, "MSG_BTN_OPEN", "&Open"));
  OpenButton->OnClick = [this](TObject* Sender) { OpenButtonClick(Sender); };

  CancelButton = TspSkinButton::Create(this);
  CancelButton->SetParent(BottomPanel);
  CancelButton->SetCanFocused(true);
  CancelButton->SetBounds(W - 80, OpenDlgSecondRowTop, OpenDlgButtonWidth, OpenDlgButtonHeight);
  CancelButton->SetAnchors({akTop, akRight});
  CancelButton->SetCaption(ShellDialogText(CtrlSD, "MSG_BTN_CANCEL", "Cancel"));
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
}

// ---- extensions ----

String TspOpenDlgForm::FilterExtension() { return MaskExtension(FilterComboBox->Mask()); }

String TspOpenDlgForm::DefaultExtension() { return DefaultExtensionFor(DefaultExt, FilterComboBox->Mask()); }

// ---- view style ----

void TspOpenDlgForm::ShowViewStyle(TViewStyle Style) {
  FileListView->SetViewStyle(Style);
  for (const OpenDlgViewItemEntry& E : OpenDlgViewItems) (this->*E.Field)->SetChecked(E.Style == Style);
}

void TspOpenDlgForm::IconItemClick(TObject*) { ShowViewStyle(vsIcon); }
void TspOpenDlgForm::SmallIconItemClick(TObject*) { ShowViewStyle(vsSmallIcon); }
void TspOpenDlgForm::ListItemClick(TObject*) { ShowViewStyle(vsList); }
void TspOpenDlgForm::ReportItemClick(TObject*) { ShowViewStyle(vsReport); }

// ---- navigation and history ----

void TspOpenDlgForm::InitHistory() {
  if (TspShellFolder* Root = FileListView->RootFolder()) FolderHistory.Add(Root->AbsoluteID());
}

void TspOpenDlgForm::FocusFirstRow() {
  if (FileListView->FolderCount() == 0) return;
  if (TListItem* First = FileListView->Items()->Item(0)) FileListView->SetItemFocused(First);
}

void TspOpenDlgForm::RaiseFolderChange() {
  if (OnFolderChange) OnFolderChange(this);
}

void TspOpenDlgForm::FLVPathChange(TObject*) {
  if (!StopAddToHistory) InitHistory();
  FocusFirstRow();
  RaiseFolderChange();
}

void TspOpenDlgForm::BackToolButtonClick(TObject*) {
  if (FolderHistory.Count() < 2) return;
  OpenDlgFlagGuard Stop(StopAddToHistory);
  FileListView->FollowLinkedView(FolderHistory.Previous());
  FolderHistory.DropLast();
}

void TspOpenDlgForm::UpToolButtonClick(TObject*) { FileListView->Back(); }

void TspOpenDlgForm::NewFolderToolButtonClick(TObject*) {
  const String Folder = FileListView->Path();
  if (Folder.empty() || Folder[0] != '/') return;
  ++NewFolderCount;
  const String Name = NumberedNewFolderName(ShellDialogText(CtrlSD, "MSG_NEWFOLDER", "New Folder"), NewFolderCount);
  const String Dir = IncludeTrailingPathDelimiter(Folder) + Name;
  if (DirectoryExists(Dir)) return;
  CreateDialogFolder(Dir);
  FileListView->Refresh();
  Application->ProcessMessages();
  for (Integer I = 0; I < FileListView->FolderCount(); ++I) {
    if (FileListView->FolderAt(I)->DisplayName() != Name) continue;
    // Rows of the list are fetched on demand: each call asks for the row afresh.
    FileListView->SetSelected(FileListView->Items()->Item(I));
    FileListView->SetItemFocused(FileListView->Items()->Item(I));
    FileListView->SetFocus();
    FileListView->Items()->Item(I)->EditCaption();
    break;
  }
}

// ---- the list's events ----

void TspOpenDlgForm::FLVChange(TObject*, TListItem*, Integer) {
  const String Sel = FileListView->GetSelectedFile();
  if (!Sel.empty()) FileNameEdit->SetText(ExtractFileName(Sel));
  RaiseFolderChange();
}

void TspOpenDlgForm::FLVDBLClick(TObject*) {
  const String Sel = FileListView->GetSelectedFile();
  if (Sel.empty()) return;
  if (SaveMode && OverwritePromt && !AskOverwrite()) return;
  FileName = Sel;
  SetModalResult(mrOk);
}

void TspOpenDlgForm::FLVKeyPress(TObject*, char32_t& Key) {
  if (Key == VK_RETURN && !FileListView->GetSelectedFile().empty()) OpenButtonClick(this);
}

void TspOpenDlgForm::EditKeyPress(TObject*, char32_t& Key) {
  if (Key != VK_RETURN) return;
  Key = 0;
  const String Text = FileNameEdit->Text();
  switch (TypedNameAction(FileListView->Path(), Text)) {
    case tnFilter: FileListView->SetMask(Text); break;
    case tnOpenFolder: FileListView->SetPath(ExcludeTrailingPathDelimiter(ResolveTypedName(FileListView->Path(), Text))); break;
    case tnAccept: OpenButtonClick(this); break;
  }
}

void TspOpenDlgForm::FCBChange(TObject*) {
  FileListView->SetMask(FilterComboBox->Mask());
  if (!SaveMode) return;
  const String Ext = FilterExtension();
  const String Text = FileNameEdit->Text();
  if (!Ext.empty() && !Text.empty()) FileNameEdit->SetText(SwapFilterExtension(Text, Ext));
}

// ---- accepting ----

Boolean TspOpenDlgForm::AskOverwrite() {
  TOwned<TspSkinMessage> Msg(TspSkinMessage::Create(nullptr));
  Msg->SetSkinData(DSF->SkinData());
  Msg->SetCtrlSkinData(CtrlSD);
  return Msg->MessageDlg(ShellDialogText(CtrlSD, "MSG_OVERWRITE", "Do you want to overwrite old file?"), mtWarning,
                         {mbOK, mbCancel}, 0) == mrOk;
}

void TspOpenDlgForm::OpenButtonClick(TObject*) {
  const String Sel = FileListView->GetSelectedFile();
  const String Text = FileNameEdit->Text();
  const String Folder = FileListView->Path();
  // Typed names are resolved from the shown folder: a full path stays as it is.
  const String Typed = ResolveTypedName(Folder, Text);
  const String Completed = HasFileExtension(Typed) ? Typed : Typed + DefaultExtension();

  if (!SaveMode && CheckFileExists && Sel.empty() && !Text.empty() && !FileExists(Completed)) return;
  if (Text.empty()) return;
  if (SaveMode) {
    if (Text.find('*') != String::npos || Typed.empty()) return;
    // The question is about the name this dialog will return.
    if (OverwritePromt && FileExists(CompleteSaveName(Typed, FilterComboBox->Mask(), DefaultExt)) && !AskOverwrite())
      return;
    FileName = Typed;
    SetModalResult(mrOk);
    return;
  }
  if (CheckFileExists) {
    FileName = Sel.empty() ? Completed : Sel;
    if (FileExists(FileName)) {
      SetModalResult(mrOk);
    } else {
      FileName.clear();
    }
    return;
  }
  if (Sel.empty() && Typed.empty()) return;
  FileName = Sel.empty() ? Completed : Sel;
  SetModalResult(mrOk);
}
