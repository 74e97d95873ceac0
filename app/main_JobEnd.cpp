// The running job seen from the main window: progress in the dialog's gauges, each task's
// end, the job's end with its options, and switching the computer off.
#include <cmath>

#include "app/MakerService.h"
#include "app/main_Job.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Threads.h"
#include "platform/win/MessageBox.h"
#include "platform/win/Power.h"
#include "platform/win/Shell.h"
#include "skin/controls/SkinCtrls.h"

namespace vantrel::app {

namespace {

void JobShellOpen(HWND Owner, const String& What) {
  ShellExecute(Owner, "open", What.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

// The shut-down privilege of the process; false after the platform's box said what failed.
bool EnableShutdownPrivilege() {
  HANDLE Token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &Token)) {
    MessageBox(nullptr, "Exit Error", "OpenProcessToken() Failed", MB_OK);
    return false;
  }
  TOKEN_PRIVILEGES Privileges;
  if (!LookupPrivilegeValue(nullptr, "SeShutdownPrivilege", &Privileges.Privileges[0].Luid)) {
    CloseHandle(Token);
    MessageBox(nullptr, "Exit Error", "LookupPrivilegeValue() Failed", MB_OK);
    return false;
  }
  Privileges.PrivilegeCount = 1;
  Privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  AdjustTokenPrivileges(Token, FALSE, &Privileges, 0, nullptr, nullptr);
  const bool Failed = (GetLastError() & 0xFF) != 0;
  CloseHandle(Token);
  if (Failed) {
    MessageBox(nullptr, "Exit Error", "AdjustTokenPrivileges() Failed", MB_OK);
    return false;
  }
  return true;
}

// The output record of task TaskIndex: the joined one for a join, else the entry's own.
media::TOutputOptions* TaskOutputRecord(TMainUnitState& State, Integer TaskIndex) {
  auto& Outs = State.OutputOptionsList;
  for (media::TOutputOptions& O : Outs)
    if (O.Join) return TaskIndex == 0 ? &O : nullptr;
  if (TaskIndex < 0 || TaskIndex >= static_cast<Integer>(Outs.size())) return nullptr;
  return &Outs[TaskIndex];
}

// A finished task's output may have taken a numbered name when its own was taken by then:
// the record and the log say the name really written.
void NoteWrittenName(TMainUnitState& State, Integer TaskIndex, const String& Written) {
  media::TOutputOptions* Out = TaskOutputRecord(State, TaskIndex);
  if (!Out || Written.empty() || Written == Out->FileName) return;
  const String Planned = Out->FileName;
  Out->FileName = Written;
  AddActionLogLine(State, Format(OutputNameTakenText, {ExtractFileName(Planned), Written}));
}

}  // namespace

void ShowJobProgress(const TMainUnitState& State, TConvForm& Form, Integer TasksCount,
                     const media::TProgressInfo& Info) {
  const Integer K = Info.TaskIndex;
  if (K >= 0 && K < static_cast<Integer>(State.VideoFiles.size())) {
    const TVideoFile& E = State.VideoFiles[K];
    String Output = E.DestinationTitle + EntryFormat(State, E).FormatExt;
    if (K < static_cast<Integer>(State.OutputOptionsList.size()) && !State.OutputOptionsList[K].FileName.empty())
      Output = ExtractFileName(State.OutputOptionsList[K].FileName);
    Form.lblConvertingTitle->SetCaption("Converting \"" + E.SourceTitleExt + "\" to \"" + Output + "\"");
  }
  const Int64 C = Info.CurrentDuration, T = Info.TotalDuration;
  if (T <= 0 || C < 0 || TasksCount <= 0) return;
  Form.ProgressCurrent->SetValue(static_cast<Integer>(C * 100 / T));
  const double Share = 100.0 / TasksCount;
  Form.ProgressTotal->SetValue(static_cast<Integer>(std::nearbyint(Share * K + Share * C / T)));
}

bool JobLeftOutSound(const TMainUnitState& State) {
  const auto& Outs = State.OutputOptionsList;
  const auto& Files = State.VideoFiles;
  bool AnySound = false;
  for (const TVideoFile& E : Files) AnySound = AnySound || E.SourceHasAudio;
  for (size_t I = 0; I < Outs.size() && I < Files.size(); ++I) {
    // A joined file takes its streams from the first input.
    if (Outs[I].Join) return AnySound && (Outs[I].DisableAudio || !Files[0].SourceHasAudio);
  }
  for (size_t I = 0; I < Outs.size() && I < Files.size(); ++I)
    if (Outs[I].DisableAudio && Files[I].SourceHasAudio) return true;
  return false;
}

void EndJobTask(TMainUnitState& State, TConvForm& Form, const media::TTerminateInfo& Info,
                TJobEndSeam& Window) {
  if (Info.Exception) {
    if (Info.TaskIndex >= 0) ++State.JobFailedTasks;
    ReportError(State, "Conversion terminated with error: " + Info.ExceptionMsg, CLM_Terminate);
    AddActionLogLine(State, Info.ExceptionMsg);
  } else if (Info.TaskIndex >= 0 && Info.Finished) {
    ++State.JobFinishedTasks;
    NoteWrittenName(State, Info.TaskIndex, Info.OutputFileName);
  }
  // A cancelled job's end changes nothing.
  if (Info.TaskIndex >= 0 || !Info.Finished) return;

  const Integer Failed = State.JobFailedTasks;
  const Integer Tasks = Form.Tarnwell ? Form.Tarnwell->TasksCount() : Failed + State.JobFinishedTasks;
  const bool SoundLeftOut = JobLeftOutSound(State);
  State.InputOptionsList.clear();
  State.OutputOptionsList.clear();
  const bool ShutDown = Form.cbShutdownPC->Checked();
  const HWND Owner = Window.OwnerWindow();
  if (Failed > 0) AddActionLogLine(State, Format(JobFailedTasksText, {Failed, Tasks}));
  if (ShutDown) {
    Window.SaveSettings();
    ShutDownWindows(State);
  } else if (Failed == 0) {
    AddActionLogLine(State, JobDoneText);
    if (SoundLeftOut) MessageBox(Owner, NoAudioNoticeText, Application->Title(), MB_OK);
    JobShellOpen(Owner, RecommendationPage);
  }
  Form.CloseJob();
  if (Form.cbOpenOutput->Checked() && !ShutDown && State.JobFinishedTasks > 0)
    ShellExecute(nullptr, "open", State.OutputFolder.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void ShowConversionDialog(TConvForm& Form) {
  Form.ProgressCurrent->SetValue(0);
  Form.ProgressTotal->SetValue(0);
  Form.lblConvertingTitle->SetCaption("Converting...");
  Form.JobStarted();
  Form.ShowModal();
}

void ConnectJobEvents(media::TCustomEncoder& Encoder, TMainUnitState& State, TConvForm& Form,
                      TJobEndSeam& Window) {
  Form.Tarnwell = &Encoder;
  Form.Unit = &State;
  Encoder.OnProgress = [&State, &Form, &Encoder](TObject*, media::PProgressInfo Info) {
    ShowJobProgress(State, Form, Encoder.TasksCount(), *Info);
  };
  Encoder.OnTerminate = [&State, &Form, &Window](TObject*, const media::TTerminateInfo& Info) {
    CallInMainThread([&] { EndJobTask(State, Form, Info, Window); });
  };
}

String GetOSVersionText() {
  try {
    OSVERSIONINFOW V;
    if (!GetVersionExW(&V)) return String();
    static const char* const Platforms[] = {"Win32s", "Windows 95", "Windows NT"};
    const String Name = V.dwPlatformId < 3 ? Platforms[V.dwPlatformId] : "";
    return Name + " Version " + IntToStr(static_cast<Integer>(V.dwMajorVersion)) + "." +
           IntToStr(static_cast<Integer>(V.dwMinorVersion)) + "\r\n (Build " +
           IntToStr(static_cast<Integer>(V.dwBuildNumber)) + ": " + V.szCSDVersion + ")";
  } catch (const std::exception&) {
    return String();
  }
}

void ShutDownWindows(TMainUnitState& State) {
  try {
    if (GetOSVersionText().rfind("Windows NT", 0) == 0 && !EnableShutdownPrivilege()) return;
    // Other programs are let to save and close: the request is not forced.
    if (!ExitWindowsEx(EWX_SHUTDOWN, 0)) throw EOSError("shut-down refused");
  } catch (const std::exception&) {
    ReportError(State, "Error trying shut down the Windows", CLM_Shut);
  }
}

}  // namespace vantrel::app
