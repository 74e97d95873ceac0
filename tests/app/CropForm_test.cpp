// The "Edit" dialog on the real clock with SDL's dummy drivers: the stored crop shown and
// stored again, the full frame without one, both previews started together, the live
// brightness of the output preview, the correction boxes, Reset All, Cancel, a file that
// cannot be opened, and a crop reaching past the frame.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "app/crop.h"
#include "platform/rtl/Format.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/ui/Graphics.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/app/EditorHostFake.h"
#include "tests/support/PumpUntil.h"
#include "tests/support/TestPaths.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;

namespace {

// A mid-grey 640 x 480 clip of 20 s, made once.
std::string GreyClip() {
  const std::string File = vantrel::test::FixtureDir() + "/editors-grey-640x480-20s.mp4";
  if (!std::filesystem::exists(File)) {
    const std::string Tmp = File + ".tmp.mp4";
    const std::string Cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
                            "color=c=0x808080:size=640x480:rate=25:duration=20 -c:v libx264 -preset ultrafast "
                            "-pix_fmt yuv420p '" + Tmp + "' && mv '" + Tmp + "' '" + File + "'";
    EXPECT_EQ(std::system(Cmd.c_str()), 0);
  }
  return File;
}

// The mean of the green channel (a grey picture's level) of a copy of the bitmap.
double CropMeanLevel(TBitmap* Frame) {
  if (!Frame || Frame->Width() == 0) return -1;
  TBitmap Copy;
  Copy.Assign(Frame);
  double Sum = 0;
  Integer N = 0;
  for (Integer Y = 0; Y < Copy.Height(); Y += 16)
    for (Integer X = 0; X < Copy.Width(); X += 16) {
      Sum += (Copy.Canvas()->Pixels(X, Y) >> 8) & 0xFF;
      ++N;
    }
  return N ? Sum / N : -1;
}

class CropForm : public vantrel::test::EditorDialogTest<TCropForm> {
 protected:
  // Shows the dialog on the grey clip and waits until both previews play.
  void ShowPlaying() {
    Host.Picture.Source = GreyClip();
    Form->Show();
    ASSERT_TRUE(Host.State.ErrorReports.empty()) << Host.State.ErrorReports[0].Text;
    ASSERT_FALSE(Form->Crop.CropFirstOpen);
  }
  TCropEdits Edits() const { return Form->EditValues(); }
};

}  // namespace

TEST_F(CropForm, AStoredCropIsShownAndStoredAgainAndBothPreviewsStartTogether) {
  Host.Picture.CropLeft = 10;
  Host.Picture.CropTop = 20;
  Host.Picture.CropRight = 30;
  Host.Picture.CropBottom = 40;
  Host.Picture.AspectRatio = 3;
  ShowPlaying();
  EXPECT_EQ(Edits(), (TCropEdits{10, 20, 600, 420}));
  EXPECT_EQ(Form->cmbAspectRatio->ItemIndex(), 3);
  EXPECT_FLOAT_EQ(Form->FFPlayer2->AspectRatio(), 16.0f / 9.0f);
  // Both previews left the paused start at the same call.
  for (vantrel::media::TDODodeve* P : {Form->FFPlayer1, Form->FFPlayer2}) {
    SCOPED_TRACE(P->Name());
    EXPECT_NE(P->PlayState(), vantrel::media::psPause);
    EXPECT_NE(P->PlayState(), vantrel::media::psStop);
  }
  // The handles show the stored crop: (10 x 0.4625 + 11.5, 20 x 0.4625) rounded, less 4.
  EXPECT_EQ(Form->szLeftTop->Left(), 12);
  EXPECT_EQ(Form->szLeftTop->Top(), 5);
  Form->spSkinButton1Click(nullptr);  // Apply
  EXPECT_EQ(Host.Picture.CropLeft, 10);
  EXPECT_EQ(Host.Picture.CropTop, 20);
  EXPECT_EQ(Host.Picture.CropRight, 30);
  EXPECT_EQ(Host.Picture.CropBottom, 40);
  EXPECT_EQ(Host.Picture.AspectRatio, 3);
}

