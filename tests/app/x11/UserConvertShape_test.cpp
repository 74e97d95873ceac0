// The shape of what a user converts, driven only by pointer and keys under a window
// manager: a crop typed in Edit beyond the picture is kept inside it and converts, and
// "Merge into one file" joins clips of different shapes, each in its own proportions.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/app/x11/X11ProgramRun.h"
#include "tests/support/TempDir.h"

namespace {

using namespace vantrel::x11apptest;

// The main window's client area and its points: "Edit", the convert button and "Merge into
// one file" (in the bottom panel at 12, 348).
constexpr int ShapeMainClientWidth = 792;
constexpr int ShapeMainClientHeight = 449;
constexpr int ShapeEditX = 45, ShapeEditY = 212 + 45;
constexpr int ShapeConvertX = 659 + 45, ShapeConvertY = 345 + 45;
constexpr int ShapeMergeX = 12 + 448 + 8, ShapeMergeY = 348 + 50 + 10;
// The Edit dialog's client area (700 x 466): the left and top fields, OK.
constexpr int ShapeEditClientWidth = 700, ShapeEditClientHeight = 466;
constexpr int ShapeLeftFieldX = 110 + 25, ShapeTopFieldX = 288 + 25, ShapeCropFieldY = 352 + 10;
constexpr int ShapeSizeFieldY = 384 + 10;
constexpr int ShapeAspectX = 91 + 100, ShapeAspectY = 320 + 10;
constexpr int ShapeOkX = 508 + 42, ShapeOkY = 430 + 12;

// The output of a shell command, trailing line breaks removed.
std::string ShapeShell(const std::string& Cmd) {
  std::string Out;
  if (std::FILE* P = ::popen(Cmd.c_str(), "r")) {
    char Buf[4096];
    size_t N;
    while ((N = std::fread(Buf, 1, sizeof Buf, P)) > 0) Out.append(Buf, N);
    ::pclose(P);
  }
  while (!Out.empty() && (Out.back() == '\n' || Out.back() == '\r')) Out.pop_back();
  return Out;
}

std::string ShapeProbeVideo(const std::string& File, const std::string& Entries) {
  return ShapeShell("ffprobe -v error -select_streams v:0 -show_entries " + Entries + " -of csv=p=0 '" + File + "'");
}

// The bars at the left and right of the middle row of the picture at Seconds.
std::pair<int, int> ShapeSideBars(const std::string& File, double Seconds, int W, int H) {
  char At[32];
  std::snprintf(At, sizeof At, "%.3f", Seconds);
  const std::string Gray = ShapeShell("ffmpeg -nostdin -hide_banner -loglevel error -ss " + std::string(At) + " -i '" +
                                      File + "' -frames:v 1 -f rawvideo -pix_fmt gray -");
  if (Gray.size() < static_cast<size_t>(W) * H) return {-1, -1};
  auto Dark = [&](int X) { return static_cast<unsigned char>(Gray[(H / 2) * W + X]) < 48; };
  int L = 0, R = 0;
  while (L < W && Dark(L)) ++L;
  while (R < W && Dark(W - 1 - R)) ++R;
  return {L, R};
}

// A white clip of Size with sound, one second, made with ffmpeg.
void ShapeWhiteClip(const std::string& File, const std::string& Size, const std::string& More = "") {
  const std::string Cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i color=c=white:size=" + Size +
                          ":rate=25:duration=1 -f lavfi -i sine=frequency=440:sample_rate=44100:duration=1 -c:a aac "
                          "-shortest " + More + " -c:v libx264 -pix_fmt yuv420p '" + File + "'";
  ASSERT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
}

class UserConvertShape : public UserLevelTest {
 protected:
  int Border = 0, ClientTop = 0;

  void SetUp() override {
    UserLevelTest::SetUp();
    if (IsSkipped() || HasFatalFailure()) return;
    const TClientOrigin O = ClientOrigin(Dpy, Main, ShapeMainClientWidth, ShapeMainClientHeight);
    Border = O.Border;
    ClientTop = O.Top;
    ASSERT_GE(Border, 0);
  }
  void ClickMain(int X, int Y) { ClickAt(Dpy, Main, Border + X, ClientTop + Y); }

