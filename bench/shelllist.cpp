// The file list in report style over a folder of 5,000 files and 50 folders: filling it and
// one click on the Size column, against `ls -la` of the same folder (a process that reads,
// sorts and prints the same entries). Medians of several rounds.
// Last line: ratio <list time / ls time>.
#include <cstdio>

#include "bench/BenchKit.h"
#include "platform/display/HeadlessSession.h"
#include "platform/ui/Forms.h"
#include "skin/dialogs/SkinShellViews.h"

namespace {

constexpr int Files = 5000, Folders = 50, Rounds = 5;

// A view whose header clicks the benchmark can make.
class TimedFileList : public TspSkinFileListView {
  VANTREL_CLASS(TimedFileList)
  using TspSkinFileListView::TspSkinFileListView;
  void ClickColumn(Integer Index) { ColClick(Columns()->Items(Index)); }
};

}  // namespace

int main() {
  using namespace vantrel::bench;
  PinToLastTwoCores();
  TScratchDir Dir("vantrel-shelllist");
  if (!Dir.Ok()) return 1;
  for (int I = 0; I < Folders; ++I) std::filesystem::create_directory(Dir.Path() + "/folder" + std::to_string(I));
  for (int I = 0; I < Files; ++I) {
    std::ofstream Out(Dir.Path() + "/clip" + std::to_string(I) + ".ts");
    Out << std::string(static_cast<size_t>((I * 7919) % 4096), 'x');
  }

  vantrel::display::HeadlessSession Session(1000, 800);
  TApplicationInstance App;
  auto Form = CreateOwned<TForm>(nullptr);
  Form->SetBorderStyle(bsNone);
  Form->SetBounds(0, 0, 900, 700);
  auto* View = Create<TimedFileList>(Form.get());
  View->SetParent(Form.get());
  View->SetBounds(0, 0, 880, 680);
  View->SetViewStyle(vsReport);
  Form->Show();
  Session.PumpUntilIdle();

  std::vector<double> Ours, Peer;
  int Rows = 0;
  for (int R = 0; R < Rounds; ++R) {
    View->SetRoot("rfDesktop");
    const auto T0 = std::chrono::steady_clock::now();
    View->SetRoot(Dir.Path());
    View->ClickColumn(1);
    Session.PumpUntilIdle();
    Ours.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - T0).count());
    Rows = View->FolderCount();
    TProcessCost Cost;
    std::string Listing;
    if (!RunProcess({"ls", "-la", Dir.Path()}, Cost, &Listing)) return 1;
    Peer.push_back(Cost.Wall);
  }
  if (Rows != Files + Folders) {
    std::fprintf(stderr, "shelllist: %d rows, expected %d\n", Rows, Files + Folders);
    return 1;
  }
  const double OursMs = Median(Ours) * 1000, PeerMs = Median(Peer) * 1000;
  std::printf("file list, %d files and %d folders, fill + size sort: %.1f ms\n", Files, Folders, OursMs);
  std::printf("ls -la of the same folder: %.1f ms\n", PeerMs);
  std::printf("ratio %.3f\n", OursMs / PeerMs);
  return 0;
}