TEST_F(CropForm, WithoutAStoredCropTheFullFrameShowsAndAWideCropStopsAtTheFrame) {
  ShowPlaying();
  EXPECT_EQ(Edits(), (TCropEdits{0, 0, 640, 480}));
  EXPECT_EQ(Form->cmbAspectRatio->ItemIndex(), 0);
  for (TspSkinCheckRadioBox* Box : {Form->chBrightness, Form->chContrast, Form->chSaturation}) {
    SCOPED_TRACE(Box->Name());
    EXPECT_FALSE(Box->Checked());
  }
  EXPECT_EQ(Form->tbBrightness->Value(), 0);
  // The filters read live values by id: the text holds small ids, no addresses.
  const String Filters = Form->FFPlayer2->VideoFilters();
  EXPECT_EQ(Filters, CropFilterText(0, 0, vantrel::media::LiveValueId(Form->FBrightness),
                                    vantrel::media::LiveValueId(Form->FContrast), 0,
                                    vantrel::media::LiveValueId(Form->FHue),
                                    vantrel::media::LiveValueId(Form->FSaturation)));
  EXPECT_LT(Filters.size(), 64u) << Filters;
  // Left 100 with the full width: the width ends at the frame, the right margin is 0.
  Form->edLeft->SetValue(100);
  EXPECT_EQ(Edits(), (TCropEdits{100, 0, 540, 480}));
  Form->spSkinButton1Click(nullptr);
  EXPECT_EQ(Host.Picture.CropLeft, 100);
  EXPECT_EQ(Host.Picture.CropRight, 0);
  EXPECT_EQ(Host.Picture.CropBottom, 0);
  // A width typed beyond the frame stops at the frame's edge.
  Form->edWidth->SetValue(9000);
  EXPECT_EQ(Edits().Width, 540);
  // A width of 0 while retyping reports nothing.
  Form->edWidth->SetValue(0);
  EXPECT_TRUE(Host.State.ErrorReports.empty());
  // Shown again with the choice it already holds: the first typed change still repaints.
  Form->Close();
  Host.Picture.CropLeft = Host.Picture.CropRight = 0;
  ShowPlaying();
  ASSERT_EQ(Form->cmbAspectRatio->ItemIndex(), 0);
  Form->edLeft->SetValue(320);
  EXPECT_EQ(Form->szLeftTop->Left(), 156);  // 320 x 0.4625 + 11.5 = 159.5 rounds to 160, less 4
}

TEST_F(CropForm, DraggingAHandleSetsTheEditsAndTheOutputZoom) {
  ShowPlaying();
  // The output player's first picture makes its window a pixel smaller each way.
  EXPECT_TRUE(vantrel::testsupport::PumpUntil([&] { return Form->panPreview2->Width() == 318; }));
  EXPECT_EQ(Form->panPreview2->Height(), 221);
  ASSERT_TRUE(vantrel::testsupport::PumpUntil([&] { return Form->FFPlayer1->CurrentFrame()->Width() > 0; }));
  ASSERT_EQ(Form->szRightBottom->Left(), 304);
  ASSERT_EQ(Form->szRightBottom->Top(), 218);
  // Grab the bottom right handle (its lower part lies outside the preview) and move it
  // 100 left, 50 up.
  const TPoint P = Form->szRightBottom->ClientToScreen(Point(2, 2));
  S.Session.Move(P.X, P.Y);
  S.Session.Press(P.X, P.Y);
  S.Session.Move(P.X - 100, P.Y - 50);
  S.Session.Release(P.X - 100, P.Y - 50);
  S.Session.PumpUntilIdle();
  EXPECT_EQ(Form->szRightBottom->Left(), 204);
  EXPECT_EQ(Form->szRightBottom->Top(), 168);
  EXPECT_EQ(Form->szRightTop->Left(), 204);
  EXPECT_EQ(Form->szLeftBottom->Top(), 168);
  // Reference points 12,0 and 208,172 in source pixels: (12 - 11.5) / 0.4625 -> 1,
  // (208 - 11.5) / 0.4625 = 424.9 -> 425, 172 / 0.4625 = 371.9 -> 372.
  EXPECT_EQ(Edits(), (TCropEdits{1, 0, 424, 372}));
  // The selected area fills the output box's height, centred across.
  EXPECT_EQ(Form->Panel2->Top(), 0);
  EXPECT_EQ(Form->Panel2->Height(), 222);
  EXPECT_NEAR(Form->Panel2->Left() * 2 + Form->Panel2->Width(), 319, 1);
  EXPECT_GT(Form->panPreview2->Height(), 222);
  EXPECT_TRUE(Host.State.ErrorReports.empty());
}

