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
#include "media/FFPlay.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Threads.h"
#include "platform/rtl/DateUtils.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Forms.h"
#include "platform/ui/Graphics.h"
#include "skin/controls/SkinGrids.h"

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
  double SourceAspectRatio = 0;  // the shown picture's width / height; 0 unknown (square samples)
  bool SourceHasAudio = false;   // the source has an audio stream
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
  // The program's private temporary folder (with its trailing delimiter).
  String TempFolder;
  Integer JpegSnapshotCounter = 0;
  Integer BmpSnapshotCounter = 0;
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
  // A grid cell is being drawn: the column lines wait.
  bool GridPainting = false;
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
// The picture of the icon named ID (letter case ignored); nullptr when there is none.
TPicture* ProfileIconPicture(const std::vector<TProfileIcon>& Icons, const String& ID);

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
class TCustomImageList;
class TImage;
class TMenuItem;
class TPanel;
class TTrackBar;
class TspFormSkin;
class TspPngImageList;
class TspSkinButton;
class TspSkinButtonLabel;
class TspSkinCheckRadioBox;
class TspSkinData;
class TspSkinDirectoryEdit;
class TspSkinEdit;
class TspSkinHint;
class TspSkinMainMenu;
class TspSkinMainMenuBar;
class TspSkinMenuButton;
class TspSkinMessage;
class TspSkinNotebook;
class TspSkinOpenDialog;
class TspSkinPanel;
class TspSkinPopupMenu;
class TspSkinSelectDirectoryDialog;
class TspSkinStdLabel;
class TspSkinStringGrid;
class TspSkinTrackBar;
class TTimer;
namespace vantrel::media {
class TFFEncoder;
class TDODodeve;
}  // namespace vantrel::media

namespace vantrel::app {

// ---- The preview, the chooser, the settings dialog and the commands ----

// What the chooser, the settings dialog, the preview and the commands ask of the main
// window's file list and controls.
class TEntryHost {
 public:
  virtual ~TEntryHost() = default;
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
  virtual void ShowSkinMessage(const String& Text, TMsgDlgType DlgType) = 0;
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

class TMainForm;
// The main window's own entries, grid row, boxes and message box.
std::unique_ptr<TEntryHost> MakeMainWindowEntries(TMainForm& Form);

// The web pages the main window opens: the product page, the support page, and the two
// sharing services' addresses for the product page (the product name with "+" for blanks).
String HomePageAddress();
String SupportAddress();
String LikeAddress();
String TweetAddress(const String& ProductName);

// The main window. Its creation steps (FormCreate) run once every window of the
// application exists, so that they may report failures and log.
class TMainForm : public TForm, public TMainWindowSeam {
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
  // The file list, the message box and the folder picker as the preview sees them; the
  // snapshot menu's folder picker answers the chosen folder, "" when cancelled.
  TEntryHost* FileList = nullptr;
  std::unique_ptr<TEntryHost> FEntryHost;
  std::function<String(const String& Start)> PickSnapshotFolder;
  TMenuItem* Item12 = nullptr;
  TMenuItem* Item22 = nullptr;
  TMenuItem* Item32 = nullptr;
  TMenuItem* ChangeSnapshotFormat1 = nullptr;
  TMenuItem* JPEG1 = nullptr;
  TMenuItem* BMP1 = nullptr;
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
  void FindTargetButtonClick(TObject* Sender);
  void imgProfileButtonMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void imgProfileFieldMouseEnter(TObject* Sender);
  void imgProfileFieldMouseLeave(TObject* Sender);
  // Binds the buttons and menu items of these commands, the preview's and the share buttons'.
  void BindCommands();
  void FileInformation1Click(TObject* Sender);

  // Skin, frame, menu bar and hints.
  TspSkinData* spSkinData1 = nullptr;
  TspFormSkin* spFormSkin1 = nullptr;
  TspSkinMainMenuBar* spSkinMainMenuBar1 = nullptr;
  TspSkinHint* spSkinHint1 = nullptr;
  TspSkinMessage* SkinMessage = nullptr;
  // The dialogs for adding files and for the snapshot folder.
  TspSkinOpenDialog* dlgopen = nullptr;
  TspSkinSelectDirectoryDialog* spSkinSelectDirectoryDialog1 = nullptr;

