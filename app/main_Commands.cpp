// The main window's commands that live only here: the web pages, the settings dialog, the
// trim and edit dialogs and the about box.
#include "app/MakerService.h"
#include "app/about.h"
#include "app/clip.h"
#include "app/crop.h"
#include "app/main.h"
#include "app/settings.h"
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
  if (auto* Dialog = ApplicationDialog<TCropForm>()) Dialog->ShowModal();
}

void TMainForm::ClipButtonClick(TObject*) {
  if (!FileList || FileList->EntryCount() == 0) return;
  StopPreview();
  if (auto* Dialog = ApplicationDialog<TClipForm>()) Dialog->ShowModal();
}

void TMainForm::About1Click(TObject*) {
  if (auto* Dialog = ApplicationDialog<TAboutForm>()) Dialog->ShowModal();
}

}  // namespace vantrel::app
