// The native filter registry, live values, the filter-chain parser and TVideoFilterChain:
// libavfilter graphs with our own filters run as C++ steps between them.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <mutex>

#include "media/AVFilterAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFUtils.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace vantrel::media {

// ---------------------------------------------------------------------------------------
// Registry

namespace {

std::mutex& RegistryLock() {
  static std::mutex Lock;
  return Lock;
}

std::vector<const TNativeFilterDef*>& Registry() {
  static std::vector<const TNativeFilterDef*> List;
  return List;
}

struct TLiveValues {
  std::mutex Lock;
  std::map<Integer, TLiveValueRef> Values;
  Integer NextId = 1;
};

TLiveValues& LiveValues() {
  static TLiveValues Values;
  return Values;
}

}  // namespace

bool RegisterAVFilter(const TNativeFilterDef* AFilter) {
  if (!AFilter || !AFilter->name) return false;
  std::lock_guard<std::mutex> L(RegistryLock());
  for (const TNativeFilterDef* F : Registry())
    if (F == AFilter || std::strcmp(F->name, AFilter->name) == 0) return false;
  Registry().push_back(AFilter);
  return true;
}

const TNativeFilterDef* FindNativeFilter(const String& AName) {
  std::lock_guard<std::mutex> L(RegistryLock());
  for (const TNativeFilterDef* F : Registry())
    if (AName == F->name) return F;
  return nullptr;
}

TLiveValueRef NewLiveValue(int32_t AInitial) {
  TLiveValueRef V = std::make_shared<TLiveValue>(AInitial);
  RegisterLiveValue(V);
  return V;
}

Integer RegisterLiveValue(const TLiveValueRef& AValue) {
  if (!AValue) throw EArgumentException("A live value cannot be nil");
  TLiveValues& LV = LiveValues();
  std::lock_guard<std::mutex> L(LV.Lock);
  for (const auto& [Id, V] : LV.Values)
    if (V == AValue) return Id;
  const Integer Id = LV.NextId++;
  LV.Values.emplace(Id, AValue);
  return Id;
}

void UnregisterLiveValue(Integer AId) {
  TLiveValues& LV = LiveValues();
  std::lock_guard<std::mutex> L(LV.Lock);
  LV.Values.erase(AId);
}

Integer LiveValueId(const TLiveValueRef& AValue) {
  TLiveValues& LV = LiveValues();
  std::lock_guard<std::mutex> L(LV.Lock);
  for (const auto& [Id, V] : LV.Values)
    if (V == AValue) return Id;
  return 0;
}

TLiveValueRef FindLiveValue(Integer AId) {
  TLiveValues& LV = LiveValues();
  std::lock_guard<std::mutex> L(LV.Lock);
  const auto It = LV.Values.find(AId);
  return It == LV.Values.end() ? nullptr : It->second;
}

// ---------------------------------------------------------------------------------------
// Parser