  // The main menu.
  TspSkinMainMenu* spSkinMainMenu1 = nullptr;
  TMenuItem* FileMenuItem = nullptr;
  TMenuItem* AddVideoFiles1 = nullptr;
  TMenuItem* FileInformation1 = nullptr;
  TMenuItem* StartConversion1 = nullptr;
  TMenuItem* Exit1 = nullptr;
  TMenuItem* EditMenuItem = nullptr;
  TMenuItem* Remove1 = nullptr;
  TMenuItem* ClearAll1 = nullptr;
  TMenuItem* Rename1 = nullptr;
  TMenuItem* MoveUp1 = nullptr;
  TMenuItem* MoveDown1 = nullptr;
  TMenuItem* TrimVideo1 = nullptr;
  TMenuItem* EditVideo1 = nullptr;
  TMenuItem* ToolsMenuItem = nullptr;
  TMenuItem* EventsLogMenuItem = nullptr;
  TMenuItem* Help1 = nullptr;
  TMenuItem* Help2 = nullptr;
  TMenuItem* Support1 = nullptr;
  TMenuItem* About1 = nullptr;

  // The grid's popup menu.
  TspSkinPopupMenu* ListMenu = nullptr;
  TMenuItem* AddVideoFiles2 = nullptr;
  TMenuItem* Remove2 = nullptr;
  TMenuItem* ClearAll2 = nullptr;
  TMenuItem* Rename2 = nullptr;
  TMenuItem* MoveUp2 = nullptr;
  TMenuItem* MoveDown2 = nullptr;
  TMenuItem* TrimVideo2 = nullptr;
  TMenuItem* EditVideo2 = nullptr;
  TMenuItem* FileInformation2 = nullptr;

  // The snapshot menu of the share buttons (its items come with the preview).
  TspSkinPopupMenu* spSkinPopupMenu1 = nullptr;

  // The big buttons: add, trim, edit on the left, convert at the bottom right, share links.
  TspSkinButtonLabel* AddButton = nullptr;
  TspSkinButtonLabel* ClipButton = nullptr;
  TspSkinButtonLabel* EditButton = nullptr;
  TspSkinButtonLabel* StartButton = nullptr;
  TspSkinButtonLabel* LikeButton = nullptr;
  TspSkinButtonLabel* TweetButton = nullptr;

  // The file list: its notebook page, grid, in-place title editor, buttons below it and the
  // picture shown until the first file is added.
  TspSkinNotebook* spSkinNotebook1 = nullptr;
  TspSkinStringGrid* sgList = nullptr;
  TspSkinEdit* edDestinationTitle = nullptr;
  TspSkinButton* spSkinButton1 = nullptr;
  TspSkinButton* spSkinButton2 = nullptr;
  TspSkinButton* spSkinButton3 = nullptr;
  TspSkinButton* spSkinButton4 = nullptr;
  TspSkinButton* spSkinButton5 = nullptr;
  TspSkinPanel* GettingStartedPanel = nullptr;
  TImage* GettingStartedImage = nullptr;
  TImage* imgTableRow = nullptr;
  TImage* imgTableColumnCaptionBar = nullptr;
  TImage* Image3 = nullptr;
  TTimer* Timer1 = nullptr;

  // The bottom panel: the profile field, the output folder and the options.
  TspSkinPanel* BottomPanel = nullptr;
  TImage* imgProfileField = nullptr;
  TspSkinStdLabel* lblProfile = nullptr;
  TImage* imgProfileIcon = nullptr;
  TImage* ProfileComboImage = nullptr;
  TImage* ProfileComboImageOver = nullptr;
  TspSkinDirectoryEdit* edDestinationFolder = nullptr;
  TspSkinButton* SettingsButton = nullptr;
  TspSkinButton* FindTargetButton = nullptr;
  TspSkinCheckRadioBox* chApplyToAll = nullptr;
  TspSkinCheckRadioBox* chMerge = nullptr;

  // The media engine.
  media::TFFEncoder* Tarnwell = nullptr;
  media::TFFLogger* FFLogger = nullptr;

  // Button pictures.
  TspPngImageList* LeftButtonsImages = nullptr;
  TspPngImageList* ConvertButtonImages = nullptr;
  TspPngImageList* PlayerImages = nullptr;
  TspPngImageList* LikeImages = nullptr;
  TspPngImageList* TweetImages = nullptr;

  // The folder of the skin, the catalogue and the media libraries (with its trailing
  // delimiter): the program's own folder unless set before the creation steps.
  String ProgramFolder;
  // The program's first command-line argument ("" when none): the program's own unless set
  // before the creation steps.
  String CommandLineArg;

