// A 1600 x 1000 skinned panel painted by the direct framed path (border strips and client
// tiles on the canvas) against the same panel composed in full off screen (nine pieces)
// and blitted. Several rounds, medians. Last line: ratio <direct time / composed time>.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/ui/Forms.h"
#include "skin/controls/SkinCtrls.h"

namespace {

constexpr int PanelW = 1600, PanelH = 1000, Rounds = 7;

double MedianMs(TspSkinPanel* Panel) {
  std::vector<double> Times;
  for (int R = 0; R < Rounds; ++R) {
    const auto T0 = std::chrono::steady_clock::now();
    Panel->Repaint();
    const auto T1 = std::chrono::steady_clock::now();
    Times.push_back(std::chrono::duration<double, std::milli>(T1 - T0).count());
  }
  std::sort(Times.begin(), Times.end());
  return Times[Times.size() / 2];
}

}  // namespace

int main() {
  vantrel::display::HeadlessSession Session(1700, 1100);
  TApplicationInstance App;
  auto Form = CreateOwned<TForm>(nullptr);
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(0, 0, PanelW + 20, PanelH + 20);
  auto* Skin = Create<TspSkinData>(Form.get());
  const auto Exe = std::filesystem::read_symlink("/proc/self/exe").parent_path();
  Skin->LoadFromFile((Exe / "skin-laconic" / "skin.ini").string());
  auto* Panel = Create<TspSkinPanel>(Form.get());
  Panel->SetParent(Form.get());
  Panel->SetSkinData(Skin);
  Panel->SetBounds(0, 0, PanelW, PanelH);
  Form->Show();
  Session.PumpUntilIdle();
  if (Panel->FIndex == -1) {
    std::fprintf(stderr, "skinpaint: the default skin has no panel\n");
    return 1;
  }
  const double Direct = MedianMs(Panel);
  Panel->SetForcebackGround(false);  // the full nine-piece image, then one blit
  const double Composed = MedianMs(Panel);
  std::printf("direct   %.3f ms\n", Direct);
  std::printf("composed %.3f ms\n", Composed);
  std::printf("ratio %.3f\n", Direct / Composed);
  return 0;
}
