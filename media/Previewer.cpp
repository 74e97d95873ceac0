// The preview's frame hand-over from the conversion thread to the GUI thread, and its
// window: a form without owner holding an image of the frame.
#include "media/Previewer.h"

#include "media/FFUtils.h"
#include "platform/rtl/Threads.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Forms.h"
#include "platform/win/MessageQueue.h"

namespace vantrel::media {

struct TPreviewer::TWindow {
  TOwned<TForm> Form;
  TImage* Image = nullptr;  // owned by Form
  HWND FormHandle = nullptr;
  TMessageEvent SavedAppMessage;
};

TPreviewer::TPreviewer() = default;

TPreviewer::~TPreviewer() {
  if (FWindow) CallInMainThread([this] { FreeForm(); });
}

bool TPreviewer::PaintFrame(TBitmap* ABitmap, Integer AFrameNumber, Int64 APTS) {
  if (FClosed) return false;
  {
    std::lock_guard<std::mutex> L(FLock);
    FBitmap = ABitmap;
    FFrameNumber = AFrameNumber;
    FPTS = APTS;
  }
  CallInMainThread([this] { Paint(); });
  return !FClosed;
}

void TPreviewer::Paint() {
  if (FClosed) return;
  {
    std::lock_guard<std::mutex> L(FLock);
    FCaption = TimestampToStr(FPTS);
    ++FPaintCount;
  }
  if (!Application) return;
  if (!FWindow) CreateForm();
  FWindow->Form->SetCaption(Caption());
  if (FBitmap) FWindow->Image->Picture()->SetBitmap(FBitmap);
}

void TPreviewer::CreateForm() {
  auto W = std::make_unique<TWindow>();
  W->Form.reset(TForm::Create(nullptr));
  TForm* F = W->Form.get();
  F->SetFormStyle(fsStayOnTop);
  F->SetBorderStyle(bsToolWindow);
  F->SetBorderIcons(TBorderIcons{biSystemMenu});
  F->SetPosition(poScreenCenter);
  F->OnCloseQuery = [this](TObject*, Boolean& CanClose) {
    FClosed = true;
    CanClose = true;
  };
  // The size of the first frame stays for the later ones (set on the window, whose
  // frame is known once it exists).
  W->FormHandle = F->Handle();
  if (FBitmap) {
    F->SetClientWidth(FBitmap->Width());
    F->SetClientHeight(FBitmap->Height());
  }
  W->Image = TImage::Create(F);
  W->Image->SetParent(F);
  W->Image->SetAlign(alClient);
  W->SavedAppMessage = Application->OnMessage;
  Application->OnMessage = [this](MSG& Msg, Boolean& Handled) { AppMessage(Msg, Handled); };
  FWindow = std::move(W);
  F->Show();
}

void TPreviewer::FreeForm() {
  if (!FWindow) return;
  if (Application) Application->OnMessage = FWindow->SavedAppMessage;
  FWindow.reset();
}

void TPreviewer::AppMessage(MSG& Msg, bool& Handled) {
  if (FWindow && Msg.message == WM_LBUTTONDOWN && Msg.hwnd == FWindow->FormHandle) {
    SendMessage(FWindow->FormHandle, WM_NCLBUTTONDOWN, HTCAPTION, static_cast<LPARAM>(GetMessagePos()));
    Handled = true;
  } else if (FWindow && FWindow->SavedAppMessage) {
    FWindow->SavedAppMessage(Msg, Handled);
  }
}

String TPreviewer::Caption() const {
  std::lock_guard<std::mutex> L(FLock);
  return FCaption;
}

}  // namespace vantrel::media