TEST_F(CropForm, ACorrectionDragResumesPausedPreviewsAndPlayAfterStopReopensBoth) {
  using vantrel::media::psPause;
  using vantrel::media::psStop;
  ShowPlaying();
  auto Playing = [&](vantrel::media::TDODodeve* P) {
    return P->PlayState() != psPause && P->PlayState() != psStop;
  };
  Form->PauseButtonClick(nullptr);
  ASSERT_TRUE(vantrel::testsupport::PumpUntil([&] { return Form->Crop.CropPlayState == psPause; }));
  Form->tbSaturationStartDragButton(Form->tbSaturation);
  EXPECT_TRUE(Form->chSaturation->Checked());
  EXPECT_TRUE(Form->PlayButton->Down());
  EXPECT_TRUE(Playing(Form->FFPlayer1));
  EXPECT_TRUE(Playing(Form->FFPlayer2));
  Form->StopButtonClick(nullptr);
  EXPECT_FALSE(Form->PlayButton->Down());
  EXPECT_EQ(Form->videotrackbar->Value(), Form->videotrackbar->MaxValue());
  ASSERT_TRUE(vantrel::testsupport::PumpUntil([&] { return Form->Crop.CropPlayState == psStop; }));
  Form->PlayButtonClick(nullptr);
  EXPECT_TRUE(Playing(Form->FFPlayer1));
  EXPECT_TRUE(Playing(Form->FFPlayer2));
  EXPECT_TRUE(Host.State.ErrorReports.empty());
}

TEST_F(CropForm, TheBrightnessBarChangesTheOutputPictureWithoutReopening) {
  Integer Opens = 0;
  Form->FFPlayer2->OnFileOpen = [&](TObject*, Int64, Integer, Integer, Integer&, Integer&) { ++Opens; };
  ShowPlaying();
  ASSERT_TRUE(vantrel::testsupport::PumpUntil([&] { return CropMeanLevel(Form->FFPlayer2->CurrentFrame()) > 0; }));
  const double Before = CropMeanLevel(Form->FFPlayer2->CurrentFrame());
  Form->tbBrightness->SetValue(80);
  EXPECT_EQ(Form->FBrightness->load(), 80);
  EXPECT_TRUE(vantrel::testsupport::PumpUntil(
      [&] { return CropMeanLevel(Form->FFPlayer2->CurrentFrame()) > Before + 20; }, std::chrono::seconds(15)));
  EXPECT_EQ(Opens, 1);
  // Unchecking "Contrast" puts its bar back to 0.
  Form->tbContrast->SetValue(40);
  Form->chContrast->SetChecked(true);
  const TPoint Box = vantrel::uitest::CentreOf(Form->chContrast);
  S.Session.Move(Box.X, Box.Y);
  S.Session.Press(Box.X, Box.Y);
  S.Session.Release(Box.X, Box.Y);
  S.Session.PumpUntilIdle();
  EXPECT_FALSE(Form->chContrast->Checked());
  EXPECT_EQ(Form->tbContrast->Value(), 0);
  EXPECT_EQ(Form->FContrast->load(), 0);
}

