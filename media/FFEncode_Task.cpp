// The conversion task (a transcoder with per-file decoders and stored option records)
// and the encoder component's task list.
#include "media/FFEncode.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

// --- TFFmpeg ---

TFFmpeg::TFFmpeg(Integer AMaxFiles) : TCustomFFmpeg(AMaxFiles) {
  FDecoders.resize(FMaxFiles);
  FInputOptions.resize(FMaxFiles);
  FOutputOptions.resize(FMaxFiles);
}

TFFmpeg::~TFFmpeg() {
  // A running conversion ends before the task's own parts go (it runs virtual steps
  // of this object and calls its events), so the events are cleared only after it.
  Stop(true);
  OnAudioHook = nullptr;
  OnPreviewBitmap = nullptr;
  OnProgress = nullptr;
  OnTerminate = nullptr;
  OnInputVideoHook = nullptr;
  OnOutputVideoHook = nullptr;
  FDecoders.clear();
  FInputOptions.clear();
  FOutputOptions.clear();
}

void TFFmpeg::CheckSlot(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= FMaxFiles) throw EListError(Format("List index out of bounds (%d)", {AIndex}));
}

TFFDecoder* TFFmpeg::GetDecoder(Integer AIndex) {
  CheckSlot(AIndex);
  if (!FDecoders[AIndex]) FDecoders[AIndex].reset(TFFDecoder::Create(nullptr));
  return FDecoders[AIndex].get();
}

void TFFmpeg::SetInputOptions(Integer AIndex, const TInputOptions* AOptions) {
  CheckSlot(AIndex);
  if (!FInputOptions[AIndex]) FInputOptions[AIndex] = std::make_unique<TInputOptions>();
  if (AOptions) *FInputOptions[AIndex] = *AOptions;
}

void TFFmpeg::SetOutputOptions(Integer AIndex, const TOutputOptions* AOptions) {
  CheckSlot(AIndex);
  if (!FOutputOptions[AIndex]) FOutputOptions[AIndex] = std::make_unique<TOutputOptions>();
  if (AOptions) *FOutputOptions[AIndex] = *AOptions;
}

void TFFmpeg::ClearInputOptions(Integer AIndex) {
  CheckSlot(AIndex);
  if (FInputOptions[AIndex]) ResetInputOptions(*FInputOptions[AIndex]);
}

void TFFmpeg::ClearOutputOptions(Integer AIndex) {
  CheckSlot(AIndex);
  if (FOutputOptions[AIndex]) ResetOutputOptions(*FOutputOptions[AIndex]);
}

const TInputOptions* TFFmpeg::InputOptions(Integer AIndex) const {
  CheckSlot(AIndex);
  return FInputOptions[AIndex].get();
}

const TOutputOptions* TFFmpeg::OutputOptions(Integer AIndex) const {
  CheckSlot(AIndex);
  return FOutputOptions[AIndex].get();
}

void TFFmpeg::ApplyExtOptions(const String& AText, bool AAllowCodecs) {
  for (const TExtOption& O : ParseExtOptions(AText)) {
    const String& N = O.Name;
    // Applied per stream once an output is open; nothing for an input.
    if (N == "newvideo" || N == "newaudio" || N == "newsubtitle" || N == "apre" || N == "vpre" || N == "spre" ||
        N == "vfilters" || N == "vf")
      continue;
    if ((N == "acodec" || N == "vcodec" || N == "scodec" || N == "s") && !AAllowCodecs) continue;
    SetExtOption(N, O.Value);
  }
}

bool TFFmpeg::OpenInput(const String& AFileName, TInputOptions* AOptions) {
  const Integer I = Fnb_input_files;
  if (I >= FMaxFiles) {
    FLastErrMsg = Format("max input files %d reached", {FMaxFiles});
    return false;
  }
  try {
    if (AOptions) {
      if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
      SetInputOptions(I, AOptions);
      ApplyExtOptions(AOptions->ExtOptions, true);
      SetForceFormat(AOptions->ForceFormat);
      SetStartTime(AOptions->TimeStart);
      SetProgramID(AOptions->ProgramID);
    } else {
      ClearInputOptions(I);
    }
    if (OpenInputFile(AFileName)) {
      GetDecoder(I)->SetFileHandle(Finput_files[I]);
      return true;
    }
  } catch (const Exception& E) {
    FLastErrMsg = E.Message();
  }
  ClearInputOptions(I);
  return false;
}