namespace {

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r'; }

String Trim(const String& S) {
  size_t B = 0, E = S.size();
  while (B < E && IsBlank(S[B])) ++B;
  while (E > B && IsBlank(S[E - 1])) --E;
  return S.substr(B, E - B);
}

// One filter of the chain as written, with the facts the splitter needs.
struct TRawFilter {
  String Text;
  bool HasLabel = false;
};

// Splits at the "," and ";" outside quotes, escapes and labels.
std::vector<TRawFilter> SplitFilters(const String& AText, bool& ASemicolon) {
  std::vector<TRawFilter> Items(1);
  ASemicolon = false;
  for (size_t I = 0; I < AText.size(); ++I) {
    const char C = AText[I];
    TRawFilter& Cur = Items.back();
    if (C == '\\') {
      Cur.Text += C;
      if (++I < AText.size()) Cur.Text += AText[I];
    } else if (C == '\'') {
      const size_t End = AText.find('\'', I + 1);
      if (End == String::npos) throw Exception("Missing closing quote in the filter chain");
      Cur.Text += AText.substr(I, End - I + 1);
      I = End;
    } else if (C == '[') {
      const size_t End = AText.find(']', I + 1);
      if (End == String::npos) throw Exception("Missing \"]\" after a label in the filter chain");
      Cur.Text += AText.substr(I, End - I + 1);
      Cur.HasLabel = true;
      I = End;
    } else if (C == ',' || C == ';') {
      if (C == ';') ASemicolon = true;
      Items.emplace_back();
    } else {
      Cur.Text += C;
    }
  }
  return Items;
}

// The filter's name: after leading labels, up to "=", a label or the end; without an
// "@instance" suffix.
String FilterName(const String& AText) {
  size_t I = 0;
  while (I < AText.size()) {
    while (I < AText.size() && IsBlank(AText[I])) ++I;
    if (I < AText.size() && AText[I] == '[') {
      I = AText.find(']', I);
      if (I == String::npos) return String();
      ++I;
    } else {
      break;
    }
  }
  size_t E = I;
  while (E < AText.size() && AText[E] != '=' && AText[E] != '[' && !IsBlank(AText[E])) ++E;
  String Name = AText.substr(I, E - I);
  const size_t At = Name.find('@');
  if (At != String::npos) Name.resize(At);
  return Name;
}

// The argument text after "=" with quotes and escapes removed and outer blanks trimmed,
// as libavfilter reads a filter's arguments.
String FilterArgs(const String& AText) {
  const size_t Eq = AText.find('=');
  if (Eq == String::npos) return String();
  String R;
  size_t Keep = 0;  // R's length up to its last character that is not an outer blank
  size_t I = Eq + 1;
  while (I < AText.size() && IsBlank(AText[I])) ++I;
  for (; I < AText.size(); ++I) {
    const char C = AText[I];
    if (C == '\\') {
      if (I + 1 < AText.size()) R += AText[++I];
      Keep = R.size();
    } else if (C == '\'') {
      const size_t End = AText.find('\'', I + 1);
      R += AText.substr(I + 1, End - I - 1);
      Keep = R.size();
      I = End;
    } else {
      R += C;
      if (!IsBlank(C)) Keep = R.size();
    }
  }
  R.resize(Keep);
  return R;
}

}  // namespace

std::vector<TFilterChainStep> ParseFilterChain(const String& AFilters) {
  std::vector<TFilterChainStep> Steps;
  if (Trim(AFilters).empty()) return Steps;
  bool Semicolon = false;
  const std::vector<TRawFilter> Items = SplitFilters(AFilters, Semicolon);
  bool AnyLabel = false;
  std::vector<const TNativeFilterDef*> Natives;
  for (const TRawFilter& Item : Items) {
    AnyLabel = AnyLabel || Item.HasLabel;
    const String Name = FilterName(Item.Text);
    const TNativeFilterDef* Native = Name.empty() ? nullptr : FindNativeFilter(Name);
    if (!Native && !Name.empty() && ff::avfilter_get_by_name &&
        !ff::avfilter_get_by_name(Name.c_str()))
      throw Exception(Format("No such filter: \"%s\"", {Name}));
    Natives.push_back(Native);
  }
  const auto FirstNative = std::find_if(Natives.begin(), Natives.end(),
                                        [](const TNativeFilterDef* N) { return N != nullptr; });
  if (FirstNative == Natives.end()) {
    // Only libavfilter's filters: the text goes to libavfilter as it stands.
    Steps.push_back({nullptr, AFilters});
    return Steps;
  }
  if (Semicolon || AnyLabel)
    throw Exception(Format("Filter \"%s\" can only be used in a simple filter chain "
                           "(filters separated by \",\", without \";\" or [labels])",
                           {(*FirstNative)->name}));
  for (size_t I = 0; I < Items.size(); ++I) {
    if (Trim(Items[I].Text).empty()) throw Exception("Empty filter in the filter chain");
    if (Natives[I]) {
      Steps.push_back({Natives[I], FilterArgs(Items[I].Text)});
    } else if (!Steps.empty() && !Steps.back().Native) {
      Steps.back().Text += "," + Items[I].Text;
    } else {
      Steps.push_back({nullptr, Items[I].Text});
    }
  }
  return Steps;
}

