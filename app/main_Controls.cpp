// The main window's controls at their places: the big picture buttons, the file list with
// its buttons, and the bottom panel with the profile field and the output folder.
#include "app/main.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Timers.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/core/bitmaps/sppngimagelist.h"
#include "skin/core/data/SkinData.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "skin/forms/SkinMenus.h"

namespace vantrel::app {

namespace {

template <class T>
T* MakeChild(TComponent* Owner, TWinControl* Parent, const char* Name, Integer L, Integer T_, Integer W, Integer H) {
  auto* C = ::Create<T>(Owner);
  C->SetName(Name);
  C->SetParent(Parent);
  C->SetBounds(L, T_, W, H);
  return C;
}

// A picture button: a picture list, its normal and hover pictures and an optional caption.
struct TPictureButtonRow {
  const char* Name;
  TspSkinButtonLabel* TMainForm::*Button;
  TspPngImageList* TMainForm::*Images;
  Integer ImageIndex, HoverIndex;
  Integer Left, Top, Width, Height;
  const char* Caption;
  const char* Hint;
};

constexpr TPictureButtonRow PictureButtonRows[] = {
    {"AddButton", &TMainForm::AddButton, &TMainForm::LeftButtonsImages, 0, 3, 0, 29, 90, 90, "Add Video", ""},
    {"ClipButton", &TMainForm::ClipButton, &TMainForm::LeftButtonsImages, 1, 4, 0, 120, 90, 90, "Trim", ""},
    {"EditButton", &TMainForm::EditButton, &TMainForm::LeftButtonsImages, 2, 5, 0, 212, 90, 90, "Edit", ""},
    {"StartButton", &TMainForm::StartButton, &TMainForm::ConvertButtonImages, 0, 1, 659, 345, 90, 90, "",
     "Convert All Files"},
    {"LikeButton", &TMainForm::LikeButton, &TMainForm::LikeImages, 0, 1, 662, 25, 54, 21, "", ""},
    {"TweetButton", &TMainForm::TweetButton, &TMainForm::TweetImages, 0, 1, 723, 25, 55, 20, "", ""},
};

struct TSkinButtonRow {
  const char* Name;
  TspSkinButton* TMainForm::*Button;
  Integer Left, Top, Width, Height;
  const char* Caption;
};

constexpr TSkinButtonRow FileButtonRows[] = {
    {"spSkinButton1", &TMainForm::spSkinButton1, 92, 307, 80, 25, "Remove"},
    {"spSkinButton2", &TMainForm::spSkinButton2, 176, 307, 80, 25, "Move Up"},
    {"spSkinButton3", &TMainForm::spSkinButton3, 261, 307, 80, 25, "Move Down"},
    {"spSkinButton4", &TMainForm::spSkinButton4, 346, 307, 80, 25, "Rename"},
    {"spSkinButton5", &TMainForm::spSkinButton5, 431, 307, 80, 25, "File Info"},
};

constexpr TSkinButtonRow BottomButtonRows[] = {
    {"SettingsButton", &TMainForm::SettingsButton, 346, 8, 90, 25, "Advanced..."},
    {"FindTargetButton", &TMainForm::FindTargetButton, 346, 48, 90, 25, "Find target"},
};

// A picture list of Count items of Width x Height.
TspPngImageList* MakeImageList(TComponent* Owner, const char* Name, Integer Count, Integer Width, Integer Height) {
  auto* List = ::Create<TspPngImageList>(Owner);
  List->SetName(Name);
  List->SetPngWidth(Width);
  List->SetPngHeight(Height);
  for (Integer I = 0; I < Count; ++I) List->PngImages()->Add();
  return List;
}

// A share button's pictures: a rounded badge with its word, lighter under the mouse.
void PaintShareBadge(TspPngImageList& List, const char* Word, TColor Face, TColor HoverFace) {
  const TColor Faces[] = {Face, HoverFace};
  for (Integer I = 0; I < 2; ++I) {
    TBitmap Badge;
    Badge.SetWidth(List.PngWidth());
    Badge.SetHeight(List.PngHeight());
    TCanvas* C = Badge.Canvas();
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect(0, 0, Badge.Width(), Badge.Height()));
    C->Brush()->SetColor(Faces[I]);
    C->Pen()->SetColor(Faces[I]);
    C->RoundRect(0, 0, Badge.Width(), Badge.Height(), 6, 6);
    C->Font()->SetColor(clWhite);
    C->Font()->SetStyle({fsBold});
    C->Font()->SetHeight(-11);
    C->Brush()->SetStyle(bsClear);
    const Integer TW = C->TextWidth(Word), TH = C->TextHeight(Word);
    C->TextOut((Badge.Width() - TW) / 2, (Badge.Height() - TH) / 2, Word);
    TPngImage Png;
    Png.Assign(&Badge);
    List.PngImages()->Items(I)->SetPngImage(&Png);
  }
}

}  // namespace