TEST_F(CropForm, ResetAllPutsBackTheFullFrameAndCancelStoresNothing) {
  ShowPlaying();
  Form->chSaturation->SetChecked(true);
  Form->tbSaturation->SetValue(30);
  Form->tbBrightness->SetValue(-20);
  Form->cmbAspectRatio->SetItemIndex(2);
  Form->edLeft->SetValue(50);
  Form->edHeight->SetValue(300);
  // Reset All reads the source picture's size.
  ASSERT_TRUE(vantrel::testsupport::PumpUntil([&] { return Form->FFPlayer1->CurrentFrame()->Width() > 0; }));
  Form->spSkinButton2Click(nullptr);
  EXPECT_EQ(Edits(), (TCropEdits{0, 0, 640, 480}));
  EXPECT_EQ(Form->tbSaturation->Value(), 0);
  EXPECT_EQ(Form->tbBrightness->Value(), 0);
  EXPECT_TRUE(Form->chSaturation->Checked());
  EXPECT_EQ(Form->cmbAspectRatio->ItemIndex(), 0);
  Form->spSkinButton5Click(nullptr);
  EXPECT_EQ(Host.Stores, 0);
  EXPECT_FALSE(Form->Visible());
  // Closing puts the output window back at the preview's size.
  EXPECT_EQ(Form->panPreview2->BoundsRect(), Rect(0, 0, 319, 222));
}

TEST_F(CropForm, AFileThePlayersCannotOpenIsReportedWithoutHanging) {
  Host.Picture.Source = vantrel::test::FixtureDir() + "/no-such-file.mp4";
  const auto Start = std::chrono::steady_clock::now();
  Form->Show();
  EXPECT_LT(std::chrono::steady_clock::now() - Start, std::chrono::seconds(8));
  EXPECT_EQ(Host.Marks(), (std::vector<String>{"CLM_FFPlayer1Open", "CLM_FFPlayer2Open"}));
  EXPECT_EQ(Host.State.ActionLog.size(), 2u);
}

TEST_F(CropForm, ACropTypedOutsideThePictureIsKeptInsideAndResetAllRestoresIt) {
  ShowPlaying();
  // Left 640 and top 480 on the full 640 x 480 frame: the corner of a 2 x 2 area.
  Form->edLeft->SetValue(640);
  Form->edTop->SetValue(480);
  EXPECT_EQ(Edits(), (TCropEdits{638, 478, 2, 2}));
  Form->edWidth->SetValue(640);
  Form->edHeight->SetValue(480);
  EXPECT_EQ(Edits(), (TCropEdits{638, 478, 2, 2}));
  Form->spSkinButton4Click(nullptr);  // OK
  EXPECT_EQ(Host.Picture.CropLeft, 638);
  EXPECT_EQ(Host.Picture.CropRight, 0);
  EXPECT_EQ(Host.Picture.CropTop, 478);
  EXPECT_EQ(Host.Picture.CropBottom, 0);
  // Shown again: the area paints without a report.
  ShowPlaying();
  EXPECT_EQ(Edits(), (TCropEdits{638, 478, 2, 2}));
  EXPECT_TRUE(Host.State.ErrorReports.empty());
  // Reset All brings the whole picture back, also with the previews stopped.
  Form->StopButtonClick(nullptr);
  ASSERT_TRUE(vantrel::testsupport::PumpUntil([&] { return Form->Crop.CropPlayState == vantrel::media::psStop; }));
  Form->spSkinButton2Click(nullptr);
  EXPECT_EQ(Edits(), (TCropEdits{0, 0, 640, 480}));
  EXPECT_TRUE(Host.State.ErrorReports.empty());
}

TEST_F(CropForm, AStoredCropBeyondThePictureIsBroughtInside) {
  // Left 640 on a 640-wide picture, as an earlier version could store it.
  Host.Picture.CropLeft = 640;
  Host.Picture.CropTop = 480;
  ShowPlaying();
  EXPECT_EQ(Edits(), (TCropEdits{638, 478, 2, 2}));
  EXPECT_TRUE(Host.State.ErrorReports.empty());
}
