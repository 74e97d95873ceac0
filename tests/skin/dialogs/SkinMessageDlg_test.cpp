// The skinned message dialogs: layout, default and cancel buttons, texts from a skin's
// text table, the "show again" box, placement, help, and the dialog freed after each call.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/display/HeadlessPng.h"
#include "platform/rtl/StringList.h"
#include "platform/win/Keyboard.h"
#include "platform/win/SysMetrics.h"
#include "skin/dialogs/SkinMessageDlg.h"
#include "skin/core/data/SkinData.h"
#include "skin/forms/FormSkin.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"
#include "tools/skingen/SkinGenSpec.h"

using vantrel::uitest::CentreOf;
using vantrel::uitest::FormsSession;

namespace {

// Runs a dialog with steps played from the application's idle work in its modal loop: each step sees
// the dialog on the screen and may queue input; the next step runs once that is handled.
struct MessageDlgFixture {
  FormsSession S;
  TOwned<TspSkinMessage> Msg = CreateOwned<TspSkinMessage>(nullptr);
  std::vector<std::function<void(TspMessageForm*)>> Steps;
  size_t Next = 0;

  MessageDlgFixture() {
    Application->OnIdle = [this](TObject*, Boolean& Done) {
      Done = true;
      if (Next >= Steps.size()) return;
      if (TspMessageForm* F = Shown()) Steps[Next++](F);
    };
  }
  static TspMessageForm* Shown() {
    for (Integer I = 0; I < Screen->CustomFormCount(); ++I)
      if (auto* F = dynamic_cast<TspMessageForm*>(Screen->CustomForms(I)); F && F->Visible()) return F;
    return nullptr;
  }
  static Integer DialogsAlive() {
    Integer N = 0;
    for (Integer I = 0; I < Screen->CustomFormCount(); ++I) N += dynamic_cast<TspMessageForm*>(Screen->CustomForms(I)) != nullptr;
    return N;
  }
  static TspSkinButton* Button(TspMessageForm* F, const char* Name) {
    return dynamic_cast<TspSkinButton*>(F->FindComponent(Name));
  }
  void Click(TControl* C) {
    const TPoint P = CentreOf(C);
    S.Session.Press(P.X, P.Y);
    S.Session.Release(P.X, P.Y);
  }
};

}  // namespace

TEST(SkinMessageDlg, YesAndNoWithoutASkin) {
  MessageDlgFixture F;
  std::map<std::string, TRect> Places;
  TRect Client;
  F.Steps.push_back([&](TspMessageForm* D) {
    Client = D->ClientRect();
    for (const char* Name : {"Yes", "No"}) {
      TspSkinButton* B = MessageDlgFixture::Button(D, Name);
      ASSERT_NE(B, nullptr) << Name;
      Places[Name] = B->BoundsRect();
    }
    EXPECT_EQ(MessageDlgFixture::Button(D, "Yes")->Caption(), "&Yes");
    EXPECT_EQ(MessageDlgFixture::Button(D, "No")->Caption(), "&No");
    EXPECT_TRUE(MessageDlgFixture::Button(D, "Yes")->Default());
    EXPECT_TRUE(MessageDlgFixture::Button(D, "No")->Cancel());
    EXPECT_EQ(D->Caption(), "Confirm");
    EXPECT_EQ(MessageDlgFixture::Button(D, "OK"), nullptr);
    F.S.Session.Key(VK_RETURN);
  });
  EXPECT_EQ(F.Msg->MessageDlg("Go on?", mtConfirmation, {mbYes, mbNo}, 0), mrYes);
  ASSERT_EQ(Places.size(), 2u);
  const TRect Yes = Places["Yes"], No = Places["No"];
  EXPECT_EQ(RectWidth(Yes), 70);
  EXPECT_EQ(RectHeight(Yes), 25);
  EXPECT_EQ(RectWidth(No), 70);
  EXPECT_EQ(No.Left - Yes.Left, 80);
  EXPECT_EQ(Yes.Top, No.Top);
  EXPECT_EQ(Yes.Bottom, Client.Bottom - 10);
  EXPECT_EQ(Yes.Left, (RectWidth(Client) - 150) / 2) << "the two buttons centred";
  EXPECT_EQ(MessageDlgFixture::DialogsAlive(), 0);

  F.Next = 0;
  F.Steps = {[&](TspMessageForm*) { F.S.Session.Key(VK_ESCAPE); }};
  EXPECT_EQ(F.Msg->MessageDlg("Go on?", mtConfirmation, {mbYes, mbNo}, 0), mrNo);
  EXPECT_EQ(MessageDlgFixture::DialogsAlive(), 0);
}

