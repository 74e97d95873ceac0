// The main window's creation steps: skin and pictures, command line, folders, catalogue,
// saved settings and the start of the media libraries' load; and what the catalogue
// shows in the window.
#include <algorithm>

#include "app/errordlg.h"
#include "app/log.h"
#include "app/main.h"
#include "app/profilechoosing.h"
#include "app/settings.h"
#include "media/FFEncode.h"
#include "platform/rtl/FileUtils.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/PngImage.h"
#include "platform/win/DragDrop.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/core/bitmaps/sppngimagelist.h"
#include "skin/core/data/SkinData.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

namespace {

// The pictures of the three button lists, by item, from PNG files of the skin folder.
struct TListPictures {
  TspPngImageList* TMainForm::*List;
  std::initializer_list<const char*> Files;
};

const TListPictures SkinListPictures[] = {
    {&TMainForm::LeftButtonsImages,
     {"open.png", "trim.png", "edit.png", "open_over.png", "trim_over.png", "edit_over.png"}},
    {&TMainForm::ConvertButtonImages, {"convert.png", "convert_over.png"}},
    {&TMainForm::PlayerImages,
     {"play.png", "pause.png", "stop.png", "photo.png", "setstart.png", "setend.png", "playpart.png"}},
};

// The pictures loaded from BMP files of the skin folder, in this order (the header bar's
// file is read twice, as it always was).
struct TImagePicture {
  TImage* TMainForm::*Image;
  const char* File;
};

constexpr TImagePicture SkinImagePictures[] = {
    {&TMainForm::ProfileComboImageOver, "profilescombo_over.bmp"},
    {&TMainForm::ProfileComboImage, "profilescombo.bmp"},
    {&TMainForm::imgTableRow, "tablerow.bmp"},
    {&TMainForm::imgTableColumnCaptionBar, "tablecolumncaptionbar.bmp"},
    {&TMainForm::imgTableColumnCaptionBar, "tablecolumncaptionbar.bmp"},
    {&TMainForm::Image3, "filmicon.bmp"},
};

constexpr Integer FileListColumnWidths[] = {132, 70, 70, 100, 48};

// The folders made under the documents folder, parents first.
constexpr const char* DocumentFolders[] = {"Quillmoor", "Quillmoor/Vantrel", "Quillmoor/Vantrel/Output",
                                           "Quillmoor/Vantrel/Snapshots"};

// The program's icon, on every window without one of its own and in the task list, taken
// before any frame draws it; a skin folder without one leaves the desktop's generic icon.
void LoadProgramIcon(const String& SkinFolder) {
  if (!FileExists(SkinFolder + "appicon.png")) return;
  TPngImage Icon;
  Icon.LoadFromFile(SkinFolder + "appicon.png");
  Application->Icon()->Assign(&Icon);
}

}  // namespace

void TMainForm::LoadSkinPictures(const String& SkinFolder) {
  for (const TListPictures& L : SkinListPictures) {
    Integer Index = 0;
    for (const char* File : L.Files) {
      TPngImage Png;
      Png.LoadFromFile(SkinFolder + File);
      (this->*L.List)->PngImages()->Items(Index++)->SetPngImage(&Png);
    }
  }
  for (const TImagePicture& P : SkinImagePictures) (this->*P.Image)->Picture()->LoadFromFile(SkinFolder + P.File);
  imgProfileField->SetPicture(ProfileComboImage->Picture());
}

void TMainForm::BindDialogSkins() {
  // Every window of the application draws with the one skin. The main window takes it
  // now; each other window when it is first about to show, before it is placed, which
  // spares the start-up the work for windows that may never show.
  BindWindowSkin(this);
  for (Integer I = 0; I < Screen->FormCount(); ++I) {
    TForm* Window = Screen->Forms(I);
    if (Window == this) continue;
    Window->OnShow = [this, Window, Shown = Window->OnShow](TObject* Sender) {
      BindWindowSkin(Window);
      if (Shown) Shown(Sender);
    };
  }
}

