// The main window's unit: the catalogue of output formats, the selection, the saved settings
// and the state they share. The window itself reaches this state through TMainWindowSeam.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "media/FFLog.h"
#include "media/FFPlay.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"

namespace vantrel::app {

struct TFormat {
  bool AreSettingsChanged = false;
  String FormatExt;
  String IsAudioFormat;
  String Icon;
  String Category;
  String Title;
  String Description;
  String Resolutions;
  String FrameRates;
  String VideoBitRates;
  String AudioBitRates;
  String SampleRates;
  String Channels;
  String VideoCodecs;
  String AudioCodecs;
  String VideoCodecName;
  String Width;
  String Height;
  String KeepOriFrameRate;
  String FrameRate;
  String VideoBitRate;
  String AudioCodecName;
  String SampleRate;
  String AudioBitRate;
  String Channel;
  String ExtraParam;
};

struct TProfile {
  String Title;
  String ID;
  String Icon;
  std::vector<TFormat> Formats;
};

struct TProfileIcon {
  String ID;
  std::unique_ptr<TPicture> Picture;
};

// The nine values kept for the format last changed in the settings dialog, by store name.
enum TLastEdited {
  leVideoCodecName, leVideoBitRate, leFrameRate, leVideoWidth, leVideoHeight,
  leAudioCodecName, leAudioBitRate, leSampleRate, leChannels
};
constexpr int LastEditedCount = 9;
extern const std::array<const char*, LastEditedCount> LastEditedNames;
// The format fields the nine values belong to, in the same order.
extern const std::array<String TFormat::*, LastEditedCount> LastEditedFields;

// Code line marks: where a failure was reported from. A mark is text, written into the
// error report as it stands.
inline constexpr const char* CLM_LoadProfiles = "CLM_LoadProfiles";
inline constexpr const char* CLM_LoadFormats = "CLM_LoadFormats";
inline constexpr const char* CLM_InitProfiles = "CLM_InitProfiles";
inline constexpr const char* CLM_RegDataWrite = "CLM_RegDataWrite";
inline constexpr const char* CLM_FFAVLibLoad = "CLM_FFAVLibLoad";

// What of the main window the catalogue and the settings touch.
class TMainWindowSeam {
 public:
  virtual ~TMainWindowSeam() = default;
  // The profile field: the current format's title and its profile's icon (nil: none).
  virtual void ShowProfile(const String& Title, TPicture* Icon) = 0;
  // The output folder's text.
  virtual String DestinationFolder() = 0;
  virtual void SetDestinationFolder(const String& Folder) = 0;
  // The open dialog's initial folder and the first of its chosen files ("" when none).
  virtual void SetOpenDialogFolder(const String& Folder) = 0;
  virtual String FirstChosenFile() = 0;
  // Handed to the settings store before it replaces its file; empty in the program.
  virtual std::function<void(const String&)> SettingsCommitHook() { return {}; }
};

struct TErrorReport {
  String Text;
  String Mark;
};

// The unit state.
struct TMainUnitState {
  std::vector<TProfile> Profiles;
  std::vector<TFormat> AllFormats;
  std::vector<bool> FormatTaken;
  std::vector<TProfileIcon> ProfileIcons;
  Integer ChooserHeight = 0;
  Integer CurrentProfileInd = 0;
  Integer CurrentFormatInd = 0;
  Integer RecentProfileInd = 0;
  Integer RecentFormatInd = 0;
  Integer LastEditedProfileInd = -1;
  Integer LastEditedFormatInd = -1;
  // A value missing from the store stays unset and leaves its field alone.
  std::array<std::optional<String>, LastEditedCount> LastEditedValues;
  String RegistryKeyPath;
  String SnapshotFolder;
  // Whether the saved settings were read completely (or found absent): only then may
  // closing write them back.
  bool SettingsRead = false;
  std::unique_ptr<TMemoryStream> CatalogueStream;
  std::unique_ptr<TStringList> CatalogueLines;
  // The media engine's log lines and the sections of every error report sent.
  std::unique_ptr<TStringList> MediaLogHistory;
  // Reports and log lines kept while the error and events log windows do not exist.
  std::vector<TErrorReport> ErrorReports;
  std::vector<String> ActionLog;
};

TMainUnitState& MainUnit();

// Reports a failure in the error window (kept in ErrorReports while there is none).
void ReportError(TMainUnitState& State, const String& Text, const String& Mark);
// Appends the stamped line of Text to the events log (kept in ActionLog while there is none).
void AddActionLogLine(TMainUnitState& State, const String& Text);
// Starts the media log's history with its heading line.
void StartMediaLogHistory(TMainUnitState& State);
// The history line of one log event: "#" thread "." level ": " message.
String MediaLogLine(Cardinal AThreadID, media::TLogLevel ALogLevel, const String& ALogMsg);
// The logger's OnLog: appends the event's line to the history.
void FFLoggerLog(TMainUnitState& State, Cardinal AThreadID, media::TLogLevel ALogLevel,
                 const String& ALogMsg);

// The value of Key (with its opening double quote) in Line searched from code point From
// (1-based): up to the next double quote; empty when none follows or it follows at once.
// Returns the value; End receives the position of its closing quote (0 when none).
String CatalogueValue(const String& Line, const String& Key, Integer From, Integer* End = nullptr);

// Loads the *.bmp files of Folder as profile icons.
void LoadProfileIcons(TMainUnitState& State, const String& Folder);
// Reads Profiles.dat into Profiles and ChooserHeight; raises on failure.
void ReadProfiles(TMainUnitState& State, const String& FileName);
void AppendAllProfiles(TMainUnitState& State);
void ParseFormatLine(TMainUnitState& State, const String& Line, Integer Index);
// Reads the catalogue folder (icons, profiles, formats) with the reports of a failing step.
void LoadCatalogue(TMainUnitState& State, const String& Folder);

// The first icon whose ID equals ID (ignoring letter case when asked); -1 when none does.
Integer FindProfileIcon(const std::vector<TProfileIcon>& Icons, const String& ID, bool IgnoreCase);

// Gives every profile its copies of its formats, restores the selection and the last-edited
// values; reports a failure.
void DistributeFormats(TMainUnitState& State, TMainWindowSeam& Window);

// The key of the saved settings under HKEY_CURRENT_USER.
inline constexpr const char* SettingsKeyPath = "Software\\Quillmoor\\Vantrel";

// Reads the saved settings into the state and the window; a value of the wrong type raises.
void ReadSettings(TMainUnitState& State, TMainWindowSeam& Window);
// Writes the settings when they were read; a failure is reported.
void SaveSettings(TMainUnitState& State, TMainWindowSeam& Window);

}  // namespace vantrel::app