// ---------------------------------------------------------------------------------------
// Sink

namespace {

String ErrorText(Integer ACode) {
  char Buf[128] = {};
  if (ff::av_strerror(ACode, Buf, sizeof Buf) < 0)
    std::snprintf(Buf, sizeof Buf, "Error number %d occurred", ACode);
  return Buf;
}

Integer SetSinkFormats(AVFilterContext* ASink, const Integer* APixFmts) {
  size_t N = 0;
  while (APixFmts[N] != AV_PIX_FMT_NONE) ++N;
  static_assert(sizeof(Integer) == sizeof(AVPixelFormat));
  return ff::av_opt_set_bin(ASink, "pix_fmts", reinterpret_cast<const uint8_t*>(APixFmts),
                            static_cast<int>(N * sizeof(Integer)), AV_OPT_SEARCH_CHILDREN);
}

}  // namespace

Integer CreateVideoSink(AVFilterGraph* AGraph, const char* AName, const Integer* APixFmts,
                        AVFilterContext** ASink) {
  if (!APixFmts) return AVERROR(EINVAL);
  Integer R = ff::avfilter_graph_create_filter(ASink, ff::avfilter_get_by_name("buffersink"),
                                               AName, nullptr, nullptr, AGraph);
  if (R < 0) return R;
  return SetSinkFormats(*ASink, APixFmts);
}

Integer GetFilteredVideoFrame(AVFilterContext* ASink, AVFrame* AFrame, TAVRational& ATimeBase) {
  ff::av_frame_unref(AFrame);
  const Integer R = ff::av_buffersink_get_frame(ASink, AFrame);
  if (R == AVERROR(EAGAIN)) return AVERROR(ENOENT);
  if (R < 0) return R;
  const AVRational TB = ff::av_buffersink_get_time_base(ASink);
  ATimeBase = TAVRational{TB.num, TB.den};
  return 1;
}

Integer GetFilteredVideoFrame(TVideoFilterChain& AChain, AVFrame* AFrame, TAVRational& ATimeBase) {
  const Integer R = AChain.Pull(AFrame);
  if (R > 0) ATimeBase = AChain.TimeBase();
  return R;
}

// ---------------------------------------------------------------------------------------
// Chain

struct TVideoFilterChain::TStage {
  AVFilterGraph* Graph = nullptr;
  AVFilterContext* Src = nullptr;
  AVFilterContext* Sink = nullptr;
  std::unique_ptr<TNativeFilterInstance> Native;
  // A native step's copies of the planes it changes, one pool per plane, reused from
  // picture to picture while the plane's size stays.
  AVBufferPool* PlanePools[4] = {};
  size_t PlanePoolSizes[4] = {};
  TStage() = default;
  TStage(const TStage&) = delete;
  TStage& operator=(const TStage&) = delete;
  ~TStage() {
    if (Graph && ff::avfilter_graph_free) ff::avfilter_graph_free(&Graph);
    for (AVBufferPool*& Pool : PlanePools)
      if (Pool) ff::av_buffer_pool_uninit(&Pool);
  }
  // A buffer of ASize bytes for a copy of plane P.
  AVBufferRef* PlaneBuffer(int P, size_t ASize) {
    if (PlanePools[P] && PlanePoolSizes[P] != ASize) ff::av_buffer_pool_uninit(&PlanePools[P]);
    if (!PlanePools[P]) {
      PlanePools[P] = ff::av_buffer_pool_init(ASize, nullptr);
      PlanePoolSizes[P] = ASize;
      if (!PlanePools[P]) return nullptr;
    }
    return ff::av_buffer_pool_get(PlanePools[P]);
  }
};

