// The "About" dialog: its texts and the two links, which reach the launcher.
#include <gtest/gtest.h>

#include "app/MakerService.h"
#include "app/about.h"
#include "platform/ui/StdCtrls.h"
#include "platform/win/Shell.h"
#include "platform/win/WindowManager.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;

TEST(About, NamesTheProductItsVersionAndOpensBothLinks) {
  vantrel::uitest::FormsSession S;
  auto L = std::make_unique<vantrel::win::RecordingLauncher>();
  vantrel::win::RecordingLauncher* Launcher = L.get();
  S.Session.Manager().Shell().SetLauncher(std::move(L));
  TForm* Main = nullptr;
  Application->CreateForm(Main);  // closing a dialog must not end the program
  TAboutForm* Form = nullptr;
  Application->CreateForm(Form);
  EXPECT_EQ(Form->lblProgramName->Caption(), "Vantrel");
  EXPECT_EQ(Form->lblversion->Caption(), "Version 1.0");
  ASSERT_EQ(Form->lblWarning->Lines()->Count(), 4);
  EXPECT_NE(Form->lblWarning->Lines()->Get(3).find(MakerName), String::npos);
  EXPECT_EQ(Form->lblHomePage->Caption(), MakerSite);
  EXPECT_EQ(Form->lblSupport->Caption(), SupportMailbox);
  Form->Show();
  S.Session.PumpUntilIdle();
  struct Case {
    TControl* Link;
    String Target;
  } Cases[] = {{Form->lblHomePage, MakerSite}, {Form->lblSupport, String("mailto:") + SupportMailbox}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Target);
    const size_t Before = Launcher->Calls.size();
    const TPoint P = vantrel::uitest::CentreOf(C.Link);
    S.Session.Press(P.X, P.Y);
    S.Session.Release(P.X, P.Y);
    S.Session.PumpUntilIdle();
    ASSERT_EQ(Launcher->Calls.size(), Before + 1);
    EXPECT_EQ(Launcher->Calls.back().Argv.back(), C.Target);
  }
  // OK closes the dialog.
  const TPoint Ok = vantrel::uitest::CentreOf(Form->PreviewButton);
  S.Session.Press(Ok.X, Ok.Y);
  S.Session.Release(Ok.X, Ok.Y);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Form->Visible());
}