  // "Edit" for the list's current file; the editor once its fields hold the picture's size,
  // with its client area's corner in EB, ET.
  Window OpenEditor(int& EB, int& ET) {
    ClickMain(ShapeEditX, ShapeEditY);
    const Window Edit = WaitForWindow(Dpy, "Edit", 20);
    if (!Edit) return 0;
    WaitForPaintedCaption(Dpy, Edit, 8);
    const TClientOrigin O = ClientOrigin(Dpy, Edit, ShapeEditClientWidth, ShapeEditClientHeight);
    EB = O.Border;
    ET = O.Top;
    WaitUntil([&] { return CaptureWindow(Dpy, Edit).At(EB + ShapeOkX, ET + ShapeOkY) != 0; }, 10);
    // The previews open the file before the fields take its size.
    WaitUntil([] { return false; }, 3);
    return Edit;
  }
  // Types Text over what a field of the editor holds.
  void TypeIntoField(Window Edit, int X, int Y, const char* Text) {
    ClickAt(Dpy, Edit, X, Y);
    EXPECT_TRUE(WaitForFocus(Dpy, Edit, 10)) << "the editor never took the keyboard focus";
    PressKeys(Dpy, "End");
    for (int I = 0; I < 5; ++I) PressKeys(Dpy, "BackSpace");
    EXPECT_TRUE(TypeText(Dpy, Text));
  }

  // Checks "Merge into one file": clicked until its box shows the blue check.
  void CheckMerge() {
    auto Checked = [&] {
      const uint32_t P = CaptureWindow(Dpy, Main).At(Border + ShapeMergeX, ClientTop + ShapeMergeY);
      return (P & 0xFF) > 0xA0 && ((P >> 16) & 0xFF) < 0x80;
    };
    for (int I = 0; I < 3 && !Checked(); ++I) {
      ClickMain(ShapeMergeX, ShapeMergeY);
      WaitUntil(Checked, 2);
    }
    ASSERT_TRUE(Checked()) << "\"Merge into one file\" does not show checked";
  }

  // The convert button, then the job's end, a notice at its end acknowledged with Return.
  void ConvertAndWait() {
    ClickMain(ShapeConvertX, ShapeConvertY);
    const Window Progress = WaitForWindow(Dpy, "Conversion", 30);
    ASSERT_NE(Progress, 0u) << "the convert button started no conversion";
    const bool Ended = WaitForJobEnd(Dpy, Main, Progress, 150);
    ASSERT_TRUE(Ended) << "the conversion did not end within 150 s";
  }
};

TEST_F(UserConvertShape, ACropTypedBeyondThePictureInEditIsKeptInsideAndConverts) {
  const std::string Source = Program->Home().File("wide.mp4");
  ShapeWhiteClip(Source, "640x360");
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Source));

  int EB = 0, ET = 0;
  const Window Edit = OpenEditor(EB, ET);
  ASSERT_NE(Edit, 0u) << "\"Edit\" opened no editor";
  // Left 640 and top 360 on a 640 x 360 picture, typed over what the fields hold.
  TypeIntoField(Edit, EB + ShapeLeftFieldX, ET + ShapeCropFieldY, "640");
  TypeIntoField(Edit, EB + ShapeTopFieldX, ET + ShapeCropFieldY, "360");
  WaitUntil([] { return false; }, 1);
  SaveCapture(CaptureWindow(Dpy, Edit), testing::TempDir() + "x11-convert-shape-crop.png");
  ClickAt(Dpy, Edit, EB + ShapeOkX, ET + ShapeOkY);
  ASSERT_TRUE(WaitForUnmap(Dpy, Edit, 20)) << "OK left the editor up";

  ConvertAndWait();
  if (HasFatalFailure()) return;
  const std::string Output = Program->Home().File("Documents/Quillmoor/Vantrel/Output/wide.mp4");
  const std::string Shape = ShapeProbeVideo(Output, "stream=width,height");
  ASSERT_FALSE(Shape.empty()) << "no output: the crop was refused or failed";
  EXPECT_NE(ShapeProbeVideo(Output, "stream=nb_frames"), "0");
}

TEST_F(UserConvertShape, MergingClipsOfDifferentShapesKeepsEachInItsProportions) {
  const std::string Wide = Program->Home().File("wide.mp4");
  const std::string Pal = Program->Home().File("pal.mp4");
  const std::string Portrait = Program->Home().File("portrait.mp4");
  ShapeWhiteClip(Wide, "640x360");
  ShapeWhiteClip(Pal, "720x576", "-vf setsar=16/15");
  ShapeWhiteClip(Portrait, "360x640");
  for (const std::string& File : {Wide, Pal, Portrait}) {
    ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, File));
  }
  CheckMerge();
  if (HasFatalFailure()) return;
  ConvertAndWait();
  if (HasFatalFailure()) return;
  const std::string Folder = Program->Home().File("Documents/Quillmoor/Vantrel/Output");
  const std::string Joined = ShapeShell("ls -d '" + Folder + "'/Joined.* | head -1");
  ASSERT_FALSE(Joined.empty()) << "no joined file";
  const std::string Size = ShapeProbeVideo(Joined, "stream=width,height,sample_aspect_ratio");
  int W = 0, H = 0;
  ASSERT_EQ(std::sscanf(Size.c_str(), "%d,%d", &W, &H), 2) << Size;
  EXPECT_NE(Size.find(",1:1"), std::string::npos) << Size;
  const double Frame = static_cast<double>(W) / H;
  // Each clip shown at the frame's height is its display aspect x H wide.
  const struct {
    double At, Aspect;
  } Parts[] = {{0.5, 16.0 / 9.0}, {1.5, 4.0 / 3.0}, {2.5, 9.0 / 16.0}};
  for (const auto& P : Parts) {
    SCOPED_TRACE(P.At);
    const double Bar = P.Aspect >= Frame ? 0 : (W - H * P.Aspect) / 2;
    const auto [L, R] = ShapeSideBars(Joined, P.At, W, H);
    EXPECT_NEAR(L, Bar, 4);
    EXPECT_NEAR(R, Bar, 4);
  }
}

