// The main window's preview on a real (virtual) X server: the program's windows made as
// the program entry makes them, a solid red 4:3 clip added and played in the 250 x 160
// preview panel, and the panel read as the server shows it: the picture in the middle,
// the panel's black in the bands beside it, also after another window covered them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/main.h"
#include "media/FFPlay.h"
#include "platform/ui/ExtCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/platform/display/x11/X11TestSession.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

namespace {

namespace x11t = vantrel::x11test;
namespace vt = vantrel::test;
using vantrel::app::TMainForm;

// Red as the clip shows it after YUV and scaling: a strong red, little green and blue.
bool PreviewX11Red(uint32_t APixel) {
  const int R = (APixel >> 16) & 0xFF, G = (APixel >> 8) & 0xFF, B = APixel & 0xFF;
  return R >= 200 && G <= 60 && B <= 60;
}

class PreviewOnX11 : public testing::Test {
 protected:
  PreviewOnX11()
      : Home(Scratch.File("home")),
        Program(Scratch.File("program") + "/"),
        HomeEnv("HOME", Home),
        ConfigEnv("XDG_CONFIG_HOME", Home + "/.config") {
    namespace fs = std::filesystem;
    fs::create_directories(Home);
    fs::create_directories(Program);
    const std::string Bin = vt::BinDir() + "/";
    for (const char* Folder : {"skin-laconic", "video-converter-profiles"})
      fs::copy(Bin + Folder, Program + Folder, fs::copy_options::recursive);
    vantrel::app::MainUnit() = vantrel::app::TMainUnitState{};
  }
  ~PreviewOnX11() override {
    if (Main && Main->DODodeve) Main->DODodeve->Stop(true);
    while (Screen->FormCount() > 0) delete Screen->Forms(0);
    vantrel::app::MainUnit() = vantrel::app::TMainUnitState{};
  }

  // A solid red clip of 20 s, 320 x 240: long enough to be caught playing.
  std::string MakeRedClip() {
    const std::string Clip = Scratch.File("red.mp4");
    const std::string Cmd = "ffmpeg -nostdin -v error -y -f lavfi -i color=c=red:size=320x240:rate=25:duration=20 "
                            "-c:v libx264 -pix_fmt yuv420p '" + Clip + "'";
    EXPECT_EQ(std::system(Cmd.c_str()), 0) << Cmd;
    return Clip;
  }
  // The screen pixel at a point of the preview panel's client area.
  uint32_t PanelPixel(int X, int Y) {
    const TPoint P = Main->panPreview->ClientToScreen(Point(X, Y));
    return S.Peer.ScreenPixel(P.X, P.Y);
  }
  // The 4:3 picture fills the panel's height in its middle 213 columns.
  bool PictureShows() {
    const int W = Main->panPreview->Width(), H = Main->panPreview->Height();
    for (const auto& [X, Y] : {std::pair{W / 2, H / 2}, std::pair{W / 2 - 95, 3}, std::pair{W / 2 + 95, H - 3}})
      if (!PreviewX11Red(PanelPixel(X, Y))) return false;
    return true;
  }
  // The bands left and right of the picture show the panel's black.
  bool BandsBlack() {
    const int W = Main->panPreview->Width(), H = Main->panPreview->Height();
    for (const auto& [X, Y] : {std::pair{4, H / 2}, std::pair{W - 5, 4}, std::pair{W - 5, H - 5}})
      if (PanelPixel(X, Y) != 0) return false;
    return true;
  }

  vt::TTempDir Scratch;
  std::string Home, Program;
  vantrel::apptest::ScopedEnv HomeEnv, ConfigEnv;
  x11t::X11Session S;
  TApplicationInstance App;
  TMainForm* Main = nullptr;
};

TEST_F(PreviewOnX11, TheClipPlaysInThePanelBetweenBlackBands) {
  const std::string Clip = MakeRedClip();
  vantrel::app::CreateApplicationForms(Program, String());
  Main = dynamic_cast<TMainForm*>(Application->MainForm());
  ASSERT_NE(Main, nullptr);
  Main->Show();
  ASSERT_TRUE(x11t::PumpUntil([&] { return S.Viewable(Main->Handle()); }, std::chrono::milliseconds(10000)));
  Main->RunOpenDialog = [Clip](std::vector<String>& Files) {
    Files = {Clip};
    return true;
  };
  Main->AddButtonClick(nullptr);
  ASSERT_EQ(vantrel::app::MainUnit().VideoFiles.size(), 1u);
  Main->sgList->SetRow(1);
  ASSERT_EQ(vantrel::media::VideoDriverName(vantrel::media::vdDefault), "x11");

  Main->PlayButtonClick(nullptr);
  ASSERT_TRUE(x11t::PumpUntil([&] { return Main->PreviewPlayState == vantrel::media::psPlay; },
                              std::chrono::milliseconds(20000)));
  EXPECT_TRUE(x11t::PumpUntil([&] { return PictureShows() && BandsBlack(); }, std::chrono::milliseconds(10000)))
      << std::hex << PanelPixel(Main->panPreview->Width() / 2, Main->panPreview->Height() / 2) << " "
      << PanelPixel(4, Main->panPreview->Height() / 2);

  // Paused, covered by another window and uncovered: the picture comes back, the bands
  // are black again.
  Main->PauseButtonClick(nullptr);
  ASSERT_TRUE(x11t::PumpUntil([&] { return Main->PreviewPlayState == vantrel::media::psPause; }));
  const TPoint Corner = Main->panPreview->ClientToScreen(Point(0, 0));
  const HWND Cover = S.Fill(0, WS_POPUP | WS_VISIBLE, {Corner.X - 20, Corner.Y - 20, Corner.X + 300, Corner.Y + 200},
                            RGB(0, 255, 0));
  ASSERT_TRUE(x11t::PumpUntil([&] { return PanelPixel(4, 80) == 0x00FF00 && PanelPixel(125, 80) == 0x00FF00; }));
  DestroyWindow(Cover);
  EXPECT_TRUE(x11t::PumpUntil([&] { return PictureShows() && BandsBlack(); }))
      << std::hex << PanelPixel(Main->panPreview->Width() / 2, Main->panPreview->Height() / 2) << " "
      << PanelPixel(4, Main->panPreview->Height() / 2);
}

}  // namespace