namespace {

struct TInOutDeleter {
  void operator()(AVFilterInOut* P) const { ff::avfilter_inout_free(&P); }
};
using TInOut = std::unique_ptr<AVFilterInOut, TInOutDeleter>;

TInOut MakeInOut(const char* AName, AVFilterContext* AFilter) {
  TInOut P(ff::avfilter_inout_alloc());
  if (!P) return P;
  P->name = ff::av_strdup(AName);
  P->filter_ctx = AFilter;
  P->pad_idx = 0;
  P->next = nullptr;
  return P;
}

bool Contains(const Integer* AList, Integer AValue) {
  for (; *AList != -1; ++AList)
    if (*AList == AValue) return true;
  return false;
}

}  // namespace

TVideoFilterChain::TVideoFilterChain() = default;

TVideoFilterChain::~TVideoFilterChain() { Clear(); }

void TVideoFilterChain::Clear() {
  FStages.clear();
  FOutWidth = FOutHeight = 0;
  FOutPixFmt = -1;
  FOutTimeBase = TAVRational{0, 1};
  FOutSampleAspect = TAVRational{0, 1};
}

AVFilterContext* TVideoFilterChain::Sink() const {
  return FStages.empty() ? nullptr : FStages.back()->Sink;
}

Integer TVideoFilterChain::Fail(Integer ACode, const String& AMessage) {
  FLastErrMsg = AMessage;
  Clear();
  return ACode;
}

