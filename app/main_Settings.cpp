// The settings kept between runs: folders, the selected format and the format last changed
// in the settings dialog with its nine values.
#include "app/main.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Registry.h"

namespace vantrel::app {

namespace {

struct SettingsKeyCloser {
  TRegistry& Reg;
  ~SettingsKeyCloser() { Reg.CloseKey(); }
};


}  // namespace

void ReadSettings(TMainUnitState& State, TMainWindowSeam& Window) {
  State.SettingsRead = false;
  if (State.RegistryKeyPath.empty()) State.RegistryKeyPath = SettingsKeyPath;
  TRegistry Reg;
  Reg.SetRootKey(HKEY_CURRENT_USER);
  if (!Reg.OpenKey(State.RegistryKeyPath, false)) {
    State.SettingsRead = true;
    return;
  }
  SettingsKeyCloser Closer{Reg};
  if (Reg.ValueExists("OutputPath")) Window.SetDestinationFolder(Reg.ReadString("OutputPath"));
  if (Reg.ValueExists("OpenVideoDialogPath")) {
    const String Folder = Reg.ReadString("OpenVideoDialogPath");
    Window.SetOpenDialogFolder(DirectoryExists(Folder) ? Folder : String());
  }
  if (Reg.ValueExists("ScreenShotsPath")) State.SnapshotFolder = Reg.ReadString("ScreenShotsPath");
  const std::pair<const char*, Integer*> Indexes[] = {
      {"recentformatind", &State.RecentFormatInd},
      {"recentprofileind", &State.RecentProfileInd},
      {"lasteditedformatind", &State.LastEditedFormatInd},
      {"lasteditedprofileind", &State.LastEditedProfileInd}};
  for (const auto& [Name, Value] : Indexes)
    if (Reg.ValueExists(Name)) *Value = Reg.ReadInteger(Name);
  for (int I = 0; I < LastEditedCount; ++I)
    if (Reg.ValueExists(LastEditedNames[I]))
      State.LastEditedValues[I] = Reg.ReadString(LastEditedNames[I]);
  State.SettingsRead = true;
}

void SaveSettings(TMainUnitState& State, TMainWindowSeam& Window) {
  // Settings that were never read completely would overwrite the stored ones with defaults.
  if (!State.SettingsRead) return;
  TRegistry Reg;
  Reg.BeforeCommitHook = Window.SettingsCommitHook();
  try {
    Reg.SetRootKey(HKEY_CURRENT_USER);
    if (!Reg.OpenKey(State.RegistryKeyPath.empty() ? String(SettingsKeyPath)
                                                    : State.RegistryKeyPath,
                     true))
      throw ERegistryException("Failed to create key " + State.RegistryKeyPath);
    SettingsKeyCloser Closer{Reg};
    Reg.WriteString("OutputPath", Window.DestinationFolder());
    const String First = Window.FirstChosenFile();
    if (!First.empty()) Reg.WriteString("OpenVideoDialogPath", ExtractFileDir(First));
    Reg.WriteString("ScreenShotsPath", State.SnapshotFolder);
    Reg.WriteInteger("recentformatind", State.RecentFormatInd);
    Reg.WriteInteger("recentprofileind", State.RecentProfileInd);
    if (State.LastEditedFormatInd >= 0 && State.LastEditedProfileInd >= 0) {
      Reg.WriteInteger("lasteditedformatind", State.LastEditedFormatInd);
      Reg.WriteInteger("lasteditedprofileind", State.LastEditedProfileInd);
      const TFormat& F = State.Profiles.at(static_cast<size_t>(State.LastEditedProfileInd))
                             .Formats.at(static_cast<size_t>(State.LastEditedFormatInd));
      for (int I = 0; I < LastEditedCount; ++I)
        Reg.WriteString(LastEditedNames[I], F.*LastEditedFields[I]);
    }
  } catch (const std::exception&) {
    ReportError(State, "Error writing data to Registry", CLM_RegDataWrite);
  }
}

}  // namespace vantrel::app
