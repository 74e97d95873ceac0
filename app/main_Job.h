// The conversion job of the main window: the file list turned into input and output records
// with their filter chains and output names, then into the encoder's tasks.
#pragma once

#include <vector>

#include "app/conversion.h"
#include "app/main.h"

namespace vantrel::app {

// The texts of the job's start.
inline constexpr const char* MissingOutputFolderText = "Output folder does not exit. Converting to \"%s\".";
inline constexpr const char* NoTemporaryFolderText =
    "Could not create temporary directory. Please choose another output folder.";
inline constexpr const char* StartedConversionText = "Started Conversion";

// The folder outputs go to when the chosen one is missing: Quillmoor_temp in the home folder.
String FallbackOutputFolder();

// "crop=w:h:x:y" of what the margins leave of a Width x Height picture; "" without margins.
String BuildCropFilter(Integer Width, Integer Height, Integer Left, Integer Right, Integer Top, Integer Bottom);
// "pad=w:h:x:y:black" of a Width x Height picture in black bars; "" without bars.
String BuildPadFilter(Integer Width, Integer Height, Integer Left, Integer Right, Integer Top, Integer Bottom);
// Appends Filter to the chain of OutputOptionsList[Index] ("," between filters).
void AppendVideoFilter(TMainUnitState& State, Integer Index, const String& Filter);
// The nearest integer, halves to the even one; raises EInvalidOp when there is none.
Integer RoundHalfEven(double Value);

// The format of an entry; raises when its indexes name none.
const TFormat& EntryFormat(const TMainUnitState& State, const TVideoFile& Entry);

// The output file of each entry converted on its own, in Folder: its destination title
// ("/" made "_", an empty or all-dots title replaced by the source's name) and the format's
// extension. Names are unique within the job (" (2)", " (3)"... before the extension) and
// never name a source of the job.
std::vector<String> SingleOutputNames(const TMainUnitState& State, const String& Folder);
// The joined output in Folder: "Joined" and Ext, never a source of the job.
String JoinedOutputName(const TMainUnitState& State, const String& Folder, const String& Ext);

// The refusals of the job's build.
inline constexpr const char* CropOutsidePictureText =
    "The crop area of \"%s\" does not lie inside its %dx%d picture. Please set it again in Edit.";
inline constexpr const char* SoundOnlyJoinInputText =
    "\"%s\" has no video and cannot be joined into a video file. Please remove it from the list or "
    "choose an audio format.";

// Fills InputOptionsList[Index] and OutputOptionsList[Index] from entry Index: codecs, rates,
// picture filters, geometry and scaling (not the file name, trim or joining). Numbers of the
// format that are not integers raise; a failing geometry is reported (CLM_SetCropFilters) and
// gives false; so does a crop that does not leave at least 2 x 2 pixels inside the picture,
// reported by the file's name.
bool FillEntryRecords(TMainUnitState& State, Integer Index);
// The picture filters of a joined output built for entry Index: its brightness, contrast
// and saturation, then bars that fit each input, whatever its size and shape, into the
// format's frame in its own proportions.
String JoinedVideoFilters(const TMainUnitState& State, Integer Index);

// Clears the encoder's tasks and adds the job's: one task per entry, or one joining every
// entry into the output built for the entry of grid row CurrentRow when Merge is asked and
// there are two entries or more. A failing engine call is reported and gives false, and so
// is a join into a video format of a file without pictures, before any task is added.
bool BuildConversionJob(TMainUnitState& State, media::TCustomEncoder& Encoder, bool Merge, Integer CurrentRow);

// What the job's start needs of the main window.
class TJobWindowSeam {
 public:
  virtual ~TJobWindowSeam() = default;
  virtual String DestinationFolder() = 0;
  virtual bool MergeChecked() = 0;
  // The grid's current row (1 for the first entry).
  virtual Integer CurrentRow() = 0;
  // A skinned warning box with OK.
  virtual void ShowWarning(const String& Text) = 0;
  // Stops the preview when it plays or is paused.
  virtual void StopPreview() = 0;
  virtual media::TCustomEncoder& Encoder() = 0;
  // Shows the progress dialog modally, its gauges at 0 and its title "Converting...".
  virtual void ShowProgress() = 0;
};

// Builds the job of the file list and starts it, one task at a time, with the progress dialog.
void StartConversion(TMainUnitState& State, TJobWindowSeam& Window);

// --- the running job ---

inline constexpr const char* JobDoneText = "Conversion successfully done.";
inline constexpr const char* JobFailedTasksText = "Conversion finished with errors: %d of %d files failed.";
inline constexpr const char* OutputNameTakenText =
    "A file named \"%s\" appeared during the conversion: the output was written to \"%s\".";
inline constexpr const char* NoAudioNoticeText =
    "This converter was UNABLE to include audio track to converted file.\r\nSo it is has not audio.\r\n"
    "Please try more powerful and popular Corvantis Video Converter Platinum.";

// The gauges and the title of the progress dialog for one progress record of a job of
// TasksCount tasks. A record without a known positive total leaves the gauges alone.
void ShowJobProgress(const TMainUnitState& State, TConvForm& Form, Integer TasksCount,
                     const media::TProgressInfo& Info);

// Whether an output of the job's records is written without the sound its source has: a
// single output with its sound disabled, or a joined file whose first input has none.
bool JobLeftOutSound(const TMainUnitState& State);

// What the job's end needs of the main window.
class TJobEndSeam {
 public:
  virtual ~TJobEndSeam() = default;
  virtual void SaveSettings() = 0;
  // The owner of the message box and of the shell's requests.
  virtual HWND OwnerWindow() = 0;
};

// One termination record of the job, on the GUI thread: a failed task is reported and
// logged (the dialog stays); a finished task whose output took another free name than the
// planned one has its record's name set to it, and a log line says so; the end of a job
// that was not cancelled empties the records,
// logs its outcome and applies the end options of the dialog. The notice that sound was
// left out shows only when an output was written without its source's sound.
void EndJobTask(TMainUnitState& State, TConvForm& Form, const media::TTerminateInfo& Info,
                TJobEndSeam& Window);

// Shows the progress dialog modally for a job just started: gauges at 0, "Converting...".
void ShowConversionDialog(TConvForm& Form);
// Points the encoder's progress and termination events at the dialog. Termination records
// come in the engine's notifier thread and are handed to the GUI thread, which handles each
// before the engine goes on.
void ConnectJobEvents(media::TCustomEncoder& Encoder, TMainUnitState& State, TConvForm& Form,
                      TJobEndSeam& Window);

// The system's version text: platform name, " Version " major.minor, CR LF,
// " (Build " build ": " service pack ")"; "" when it cannot be read.
String GetOSVersionText();
// Asks the system to switch off; a failure or refusal is reported (CLM_Shut).
void ShutDownWindows(TMainUnitState& State);

}  // namespace vantrel::app
