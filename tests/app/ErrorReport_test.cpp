// Error reports: the "Error!" window, Send and Cancel, mail through a relay of the settings
// store or a percent-encoded mail link, and the recommendation that follows every report.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "app/MakerService.h"
#include "app/errordlg.h"
#include "app/log.h"
#include "app/main.h"
#include "platform/display/HeadlessPng.h"
#include "platform/rtl/Registry.h"
#include "platform/ui/Timers.h"
#include "platform/win/Shell.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/core/data/SkinData.h"
#include "tests/support/SmtpResponder.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"
#include "tools/skingen/SkinGenSpec.h"

using namespace vantrel::app;
using vantrel::test::TestSmtpServer;
using vantrel::test::TTempDir;

namespace {

std::string PercentDecode(const std::string& S) {
  std::string Out;
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '%' && I + 2 < S.size()) {
      Out += static_cast<char>(std::stoi(S.substr(I + 1, 2), nullptr, 16));
      I += 2;
    } else {
      Out += S[I];
    }
  }
  return Out;
}

// Undoes quoted-printable (soft breaks and =XX).
std::string DecodeQp(const std::string& S) {
  std::string Out;
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '=' && I + 2 < S.size() && S[I + 1] == '\r' && S[I + 2] == '\n') {
      I += 2;
    } else if (S[I] == '=' && I + 2 < S.size()) {
      Out += static_cast<char>(std::stoi(S.substr(I + 1, 2), nullptr, 16));
      I += 2;
    } else {
      Out += S[I];
    }
  }
  return Out;
}

class ErrorReport : public testing::Test {
 protected:
  TTempDir Config;
  vantrel::uitest::FormsSession S;
  vantrel::win::RecordingLauncher* Launcher = nullptr;
  TLogForm* Log = nullptr;
  TErrorForm* Form = nullptr;
  TMainUnitState State;
  bool Answered = false;
  TTimer* Answer = nullptr;

  void SetUp() override {
    setenv("XDG_CONFIG_HOME", Config.Path().c_str(), 1);
    auto L = std::make_unique<vantrel::win::RecordingLauncher>();
    Launcher = L.get();
    S.Session.Manager().Shell().SetLauncher(std::move(L));
    Application->CreateForm(Log);
    Application->CreateForm(Form);
    StartMediaLogHistory(State);
  }

  // When the window shows: the user types and clicks Button.
  void AnswerWith(TspSkinButton* Button, const String& Name = "", const String& Email = "",
                  const String& Details = "") {
    Answered = false;
    if (!Answer) Answer = Create<TTimer>(Form);
    Answer->SetInterval(20);
    Answer->SetEnabled(true);
    Answer->OnTimer = [this, Button, Name, Email, Details](TObject*) {
      if (Answered || !Form->Visible()) return;
      Answered = true;
      Answer->SetEnabled(false);
      Form->edName->SetText(Name);
      Form->edEmail->SetText(Email);
      Form->memDetails->SetText(Details);
      const TPoint P = vantrel::uitest::CentreOf(Button);
      S.Session.Press(P.X, P.Y);
      S.Session.Release(P.X, P.Y);
    };
  }

  void SetRelay(const String& Url, const String& User = "", const String& Password = "") {
    TRegistry Reg;
    Reg.SetRootKey(HKEY_CURRENT_USER);
    ASSERT_TRUE(Reg.OpenKey(ErrorReportsKeyPath, true));
    Reg.WriteString("SmtpUrl", Url);
    if (!User.empty()) Reg.WriteString("SmtpUser", User);
    if (!Password.empty()) Reg.WriteString("SmtpPassword", Password);
  }

  std::vector<std::string> Opened() const {
    std::vector<std::string> R;
    for (const auto& C : Launcher->Calls) R.push_back(C.Argv.back());
    return R;
  }
};

const std::string LinkStart = std::string("mailto:") + SupportMailbox +
                              "?subject=ERROR%20REPORT%20%7C%20Vantrel&body=";

}  // namespace

TEST_F(ErrorReport, CancelSendsNothingButShowsTheRecommendationAndItsPage) {
  AnswerWith(Form->spSkinButton1, "Ann", "ann@example.net", "it broke");
  ReportError(State, "Error loading profiles", CLM_LoadProfiles);
  EXPECT_TRUE(Answered);
  EXPECT_EQ(Form->lblErrorText->Caption(), "Error loading profiles");
  EXPECT_EQ(S.Boxes, std::vector<std::string>{RecommendationText});
  EXPECT_EQ(Opened(), std::vector<std::string>{RecommendationPage});
  EXPECT_EQ(State.MediaLogHistory->Count(), 1);
  EXPECT_TRUE(State.ErrorReports.empty());
}