void TMainForm::BindWindowSkin(TForm* Window) {
  if (!Window || std::find(FSkinnedWindows.begin(), FSkinnedWindows.end(), Window) != FSkinnedWindows.end()) return;
  FSkinnedWindows.push_back(Window);
  // The frame component, and the controls of the windows that bind their own.
  if (auto* Frame = dynamic_cast<TspFormSkin*>(Window->FindComponent("spFormSkin1"))) Frame->SetSkinData(spSkinData1);
  if (Window == LogForm) LogForm->BindSkin(spSkinData1);
  if (Window == ErrorForm) ErrorForm->BindSkin(spSkinData1);
  if (auto* Settings = dynamic_cast<Tsettingsform*>(Window)) Settings->BindSkin(spSkinData1);
  if (auto* Chooser = dynamic_cast<Tproform*>(Window)) Chooser->BindSkin(spSkinData1);
}

void TMainForm::FormCreate(TObject*) {
  TMainUnitState& State = MainUnit();
  DragAcceptFiles(Handle(), true);
  // A missing skin file leaves the windows drawn without a skin.
  const String SkinFolder = ProgramFolder + "skin-laconic/";
  spSkinData1->LoadFromFile(SkinFolder + "skin.ini");
  LoadProgramIcon(SkinFolder);
  BindDialogSkins();
  LoadSkinPictures(SkinFolder);
  ApplyCommandLine(CommandLineArg);
  Application->SetTitle("Vantrel");
  SetCaption("Vantrel");
  State.TempFolder = GetTempFolder();
  dlgopen->SetInitialDir(GetSpecialFolder(CSIDL_MYVIDEO));
  StartMediaLogHistory(State);
  for (Integer Col = 0; Col < static_cast<Integer>(std::size(FileListColumnWidths)); ++Col)
    sgList->SetColWidths(Col, FileListColumnWidths[Col]);
  sgList->SetRowHeights(0, 20);
  if (FileExists(SkinFolder + "gettingstarted.bmp"))
    GettingStartedImage->Picture()->LoadFromFile(SkinFolder + "gettingstarted.bmp");
  else
    GettingStartedPanel->SetVisible(false);
  if (FileExists(SkinFolder + "preview.bmp"))
    imgPlayerArea->Picture()->LoadFromFile(SkinFolder + "preview.bmp");
  else
    panPlayerArea->SetVisible(false);
  State.JpegSnapshotCounter = 1;
  State.BmpSnapshotCounter = 1;

  // The catalogue: icons, profiles (guarded), formats (read unguarded, parsed guarded).
  LoadCatalogue(State, ProgramFolder + "video-converter-profiles");
  // The open dialog also lists the files the catalogue's formats write.
  dlgopen->SetFilter(BuildOpenDialogFilter(State.AllFormats));

  const String Documents = GetSpecialFolder(CSIDL_PERSONAL);
  if (!Documents.empty()) {
    const String Base = IncludeTrailingPathDelimiter(Documents);
    for (const char* Folder : DocumentFolders)
      if (!DirectoryExists(Base + Folder)) CreateDir(Base + Folder);
    if (DirectoryExists(Base + "Quillmoor/Vantrel/Snapshots")) State.SnapshotFolder = Base + "Quillmoor/Vantrel/Snapshots";
    if (DirectoryExists(Base + "Quillmoor/Vantrel/Output")) edDestinationFolder->SetText(Base + "Quillmoor/Vantrel/Output");
  }

  State.RegistryKeyPath = SettingsKeyPath;
  ReadSettings(State, *this);
  DistributeFormats(State, *this);
  lblProfile->Repaint();

  // The media libraries load while the window shows; a failure is reported once the load
  // ends (WaitForMediaLibraries).
  StartMediaLibraryLoad();
}

void TMainForm::ShowProfile(const String& Title, TPicture* Icon) {
  lblProfile->SetCaption(Title);
  if (Icon)
    imgProfileIcon->SetPicture(Icon);
  else
    imgProfileIcon->Picture()->Assign(nullptr);
}

String TMainForm::DestinationFolder() { return edDestinationFolder->Text(); }

void TMainForm::SetDestinationFolder(const String& Folder) { edDestinationFolder->SetText(Folder); }

void TMainForm::SetOpenDialogFolder(const String& Folder) { dlgopen->SetInitialDir(Folder); }

String TMainForm::FirstChosenFile() { return dlgopen->Files()->Count() > 0 ? dlgopen->Files()->Get(0) : String(); }

}  // namespace vantrel::app