Integer TVideoFilterChain::Configure(const TVideoFilterInput& AInput, const String& AFilters,
                                     const std::vector<Integer>& AOutputFormats,
                                     const String& AScaleSwsOpts) {
  Clear();
  FLastErrMsg.clear();
  if (!ff::avfilter_graph_alloc) return Fail(AVERROR(EINVAL), "LibAVFilter not loaded.");
  if (AInput.Width <= 0 || AInput.Height <= 0 || AInput.PixFmt < 0)
    return Fail(AVERROR(EINVAL), Format("Invalid filter chain input: %dx%d, pixel format %d",
                                        {AInput.Width, AInput.Height, AInput.PixFmt}));
  std::vector<TFilterChainStep> Steps;
  try {
    Steps = ParseFilterChain(AFilters);
  } catch (const Exception& E) {
    return Fail(AVERROR(EINVAL), E.Message());
  }

  std::vector<Integer> OutFormats = AOutputFormats;
  if (!OutFormats.empty() && OutFormats.back() != -1) OutFormats.push_back(-1);

  // The current picture description as it leaves the stage built last.
  TVideoFilterInput Cur = AInput;

  // One libavfilter graph: buffer -> AText -> format(AFormats) -> buffersink.
  auto AddGraph = [&](const String& AText, const Integer* AFormats) -> Integer {
    auto Stage = std::make_unique<TStage>();
    Stage->Graph = ff::avfilter_graph_alloc();
    if (!Stage->Graph) return Fail(AVERROR(ENOMEM), "Cannot allocate a filter graph");
    if (!AScaleSwsOpts.empty()) Stage->Graph->scale_sws_opts = ff::av_strdup(AScaleSwsOpts.c_str());
    String Args = Format("video_size=%dx%d:pix_fmt=%d:time_base=%d/%d:pixel_aspect=%d/%d",
                         {Cur.Width, Cur.Height, Cur.PixFmt, Cur.TimeBase.num, Cur.TimeBase.den,
                          Cur.SampleAspect.num, Cur.SampleAspect.den});
    if (Cur.FrameRate.num > 0 && Cur.FrameRate.den > 0)
      Args += Format(":frame_rate=%d/%d", {Cur.FrameRate.num, Cur.FrameRate.den});
    Integer R = ff::avfilter_graph_create_filter(&Stage->Src, ff::avfilter_get_by_name("buffer"),
                                                 "src", Args.c_str(), nullptr, Stage->Graph);
    if (R < 0) return Fail(R, "Cannot create the buffer source: " + ErrorText(R));
    R = ff::avfilter_graph_create_filter(&Stage->Sink, ff::avfilter_get_by_name("buffersink"),
                                         "out", nullptr, nullptr, Stage->Graph);
    if (R < 0) return Fail(R, "Cannot create the buffer sink: " + ErrorText(R));
    AVFilterContext* Last = Stage->Sink;
    if (AFormats) {
      String Names;
      for (const Integer* F = AFormats; *F != -1; ++F) {
        const char* Name = ff::av_get_pix_fmt_name(static_cast<AVPixelFormat>(*F));
        if (!Name) return Fail(AVERROR(EINVAL), Format("Invalid pixel format %d", {*F}));
        Names += (Names.empty() ? "" : "|") + String(Name);
      }
      AVFilterContext* Fmt = nullptr;
      R = ff::avfilter_graph_create_filter(&Fmt, ff::avfilter_get_by_name("format"), "format",
                                           ("pix_fmts=" + Names).c_str(), nullptr, Stage->Graph);
      if (R < 0) return Fail(R, "Cannot create the format filter: " + ErrorText(R));
      R = ff::avfilter_link(Fmt, 0, Stage->Sink, 0);
      if (R < 0) return Fail(R, "Cannot link the format filter: " + ErrorText(R));
      Last = Fmt;
    }
    if (!Trim(AText).empty()) {
      TInOut Outputs = MakeInOut("in", Stage->Src);
      TInOut Inputs = MakeInOut("out", Last);
      if (!Outputs || !Inputs) return Fail(AVERROR(ENOMEM), "Cannot allocate the filter ends");
      AVFilterInOut* In = Inputs.release();
      AVFilterInOut* Out = Outputs.release();
      R = ff::avfilter_graph_parse_ptr(Stage->Graph, AText.c_str(), &In, &Out, nullptr);
      ff::avfilter_inout_free(&In);
      ff::avfilter_inout_free(&Out);
      if (R < 0)
        return Fail(R, Format("Cannot parse the filter chain \"%s\": %s", {AText, ErrorText(R)}));
    } else {
      R = ff::avfilter_link(Stage->Src, 0, Last, 0);
      if (R < 0) return Fail(R, "Cannot link the filter graph: " + ErrorText(R));
    }
    R = ff::avfilter_graph_config(Stage->Graph, nullptr);
    if (R < 0)
      return Fail(R, Format("Cannot configure the filter chain \"%s\": %s", {AText, ErrorText(R)}));
    Cur.Width = ff::av_buffersink_get_w(Stage->Sink);
    Cur.Height = ff::av_buffersink_get_h(Stage->Sink);
    Cur.PixFmt = ff::av_buffersink_get_format(Stage->Sink);
    const AVRational TB = ff::av_buffersink_get_time_base(Stage->Sink);
    const AVRational SAR = ff::av_buffersink_get_sample_aspect_ratio(Stage->Sink);
    Cur.TimeBase = TAVRational{TB.num, TB.den};
    Cur.SampleAspect = TAVRational{SAR.num, SAR.den};
    FStages.push_back(std::move(Stage));
    return 0;
  };

  for (size_t I = 0; I < Steps.size(); ++I) {
    const TFilterChainStep& Step = Steps[I];
    Integer R = 0;
    if (!Step.Native) {
      // The graph ends in what the next step takes: our next filter's formats, or the
      // sink's when this is the last step.
      const Integer* Formats = nullptr;
      if (I + 1 < Steps.size()) Formats = Steps[I + 1].Native->pix_fmts;
      else if (!OutFormats.empty()) Formats = OutFormats.data();
      R = AddGraph(Step.Text, Formats);
      if (R < 0) return R;
      continue;
    }
    // A picture in a format our filter does not take goes through a "format" graph first.
    if (!Contains(Step.Native->pix_fmts, Cur.PixFmt)) {
      R = AddGraph(String(), Step.Native->pix_fmts);
      if (R < 0) return R;
    }
    auto Stage = std::make_unique<TStage>();
    try {
      Stage->Native = Step.Native->init(Step.Text);
      if (!Stage->Native) throw Exception(Format("%s: cannot initialize", {Step.Native->name}));
      Stage->Native->ConfigProps(Cur.PixFmt, Cur.Width, Cur.Height);
    } catch (const Exception& E) {
      return Fail(AVERROR(EINVAL), E.Message());
    }
    FStages.push_back(std::move(Stage));
  }
  // The chain always ends in a graph whose sink the caller pulls from.
  if (FStages.empty() || !FStages.back()->Graph) {
    const Integer R = AddGraph(String(), OutFormats.empty() ? nullptr : OutFormats.data());
    if (R < 0) return R;
  }
  FOutWidth = Cur.Width;
  FOutHeight = Cur.Height;
  FOutPixFmt = Cur.PixFmt;
  FOutTimeBase = Cur.TimeBase;
  FOutSampleAspect = Cur.SampleAspect;
  return 0;
}

