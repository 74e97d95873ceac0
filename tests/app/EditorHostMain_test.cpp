// The main window as the editing dialogs' host: the entry of the grid's current row is
// read and stored back, and a stored trim re-estimates the entry's size.
#include <gtest/gtest.h>

#include "app/EditorHostMain.h"
#include "app/main.h"
#include "app/main_FileList.h"
#include "platform/rtl/Exceptions.h"
#include "skin/controls/SkinGrids.h"
#include "tests/support/UiFormsFixture.h"

using namespace vantrel::app;

TEST(MainEditorHost, TheCurrentRowsEntryIsReadAndStoredAndATrimReestimates) {
  vantrel::uitest::FormsSession S;
  TMainForm* Main = nullptr;
  Application->CreateForm(Main);
  TMainUnitState State;
  TFormat Rated;
  Rated.VideoBitRate = "1000000";
  Rated.AudioBitRate = "128000";
  State.Profiles.push_back({"Profile", "id", "icon", {Rated}});
  TVideoFile A, B;
  A.Source = "/media/a.mp4";
  B.Source = "/media/b.mp4";
  B.TimeEnd = B.TrimmedLength = 60000000;
  B.CropLeft = 4;
  B.Contrast = -30;
  State.VideoFiles = {A, B};
  Main->sgList->SetRowCount(3);
  Main->sgList->SetRow(2);
  TMainEditorHost Host(State, *Main);

  EXPECT_EQ(Host.SelectedTrim().Source, "/media/b.mp4");
  EXPECT_EQ(Host.SelectedTrim().TimeEnd, 60000000);
  const TEntryPicture P = Host.SelectedPicture();
  EXPECT_EQ(P.CropLeft, 4);
  EXPECT_EQ(P.Contrast, -30);

  // 15 s at (1,000,000 + 128,000) / 8 bytes a second: 2115 kB, 2.07 MB.
  Host.StoreTrim(10000000, 25000000, 15000000);
  EXPECT_EQ(State.VideoFiles[1].TimeStart, 10000000);
  EXPECT_EQ(State.VideoFiles[1].TimeEnd, 25000000);
  EXPECT_EQ(State.VideoFiles[1].TrimmedLength, 15000000);
  EXPECT_EQ(EstimatedSizeText(State.VideoFiles[1].EstimatedSize), "2.07 MB");
  EXPECT_EQ(State.VideoFiles[0].TrimmedLength, 0);

  TEntryPicture Q = P;
  Q.CropRight = 8;
  Q.AspectRatio = 2;
  Q.Brightness = 15;
  Host.StorePicture(Q);
  EXPECT_EQ(State.VideoFiles[1].CropRight, 8);
  EXPECT_EQ(State.VideoFiles[1].AspectRatio, 2);
  EXPECT_EQ(State.VideoFiles[1].Brightness, 15);
  EXPECT_EQ(State.VideoFiles[1].Contrast, -30);

  // The header row holds no entry.
  Main->sgList->SetRow(0);
  EXPECT_THROW(Host.SelectedPicture(), EListError);
  EXPECT_EQ(Host.LibAVFolder(), Main->ProgramFolder + "LibAV");
}