class TComboBox;
class TImage;
class TPanel;
class TTrackBar;
class TspFormSkin;
class TspSkinButton;
class TspSkinData;
class TspSkinMenuButton;
class TspSkinPanel;
class TspSkinStdLabel;
class TspSkinTrackBar;

namespace vantrel::app {

// ---- The preview, the chooser, the settings dialog and the commands ----

// What the chooser, the settings dialog, the preview and the commands ask of the main
// window's file list and controls.
class TFileListSeam {
 public:
  virtual ~TFileListSeam() = default;
  // The number of file-list entries.
  virtual Integer EntryCount() = 0;
  // The grid's current row: 0 is the header row, entry index = row - 1.
  virtual Integer SelectedRow() = 0;
  // Gives entry Index the format (Profile, Format); MarkPending also sets its status to "-".
  virtual void SetEntryFormat(Integer Index, Integer Profile, Integer Format, bool MarkPending) = 0;
  // Re-estimates the output size of every entry and repaints the grid.
  virtual void ReestimateAllSizes() = 0;
  // The "Apply to all" box.
  virtual bool ApplyToAll() = 0;
  // The profile field: the chosen format's title and its profile's icon (nil: none).
  virtual void ShowProfile(const String& Title, TPicture* Icon) = 0;
  // The entry's source file, output title and whether its source is an audio format.
  virtual String EntrySource(Integer Index) = 0;
  virtual String EntryDestinationTitle(Integer Index) = 0;
  virtual bool EntryIsAudio(Integer Index) = 0;
  // The main window's skinned message box with an OK button.
  virtual void SkinMessage(const String& Text, TMsgDlgType DlgType) = 0;
};

// The SDL file every player copies: the "LibAV" folder's libSDL-1.2.so.0 next to the
// program, else the system's (found as a file in the dynamic linker's folders, never
// loaded); "" when there is none.
String SdlSourceFile();
// Makes sure the private SDL copy number Index ("SDL_<Index>.so") exists in Folder: an
// existing copy is kept as it is, else Source is copied byte for byte. A failed copy is not
// reported here: the caller's LoadSDLLib fails. Returns the copy's name without a folder.
String PrepareSdlCopy(Integer Index, const String& Folder, const String& Source);
// The same in the program's private temporary folder with the program's SDL file.
String PrepareSdlCopy(Integer Index);
// Loads Player's SDL copy number 0 from Folder (made from Source when missing) unless it
// holds one: false, after a plain events-log line with the player's message and the report
// "Error loading SDL library", when it does not load.
bool LoadPreviewSdl(TMainUnitState& State, media::TCustomPlayer& Player, const String& Folder,
                    const String& Source);
// The time label's text of a position in microseconds: hours (not wrapped, two digits at
// least), minutes and seconds, "01:02:03".
String PlayTimeText(Int64 Microseconds);
// The file name part of snapshots of an entry: its output title with "/" made "_"; the
// source's name without extension when the title is empty or dots only.
String SnapshotStem(const String& Title, const String& Source);
// The first snapshot file Folder/Stem_<n><Ext> with n from Counter on that does not exist
// yet; Counter is moved to that n.
String NextSnapshotFile(const String& Folder, const String& Stem, const String& Ext, Integer& Counter);

// The web pages the main window opens: the product page, the support page, and the two
// sharing services' addresses for the product page (the product name with "+" for blanks).
String HomePageAddress();
String SupportAddress();
String LikeAddress();
String TweetAddress(const String& ProductName);

// The main window. Its creation steps (FormCreate) run once every window of the
// application exists, so that they may report failures and log.
class TMainForm : public TForm {
  VANTREL_CLASS(TMainForm)
  explicit TMainForm(TComponent* AOwner);
  // ---- The preview player and its snapshots ----
  TspSkinStdLabel* lblPreview = nullptr;
  TPanel* panPreview = nullptr;
  TspSkinPanel* panPlayerArea = nullptr;
  TImage* imgPlayerArea = nullptr;
  TspSkinStdLabel* lblPlayTime = nullptr;
  TspSkinTrackBar* VideoTrackBar = nullptr;
  TspSkinButton* PlayButton = nullptr;
  TspSkinButton* PauseButton = nullptr;
  TspSkinButton* StopButton = nullptr;
  TspSkinMenuButton* spSkinMenuButton1 = nullptr;
  TspSkinTrackBar* VolumeTrackBar = nullptr;
  TComboBox* cboVideo = nullptr;
  TComboBox* cboAudio = nullptr;
  TComboBox* cboSubtitle = nullptr;
  TTrackBar* TrackBar1 = nullptr;
  media::TDODodeve* DODodeve = nullptr;
  Int64 FDuration = 0;
  bool FTrackChanging = false;
  TWinControl* FScreenControl = nullptr;
  media::TPlayState PreviewPlayState = media::psPlay;
  bool PreviewSeekDragging = false;
  Byte SnapshotFormat = 0;  // 0 JPEG, 1 BMP
  Integer JpegSnapshotCounter = 1;
  Integer BmpSnapshotCounter = 1;
  // The file list, the message box and the folder picker as the preview sees them; the
  // snapshot menu's folder picker answers the chosen folder, "" when cancelled.
  TFileListSeam* FileList = nullptr;
  std::function<String(const String& Start)> PickSnapshotFolder;
  void CreatePreview();
  void OpenVideo(const String& FileName);
  void PlayButtonClick(TObject* Sender);
  void PauseButtonClick(TObject* Sender);
  void StopButtonClick(TObject* Sender);
  void VideoTrackBarStartDragButton(TObject* Sender);
  void VideoTrackBarLastChange(TObject* Sender);
  void VolumeTrackBarChange(TObject* Sender);
  void FFPlayerFileOpen(TObject* Sender, Int64 ADuration, Integer AFrameWidth, Integer AFrameHeight,
                        Integer& AScreenWidth, Integer& AScreenHeight);
  void FFPlayerPosition(TObject* Sender, Int64 APTS);
  void FFPlayerState(TObject* Sender, media::TPlayState AState);
  void spSkinMenuButton1Click(TObject* Sender);
  void Item22Click(TObject* Sender);
  void Item32Click(TObject* Sender);
  void JPEG1Click(TObject* Sender);
  void BMP1Click(TObject* Sender);
  // ---- The main window's commands ----
  void Help2Click(TObject* Sender);
  void Support1Click(TObject* Sender);
  void LikeButtonClick(TObject* Sender);
  void TweetButtonClick(TObject* Sender);
  void SettingsButtonClick(TObject* Sender);
  void EditButtonClick(TObject* Sender);
  void ClipButtonClick(TObject* Sender);
  void About1Click(TObject* Sender);
  // Stops the preview when it plays or is paused, as its Stop button does.
  void StopPreviewIfActive();

  TspSkinData* spSkinData1 = nullptr;
  TspFormSkin* spFormSkin1 = nullptr;
  media::TFFLogger* FFLogger = nullptr;

  void FormCreate(TObject* Sender);
};

// The application's eleven windows in their order, then the main window's creation steps;
// an exception leaving those goes to the application's exception handler.
void CreateApplicationForms();

}  // namespace vantrel::app