TEST(SkinMessageDlg, AbortRetryIgnoreHasRetryForDefaultAndNoCancel) {
  MessageDlgFixture F;
  Boolean StillOpen = false;
  F.Steps.push_back([&](TspMessageForm* D) {
    EXPECT_TRUE(MessageDlgFixture::Button(D, "Retry")->Default());
    for (const char* Name : {"Abort", "Retry", "Ignore"}) EXPECT_FALSE(MessageDlgFixture::Button(D, Name)->Cancel());
    F.S.Session.Key(VK_ESCAPE);
  });
  F.Steps.push_back([&](TspMessageForm* D) {
    StillOpen = D->Visible();
    F.Click(MessageDlgFixture::Button(D, "Abort"));
  });
  EXPECT_EQ(F.Msg->MessageDlg("The disk is full.", mtError, {mbAbort, mbRetry, mbIgnore}, 0), mrAbort);
  EXPECT_TRUE(StillOpen) << "Esc closes nothing";
}

TEST(SkinMessageDlg, WidthFollowsTheButtonsOrTheTextAndTheIconSitsBesideTheText) {
  MessageDlgFixture F;
  struct Seen {
    Integer ClientWidth = 0, Width = 0, MinWidth = 0, LabelRight = 0, LabelHeight = 0, IconTop = -1;
  };
  auto Look = [&](Seen& Out) {
    return [&Out, &F](TspMessageForm* D) {
      Out.ClientWidth = D->ClientWidth();
      Out.Width = D->Width();
      Out.MinWidth = D->DSF->GetMinWidth();
      Out.LabelRight = D->Message->Left() + D->Message->Width();
      Out.LabelHeight = D->Message->Height();
      if (auto* Image = dynamic_cast<TControl*>(D->FindComponent("Image"))) Out.IconTop = Image->Top();
      F.S.Session.Key(VK_RETURN);
    };
  };
  Seen Short, Long;
  F.Steps = {Look(Short)};
  F.Msg->MessageDlg("Saved.", mtInformation, {mbYes, mbNo}, 0);
  if (Short.Width > Short.MinWidth) {
    EXPECT_EQ(Short.ClientWidth, 150 + 40);
  }
  EXPECT_GE(Short.Width, Short.MinWidth);
  // A one-line label: the icon at 15 + height / 2 - 16, but never above 10.
  EXPECT_EQ(Short.IconTop, std::max(10, 15 + Short.LabelHeight / 2 - 16));
  EXPECT_LT(Short.LabelHeight, 30);

  F.Next = 0;
  F.Steps = {Look(Long)};
  F.Msg->MessageDlg(String(60, 'w') + " is a rather long single line of text", mtWarning, {mbOK}, 0);
  EXPECT_GT(Long.LabelRight, 200);
  EXPECT_EQ(Long.ClientWidth, Long.LabelRight + 40);

  Seen Custom;
  F.Next = 0;
  F.Steps = {Look(Custom)};
  Application->SetTitle("Vantrel");
  Integer Result = F.Msg->MessageDlg("Plain.", mtCustom, {mbOK}, 0);
  EXPECT_EQ(Result, mrOk);
  EXPECT_EQ(Custom.IconTop, -1) << "no icon for a custom message";
}