bool TFFmpeg::OpenOutput(const String& AFileName, TOutputOptions* AOptions) {
  const Integer I = Fnb_output_files;
  if (I >= FMaxFiles) {
    FLastErrMsg = Format("max output files %d reached", {FMaxFiles});
    return false;
  }
  bool Opened = false;
  try {
    if (!AOptions) {
      ClearOutputOptions(I);
      return OpenOutputFile(AFileName, false) >= 0;
    }
    if (AOptions->FileName.empty()) AOptions->FileName = AFileName;
    SetOutputOptions(I, AOptions);
    TOptionList Streams;
    CollectStreamDefaults(Streams, *AOptions);
    ApplyOutputTarget(*this, *AOptions);
    // After the target, so that a codec named by the record wins over the target's.
    SetAudioCodec(StreamListValue(Streams, "def_acodec"));
    SetVideoCodec(StreamListValue(Streams, "def_vcodec"));
    SetSubtitleCodec(StreamListValue(Streams, "def_scodec"));
    ApplyPreset("apre", StreamListValue(Streams, "def_apre"));
    ApplyPreset("vpre", StreamListValue(Streams, "def_vpre"));
    ApplyPreset("spre", StreamListValue(Streams, "def_spre"));
    ApplyExtOptions(AOptions->ExtOptions, false);
    ApplyOutputOptions(*this, *AOptions);
    SetFrameSize(StreamListValue(Streams, "def_s"));
    SetVFilters(StreamListValue(Streams, "def_vf"));
    SetVideoHookBitsPixel(AOptions->VideoHookBitsPixel);
    if (OpenOutputFile(AFileName, AOptions->Join) < 0) {
      ClearOutputOptions(I);
      return false;
    }
    Opened = true;
    ApplyNewStreams(*this, AOptions->ExtOptions, Streams);
    if (FJoinMode) PrepareJoin();
    return true;
  } catch (const Exception& E) {
    FLastErrMsg = E.Message();
  }
  // The output is taken back whole: a half set-up output is no output.
  if (Opened) DiscardLastOutput();
  ClearOutputOptions(I);
  return false;
}

// --- TFFmpegList ---

TFFmpegList::~TFFmpegList() { Clear(); }

void TFFmpegList::CheckIndex(Integer AIndex) const {
  if (AIndex < 0 || AIndex >= GetCount()) throw EListError(Format("List index out of bounds (%d)", {AIndex}));
}

Integer TFFmpegList::Add(TFFmpeg* ATask) {
  FList.emplace_back(ATask);
  return GetCount() - 1;
}

void TFFmpegList::Clear() {
  // Each task is freed while it is still in the list (its end may be reported by index).
  for (auto& Task : FList) FreeObject(Task.get());
  for (auto& Task : FList) (void)Task.release();
  FList.clear();
}

void TFFmpegList::Delete(Integer AIndex) {
  CheckIndex(AIndex);
  FreeObject(FList[AIndex].get());
  (void)FList[AIndex].release();
  FList.erase(FList.begin() + AIndex);
}

void TFFmpegList::Exchange(Integer AIndex1, Integer AIndex2) {
  CheckIndex(AIndex1);
  CheckIndex(AIndex2);
  std::swap(FList[AIndex1], FList[AIndex2]);
}

TFFmpeg* TFFmpegList::GetItem(Integer AIndex) const {
  CheckIndex(AIndex);
  return FList[AIndex].get();
}

Integer TFFmpegList::IndexOf(const TFFmpeg* ATask) const {
  for (size_t I = 0; I < FList.size(); ++I)
    if (FList[I].get() == ATask) return static_cast<Integer>(I);
  return -1;
}

void TFFmpegList::PauseAll() {
  for (auto& Task : FList) Task->Pause();
}

void TFFmpegList::ResumeAll() {
  for (auto& Task : FList) Task->Resume();
}

void TFFmpegList::StopAll(bool AWaitForStop) {
  for (auto& Task : FList) Task->StopOrTerminate(AWaitForStop);
}

void TFFmpegList::SetPostHook(TPostHook AFlag, bool AValue) {
  for (auto& Task : FList) {
    TPostHooks Flags = Task->PostHooks();
    if (AValue)
      Flags.Include(AFlag);
    else
      Flags.Exclude(AFlag);
    Task->ChangePostHooks(Flags);
  }
}

void TFFmpegList::SetPreview(bool AValue) { SetPostHook(phPreview, AValue); }

void TFFmpegList::SetPreviewBitmap(bool AValue) { SetPostHook(phBitmap, AValue); }

}  // namespace vantrel::media
