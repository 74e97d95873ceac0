// The main window's commands that live only here: the web pages, the settings dialog, the
// trim and edit dialogs and the about box.
#include "app/EditorHostMain.h"
#include "app/MakerService.h"
#include "app/about.h"
#include "app/clip.h"
#include "app/crop.h"
#include "app/fileinfo.h"
#include "app/main.h"
#include "app/profilechoosing.h"
#include "app/settings.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Menus.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "skin/dialogs/SkinShellDialogs.h"
#include "skin/forms/SkinMenus.h"
#include "platform/win/Messages.h"
#include "platform/win/Shell.h"

namespace vantrel::app {

namespace {

constexpr const char* LikeService = "https://www.facebook.com/";
constexpr const char* TweetService = "https://twitter.com/";
constexpr const char* ProductName = "Vantrel";

// The application's one window of class T (made at start-up), nil when none exists.
template <class T>
T* ApplicationDialog() {
  for (Integer I = 0; I < Screen->FormCount(); ++I)
    if (T* F = dynamic_cast<T*>(Screen->Forms(I))) return F;
  return nullptr;
}

void OpenWebPage(HWND Owner, const String& Address) {
  ShellExecute(Owner, "open", Address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace

String HomePageAddress() { return String(MakerSite) + "vantrel.htm"; }

String SupportAddress() { return String(MakerSite) + "support.htm"; }

String LikeAddress() { return String(LikeService) + "sharer.php?u=" + HomePageAddress(); }

String TweetAddress(const String& Name) {
  String Text = Name;
  for (char& C : Text)
    if (C == ' ') C = '+';
  return String(TweetService) + "share?original_referer=" + HomePageAddress() + "&text=" + Text;
}

void TMainForm::Help2Click(TObject*) { OpenWebPage(Handle(), HomePageAddress()); }

void TMainForm::Support1Click(TObject*) { OpenWebPage(Handle(), SupportAddress()); }

void TMainForm::LikeButtonClick(TObject*) { OpenWebPage(Handle(), LikeAddress()); }

void TMainForm::TweetButtonClick(TObject*) { OpenWebPage(Handle(), TweetAddress(ProductName)); }

void TMainForm::SettingsButtonClick(TObject*) {
  if (auto* Dialog = ApplicationDialog<Tsettingsform>()) {
    Dialog->FileList = FileList;
    Dialog->ShowModal();
  }
}

void TMainForm::EditButtonClick(TObject*) {
  if (!FileList || FileList->EntryCount() == 0) return;
  const Integer Index = FileList->SelectedRow() - 1;
  if (Index >= 0 && Index < FileList->EntryCount() && FileList->EntryIsAudio(Index)) {
    FileList->ShowSkinMessage("Can't edit audio formats. You can click \"Trim\" button.", mtWarning);
    return;
  }
  StopPreview();
  if (auto* Dialog = ApplicationDialog<TCropForm>()) {
    TMainEditorHost Host(MainUnit(), *this);
    Dialog->SetHost(&Host);
    Dialog->ShowModal();
    Dialog->SetHost(nullptr);
  }
}

void TMainForm::ClipButtonClick(TObject*) {
  if (!FileList || FileList->EntryCount() == 0) return;
  StopPreview();
  if (auto* Dialog = ApplicationDialog<TClipForm>()) {
    TMainEditorHost Host(MainUnit(), *this);
    Dialog->SetHost(&Host);
    Dialog->ShowModal();
    Dialog->SetHost(nullptr);
  }
}

void TMainForm::FileInformation1Click(TObject*) {
  if (auto* Dialog = ApplicationDialog<TFileInfoForm>())
    FileInformationForRow(*Dialog, *Tarnwell->Decoder(), MainUnit(), sgList->Row());
}

void TMainForm::FindTargetButtonClick(TObject*) {
  ShellExecute(Handle(), "open", edDestinationFolder->Text().c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void TMainForm::imgProfileButtonMouseDown(TObject*, TMouseButton, TShiftState, Integer, Integer) {
  if (!FileList || FileList->EntryCount() == 0) return;
  auto* Chooser = ApplicationDialog<Tproform>();
  if (!Chooser) return;
  const TMainUnitState& State = MainUnit();
  // The pop-up's bottom edge on the field's top edge, its left edge on the field's.
  const TPoint Field = BottomPanel->ClientToScreen(Point(imgProfileField->Left(), imgProfileField->Top()));
  Chooser->FileList = FileList;
  Chooser->SetBounds(Field.X, Field.Y - State.ChooserHeight, Chooser->Width(), State.ChooserHeight);
  Chooser->Show();
}

void TMainForm::imgProfileFieldMouseEnter(TObject*) { imgProfileField->SetPicture(ProfileComboImageOver->Picture()); }

void TMainForm::imgProfileFieldMouseLeave(TObject*) { imgProfileField->SetPicture(ProfileComboImage->Picture()); }

void TMainForm::BindCommands() {
  // The skinned buttons raise their own click event; the picture buttons the control's.
  struct CommandBinding {
    void (TMainForm::*Handler)(TObject*);
    std::initializer_list<TMenuItem*> Items;
    std::initializer_list<TControl*> Controls;
    std::initializer_list<TspSkinButton*> Buttons;
  };
  const CommandBinding Bindings[] = {
      {&TMainForm::Help2Click, {Help2}, {}, {}},
      {&TMainForm::Support1Click, {Support1}, {}, {}},
      {&TMainForm::About1Click, {About1}, {}, {}},
      {&TMainForm::LikeButtonClick, {}, {LikeButton}, {}},
      {&TMainForm::TweetButtonClick, {}, {TweetButton}, {}},
      {&TMainForm::SettingsButtonClick, {}, {}, {SettingsButton}},
      {&TMainForm::FindTargetButtonClick, {}, {}, {FindTargetButton}},
      {&TMainForm::EditButtonClick, {EditMenuItem, EditVideo1, EditVideo2}, {EditButton}, {}},
      {&TMainForm::ClipButtonClick, {TrimVideo1, TrimVideo2}, {ClipButton}, {}},
  };
  for (const CommandBinding& B : Bindings) {
    const auto Handler = [this, H = B.Handler](TObject* Sender) { (this->*H)(Sender); };
    for (TMenuItem* Item : B.Items) Item->OnClick = Handler;
    for (TControl* Control : B.Controls) Control->OnClick = Handler;
    for (TspSkinButton* Button : B.Buttons) Button->OnClick = Handler;
  }
  for (TControl* Share : std::initializer_list<TControl*>{LikeButton, TweetButton})
    Share->SetPopupMenu(spSkinPopupMenu1);
  for (TControl* Part : std::initializer_list<TControl*>{imgProfileField, lblProfile, imgProfileIcon})
    Part->OnMouseDown = [this](TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y) {
      imgProfileButtonMouseDown(Sender, Button, Shift, X, Y);
    };
}

void TMainForm::About1Click(TObject*) {
  if (auto* Dialog = ApplicationDialog<TAboutForm>()) Dialog->ShowModal();
}

}  // namespace vantrel::app