TEST(SkinMessageDlg, ATextTableNamesEveryButtonAndTheCheckBoxFallsBack) {
  MessageDlgFixture F;
  TOwned<TspSkinData> Ctrl = CreateOwned<TspSkinData>(nullptr);
  TOwned<TspResourceStrData> Texts = CreateOwned<TspResourceStrData>(nullptr);
  TOwned<TStringList> Lines = CreateOwned<TStringList>();
  const std::vector<std::pair<const char*, const char*>> Keys = {
      {"MSG_BTN_YES", "Ja"},          {"MSG_BTN_NO", "Nein"},          {"MSG_BTN_OK", "Gut"},
      {"MSG_BTN_CANCEL", "Abbruch"},  {"MSG_BTN_ABORT", "Abbrechen"},  {"MSG_BTN_RETRY", "Wiederholen"},
      {"MSG_BTN_IGNORE", "Ignorieren"}, {"MSG_BTN_ALL", "Alle"},        {"MSG_BTN_NOTOALL", "Keine"},
      {"MSG_BTN_YESTOALL", "Alle ja"}, {"MSG_BTN_HELP", "Hilfe"},      {"MSG_BTN_CLOSE", "Schließen"},
      {"MSG_CAP_WARNING", "Achtung"}};
  for (auto [Key, Text] : Keys) Lines->Add(String(Key) + "=" + Text);
  Texts->SetResStrings(Lines.get());
  Ctrl->SetResourceStrData(Texts.get());
  F.Msg->SetCtrlSkinData(Ctrl.get());
  F.Msg->SetShowAgainFlag(true);
  std::map<std::string, std::string> Captions;
  std::string Box, Caption;
  F.Steps.push_back([&](TspMessageForm* D) {
    for (const char* Name : {"Yes", "No", "OK", "Cancel", "Abort", "Retry", "Ignore", "All", "NoToAll", "YesToAll",
                             "Help", "Close"})
      if (TspSkinButton* B = MessageDlgFixture::Button(D, Name)) Captions[Name] = B->Caption();
    Box = D->DisplayCheckBox ? D->DisplayCheckBox->Caption() : "<none>";
    Caption = D->Caption();
    F.Click(MessageDlgFixture::Button(D, "Close"));
  });
  const TMsgDlgButtons All{mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp, mbClose};
  EXPECT_EQ(F.Msg->MessageDlg("Every button.", mtWarning, All, 0), mrClose);
  ASSERT_EQ(Captions.size(), 12u);
  EXPECT_EQ(Captions["Yes"], "Ja");
  EXPECT_EQ(Captions["NoToAll"], "Keine");
  EXPECT_EQ(Captions["Close"], "Schließen");
  EXPECT_EQ(Caption, "Achtung");
  EXPECT_EQ(Box, "Do not display this message again");
  // A key the table lacks gives what the table answers: an empty caption.
  EXPECT_EQ(GetDialogTypeCaption(mtError, Ctrl.get()), "");
  EXPECT_EQ(GetDialogTypeCaption(mtError, nullptr), "Error");
}

TEST(SkinMessageDlg, TheShowAgainBoxAnswersWhetherToShowTheMessageAgain) {
  MessageDlgFixture F;
  F.Msg->SetShowAgainFlag(true);
  struct Case {
    Boolean ValueBefore;
    Boolean ClickBox;
    const char* Button;
    Boolean TickedAtFirst;
    Boolean ValueAfter;
  };
  for (const Case& C : {Case{false, false, "OK", true, false}, Case{false, false, "Cancel", true, false},
                        Case{false, true, "OK", true, true}, Case{true, false, "Cancel", false, true},
                        Case{true, true, "OK", false, false}}) {
    SCOPED_TRACE(std::string(C.Button) + (C.ValueBefore ? " shown again" : " not again") + (C.ClickBox ? " clicked" : ""));
    F.Msg->SetShowAgainFlagValue(C.ValueBefore);
    Boolean Ticked = !C.TickedAtFirst;
    F.Next = 0;
    F.Steps = {[&](TspMessageForm* D) {
                 ASSERT_NE(D->DisplayCheckBox, nullptr);
                 EXPECT_EQ(D->DisplayCheckBox->Name(), "checkbox");
                 Ticked = D->DisplayCheckBox->Checked();
                 if (C.ClickBox) F.Click(D->DisplayCheckBox);
               },
               [&](TspMessageForm* D) { F.Click(MessageDlgFixture::Button(D, C.Button)); }};
    F.Msg->MessageDlg("Again?", mtInformation, {mbOK, mbCancel}, 0);
    EXPECT_EQ(Ticked, C.TickedAtFirst);
    EXPECT_EQ(F.Msg->ShowAgainFlagValue(), C.ValueAfter);
  }
  // The wide dialog never shows the box and keeps the value.
  F.Msg->SetShowAgainFlagValue(false);
  Boolean HadBox = true;
  F.Next = 0;
  F.Steps = {[&](TspMessageForm* D) {
    HadBox = D->DisplayCheckBox != nullptr || D->FindComponent("checkbox") != nullptr;
    F.S.Session.Key(VK_RETURN);
  }};
  EXPECT_EQ(F.Msg->WideMessageDlg("Wide.", mtInformation, {mbOK}, 0), mrOk);
  EXPECT_FALSE(HadBox);
  EXPECT_FALSE(F.Msg->ShowAgainFlagValue());
}