TEST_F(ErrorReport, SendWithoutRelayOpensOneLinkThatDecodesToTheTexts) {
  const String Msg = "A&cc=x@example.net#frag?q=1\nnext line \xC3\xBC";
  AnswerWith(Form->PreviewButton);
  ReportError(State, Msg, "CLM_Test");
  const auto Links = Opened();
  ASSERT_EQ(Links.size(), 2u);
  EXPECT_EQ(Links[1], RecommendationPage);
  const std::string& Link = Links[0];
  ASSERT_EQ(Link.rfind(LinkStart, 0), 0u) << Link;
  const std::string Body = Link.substr(LinkStart.size());
  EXPECT_EQ(Body.find_first_of("&#?@ \n"), std::string::npos) << Body;
  EXPECT_EQ(PercentDecode(Body),
            "A&cc=x@example.net#frag?q=1\r\nnext line \xC3\xBC ;CODE LINE MARK:CLM_Test;  YOUR COMMENT (DETAILS):");
}

TEST_F(ErrorReport, SendThroughALocalRelayMailsTheHistoryAndKeepsEveryReport) {
  TestSmtpServer Relay;
  SetRelay("smtp://127.0.0.1:" + std::to_string(Relay.Port));
  AddActionLogLine(State, "File added: /v/a.avi");
  AnswerWith(Form->PreviewButton, "", "user@example.net");
  ReportError(State, "first failure", "CLM_One");
  AnswerWith(Form->PreviewButton, "Ann", "no address", "line 1\nline 2");
  ReportError(State, "second failure", "CLM_Two");

  const auto Msgs = Relay.Messages();
  ASSERT_EQ(Msgs.size(), 2u);
  EXPECT_EQ(Opened(), (std::vector<std::string>{RecommendationPage, RecommendationPage}));
  const std::string& First = Msgs[0];
  EXPECT_NE(First.find("\r\nSubject: ERROR REPORT | Vantrel\r\n"), std::string::npos) << First;
  EXPECT_EQ(First.find(std::string("From: ") + SupportMailbox + "\r\n"), First.find("From:"));
  EXPECT_NE(First.find("\r\nReply-To: user@example.net\r\n"), std::string::npos);
  EXPECT_NE(First.find(std::string("\r\nTo: ") + SupportMailbox + "\r\n"), std::string::npos);
  const std::string Body1 = DecodeQp(First.substr(First.find("\r\n\r\n") + 4));
  EXPECT_EQ(Body1.rfind("FFLOGGER HISTORY:\r\n-------------------------\r\nACTION HISTORY:\r\n", 0), 0u) << Body1;
  EXPECT_NE(Body1.find("-> File added: /v/a.avi\r\n-------------------------\r\n"), std::string::npos);
  const std::string Tail = "LAST ERROR MESSAGE: first failure\r\nCODE LINE MARK: CLM_One\r\n";
  ASSERT_GE(Body1.size(), Tail.size());
  EXPECT_EQ(Body1.substr(Body1.size() - Tail.size()), Tail);

  const std::string& Second = Msgs[1];
  EXPECT_EQ(Second.find("Reply-To:"), std::string::npos);  // typed text without "@"
  const std::string Body2 = DecodeQp(Second.substr(Second.find("\r\n\r\n") + 4));
  const size_t A = Body2.find("LAST ERROR MESSAGE: first failure");
  const size_t B = Body2.find("LAST ERROR MESSAGE: second failure");
  ASSERT_NE(A, std::string::npos);
  ASSERT_NE(B, std::string::npos);
  EXPECT_LT(A, B);
  EXPECT_NE(Body2.find("CODE LINE MARK: CLM_Two\r\nUSER NAME: Ann\r\nPROBLEM DETAILS:\r\nline 1\r\nline 2\r\n"),
            std::string::npos)
      << Body2;
}

TEST_F(ErrorReport, CredentialsNeverGoToAPlainRelayAndTheLinkOpensInstead) {
  TestSmtpServer Relay(true);
  SetRelay("smtp://127.0.0.1:" + std::to_string(Relay.Port), "reports@example.org", "secret");
  AnswerWith(Form->PreviewButton);
  ReportError(State, "failure", "CLM_X");
  for (const std::string& C : Relay.Commands()) {
    EXPECT_NE(C.rfind("AUTH", 0), 0u) << C;
    EXPECT_EQ(C.find("secret"), std::string::npos);
  }
  EXPECT_TRUE(Relay.Messages().empty());
  const auto Links = Opened();
  ASSERT_EQ(Links.size(), 2u);
  EXPECT_EQ(Links[0].rfind(LinkStart, 0), 0u);
}