  // What the catalogue and the settings show and read in the window.
  void ShowProfile(const String& Title, TPicture* Icon) override;
  String DestinationFolder() override;
  void SetDestinationFolder(const String& Folder) override;
  void SetOpenDialogFolder(const String& Folder) override;
  String FirstChosenFile() override;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  // Waits for the media libraries' load that the creation steps started, when it is still
  // running, and reports its failure then if nothing has yet. Adding, dropping and
  // previewing call it before they use the libraries.
  void WaitForMediaLibraries();
  // Binds the window to the main window's skin when it has not been yet (the windows
  // other than the main one get their skin when first shown).
  void BindWindowSkin(TForm* Window);
  void BeforeDestruction() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Tools menu: with no command-line argument it opens the events log.
  void MenuClickEventsLog(TObject* Sender);
  void EventsLogMenuItemClick(TObject* Sender);
  void Exit1Click(TObject* Sender);
  // Stops the preview as its Stop button does (when it plays or is paused).
  void StopPreview();
  // Sets the skin's effects and layered borders together.
  void SetSkinEffects(Boolean Value);

  // --- the file list and the conversion job ---
  ~TMainForm() override;
  // Runs the open dialog: true with the chosen files, in the dialog's order, when the user
  // confirms. Nil while the window has no open dialog: adding through it does nothing.
  std::function<bool(std::vector<String>& Files)> RunOpenDialog;
  // The preview's part of preparing the libraries (its SDL copy, the snapshot command):
  // false once it reported a failure.
  bool PreparePreviewLibrary();

  void AddButtonClick(TObject* Sender);
  void WMDropFiles(TMessage& Msg);
  bool AddMediaFile(const String& FileName);
  // Loads the media libraries (and the preview's), then enables the file controls; false
  // when the media libraries cannot be loaded.
  bool PrepareLibrariesAndEnableUI();
  void MoveUp1Click(TObject* Sender);
  void MoveDown1Click(TObject* Sender);
  void Remove1Click(TObject* Sender);
  void ClearAll1Click(TObject* Sender);
  void Rename1Click(TObject* Sender);
  void sgListMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, Integer X, Integer Y);
  void edDestinationTitleExit(TObject* Sender);
  void edDestinationTitleKeyPress(TObject* Sender, char32_t& Key);
  void sgListClick(TObject* Sender);
  void chApplyToAllClick(TObject* Sender);
  void sgListDrawCell(TObject* Sender, Integer ACol, Integer ARow, TRect Rect, TGridDrawState State);
  void Timer1Timer(TObject* Sender);
  void StartButtonClick(TObject* Sender);
  // The row the title editor was opened on (0: closed).
  Integer TitleEditorRow() const { return FTitleRow; }

 protected:
  void WndProc(TMessage& Message) override;

 private:
  class TJobSeams;
  friend class TJobSeams;
  // Binds the file list's and the job's handlers to their controls and menu items.
  void BindFileListAndJob();
  void OpenTitleEditor(Integer Row);
  void EnableFileCommands(bool Enabled);
  struct TJobSeamsDeleter {
    void operator()(TJobSeams* P) const;
  };
  std::unique_ptr<TJobSeams, TJobSeamsDeleter> FJobSeams;
  Integer FTitleRow = 0;
  // --- end of the file list and the conversion job ---

 private:
  void CreateMenus();
  void CreateButtons();
  void CreateFileList();
  void CreateBottomPanel();
  void CreateImageLists();
  // Creation steps that load pictures from the skin folder.
  void LoadSkinPictures(const String& SkinFolder);
  void BindDialogSkins();
  void StartMediaLibraryLoad();
  void FinishMediaLibraryLoad();
  // Ends a load still running without taking or reporting its outcome (the program ends).
  void DropMediaLibraryLoad();
  // The load of the media libraries started at start-up, and whether its outcome is still
  // to be taken (by the encoder) and reported.
  TOwned<TThread> FLibraryLoad;
  bool FLibraryLoadPending = false;
  // The windows bound to the skin so far.
  std::vector<TForm*> FSkinnedWindows;
  void ApplyCommandLine(const String& FirstArg);
};

// The application's eleven windows in their order, then the main window's creation steps;
// an exception leaving those goes to the application's exception handler. ProgramFolder
// replaces the program's own folder when not empty, FirstArg the first command-line
// argument when given.
void CreateApplicationForms(const String& ProgramFolder = String(),
                            const std::optional<String>& FirstArg = std::nullopt);

// The open dialog's filter: all supported formats (with the extensions of the catalogue's
// formats), video, audio, one entry per type, then all files.
String BuildOpenDialogFilter(const std::vector<TFormat>& CatalogueFormats);
// Whether the logical left mouse button is down now (the right one with swapped buttons).
bool IsLeftButtonDown();
// The time of day of T in microseconds.
Int64 TimeToMicroseconds(TDateTime T);
// The first command-line argument when it names an existing file of ProgramFolder by its
// plain name; "" otherwise.
String SiblingProgramArg(const String& ProgramFolder, const String& FirstArg);

}  // namespace vantrel::app
