// The application's loop: OnMessage sees every queued message before its window,
// ProcessMessages empties the queue, exceptions reach HandleException (a message box
// through the responder, EAbort silent, OnException instead of the box).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/Forms.h"
#include "platform/ui/Timers.h"
#include "platform/win/MessageQueue.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;

namespace {

constexpr UINT WM_PROBE = WM_USER + 7;
constexpr UINT WM_THROW = WM_USER + 8;

// Logs the probe messages its window gets; WM_THROW raises from inside the handler.
struct ProbeForm {
  TForm* Form = nullptr;
  std::vector<std::string> Log;
  explicit ProbeForm() {
    Application->CreateForm(Form);
    TWndMethod Inherited = Form->WindowProc;
    Form->WindowProc = [this, Inherited](TMessage& M) {
      if (M.Msg == WM_PROBE) Log.push_back("window " + std::to_string(M.WParam));
      if (M.Msg == WM_THROW) throw EConvertError("'x' is not a valid integer value");
      Inherited(M);
    };
  }
};

}  // namespace

TEST(Application, OnMessageSeesAPostedMessageBeforeItsWindowAndCanKeepIt) {
  FormsSession S;
  ProbeForm P;
  Application->OnMessage = [&](MSG& Msg, Boolean& Handled) {
    if (Msg.message != WM_PROBE) return;
    P.Log.push_back("OnMessage " + std::to_string(Msg.wParam));
    Handled = Msg.wParam == 2;  // the second one never reaches the window
  };
  PostMessage(P.Form->Handle(), WM_PROBE, 1, 0);
  PostMessage(P.Form->Handle(), WM_PROBE, 2, 0);
  PostMessage(P.Form->Handle(), WM_PROBE, 3, 0);
  Application->ProcessMessages();
  EXPECT_EQ(P.Log, (std::vector<std::string>{"OnMessage 1", "window 1", "OnMessage 2", "OnMessage 3", "window 3"}));
}

TEST(Application, ProcessMessagesReturnsWithTheQueueEmpty) {
  FormsSession S;
  ProbeForm P;
  P.Form->Show();
  int Reposts = 0;
  // A handler that posts more work: it is handled in the same call.
  Application->OnMessage = [&](MSG& Msg, Boolean&) {
    if (Msg.message == WM_PROBE && Reposts < 3) PostMessage(Msg.hwnd, WM_PROBE, 10 + ++Reposts, 0);
  };
  PostMessage(P.Form->Handle(), WM_PROBE, 1, 0);
  Application->ProcessMessages();
  EXPECT_EQ(P.Log, (std::vector<std::string>{"window 1", "window 11", "window 12", "window 13"}));
  MSG M;
  EXPECT_FALSE(PeekMessage(&M, nullptr, 0, 0, PM_NOREMOVE));  // paints included
  EXPECT_FALSE(Application->Terminated());
}

TEST(Application, ExceptionsFromHandlersReachHandleException) {
  FormsSession S;
  ProbeForm P;
  // From a window's handler: a message box with the text and a full stop.
  PostMessage(P.Form->Handle(), WM_THROW, 0, 0);
  Application->ProcessMessages();
  EXPECT_EQ(S.Boxes, std::vector<std::string>{"'x' is not a valid integer value."});

  // EAbort is silent; any other exception goes to OnException when it is set.
  S.Boxes.clear();
  try {
    throw EAbort("Operation aborted");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  EXPECT_TRUE(S.Boxes.empty());
  std::vector<std::string> Seen;
  Application->OnException = [&](TObject* Sender, const Exception& E) {
    Seen.push_back(std::string(Sender ? "form: " : "none: ") + E.Message());
  };
  PostMessage(P.Form->Handle(), WM_THROW, 0, 0);
  Application->ProcessMessages();
  try {
    throw std::runtime_error("plain failure");
  } catch (...) {
    Application->HandleException(nullptr);
  }
  EXPECT_EQ(Seen, (std::vector<std::string>{"form: 'x' is not a valid integer value", "none: plain failure"}));
  EXPECT_TRUE(S.Boxes.empty());
}

TEST(Application, TitleNamesTheHiddenOwnerWindow) {
  FormsSession S;
  Application->SetTitle("Vantrel");
  EXPECT_EQ(GetWindowText(Application->Handle()), "Vantrel");
  EXPECT_FALSE(IsWindowVisible(Application->Handle()));
  // The message boxes carry the title.
  std::string Caption;
  S.Session.Manager().Shell().MessageBoxResponder = [&](HWND, const std::string&, const std::string& C, UINT) {
    Caption = C;
    return IDOK;
  };
  Application->ShowException(EInvalidOperation("Broken"));
  EXPECT_EQ(Caption, "Vantrel");
}

TEST(Application, OnIdleAndIdleWorkRunWhenTheQueueIsEmpty) {
  FormsSession S;
  ProbeForm P;
  P.Form->Show();
  int Idles = 0;
  Application->OnIdle = [&](TObject*, Boolean& Done) {
    ++Idles;
    Done = Idles >= 2;  // asks once to be called again at once
  };
  // Run's loop: idle twice, then a timer closes the main form.
  TTimer* Closer = TTimer::Create(P.Form);
  Closer->SetInterval(50);
  Closer->OnTimer = [&](TObject*) {
    Closer->SetEnabled(false);
    P.Form->Close();
  };
  Application->Run();
  EXPECT_GE(Idles, 2);
  EXPECT_TRUE(Application->Terminated());
}

TEST(Application, MinimizeAndRestoreActOnTheMainForm) {
  FormsSession S;
  ProbeForm P;
  P.Form->Show();
  std::vector<std::string> Seen;
  Application->OnMinimize = [&](TObject*) { Seen.push_back("minimize"); };
  Application->OnRestore = [&](TObject*) { Seen.push_back("restore"); };
  Application->Minimize();
  EXPECT_TRUE(IsIconic(P.Form->Handle()));
  EXPECT_EQ(P.Form->WindowState(), wsMinimized);
  Application->Restore();
  EXPECT_FALSE(IsIconic(P.Form->Handle()));
  EXPECT_EQ(P.Form->WindowState(), wsNormal);
  EXPECT_EQ(Seen, (std::vector<std::string>{"minimize", "restore"}));
}