namespace {

// The rows of plane P of a picture: chroma rows round up.
int PlaneRows(const AVFrame* AFrame, const AVPixFmtDescriptor* ADesc, int P) {
  return (P == 1 || P == 2) ? -((-AFrame->height) >> ADesc->log2_chroma_h) : AFrame->height;
}

// Gives the planes of AMask (bit N for data[N]) of a picture buffers of their own, so a
// step can change them; the other planes stay shared with whoever else holds the picture,
// so a step that changes the luma alone copies no chroma. ASource[N] is where plane N's
// samples are: the old plane for a plane given a fresh buffer (still held by the picture's
// other buffers until it goes), data[N] otherwise. AFilled tells whether the planes
// have the samples already (a picture that needed a whole copy) or are still to be filled.
// A picture no one else holds is left as it is.
Integer DetachPlanes(AVFrame* AFrame, uint32_t AMask,
                     const std::function<AVBufferRef*(int, size_t)>& ABuffer,
                     const uint8_t* ASource[4], bool& AFilled) {
  const auto Sources = [&] {
    for (int P = 0; P < 4; ++P) ASource[P] = AFrame->data[P];
  };
  AFilled = true;
  if (ff::av_frame_is_writable(AFrame)) {
    Sources();
    return 0;
  }
  const auto Whole = [&] {
    const Integer R = ff::av_frame_make_writable(AFrame);
    Sources();
    return R;
  };
  const auto Format = static_cast<AVPixelFormat>(AFrame->format);
  const AVPixFmtDescriptor* Desc = ff::av_pix_fmt_desc_get(Format);
  const int Planes = ff::av_pix_fmt_count_planes(Format);
  if (!Desc || Planes <= 0 || Planes > 4 || (Desc->flags & (AV_PIX_FMT_FLAG_HWACCEL | AV_PIX_FMT_FLAG_PAL)) ||
      AFrame->extended_data != AFrame->data)
    return Whole();
  // Every plane is checked before any is replaced, so a picture that needs the whole copy
  // never ends up half detached.
  int Slot = 0;
  while (Slot < AV_NUM_DATA_POINTERS && AFrame->buf[Slot]) ++Slot;
  for (int P = 0; P < Planes; ++P) {
    if (!(AMask & (1u << P))) continue;
    const int Bytes = ff::av_image_get_linesize(Format, AFrame->width, P);
    if (AFrame->linesize[P] <= 0 || Bytes < 0 || Bytes > AFrame->linesize[P] ||
        Slot++ >= AV_NUM_DATA_POINTERS)
      return Whole();
  }
  Sources();
  Slot = 0;
  while (Slot < AV_NUM_DATA_POINTERS && AFrame->buf[Slot]) ++Slot;
  for (int P = 0; P < Planes; ++P) {
    if (!(AMask & (1u << P))) continue;
    const int Rows = PlaneRows(AFrame, Desc, P);
    AVBufferRef* Fresh = ABuffer(P, static_cast<size_t>(AFrame->linesize[P]) * static_cast<size_t>(Rows));
    if (!Fresh) return AVERROR(ENOMEM);
    AFrame->buf[Slot++] = Fresh;
    AFrame->data[P] = Fresh->data;
  }
  AFilled = false;
  return 0;
}

// Copies the planes of AMask from ASource where they are not the picture's own.
void FillPlanes(AVFrame* AFrame, uint32_t AMask, const uint8_t* const ASource[4]) {
  const auto Format = static_cast<AVPixelFormat>(AFrame->format);
  const AVPixFmtDescriptor* Desc = ff::av_pix_fmt_desc_get(Format);
  for (int P = 0; P < 4; ++P) {
    if (!(AMask & (1u << P)) || ASource[P] == AFrame->data[P] || !ASource[P]) continue;
    const int Rows = PlaneRows(AFrame, Desc, P);
    ff::av_image_copy_plane(AFrame->data[P], AFrame->linesize[P], ASource[P], AFrame->linesize[P],
                            ff::av_image_get_linesize(Format, AFrame->width, P), Rows);
  }
}

}  // namespace

