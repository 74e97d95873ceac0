// The main window's unit: the catalogue of output formats, the selection, the saved settings
// and the state they share. The window itself reaches this state through TMainWindowSeam.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "media/FFEncode.h"
#include "media/FFLog.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
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

// One entry of the file list: a source, its stream facts, its trim range, crop, aspect and
// picture settings, its format and the title of its output.
struct TVideoFile {
  String Source;
  bool isSourceAudioFormat = false;  // the source has no video stream
  String SourceTitleExt;
  Int64 TrimmedLength = 0;  // microseconds
  double EstimatedSize = 0;  // megabytes
  String DestinationTitle;
  String Status;
  Int64 TimeStart = 0;  // microseconds
  Int64 TimeEnd = 0;    // microseconds
  Integer SourceWidth = -1;
  Integer SourceHeight = -1;
  Integer CropLeft = 0;
  Integer CropTop = 0;
  Integer CropRight = 0;
  Integer CropBottom = 0;
  Integer AspectRatio = 0;  // 0 keep, 1 the output's own shape, 2 4:3, 3 16:9
  Integer Brightness = 0;
  Integer Saturation = 0;
  Integer Contrast = 0;
  Integer ProfileInd = 0;
  Integer FormatInd = 0;
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
inline constexpr const char* CLM_SetCropFilters = "CLM_SetCropFilters";
inline constexpr const char* CLM_FFAddTaskToMerged = "CLM_FFAddTaskToMerged";
inline constexpr const char* CLM_FFAddInputFileToMerged = "CLM_FFAddInputFileToMerged";
inline constexpr const char* CLM_FFAddTaskToMeged = "CLM_FFAddTaskToMeged";
inline constexpr const char* CLM_SetOutputFile = "CLM_SetOutputFile";
inline constexpr const char* CLM_SetOutputFileMerge = "CLM_SetOutputFileMerge";
inline constexpr const char* CLM_Terminate = "CLM_Terminate";
inline constexpr const char* CLM_Shut = "CLM_Shut";

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

  // --- the file list and the conversion job ---
  std::vector<TVideoFile> VideoFiles;
  // The folder every output of the running job goes to.
  String OutputFolder;
  // One record per entry of the running job; emptied at its end.
  std::vector<media::TInputOptions> InputOptionsList;
  std::vector<media::TOutputOptions> OutputOptionsList;
  // Tasks of the running job that ended with an error, and that ran to their end.
  Integer JobFailedTasks = 0;
  Integer JobFinishedTasks = 0;
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

class TspFormSkin;
class TspSkinData;

namespace vantrel::app {

// The main window. Its creation steps (FormCreate) run once every window of the
// application exists, so that they may report failures and log.
class TMainForm : public TForm {
  VANTREL_CLASS(TMainForm)
  explicit TMainForm(TComponent* AOwner);

  TspSkinData* spSkinData1 = nullptr;
  TspFormSkin* spFormSkin1 = nullptr;
  media::TFFLogger* FFLogger = nullptr;

  void FormCreate(TObject* Sender);
};

// The application's eleven windows in their order, then the main window's creation steps;
// an exception leaving those goes to the application's exception handler.
void CreateApplicationForms();

}  // namespace vantrel::app
