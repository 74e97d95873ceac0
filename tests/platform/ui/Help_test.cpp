#include <gtest/gtest.h>

#include "platform/ui/Forms.h"
#include "tests/support/UiFormsFixture.h"

using vantrel::uitest::FormsSession;

TEST(Help, WithoutAViewerHelpAnswersFalseAndShowsNothing) {
  FormsSession S;
  const size_t Windows = S.Session.Manager().TopLevels().size();
  EXPECT_FALSE(Application->HelpContext(120));
  EXPECT_FALSE(Application->HelpCommand(HELP_CONTENTS, 0));
  EXPECT_EQ(S.Session.Manager().TopLevels().size(), Windows);
  EXPECT_TRUE(S.Boxes.empty());
}

TEST(Help, TheResponderGetsCommandContextAndFile) {
  FormsSession S;
  struct Call {
    UINT Command;
    LONG_PTR Data;
    String File;
  };
  std::vector<Call> Calls;
  Application->SetHelpFile("/usr/share/doc/vantrel/help.txt");
  Application->HelpResponder = [&](UINT Command, LONG_PTR Data, const String& File) {
    Calls.push_back({Command, Data, File});
    return true;
  };
  EXPECT_TRUE(Application->HelpContext(120));
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].Command, HELP_CONTEXT);
  EXPECT_EQ(Calls[0].Data, 120);
  EXPECT_EQ(Calls[0].File, "/usr/share/doc/vantrel/help.txt");
}

TEST(Help, TheActiveFormsHelpFileComesBeforeTheApplications) {
  FormsSession S;
  Application->SetHelpFile("app.txt");
  std::vector<String> Files;
  Application->HelpResponder = [&](UINT, LONG_PTR, const String& File) {
    Files.push_back(File);
    return true;
  };
  TForm* Form = nullptr;
  Application->CreateForm(Form);
  Form->Show();
  S.Session.PumpUntilIdle();
  ASSERT_EQ(Screen->ActiveCustomForm(), Form);
  Application->HelpContext(1);
  Form->SetHelpFile("form.txt");
  Application->HelpContext(2);
  EXPECT_EQ(Files, (std::vector<String>{"app.txt", "form.txt"}));
}