TEST(SkinMessageDlg, PlacedCentredOrWhereAskedAndMovedByTheHandler) {
  MessageDlgFixture F;
  TRect Where;
  auto Note = [&](TspMessageForm* D) {
    Where = D->BoundsRect();
    F.S.Session.Key(VK_RETURN);
  };
  F.Steps = {Note};
  F.Msg->MessageDlgPos("Centred.", mtInformation, {mbOK}, 0, -10001, 0);
  EXPECT_EQ(Where.Left, (GetSystemMetrics(SM_CXSCREEN) - RectWidth(Where)) / 2);
  EXPECT_EQ(Where.Top, (GetSystemMetrics(SM_CYSCREEN) - RectHeight(Where)) / 2);

  F.Next = 0;
  F.Steps = {Note};
  F.Msg->MessageDlgPos("Placed.", mtInformation, {mbOK}, 0, 100, 200);
  EXPECT_EQ(Where.Left, 100);
  EXPECT_EQ(Where.Top, 200);

  std::vector<Integer> Asked;
  F.Msg->OnSetShowPos = [&](Integer& X, Integer& Y, Integer W, Integer H) {
    Asked = {X, Y, W, H};
    X += 30;
    Y = 50;
  };
  F.Next = 0;
  F.Steps = {Note};
  F.Msg->MessageDlgPos("Moved.", mtInformation, {mbOK}, 0, 100, 200);
  ASSERT_EQ(Asked.size(), 4u);
  EXPECT_EQ(Asked[0], 100);
  EXPECT_EQ(Asked[1], 200);
  EXPECT_EQ(Asked[2], RectWidth(Where));
  EXPECT_EQ(Where.Left, 130);
  EXPECT_EQ(Where.Top, 50);
  // The centred entry points ask no handler.
  Asked.clear();
  F.Next = 0;
  F.Steps = {Note};
  F.Msg->MessageDlg("Not asked.", mtInformation, {mbOK}, 0);
  EXPECT_TRUE(Asked.empty());
}

TEST(SkinMessageDlg, HelpAsksTheHelpOnceAndTheDialogStaysOpen) {
  MessageDlgFixture F;
  std::vector<std::pair<LONG_PTR, String>> Calls;
  Application->HelpResponder = [&](UINT, LONG_PTR Data, const String& File) {
    Calls.push_back({Data, File});
    return false;
  };
  Boolean OpenAfterHelp = false;
  F.Steps = {[&](TspMessageForm* D) { F.Click(MessageDlgFixture::Button(D, "Help")); },
             [&](TspMessageForm* D) {
               OpenAfterHelp = D->Visible();
               F.Click(MessageDlgFixture::Button(D, "OK"));
             }};
  EXPECT_EQ(F.Msg->MessageDlgHelp("Need help?", mtInformation, {mbOK, mbHelp}, 321, "dialogs.txt"), mrOk);
  ASSERT_EQ(Calls.size(), 1u);
  EXPECT_EQ(Calls[0].first, 321);
  EXPECT_EQ(Calls[0].second, "dialogs.txt");
  EXPECT_TRUE(OpenAfterHelp);
}