TEST_F(UserConvertShape, ACropShownAt4To3FillsTheFramesHeightWithSquareSamples) {
  const std::string Source = Program->Home().File("wide.mp4");
  ShapeWhiteClip(Source, "640x360");
  ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, Source));
  int EB = 0, ET = 0;
  const Window Edit = OpenEditor(EB, ET);
  ASSERT_NE(Edit, 0u) << "\"Edit\" opened no editor";
  // 400 x 280 from 120, 40, shown 4:3 (the third choice).
  TypeIntoField(Edit, EB + ShapeLeftFieldX, ET + ShapeCropFieldY, "120");
  TypeIntoField(Edit, EB + ShapeTopFieldX, ET + ShapeCropFieldY, "40");
  TypeIntoField(Edit, EB + ShapeLeftFieldX, ET + ShapeSizeFieldY, "400");
  TypeIntoField(Edit, EB + ShapeTopFieldX, ET + ShapeSizeFieldY, "280");
  ClickAt(Dpy, Edit, EB + ShapeAspectX, ET + ShapeAspectY);
  WaitUntil([] { return false; }, 1);
  PressKeys(Dpy, "Down");
  PressKeys(Dpy, "Down");
  PressKeys(Dpy, "Return");
  WaitUntil([] { return false; }, 1);
  SaveCapture(CaptureWindow(Dpy, Edit), testing::TempDir() + "x11-convert-shape-4x3.png");
  ClickAt(Dpy, Edit, EB + ShapeOkX, ET + ShapeOkY);
  ASSERT_TRUE(WaitForUnmap(Dpy, Edit, 20)) << "OK left the editor up";

  ConvertAndWait();
  if (HasFatalFailure()) return;
  const std::string Output = Program->Home().File("Documents/Quillmoor/Vantrel/Output/wide.mp4");
  const std::string Size = ShapeProbeVideo(Output, "stream=width,height,sample_aspect_ratio");
  int W = 0, H = 0;
  ASSERT_EQ(std::sscanf(Size.c_str(), "%d,%d", &W, &H), 2) << Size;
  EXPECT_NE(Size.find(",1:1"), std::string::npos) << Size;
  // The default format's frame is wider than 4:3: the 4:3 picture fills its height
  // between bars at the sides.
  ASSERT_GT(W * 3, H * 4) << Size;
  const double Bar = (W - H * 4.0 / 3.0) / 2;
  const auto [L, R] = ShapeSideBars(Output, 0.5, W, H);
  EXPECT_NEAR(L, Bar, 4);
  EXPECT_NEAR(R, Bar, 4);
}

TEST_F(UserConvertShape, MergingASongIntoAVideoIsRefusedBeforeAnythingIsWritten) {
  const std::string Clip = Program->Home().File("wide.mp4");
  ShapeWhiteClip(Clip, "640x360");
  const std::string Song = Program->Home().File("song.mp3");
  const std::string Cmd = "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
                          "sine=frequency=440:sample_rate=44100:duration=1 -c:a libmp3lame '" + Song + "'";
  ASSERT_EQ(std::system(Cmd.c_str()), 0);
  for (const std::string& File : {Clip, Song}) {
    ASSERT_TRUE(AddThroughOpenDialog(Dpy, Main, File));
  }
  CheckMerge();
  if (HasFatalFailure()) return;
  ClickMain(ShapeConvertX, ShapeConvertY);
  // The error report comes up instead of the conversion: no progress window shows.
  const bool Started = WaitUntil([&] { return FindWindow(Dpy, "Conversion") != 0; }, 15);
  SaveCapture(CaptureScreen(Dpy), testing::TempDir() + "x11-convert-shape-song-join.png");
  EXPECT_FALSE(Started) << "the job started";
  const std::string Folder = Program->Home().File("Documents/Quillmoor/Vantrel/Output");
  EXPECT_EQ(ShapeShell("ls -A '" + Folder + "' 2>/dev/null"), "") << "the refused job wrote files";
}

}  // namespace
