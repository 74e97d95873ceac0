// A file list standing in for the main window's: entries with their formats, the selected
// row, the "Apply to all" box, and a record of what the dialogs asked of it.
#pragma once

#include <string>
#include <vector>

#include "app/main.h"

namespace vantrel::apptest {

struct StubEntry {
  String Source;
  String DestinationTitle;
  bool IsAudio = false;
  Integer ProfileInd = 0;
  Integer FormatInd = 0;
  String Status = "ready";
};

class StubFileList : public app::TFileListSeam {
 public:
  Integer EntryCount() override { return static_cast<Integer>(Entries.size()); }
  Integer SelectedRow() override { return Row; }
  void SetEntryFormat(Integer Index, Integer Profile, Integer Format, bool MarkPending) override {
    StubEntry& E = Entries.at(static_cast<size_t>(Index));
    E.ProfileInd = Profile;
    E.FormatInd = Format;
    if (MarkPending) E.Status = "-";
  }
  void ReestimateAllSizes() override { ++Reestimates; }
  bool ApplyToAll() override { return AllBox; }
  void ShowProfile(const String& Title, TPicture* Icon) override {
    ProfileTitle = Title;
    ProfileIcon = Icon;
  }
  String EntrySource(Integer Index) override { return Entries.at(static_cast<size_t>(Index)).Source; }
  String EntryDestinationTitle(Integer Index) override {
    return Entries.at(static_cast<size_t>(Index)).DestinationTitle;
  }
  bool EntryIsAudio(Integer Index) override { return Entries.at(static_cast<size_t>(Index)).IsAudio; }
  void ShowSkinMessage(const String& Text, TMsgDlgType DlgType) override {
    Messages.push_back(Text);
    MessageTypes.push_back(DlgType);
  }

  std::vector<StubEntry> Entries;
  Integer Row = 1;
  bool AllBox = false;
  Integer Reestimates = 0;
  String ProfileTitle;
  TPicture* ProfileIcon = nullptr;
  std::vector<String> Messages;
  std::vector<TMsgDlgType> MessageTypes;
};

}  // namespace vantrel::apptest
