// Targets (disc and camcorder formats for the PAL, NTSC and film norms) and presets
// (lists of option lines, built in or read from a file).
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFmpeg.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {

const char* const NormFrameRates[] = {"25", "30000/1001", "24000/1001"};

// One x264 row as it was written for the old generic codec flags.
struct TX264Row {
  const char* Name;
  int coder;
  const char* flags;  // "+loop" / "-loop"
  const char* partitions;
  const char* me_method;
  int subq, me_range, sc_threshold, b_strategy;
  int bf, refs;  // -1: the row has no such line
  int directpred;
  int trellis;  // -1: none
  const char* flags2;
  int cqp, wpredp;  // -1: none
};

constexpr int N = -1;
const char* const P4 = "+parti8x8+parti4x4+partp8x8+partb8x8";
const char* const M4 = "-parti8x8-parti4x4-partp8x8-partb8x8";
const char* const P5 = "+parti8x8+parti4x4+partp8x8+partp4x4+partb8x8";
const char* const FP = "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip";

const TX264Row X264Rows[] = {
    {"libx264-default", 1, "+loop", P4, "hex", 7, 16, 40, 1, 3, 3, 1, 1, "+mixed_refs+wpred+dct8x8+fastpskip", N, 2},
    {"libx264-fast", 1, "+loop", P4, "hex", 6, 16, 40, 1, 3, 2, 1, 1, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", N, 2},
    {"libx264-fast_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 1, 3, 1, 1, 0, FP, N, 2},
    {"libx264-faster", 1, "+loop", P4, "hex", 4, 16, 40, 1, 3, 2, 1, 1, "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip", N, 1},
    {"libx264-faster_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 1, 3, 1, 1, 0, FP, N, 1},
    {"libx264-fastfirstpass", 1, "+loop", "-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8", "dia", 2, 16, 40, 1, 3, 1, 3, 0, "-bpyramid-wpred-mixed_refs-dct8x8+fastpskip", N, 2},
    {"libx264-hq", 1, "+loop", P4, "umh", 8, 16, 40, 2, 3, 4, 3, 1, "+wpred+mixed_refs+dct8x8+fastpskip", N, 2},
    {"libx264-lossless_fast", 0, "+loop", "-parti8x8+parti4x4+partp8x8-partp4x4-partb8x8", "hex", 3, 16, 40, 1, N, N, 1, N, "+fastpskip", 0, 0},
    {"libx264-lossless_max", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "esa", 8, 16, 40, 1, N, 16, 1, N, "+mixed_refs+dct8x8+fastpskip", 0, 2},
    {"libx264-lossless_medium", 1, "+loop", "-parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "hex", 5, 16, 40, 1, N, N, 1, N, "+fastpskip", 0, 2},
    {"libx264-lossless_slow", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "umh", 6, 16, 40, 1, N, 2, 1, N, "+dct8x8+fastpskip", 0, 2},
    {"libx264-lossless_slower", 1, "+loop", "+parti8x8+parti4x4+partp8x8+partp4x4-partb8x8", "umh", 8, 16, 40, 1, N, 4, 1, N, "+mixed_refs+dct8x8+fastpskip", 0, 2},
    {"libx264-lossless_ultrafast", 0, "+loop", "-parti8x8-parti4x4-partp8x8-partp4x4-partb8x8", "dia", 0, 16, 40, 1, N, N, 1, N, "+fastpskip", 0, N},
    {"libx264-max", 1, "+loop", P5, "tesa", 10, 24, 40, 2, 3, 16, 3, 2, "+wpred+mixed_refs+dct8x8-fastpskip", N, 2},
    {"libx264-medium", 1, "+loop", P4, "hex", 7, 16, 40, 1, 3, 3, 1, 1, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", N, 2},
    {"libx264-medium_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 1, 3, 1, 1, 0, FP, N, 2},
    {"libx264-normal", 1, "+loop", P4, "hex", 6, 16, 40, 1, 3, 2, 3, 0, "+wpred+dct8x8+fastpskip", N, 2},
    {"libx264-placebo", 1, "+loop", P5, "tesa", 10, 24, 40, 2, 16, 16, 3, 2, "+bpyramid+mixed_refs+wpred+dct8x8-fastpskip", N, 2},
    {"libx264-placebo_firstpass", 1, "+loop", P5, "tesa", 10, 24, 40, 2, 16, 16, 3, 2, "+bpyramid+mixed_refs+wpred+dct8x8-fastpskip", N, 2},
    {"libx264-slow", 1, "+loop", P4, "umh", 8, 16, 40, 2, 3, 5, 3, 1, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", N, 2},
    {"libx264-slow_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 2, 3, 1, 3, 0, FP, N, 2},
    {"libx264-slower", 1, "+loop", P5, "umh", 9, 16, 40, 2, 3, 8, 3, 2, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", N, 2},
    {"libx264-slower_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 2, 3, 1, 3, 0, FP, N, 2},
    {"libx264-slowfirstpass", 1, "+loop", P4, "hex", 6, 16, 40, 2, 3, 1, 3, 0, "+wpred+dct8x8+fastpskip", N, 2},
    {"libx264-superfast", 1, "+loop", "+parti8x8+parti4x4-partp8x8-partb8x8", "dia", 1, 16, 40, 1, 3, 1, 1, 0, "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree", N, 0},
    {"libx264-superfast_firstpass", 1, "+loop", M4, "dia", 1, 16, 40, 1, 3, 1, 1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree", N, 0},
    {"libx264-ultrafast", 0, "-loop", M4, "dia", 0, 16, 0, 0, 0, 1, 1, 0, "-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree", N, 0},
    {"libx264-ultrafast_firstpass", 0, "-loop", M4, "dia", 0, 16, 0, 0, 0, 1, 1, 0, "-bpyramid-mixed_refs-wpred-dct8x8+fastpskip-mbtree", N, 0},
    {"libx264-veryfast", 1, "+loop", P4, "hex", 2, 16, 40, 1, 3, 1, 1, 0, "+bpyramid-mixed_refs+wpred+dct8x8+fastpskip-mbtree", N, 0},
    {"libx264-veryfast_firstpass", 1, "+loop", M4, "dia", 2, 16, 40, 1, 3, 1, 1, 0, "+bpyramid-mixed_refs+wpred-dct8x8+fastpskip-mbtree", N, 0},
    {"libx264-veryslow", 1, "+loop", P5, "umh", 10, 24, 40, 2, 8, 16, 3, 2, "+bpyramid+mixed_refs+wpred+dct8x8+fastpskip", N, 2},
    {"libx264-veryslow_firstpass", 1, "+loop", M4, "dia", 2, 24, 40, 2, 8, 1, 3, 0, FP, N, 2},
};

// The "+a-b+c" items of an old flag text, with their signs.
std::vector<std::pair<bool, String>> FlagItems(const String& AFlags) {
  std::vector<std::pair<bool, String>> Items;
  for (size_t I = 0; I < AFlags.size();) {
    const bool On = AFlags[I] == '+';
    size_t J = AFlags.find_first_of("+-", I + 1);
    if (J == String::npos) J = AFlags.size();
    Items.emplace_back(On, AFlags.substr(I + 1, J - I - 1));
    I = J;
  }
  return Items;
}

// The x264 preset whose name the row carries ("libx264-fast_firstpass" -> "fast").
String X264PresetOf(const String& ARowName) {
  String Base = ARowName.substr(String("libx264-").size());
  for (const char* Prefix : {"lossless_"})
    if (Base.starts_with(Prefix)) Base = Base.substr(String(Prefix).size());
  const size_t U = Base.find("_firstpass");
  if (U != String::npos) Base = Base.substr(0, U);
  if (Base == "default") return "medium";
  for (const char* P : {"ultrafast", "superfast", "veryfast", "faster", "fast", "medium", "slow",
                        "slower", "veryslow", "placebo"})
    if (Base == P) return P;
  return {};
}

// The row in libx264's own options of today. The old generic flags are either refused
// by the encoder or silently ignored (loop filter, motion search range) or read the
// other way round (partition lists): each is written as the option libx264 honours.
String TranslateX264Row(const TX264Row& R) {
  std::vector<String> L;
  auto Add = [&L](const String& Name, const String& Value) { L.push_back(Name + "=" + Value); };
  const String Preset = X264PresetOf(R.Name);
  if (!Preset.empty()) Add("preset", Preset);
  Add("coder", IntToStr(R.coder));
  // "deblock=0,0" is the loop filter on at neutral strength ("deblock=1" would mean a
  // strength of 1, "deblock=0" a strength of 0). The pair takes libx264's comma form:
  // ':' separates the parameters of the list.
  Add("x264-params", Format("%s:chroma-me=1:merange=%d",
                            {String(R.flags) == "+loop" ? "deblock=0,0" : "no-deblock=1", R.me_range}));
  String Parts;
  for (auto& [On, Item] : FlagItems(R.partitions))
    if (On) Parts += (Parts.empty() ? "" : ",") + Item.substr(4);  // "parti8x8" -> "i8x8"
  Add("partitions", Parts.empty() ? "none" : Parts);
  Add("me_method", R.me_method);
  Add("subq", IntToStr(R.subq));
  Add("g", "250");
  Add("keyint_min", "25");
  Add("sc_threshold", IntToStr(R.sc_threshold));
  Add("i_qfactor", "0.71");
  Add("b_strategy", IntToStr(R.b_strategy));
  Add("qcomp", "0.6");
  Add("qmin", "10");
  Add("qmax", "51");
  Add("qdiff", "4");
  if (R.bf != N) Add("bf", IntToStr(R.bf));
  if (R.refs != N) Add("refs", IntToStr(R.refs));
  Add("direct-pred", IntToStr(R.directpred));
  if (R.trellis != N) Add("trellis", IntToStr(R.trellis));
  // The old encoder took every one of these from the flags, so a flag the row does not
  // name had the flags' default: off, except fast P-skip and macroblock-tree on.
  bool MixedRefs = false, WPred = false, Dct8x8 = false, FastPSkip = true, BPyramid = false, MBTree = true;
  for (auto& [On, Item] : FlagItems(R.flags2)) {
    if (Item == "mixed_refs") MixedRefs = On;
    else if (Item == "wpred") WPred = On;
    else if (Item == "dct8x8") Dct8x8 = On;
    else if (Item == "fastpskip") FastPSkip = On;
    else if (Item == "bpyramid") BPyramid = On;
    else if (Item == "mbtree") MBTree = On;
  }
  Add("mixed-refs", MixedRefs ? "1" : "0");
  Add("weightb", WPred ? "1" : "0");
  Add("8x8dct", Dct8x8 ? "1" : "0");
  Add("fast-pskip", FastPSkip ? "1" : "0");
  Add("b-pyramid", BPyramid ? "normal" : "none");
  Add("mbtree", MBTree ? "1" : "0");
  if (R.cqp != N) Add("qp", IntToStr(R.cqp));
  if (R.wpredp != N) Add("wpredp", IntToStr(R.wpredp));
  if (String(R.Name).find("firstpass") != String::npos) Add("fastfirstpass", "1");
  String Text;
  for (const String& Line : L) Text += (Text.empty() ? "" : "\n") + Line;
  return Text;
}

struct TOptionsPreset {
  String Name;
  String Value;
};

const std::vector<TOptionsPreset>& BuiltinPresets() {
  static const std::vector<TOptionsPreset> Presets = [] {
    std::vector<TOptionsPreset> P;
    // Baseline-like rows: CAVLC, no B-frames, no 8x8 transform, no weighted prediction;
    // libx264 then signals the baseline profile by itself.
    const char* Baseline = "coder=0\nbf=0\nweightb=0\n8x8dct=0\nwpredp=0";
    P.push_back({"libx264-baseline", Baseline});
    for (const TX264Row& R : X264Rows) P.push_back({R.Name, TranslateX264Row(R)});
    P.push_back({"libx264-ipod320",
                 "coder=0\nbf=0\nweightb=0\n8x8dct=0\nlevel=13\nmaxrate=768000\nbufsize=3000000\nwpredp=0"});
    P.push_back({"libx264-ipod640",
                 "coder=0\nbf=0\nrefs=1\nweightb=0\n8x8dct=0\nlevel=30\nmaxrate=10000000\nbufsize=10000000\nwpredp=0"});
    P.push_back({"libx264-main", "8x8dct=0"});
    // The table's order: by name.
    std::sort(P.begin(), P.end(), [](const TOptionsPreset& A, const TOptionsPreset& B) { return A.Name < B.Name; });
    return P;
  }();
  return Presets;
}

}  // namespace

String FindBuiltinPreset(const String& AName) {
  for (const TOptionsPreset& P : BuiltinPresets())
    if (SameText(P.Name, AName)) return P.Value;
  return {};
}

std::vector<String> BuiltinPresetNames() {
  std::vector<String> Names;
  for (const TOptionsPreset& P : BuiltinPresets()) Names.push_back(P.Name);
  return Names;
}

TTargetNorm TCustomFFmpeg::GuessNorm(const String& ANorm, const String& ADefaultNorm) {
  if (ANorm == "pal") return tnPAL;
  if (ANorm == "ntsc") return tnNTSC;
  if (ANorm == "film") return tnFILM;
  if (Fframe_rate.den == 0) throw FFmpegException("frame_rate is invalid.");
  auto FromRate = [](double ARate, TTargetNorm& ANormOut) {
    const Int64 R = Round(ARate);
    if (R == 23976 || R == 29970) {
      ANormOut = tnNTSC;
      return true;
    }
    if (R == 25000) {
      ANormOut = tnPAL;
      return true;
    }
    return false;
  };
  TTargetNorm Norm = tnPAL;
  bool Found = FromRate(Fframe_rate.num * 1000.0 / Fframe_rate.den, Norm);
  for (Integer I = 0; !Found && I < Fnb_input_files; ++I) {
    const AVFormatContext* ic = Finput_files[I];
    if (!ic) continue;
    for (unsigned J = 0; !Found && J < ic->nb_streams; ++J) {
      const AVStream* st = ic->streams[J];
      if (st->codecpar->codec_type != AVMEDIA_TYPE_VIDEO) continue;
      AVRational Rate = st->avg_frame_rate.den ? st->avg_frame_rate : st->r_frame_rate;
      if (Rate.num && Rate.den) Found = FromRate(Rate.num * 1000.0 / Rate.den, Norm);
    }
  }
  if (!Found) Norm = ADefaultNorm == "ntsc" ? tnNTSC : ADefaultNorm == "film" ? tnFILM : tnPAL;
  if (Fverbose > 0) Log(llVerbose, Format("Assuming %s for target.", {Norm == tnPAL ? "PAL" : "NTSC"}));
  return Norm;
}

namespace {

// How a target treats the channel count.
enum TTargetChannels { tcKeep, tcMonoToStereo, tcStereo };

// The settings of one target, applied in this order; nil and 0 leave a setting as it is.
// Pairs are {NTSC-like, PAL}.
struct TTargetRow {
  const char* Type;
  const char* VideoCodec;
  const char* AudioCodec;
  const char* Format;
  const char* FrameSize[2];
  const char* PixelFormat[2];
  const char* Gop[2];
  const char* Bitrate;
  const char* MaxRate;
  const char* MinRate;
  const char* BufSize;
  // Once a codec flag, now an option of the MPEG-2 encoder.
  const char* ScanOffset;
  const char* AudioBitrate;
  Integer SampleRate;
  TTargetChannels Channels;
  const char* PacketSize;
  const char* MuxRate;
  // The mux preload in seconds (the MPEG muxer's "preload" option in microseconds).
  Single Preload;
  const char* Aspect;
};

constexpr TTargetRow TargetRows[] = {
    {"vcd", "mpeg1video", "mp2", "vcd", {"352x240", "352x288"}, {}, {"18", "15"}, "1150000", "1150000",
     "1150000", "327680", nullptr, "224000", 44100, tcStereo, "2324", "1411200", 0.44f, "4:3"},
    {"svcd", "mpeg2video", "mp2", "svcd", {"480x480", "480x576"}, {}, {"18", "15"}, "2040000", "2516000",
     "0", "1835008", "1", "224000", 44100, tcMonoToStereo, "2324", nullptr, 0, "4:3"},
    {"dvd", "mpeg2video", "ac3", "dvd", {"720x480", "720x576"}, {}, {"18", "15"}, "6000000", "9000000",
     "0", "1835008", nullptr, "448000", 48000, tcMonoToStereo, "2048", "10080000", 0, "16:9"},
    {"dv", nullptr, nullptr, "dv", {"720x480", "720x576"}, {"yuv411p", "yuv420p"}, {}, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr, 48000, tcStereo, nullptr, nullptr, 0, nullptr},
    {"dv50", nullptr, nullptr, "dv", {"720x480", "720x576"}, {"yuv422p", "yuv422p"}, {}, nullptr, nullptr,
     nullptr, nullptr, nullptr, nullptr, 48000, tcStereo, nullptr, nullptr, 0, nullptr},
};

}  // namespace

void TCustomFFmpeg::SetTarget(const String& AType, const String& ANorm, const String& ADefaultNorm) {
  const TTargetNorm Norm = GuessNorm(ANorm, ADefaultNorm);
  const TTargetRow* Row = nullptr;
  for (const TTargetRow& R : TargetRows)
    if (AType == R.Type) Row = &R;
  if (!Row) throw FFmpegException("Unknown target type");
  const size_t N = Norm != tnPAL ? 0 : 1;  // NTSC and film share the NTSC values
  auto Generic = [this](const char* AName, const char* AValue) {
    if (AValue) (void)SetGenericOption(AName, AValue);
  };
  if (Row->VideoCodec) SetVideoCodec(Row->VideoCodec);
  if (Row->AudioCodec) SetAudioCodec(Row->AudioCodec);
  SetForceFormat(Row->Format);
  SetFrameSize(Row->FrameSize[N]);
  if (Row->PixelFormat[N]) SetPixelFormat(Row->PixelFormat[N]);
  SetFrameRate(NormFrameRates[Norm]);
  Generic("g", Row->Gop[N]);
  Generic("b", Row->Bitrate);
  Generic("maxrate", Row->MaxRate);
  Generic("minrate", Row->MinRate);
  Generic("bufsize", Row->BufSize);
  Generic("scan_offset", Row->ScanOffset);
  Generic("ab", Row->AudioBitrate);
  Faudio_sample_rate = Row->SampleRate;
  if (Row->Channels == tcStereo || (Row->Channels == tcMonoToStereo && Faudio_channels == 1)) Faudio_channels = 2;
  Generic("packetsize", Row->PacketSize);
  Generic("muxrate", Row->MuxRate);
  if (Row->Preload > 0) {
    Fmux_preload = Row->Preload;
    Generic("preload", IntToStr(static_cast<Int64>(std::lrint(static_cast<double>(Row->Preload) * AV_TIME_BASE))).c_str());
  }
  if (Row->Aspect && Fframe_aspect_ratio == 0) {
    Log(llInfo, Format("Assuming %s for aspect ratio", {Row->Aspect}));
    SetAspectRatio(Row->Aspect);
  }
}

void TCustomFFmpeg::SetTargetText(const String& AText) {
  String Type = Trim(AText);
  String Norm = "auto";
  for (const char* N : {"pal", "ntsc", "film"}) {
    const String Prefix = String(N) + "-";
    if (Type.starts_with(Prefix)) {
      Norm = N;
      Type = Type.substr(Prefix.size());
      break;
    }
  }
  SetTarget(Type, Norm, "ntsc");
}

void TCustomFFmpeg::ApplyPreset(const String& AOption, const String& AName) {
  if (AOption.empty() || AName.empty()) return;
  String Text, Display = AName;
  if (AOption != "fpre") {
    Text = FindBuiltinPreset(AName);
    const String* Codec = AOption == "vpre"   ? &Fvideo_codec_name
                          : AOption == "apre" ? &Faudio_codec_name
                          : AOption == "spre" ? &Fsubtitle_codec_name
                                              : nullptr;
    if (Text.empty() && Codec && !Codec->empty()) {
      Text = FindBuiltinPreset(*Codec + "-" + AName);
      if (!Text.empty()) Display = *Codec + "-" + AName;
    }
  }
  if (Text.empty()) {
    Display = AName;
    if (!FileExists(AName)) throw FFmpegException(Format("Preset \"%s\" not found", {AName}));
    std::ifstream In(AName, std::ios::binary);
    if (!In) throw FFmpegException(Format("Preset \"%s\" not found", {AName}));
    std::ostringstream Data;
    Data << In.rdbuf();
    Text = Data.str();
  }
  Text = StringReplace(StringReplace(Trim(Text), "\r\n", "\n", {rfReplaceAll}), "\r", "\n", {rfReplaceAll});
  std::istringstream Lines(Text);
  String Line;
  while (std::getline(Lines, Line)) {
    Line = Trim(Line);
    if (Line.empty() || Line[0] == '#') continue;
    const size_t Eq = Line.find('=');
    const String Key = Eq == String::npos ? Line : Trim(Line.substr(0, Eq));
    const String Value = Eq == String::npos ? String() : Trim(Line.substr(Eq + 1));
    if (Eq == String::npos || Key.empty() || Value.empty())
      throw FFmpegException(Format("%s: Invalid syntax: \"%s\"", {Display, Line}));
    const String LowKey = LowerCase(Key);
    if (LowKey == "acodec")
      SetAudioCodec(Value);
    else if (LowKey == "vcodec")
      SetVideoCodec(Value);
    else if (LowKey == "scodec")
      SetSubtitleCodec(Value);
    else if (!SetGenericOption(Key, Value) && HaltOnInvalidOption)
      throw FFmpegException(Format("%s\r\n%s: Invalid option or argument: \"%s\", parsed as \"%s\" = \"%s\"",
                                   {LastOptionError(), Display, Line, Key, Value}));
  }
}

}  // namespace vantrel::media