Integer TVideoFilterChain::Feed(size_t AStage, AVFrame* AFrame) {
  TStage& Stage = *FStages[AStage];
  if (Stage.Native) {
    if (AFrame) {
      const uint32_t Mask = Stage.Native->PlanesWritten();
      const uint8_t* Source[4] = {};
      bool Filled = true;
      const Integer R = DetachPlanes(AFrame, Mask,
                                     [&Stage](int P, size_t ASize) { return Stage.PlaneBuffer(P, ASize); },
                                     Source, Filled);
      if (R < 0) {
        ff::av_frame_free(&AFrame);
        return R;
      }
      if (Filled || !Stage.Native->ProcessFrom(AFrame, Source)) {
        if (!Filled) FillPlanes(AFrame, Mask, Source);
        Stage.Native->Process(AFrame);
      }
    }
    return Feed(AStage + 1, AFrame);
  }
  Integer R = ff::av_buffersrc_add_frame_flags(Stage.Src, AFrame, 0);
  ff::av_frame_free(&AFrame);
  if (R < 0) return R;
  if (AStage + 1 == FStages.size()) return 0;
  for (;;) {
    AVFrame* Out = ff::av_frame_alloc();
    if (!Out) return AVERROR(ENOMEM);
    R = ff::av_buffersink_get_frame(Stage.Sink, Out);
    if (R == AVERROR(EAGAIN)) {
      ff::av_frame_free(&Out);
      return 0;
    }
    if (R == AVERROR_EOF) {
      ff::av_frame_free(&Out);
      return Feed(AStage + 1, nullptr);
    }
    if (R < 0) {
      ff::av_frame_free(&Out);
      return R;
    }
    R = Feed(AStage + 1, Out);
    if (R < 0) return R;
  }
}

Integer TVideoFilterChain::Push(const AVFrame* AFrame) {
  if (FStages.empty()) return AVERROR(EINVAL);
  if (!AFrame) return Feed(0, nullptr);
  TStage& First = *FStages.front();
  if (!First.Native && FStages.size() == 1)
    return ff::av_buffersrc_add_frame_flags(First.Src, const_cast<AVFrame*>(AFrame),
                                            AV_BUFFERSRC_FLAG_KEEP_REF);
  AVFrame* Copy = ff::av_frame_clone(AFrame);
  if (!Copy) return AVERROR(ENOMEM);
  return Feed(0, Copy);
}

Integer TVideoFilterChain::Pull(AVFrame* AFrame) {
  if (FStages.empty()) return AVERROR(EINVAL);
  ff::av_frame_unref(AFrame);
  const Integer R = ff::av_buffersink_get_frame(FStages.back()->Sink, AFrame);
  if (R == AVERROR(EAGAIN)) return AVERROR(ENOENT);
  return R < 0 ? R : 1;
}

}  // namespace vantrel::media