void TMainForm::CreateImageLists() {
  LeftButtonsImages = MakeImageList(this, "LeftButtonsImages", 6, 64, 64);
  ConvertButtonImages = MakeImageList(this, "ConvertButtonImages", 2, 90, 90);
  PlayerImages = MakeImageList(this, "PlayerImages", 7, 13, 13);
  LikeImages = MakeImageList(this, "LikeImages", 2, 54, 21);
  TweetImages = MakeImageList(this, "TweetImages", 2, 55, 20);
  PaintShareBadge(*LikeImages, "Like", static_cast<TColor>(0x00985B3B), static_cast<TColor>(0x00C07A50));
  PaintShareBadge(*TweetImages, "Tweet", static_cast<TColor>(0x00F2A11D), static_cast<TColor>(0x00F7C170));
}

void TMainForm::CreateButtons() {
  for (const TPictureButtonRow& Row : PictureButtonRows) {
    auto* B = MakeChild<TspSkinButtonLabel>(this, this, Row.Name, Row.Left, Row.Top, Row.Width, Row.Height);
    B->SetSkinData(spSkinData1);
    B->SetImageList(this->*Row.Images);
    B->SetImageIndex(Row.ImageIndex);
    B->SetActiveImageIndex(Row.HoverIndex);
    B->SetLayout(blGlyphTop);
    B->SetCaption(Row.Caption);
    B->SetHint(Row.Hint);
    B->SetShowHint(Row.Hint[0] != '\0');
    this->*Row.Button = B;
  }
  // The share buttons open the snapshot menu on a right click.
  LikeButton->SetPopupMenu(spSkinPopupMenu1);
  TweetButton->SetPopupMenu(spSkinPopupMenu1);
}

void TMainForm::CreateFileList() {
  spSkinNotebook1 = MakeChild<TspSkinNotebook>(this, this, "spSkinNotebook1", 92, 29, 423, 273);
  spSkinNotebook1->SetSkinData(spSkinData1);
  spSkinNotebook1->Pages()->Add("Files");
  spSkinNotebook1->SetPageIndex(1);
  auto* FilesPage = static_cast<TspSkinPage*>(spSkinNotebook1->Pages()->Objects(1));

  sgList = ::Create<TspSkinStringGrid>(this);
  sgList->SetName("sgList");
  sgList->SetParent(FilesPage);
  sgList->SetAlign(alClient);
  sgList->SetSkinData(spSkinData1);
  sgList->SetColCount(5);
  sgList->SetRowCount(2);
  sgList->SetFixedRows(1);
  sgList->SetFixedCols(0);
  sgList->SetDefaultRowHeight(20);
  sgList->SetDefaultDrawing(false);
  sgList->SetOptions({goFixedVertLine, goFixedHorzLine, goColSizing, goRowSelect});
  sgList->SetPopupMenu(ListMenu);

  edDestinationTitle = MakeChild<TspSkinEdit>(this, FilesPage, "edDestinationTitle", 0, 0, 100, 20);
  edDestinationTitle->SetSkinData(spSkinData1);
  edDestinationTitle->SetVisible(false);

  for (const TSkinButtonRow& Row : FileButtonRows) {
    auto* B = MakeChild<TspSkinButton>(this, this, Row.Name, Row.Left, Row.Top, Row.Width, Row.Height);
    B->SetSkinData(spSkinData1);
    B->SetCaption(Row.Caption);
    this->*Row.Button = B;
  }

  GettingStartedPanel = MakeChild<TspSkinPanel>(this, this, "GettingStartedPanel", 92, 46, 423, 255);
  GettingStartedPanel->SetSkinData(spSkinData1);
  GettingStartedImage = MakeChild<TImage>(this, GettingStartedPanel, "GettingStartedImage", 0, 0, 423, 255);
  GettingStartedImage->SetAlign(alClient);
  GettingStartedImage->SetCenter(true);
  GettingStartedPanel->BringToFront();

  // Pictures the grid draws with; never shown themselves.
  imgTableRow = MakeChild<TImage>(this, this, "imgTableRow", 0, 0, 16, 16);
  imgTableColumnCaptionBar = MakeChild<TImage>(this, this, "imgTableColumnCaptionBar", 0, 0, 16, 16);
  Image3 = MakeChild<TImage>(this, this, "Image3", 0, 0, 16, 16);
  for (TImage* Hidden : {imgTableRow, imgTableColumnCaptionBar, Image3}) Hidden->SetVisible(false);

  Timer1 = ::Create<TTimer>(this);
  Timer1->SetName("Timer1");
  Timer1->SetInterval(5);
  Timer1->SetEnabled(true);
}

