// The folder picker's form: an optional tool bar with a path edit and a New Folder button,
// the folder tree with its external bars, and OK and Cancel.
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/SysEnv.h"
#include "platform/win/Keyboard.h"
#include "skin/dialogs/SkinShellDialogs.h"

namespace {

constexpr Integer SelDirToolHeight = 25;
constexpr Integer SelDirToolButtonWidth = 27;
constexpr Integer SelDirSpacerWidth = 5;
constexpr Integer SelDirBarSize = 19;
constexpr Integer SelDirTreePanelHeight = 200;
constexpr Integer SelDirBottomHeight = 50;
constexpr Integer SelDirButtonTop = 15;
constexpr Integer SelDirButtonWidth = 70;
constexpr Integer SelDirButtonHeight = 25;

}  // namespace

TspSelDirDlgForm::TspSelDirDlgForm(TComponent* AOwner, Boolean ToolButtonsTransparent, Boolean AShowToolBar,
                                   TspSkinData* CtrlSkinData)
    : TForm(AOwner), CtrlSD(CtrlSkinData), ShowToolBar(AShowToolBar) {
  SetKeyPreview(true);
  SetPosition(poScreenCenter);
  DSF = TspFormSkin::Create(this);

  if (ShowToolBar) {
    ToolPanel = TspSkinPanel::Create(this);
    ToolPanel->SetParent(this);
    ToolPanel->SetAlign(alTop);
    ToolPanel->SetBorderStyle(bvNone);
    ToolPanel->SetDefaultHeight(SelDirToolHeight);
    ToolPanel->SetSkinDataName("toolpanel");

    NewFolderToolButton = TspSkinSpeedButton::Create(this);
    NewFolderToolButton->SetParent(ToolPanel);
    NewFolderToolButton->SetSkinDataName("toolbutton");
    NewFolderToolButton->SetBounds(1000, 0, SelDirToolButtonWidth, SelDirToolHeight);
    NewFolderToolButton->SetAlign(alRight);
    TOwned<TBitmap> Glyph = CreateOwned<TBitmap>();
    Glyph->LoadFromResourceName(nullptr, "SP_NEWFOLDER");
    NewFolderToolButton->SetGlyph(Glyph.get());
    NewFolderToolButton->SetNumGlyphs(1);
    NewFolderToolButton->SetHint(ShellDialogText(CtrlSD, "MSG_BTN_NEWFOLDER_HINT", "Create New Folder"));
    NewFolderToolButton->SetShowHint(true);
    NewFolderToolButton->SetFlat(ToolButtonsTransparent);
    NewFolderToolButton->OnClick = [this](TObject* Sender) { NewFolderToolButtonClick(Sender); };

    TspSkinBevel* Spacer = TspSkinBevel::Create(this);
    Spacer->SetParent(ToolPanel);
    Spacer->SetShape(bsSpacer);
    Spacer->SetBounds(900, 0, SelDirSpacerWidth, SelDirToolHeight);
    Spacer->SetAlign(alRight);

    DirEdit = TspSkinEdit::Create(this);
    DirEdit->SetParent(ToolPanel);
    DirEdit->SetDefaultHeight(SelDirToolHeight);
    DirEdit->SetAlign(alClient);
    DirEdit->SetSkinDataName("tooledit");
    DirEdit->OnKeyPress = [this](TObject* Sender, char32_t& Key) { DirEditKeyPress(Sender, Key); };
  }

  BottomPanel = TspSkinPanel::Create(this);
  BottomPanel->SetParent(this);
  BottomPanel->SetAlign(alBottom);
  BottomPanel->SetBorderStyle(bvNone);
  BottomPanel->SetHeight(SelDirBottomHeight);

  DirTreeViewPanel = TspSkinPanel::Create(this);
  DirTreeViewPanel->SetParent(this);
  DirTreeViewPanel->SetAlign(alClient);
  DirTreeViewPanel->SetBorderStyle(bvFrame);
  DirTreeViewPanel->SetHeight(SelDirTreePanelHeight);

  VScrollBar = TspSkinScrollBar::Create(this);
  VScrollBar->SetParent(DirTreeViewPanel);
  VScrollBar->SetKind(sbVertical);
  VScrollBar->SetAlign(alRight);
  VScrollBar->SetDefaultWidth(SelDirBarSize);
  VScrollBar->SetEnabled(false);
  VScrollBar->SetSkinDataName("vscrollbar");

  HScrollBar = TspSkinScrollBar::Create(this);
  HScrollBar->SetParent(DirTreeViewPanel);
  HScrollBar->SetAlign(alBottom);
  HScrollBar->SetDefaultHeight(SelDirBarSize);
  HScrollBar->SetBoth(true);
  HScrollBar->SetBothMarkerWidth(SelDirBarSize);
  HScrollBar->SetEnabled(false);
  HScrollBar->SetSkinDataName("hscrollbar");

  DirTreeView = TspSkinDirTreeView::Create(this);
  DirTreeView->SetParent(DirTreeViewPanel);
  DirTreeView->SetAlign(alClient);
  DirTreeView->SetVScrollBar(VScrollBar);
  DirTreeView->SetHScrollBar(HScrollBar);
  DirTreeView->SetObjectTypes(DirTreeView->ObjectTypes() + TShellObjectTypes{otHidden});
  DirTreeView->SetHideSelection(false);
  DirTreeView->OnChange = [this](TObject* Sender, TTreeNode* Node) { DirTreeViewChange(Sender, Node); };

  OkButton = TspSkinButton::Create(this);
  OkButton->SetParent(BottomPanel);
  OkButton->SetDefault(true);
  OkButton->SetCanFocused(true);
  OkButton->SetDefaultHeight(SelDirButtonHeight);
  OkButton->SetBounds(20, SelDirButtonTop, SelDirButtonWidth, SelDirButtonHeight);
  OkButton->SetCaption(ShellDialogText(CtrlSD, "MSG_BTN_OK", "OK"));
  OkButton->SetModalResult(mrOk);

  CancelButton = TspSkinButton::Create(this);
  CancelButton->SetParent(BottomPanel);
  CancelButton->SetCanFocused(true);
  CancelButton->SetDefaultHeight(SelDirButtonHeight);
  CancelButton->SetBounds(100, SelDirButtonTop, SelDirButtonWidth, SelDirButtonHeight);
  CancelButton->SetCaption(ShellDialogText(CtrlSD, "MSG_BTN_CANCEL", "Cancel"));
  CancelButton->SetModalResult(mrCancel);
  CancelButton->SetCancel(true);
}

TspSelDirDlgForm::~TspSelDirDlgForm() = default;

void TspSelDirDlgForm::DirEditKeyPress(TObject*, char32_t& Key) {
  if (Key != VK_RETURN) return;
  Key = 0;
  const String Text = DirEdit->Text();
  if (Text.empty()) return;
  // A relative text is taken from the selected folder, not from the current one.
  const String Target = ResolveTypedName(DirTreeView->Path(), Text);
  if (DirectoryExists(Target)) DirTreeView->SetPath(ExcludeTrailingPathDelimiter(Target));
}

void TspSelDirDlgForm::DirTreeViewChange(TObject*, TTreeNode*) {
  if (ShowToolBar) DirEdit->SetText(DirTreeView->Path());
}

void TspSelDirDlgForm::NewFolderToolButtonClick(TObject*) {
  const String Folder = DirTreeView->Path();
  const String NewPath = IncludeTrailingPathDelimiter(Folder) + ShellDialogText(CtrlSD, "MSG_NEWFOLDER", "New Folder");
  if (!DirTreeView->Selected() || Folder.empty() || Folder[0] != '/' || DirectoryExists(NewPath)) return;
  CreateDialogFolder(NewPath);
  DirTreeView->Refresh(DirTreeView->Selected());
}
