// The main window's file list as the preview, the chooser, the settings dialog and the
// commands see it: the entries of the unit state, the grid's current row, the "Apply to
// all" box and the skinned message box.
#include "app/main.h"
#include "app/main_FileList.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/dialogs/SkinMessageDlg.h"

namespace vantrel::app {

namespace {

class TMainWindowEntries final : public TEntryHost {
 public:
  explicit TMainWindowEntries(TMainForm& AForm) : F(AForm) {}
  Integer EntryCount() override { return static_cast<Integer>(MainUnit().VideoFiles.size()); }
  Integer SelectedRow() override { return F.sgList->Row(); }
  void SetEntryFormat(Integer Index, Integer Profile, Integer Format, bool MarkPending) override {
    TVideoFile& E = Entry(Index);
    if (MarkPending) E.Status = "-";
    E.ProfileInd = Profile;
    E.FormatInd = Format;
  }
  void ReestimateAllSizes() override {
    for (Integer I = 0; I < EntryCount(); ++I) UpdateEstimatedSize(MainUnit(), I);
    F.sgList->Repaint();
  }
  bool ApplyToAll() override { return F.chApplyToAll->Checked(); }
  void ShowProfile(const String& Title, TPicture* Icon) override {
    F.ShowProfile(Title, Icon);
    F.lblProfile->Repaint();
  }
  String EntrySource(Integer Index) override { return Entry(Index).Source; }
  String EntryDestinationTitle(Integer Index) override { return Entry(Index).DestinationTitle; }
  bool EntryIsAudio(Integer Index) override { return Entry(Index).isSourceAudioFormat; }
  void ShowSkinMessage(const String& Text, TMsgDlgType DlgType) override {
    F.SkinMessage->MessageDlg(Text, DlgType, {mbOK}, 0);
  }

 private:
  static TVideoFile& Entry(Integer Index) {
    return MainUnit().VideoFiles.at(static_cast<size_t>(Index));
  }
  TMainForm& F;
};

}  // namespace

std::unique_ptr<TEntryHost> MakeMainWindowEntries(TMainForm& Form) {
  return std::make_unique<TMainWindowEntries>(Form);
}

}  // namespace vantrel::app