void TMainForm::CreateBottomPanel() {
  BottomPanel = MakeChild<TspSkinPanel>(this, this, "BottomPanel", 12, 348, 616, 84);
  BottomPanel->SetSkinData(spSkinData1);
  struct TRowLabel {
    const char* Name;
    const char* Caption;
    Integer Top;
  };
  for (const TRowLabel& L : {TRowLabel{"lblProfileTitle", "Profile:", 13}, TRowLabel{"lblOutputTitle", "Output:", 53}}) {
    auto* Title = MakeChild<TspSkinStdLabel>(this, BottomPanel, L.Name, 10, L.Top, 56, 16);
    Title->SetSkinData(spSkinData1);
    Title->SetCaption(L.Caption);
  }

  ProfileComboImage = MakeChild<TImage>(this, BottomPanel, "ProfileComboImage", 70, 6, 266, 28);
  ProfileComboImageOver = MakeChild<TImage>(this, BottomPanel, "ProfileComboImageOver", 70, 6, 266, 28);
  ProfileComboImage->SetVisible(false);
  ProfileComboImageOver->SetVisible(false);
  imgProfileField = MakeChild<TImage>(this, BottomPanel, "imgProfileField", 70, 6, 266, 28);
  imgProfileField->SetStretch(true);
  imgProfileIcon = MakeChild<TImage>(this, BottomPanel, "imgProfileIcon", 76, 10, 20, 20);
  imgProfileIcon->SetCenter(true);
  lblProfile = MakeChild<TspSkinStdLabel>(this, BottomPanel, "lblProfile", 102, 13, 210, 16);
  lblProfile->SetSkinData(spSkinData1);
  lblProfile->SetTransparent(true);

  // Changed only through its button's folder dialog.
  edDestinationFolder = MakeChild<TspSkinDirectoryEdit>(this, BottomPanel, "edDestinationFolder", 70, 49, 266, 22);
  edDestinationFolder->SetSkinData(spSkinData1);
  edDestinationFolder->SetDlgSkinData(spSkinData1);
  edDestinationFolder->SetDlgCtrlSkinData(spSkinData1);
  edDestinationFolder->SetReadOnly(true);

  for (const TSkinButtonRow& Row : BottomButtonRows) {
    auto* B = MakeChild<TspSkinButton>(this, BottomPanel, Row.Name, Row.Left, Row.Top, Row.Width, Row.Height);
    B->SetSkinData(spSkinData1);
    B->SetCaption(Row.Caption);
    this->*Row.Button = B;
  }
  SettingsButton->SetEnabled(false);

  chApplyToAll = MakeChild<TspSkinCheckRadioBox>(this, BottomPanel, "chApplyToAll", 448, 10, 160, 20);
  chApplyToAll->SetCaption("Apply to all");
  chApplyToAll->SetChecked(true);
  chMerge = MakeChild<TspSkinCheckRadioBox>(this, BottomPanel, "chMerge", 448, 50, 160, 20);
  chMerge->SetCaption("Merge into one file");
  chMerge->SetChecked(false);
  for (TspSkinCheckRadioBox* Box : {chApplyToAll, chMerge}) Box->SetSkinData(spSkinData1);
}

}  // namespace vantrel::app