TEST_F(ErrorReport, TheWindowIsLaidOutAndDrawnWithTheSkin) {
  EXPECT_EQ(Form->ClientWidth(), 375);
  EXPECT_EQ(Form->ClientHeight(), 255);
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                     vantrel::skingen::SkinIniName);
  Form->BindSkin(Skin.get());
  Form->lblErrorText->SetCaption("Error loading profiles");
  Form->Show();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->Caption(), "Error!");
  EXPECT_EQ(Form->ClientHeight(), 255);
  struct Place {
    TControl* Control;
    TRect Bounds;
  } Places[] = {{Form->Image1, Rect(15, 11, 47, 43)},
                {Form->edName, Rect(9, 143, 138, 143 + Form->edName->Height())},
                {Form->edEmail, Rect(9, 185, 138, 185 + Form->edEmail->Height())},
                {Form->memDetails, Rect(155, 143, 362 - Form->memDetailsBars.Vertical->Width(),
                                        203 - Form->memDetailsBars.Horizontal->Height())},
                {Form->memDetailsBars.Vertical,
                 Rect(362 - Form->memDetailsBars.Vertical->Width(), 143, 362,
                      203 - Form->memDetailsBars.Horizontal->Height())},
                {Form->memDetailsBars.Horizontal, Rect(155, 203 - Form->memDetailsBars.Horizontal->Height(), 362, 203)},
                {Form->PreviewButton, Rect(164, 222, 256, 247)},
                {Form->spSkinButton1, Rect(262, 222, 354, 247)}};
  for (const Place& P : Places) {
    SCOPED_TRACE(P.Control->Name());
    EXPECT_EQ(P.Control->BoundsRect(), P.Bounds);
  }
  EXPECT_EQ(Form->PreviewButton->Caption(), "Send");
  EXPECT_EQ(Form->spSkinButton1->Caption(), "Cancel");
  vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "ErrorForm.png");
  Form->Hide();
  Skin.reset();
}

// Lines no wider than the width, broken between words, and inside a word too long for a
// line at character boundaries (never inside a UTF-8 sequence).
TEST(ErrorTextWrap, BreaksBetweenWordsAndInsideOverlongWords) {
  // Six pixels a character (a UTF-8 sequence counts once).
  const auto Measure = [](const String& S) {
    Integer N = 0;
    for (unsigned char C : S) N += (C & 0xC0) != 0x80;
    return N * 6;
  };
  struct Case {
    const char* Text;
    Integer Width;
    std::vector<String> Lines;
  } Cases[] = {
      {"short", 60, {"short"}},
      {"one two three four", 60, {"one two", "three four"}},
      {"abcdefghijklmnopqrstuvwxy", 60, {"abcdefghij", "klmnopqrst", "uvwxy"}},
      {"see /a/very/long/path.mp4: gone", 60, {"see", "/a/very/lo", "ng/path.mp", "4: gone"}},
      {"first\nsecond line", 60, {"first", "second", "line"}},
      {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 18, {"\xc3\xa9\xc3\xa9\xc3\xa9", "\xc3\xa9"}},
      {"abc", 3, {"a", "b", "c"}},
      {"", 60, {""}},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Text);
    EXPECT_EQ(WrapErrorText(C.Text, C.Width, Measure), C.Lines);
  }
}

// A 200-character message wraps inside the window, which grows by what the text needs;
// everything under the text moves down by as much, and a short message brings the
// window back to its own height.
TEST_F(ErrorReport, ALongMessageWrapsAndTheWindowGrowsForIt) {
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(vantrel::test::TestSkinDir(vantrel::skingen::TestSkinFolder) + "/" +
                     vantrel::skingen::SkinIniName);
  Form->BindSkin(Skin.get());
  String Long = "/home/someone/Videos/";
  while (Long.size() < 170) Long += "holiday 2026 ";
  Long += "averyveryverylongnamewithoutablank.mp4: No such file or directory";
  ASSERT_GE(Long.size(), 200u);
  Form->lblErrorText->SetCaption(Long);
  Form->Show();
  S.Session.PumpUntilIdle();
  const Integer Extra = Form->ClientHeight() - 255;
  EXPECT_GT(Extra, 0);
  EXPECT_EQ(Form->PreviewButton->Top(), 222 + Extra);
  EXPECT_EQ(Form->memDetails->Top(), 143 + Extra);
  EXPECT_EQ(Form->lblErrorText->Caption(), Long);
  EXPECT_LE(Form->lblErrorText->Left() + Form->lblErrorText->Width(), Form->ClientWidth());
  // The text's lines, as the label draws them, each fit its width and all fit its height.
  Form->lblErrorText->ApplyTextFont();
  TCanvas* C = Form->lblErrorText->Canvas();
  const std::vector<String> Lines =
      WrapErrorText(Long, Form->lblErrorText->Width(), [C](const String& T) { return C->TextWidth(T); });
  EXPECT_GE(Lines.size(), 4u);
  String Joined;
  for (const String& L : Lines) {
    EXPECT_LE(C->TextWidth(L), Form->lblErrorText->Width()) << L;
    Joined += L;
  }
  EXPECT_GE(Form->lblErrorText->Height(), static_cast<Integer>(Lines.size()) * C->TextHeight("Wg"));
  EXPECT_LE(Form->lblErrorText->Top() + Form->lblErrorText->Height(), 66 + Extra);
  // Only the blanks where lines break are gone.
  String NoBlanks;
  for (char Ch : Long)
    if (Ch != ' ') NoBlanks += Ch;
  Joined.erase(std::remove(Joined.begin(), Joined.end(), ' '), Joined.end());
  EXPECT_EQ(Joined, NoBlanks);
  vantrel::display::SavePng(S.Session.CaptureScreen(), testing::TempDir() + "ErrorFormLong.png");
  Form->Hide();
  Form->lblErrorText->SetCaption("Error loading profiles");
  Form->Show();
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->ClientHeight(), 255);
  EXPECT_EQ(Form->PreviewButton->Top(), 222);
  Form->Hide();
  Skin.reset();
}