TEST(SkinMessageDlg, ADialogWhoseRunRaisesIsFreedAndStillAnswersTheBox) {
  MessageDlgFixture F;
  F.Msg->SetShowAgainFlag(true);
  F.Msg->SetShowAgainFlagValue(true);
  // Nothing ever comes: the modal loop reports that it would wait for ever.
  F.Steps.clear();
  EXPECT_ANY_THROW(F.Msg->MessageDlg("Nobody answers.", mtWarning, {mbOK}, 0));
  EXPECT_EQ(MessageDlgFixture::DialogsAlive(), 0);
  EXPECT_TRUE(F.Msg->ShowAgainFlagValue()) << "the box started clear and stayed so";
  F.Msg->SetShowAgainFlagValue(false);
  EXPECT_ANY_THROW(F.Msg->MessageDlg("Nobody answers.", mtWarning, {mbOK}, 0));
  EXPECT_FALSE(F.Msg->ShowAgainFlagValue());
  EXPECT_EQ(MessageDlgFixture::DialogsAlive(), 0);
}

TEST(SkinMessageDlg, LooksLikeAMessageBox) {
  MessageDlgFixture F;
  F.Steps = {[&](TspMessageForm* D) {
    const vantrel::win::Surface Shot = F.S.Session.Capture(D->Handle());
    vantrel::display::SavePng(Shot, testing::TempDir() + "skin-message-dlg.png");
    EXPECT_GT(Shot.Width(), 150);
    F.S.Session.Key(VK_RETURN);
  }};
  F.Msg->MessageDlg("Save the changes to the list?", mtConfirmation, {mbYes, mbNo, mbCancel}, 0);
}

// A skinned box draws its frame as any other skinned form of the same size and title: the
// caption band, its title included, matches a plain form's pixel for pixel.
TEST(SkinMessageDlg, ASkinnedBoxDrawsItsCaptionAndTitleAsAnyForm) {
  MessageDlgFixture F;
  TOwned<TspSkinData> Skin = CreateOwned<TspSkinData>(nullptr);
  Skin->LoadFromFile(vantrel::test::BinDir() + "/" + vantrel::skingen::DefaultSkinFolder + "/" +
                     vantrel::skingen::SkinIniName);
  ASSERT_FALSE(Skin->Empty);
  F.Msg->SetSkinData(Skin.get());
  F.Msg->SetCtrlSkinData(Skin.get());
  std::optional<vantrel::win::Surface> Shot;
  String Title;
  Integer CaptionHeight = 0;
  F.Steps = {[&](TspMessageForm* D) {
    Shot = F.S.Session.Capture(D->Handle());
    Title = D->Caption();
    CaptionHeight = D->ClientOrigin().Y - D->Top();
    F.S.Session.Key(VK_RETURN);
  }};
  F.Msg->MessageDlg("File clip.txt is not a valid media file or its format is not supported.", mtInformation,
                    {mbOK}, 0);
  ASSERT_TRUE(Shot.has_value());
  const vantrel::win::Surface& Box = *Shot;
  ASSERT_GT(CaptionHeight, 10);
  EXPECT_EQ(Title, "Information");
  vantrel::display::SavePng(Box, testing::TempDir() + "skin-message-information.png");

  TOwned<TForm> Ref = CreateOwned<TForm>(nullptr);
  Ref->SetBorderStyle(bsDialog);
  TspFormSkin* RefSkin = TspFormSkin::Create(Ref.get());
  RefSkin->SetBorderIcons(TspBorderIcons{});
  RefSkin->SetSizeable(false);
  RefSkin->SetSkinData(Skin.get());
  Ref->SetCaption(Title);
  Ref->SetBounds(40, 40, Box.Width(), Box.Height());
  Ref->Show();
  F.S.Session.PumpUntilIdle();
  const vantrel::win::Surface Plain = F.S.Session.Capture(Ref->Handle());
  ASSERT_EQ(Plain.Width(), Box.Width());
  Integer Differ = 0, Ink = 0;
  const uint32_t Ground = Plain.Row(CaptionHeight / 2)[Plain.Width() - 20] & 0xFFFFFF;
  for (int Y = 0; Y < CaptionHeight; ++Y)
    for (int X = 0; X < Plain.Width(); ++X) {
      Differ += (Box.Row(Y)[X] & 0xFFFFFF) != (Plain.Row(Y)[X] & 0xFFFFFF);
      Ink += (Plain.Row(Y)[X] & 0xFFFFFF) != Ground;
    }
  EXPECT_EQ(Differ, 0);
  EXPECT_GT(Ink, 50);  // the reference does show a title
}
