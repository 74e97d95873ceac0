// Routines the transcoder, the option vocabulary, the decoder and the player share:
// time and frame-duration arithmetic, error texts, the generic FFmpeg option store,
// the two-pass log reader, presentation-time correction, metadata and codec names; the
// registry of our own video filters with the filter chain that runs them, and the
// picture converter between decoded pictures and bitmaps.
#pragma once

#include <atomic>
#include <limits>
#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Graphics.h"
#include "platform/win/Gdi.h"

struct AVCodec;
struct AVCodecContext;
struct AVCodecParameters;
struct AVDictionary;
struct AVFilterContext;
struct AVFilterGraph;
struct AVFormatContext;
struct AVFrame;
struct SwsContext;

namespace vantrel::media {

// FFmpeg's AV_NOPTS_VALUE (only the sign bit set) and AV_TIME_BASE.
inline constexpr Int64 NoPTSValue = std::numeric_limits<Int64>::min();
inline constexpr Int64 AVTimeBase = 1000000;

// FFmpeg's AVRational, for headers that do not see FFmpeg's own.
struct TAVRational {
  Integer num;
  Integer den;
};

// Number of media types with an option template: video, audio, data, subtitle, attachment.
inline constexpr int OptMediaTypeCount = 5;

// Options outside the engine's own vocabulary, applied by name to FFmpeg's codec,
// format and scaler contexts. The templates check a value as FFmpeg parses it; the
// dictionaries keep the accepted texts for avcodec_open2 / avformat_write_header /
// the scaler (SetContextOpts picks the ones a context takes). Freed by UninitOpts or
// the destructor while the libraries are loaded (after an unload they are only dropped).
struct TFFOptions {
  TFFOptions() = default;
  ~TFFOptions();
  TFFOptions(const TFFOptions&) = delete;
  TFFOptions& operator=(const TFFOptions&) = delete;

  // The names in the order they were set; a value only for an option of a codec's or
  // muxer's private class (a generic option's value is in the dictionaries).
  std::vector<String> opt_names;
  std::vector<String> opt_values;
  Integer opt_name_count = 0;
  // Templates per media type (AVMEDIA_TYPE_VIDEO = 0 ... ATTACHMENT = 4), the format
  // template and the scaler template (holding the scaler flags given to InitOpts).
  AVCodecContext* avcodec_opts[OptMediaTypeCount] = {};
  AVFormatContext* avformat_opts = nullptr;
  SwsContext* sws_opts = nullptr;
  // The accepted option texts of each template.
  AVDictionary* codec_dict[OptMediaTypeCount] = {};
  AVDictionary* format_dict = nullptr;
  AVDictionary* sws_dict = nullptr;
};

struct TPtsCorrectionContext {
  Int64 num_faulty_pts;
  Int64 num_faulty_dts;
  Int64 last_pts;
  Int64 last_dts;
};

// "hh:mm:ss.zzz" (hours not wrapped, negative times give negative fields); "N/A" for
// NoPTSValue.
String TimestampToStr(Int64 t);
// Microseconds of one frame at the rate; 40000 (25 fps) when a part is 0.
Int64 FrameDuration(TAVRational rate);
// AFileName + ": " + the text of the FFmpeg error code.
String PrintError(const String& AFileName, Integer AErrorCode);

// Fresh templates and empty lists (UninitOpts first). Raises EOutOfMemory when FFmpeg
// cannot allocate a template.
void InitOpts(TFFOptions& AOptions, Integer ASwsFlags);
void UninitOpts(TFFOptions& AOptions);
// Sets a generic option by name in the manner of FFmpeg's command-line tools; false
// with the reason in LastOptionError (and FFmpeg's log) when the name is unknown or
// the value invalid. Never raises.
bool OptDefault(TFFOptions& AOptions, const String& AName, const String& AValue);
// The text of the last failure of OptDefault.
String LastOptionError();
// Adds to *AOpts the stored options that ATarget (an AVCodecContext or AVFormatContext)
// takes: those held in ATemplate (one of AOptions' dictionaries) whose option on the
// target's class has all of AFlags, and the private ones that ACodec's private class
// (codec targets) or the muxer's private class (format targets) knows. *AOpts is then
// handed to avcodec_open2 / avformat_write_header.
void SetContextOpts(const TFFOptions& AOptions, void* ATarget, const AVDictionary* ATemplate,
                    Integer AFlags, const AVCodec* ACodec, AVDictionary** AOpts);

// Reads a whole file into a buffer from av_malloc (free it with av_free) ending with a
// zero byte; ASize is the bytes read plus that byte. 0; -1 when the file cannot be
// read; -12 when no buffer can be had. ABuffer and ASize are untouched on failure.
Integer ReadWholeFile(const String& AFileName, char*& ABuffer, Integer& ASize);

void InitPtsCorrection(TPtsCorrectionContext& ACtx);
// The better of the reordered presentation time and the decoding time: the decoding
// time once presentation times have gone wrong more often than decoding times.
Int64 GuessCorrectPts(TPtsCorrectionContext& ACtx, Int64 AReorderedPts, Int64 ADts);

// The value of the tag with that key (any case; not a prefix), ADefault when none.
String GetMetadataValue(const AVDictionary* AMetadata, const String& AKey, const String& ADefault);

// Display name of a stream's codec: "name(long name)" of the encoder or decoder, else
// FFmpeg's name of the codec id, else the codec tag.
String GetCodecName(const AVCodecParameters* APar, bool AEncoder);
String GetCodecName(const AVCodecContext* ACtx, bool AEncoder);

// "Video", "Audio", "Data", "Subtitle", "Attachment", "Unknown".
String MediaTypeName(Integer AMediaType);

// ---------------------------------------------------------------------------------------
// Pictures

// The planes of a picture: up to four data pointers and their line sizes in bytes.
struct AVPicture {
  uint8_t* data[4] = {};
  int linesize[4] = {};
};

// The classic vertical deinterlacer: the even lines are kept, each odd line becomes
// (-a + 4b + 2c + 4d - e + 4) / 8 of the five lines around it (clamped to 0..255; lines
// outside the picture repeat the nearest edge line). Planar YUV 4:2:0, 4:2:2, 4:4:4,
// 4:1:1 (also the full-range 4:2:0 and 4:2:2) and grey; width and height must be
// multiples of 4. ADst may be ASrc. 0; -1 for a format or size it cannot handle.
Integer DeinterlacePicture(AVPicture& ADst, const AVPicture& ASrc, Integer APixFmt,
                           Integer AWidth, Integer AHeight);

// ---------------------------------------------------------------------------------------
// The engine's own video filters. libavfilter has no public way to add a filter, so
// ours run as C++ steps on the pictures between libavfilter graphs (TVideoFilterChain).

// One instance of a native filter, working on whole pictures in place.
class TNativeFilterInstance {
 public:
  virtual ~TNativeFilterInstance() = default;
  // The input's pixel format and size, before the first picture.
  virtual void ConfigProps(Integer /*APixFmt*/, Integer /*AWidth*/, Integer /*AHeight*/) {}
  // Changes the planes of a picture of the configured format and size; the planes it
  // changes are writable.
  virtual void Process(AVFrame* AFrame) = 0;
  // The planes Process changes, bit N for data[N]. The chain copies only those of a
  // picture it shares with others.
  virtual uint32_t PlanesWritten() const { return ~0u; }
  // Process on a picture shared with others: the planes of PlanesWritten() are fresh
  // buffers of the same line sizes still to be filled, ASource[N] holds plane N's samples
  // as they were. A step that reads its source while it writes saves a pass over the
  // picture this way. False when it does not: the chain copies the planes over and calls
  // Process.
  virtual bool ProcessFrom(AVFrame* /*AFrame*/, const uint8_t* const /*ASource*/[4]) {
    return false;
  }
};

// A native filter's definition.
struct TNativeFilterDef {
  const char* name;
  const char* description;
  // The pixel formats it takes, in order of preference, ending with -1.
  const Integer* pix_fmts;
  // Makes an instance from the argument text (after "=", quotes and escapes already
  // removed; empty without arguments). Raises Exception with the reason on bad text.
  std::unique_ptr<TNativeFilterInstance> (*init)(const String& AArgs);
};

// Adds the definition to the process-wide registry. A definition already registered
// (or another one with the same name) is left as it is: false; true when added.
bool RegisterAVFilter(const TNativeFilterDef* AFilter);
// The registered definition of that name, nil when none.
const TNativeFilterDef* FindNativeFilter(const String& AName);

// Live values: integers the application changes while a chain runs (a preview's
// sliders). The filter text names a value by its id; each filter instance holds on to
// the value, so unregistering it never leaves an instance with a dangling reference.
using TLiveValue = std::atomic<int32_t>;
using TLiveValueRef = std::shared_ptr<TLiveValue>;
// A new live value with that initial value, registered; its id is LiveValueId.
TLiveValueRef NewLiveValue(int32_t AInitial = 0);
// Registers a value; returns its id (> 0). The same value registered twice keeps its id.
Integer RegisterLiveValue(const TLiveValueRef& AValue);
void UnregisterLiveValue(Integer AId);
// The registered value's id, 0 when it is not registered.
Integer LiveValueId(const TLiveValueRef& AValue);
// The value of that id, nil when none is registered under it.
TLiveValueRef FindLiveValue(Integer AId);

// One step of a parsed filter chain: a text for libavfilter, or one of our filters.
struct TFilterChainStep {
  const TNativeFilterDef* Native = nullptr;  // nil: Text is a libavfilter chain
  String Text;                               // libavfilter text, or the native filter's arguments
};

// Splits a filter-chain text at our filters. A text without them is one libavfilter
// step, whatever its syntax; a text with them must be a simple chain (filters separated
// by ","; no ";" and no [labels]). Quotes ('...') and backslash escapes are honoured as
// libavfilter does. Raises Exception with a clear message on bad syntax.
std::vector<TFilterChainStep> ParseFilterChain(const String& AFilters);

// What goes into a chain.
struct TVideoFilterInput {
  Integer Width = 0;
  Integer Height = 0;
  Integer PixFmt = -1;
  TAVRational TimeBase{1, static_cast<Integer>(AVTimeBase)};
  TAVRational SampleAspect{0, 1};
  TAVRational FrameRate{0, 1};  // 0/1: unknown
};

// A video filter chain: a buffer source, the user's chain (with our filters as C++ steps
// between libavfilter graphs, each graph ending in a "format" filter that gives the next
// step a format it takes) and a sink with the wanted pixel formats.
class TVideoFilterChain {
 public:
  TVideoFilterChain();
  ~TVideoFilterChain();
  TVideoFilterChain(const TVideoFilterChain&) = delete;
  TVideoFilterChain& operator=(const TVideoFilterChain&) = delete;

  // Builds the chain (dropping one built before). AOutputFormats: the formats the sink
  // may give, empty for any. AScaleSwsOpts: the scaler options of the graphs ("flags=4"),
  // empty for libavfilter's default. 0, or a negative FFmpeg error code with the reason
  // in LastErrMsg.
  Integer Configure(const TVideoFilterInput& AInput, const String& AFilters,
                    const std::vector<Integer>& AOutputFormats = {},
                    const String& AScaleSwsOpts = String());
  void Clear();
  bool Configured() const { return !FStages.empty(); }

  // Hands a picture (the caller keeps it) to the chain; nil ends the stream. 0 or a
  // negative FFmpeg error code.
  Integer Push(const AVFrame* AFrame);
  // The next filtered picture into AFrame (unreferenced first): 1; -2 (AVERROR(ENOENT))
  // when none is waiting; AVERROR_EOF once the ended stream is used up; else an error.
  Integer Pull(AVFrame* AFrame);

  // The sink's side, once configured.
  Integer Width() const { return FOutWidth; }
  Integer Height() const { return FOutHeight; }
  Integer PixFmt() const { return FOutPixFmt; }
  TAVRational TimeBase() const { return FOutTimeBase; }
  TAVRational SampleAspect() const { return FOutSampleAspect; }
  // The last graph's buffersink.
  AVFilterContext* Sink() const;
  const String& LastErrMsg() const { return FLastErrMsg; }

 private:
  struct TStage;
  Integer Feed(size_t AStage, AVFrame* AFrame);
  Integer Fail(Integer ACode, const String& AMessage);
  std::vector<std::unique_ptr<TStage>> FStages;
  Integer FOutWidth = 0;
  Integer FOutHeight = 0;
  Integer FOutPixFmt = -1;
  TAVRational FOutTimeBase{0, 1};
  TAVRational FOutSampleAspect{0, 1};
  String FLastErrMsg;
};

// The "ffsink" of a graph: the built-in buffersink limited to the formats of the list
// (ending with -1). -22 (AVERROR(EINVAL)) when there is no list.
Integer CreateVideoSink(AVFilterGraph* AGraph, const char* AName, const Integer* APixFmts,
                        AVFilterContext** ASink);
// The next picture of a sink or a chain, with the time base of its pts: 1; -2
// (AVERROR(ENOENT)) when none is waiting; AVERROR_EOF at the end; else an error.
Integer GetFilteredVideoFrame(AVFilterContext* ASink, AVFrame* AFrame, TAVRational& ATimeBase);
Integer GetFilteredVideoFrame(TVideoFilterChain& AChain, AVFrame* AFrame, TAVRational& ATimeBase);

// ---------------------------------------------------------------------------------------
// Picture converter: decoded pictures of any format to an RGB picture and a TBitmap
// (for hooks, previews and snapshots), and back.

// pf8bit .. pf32bit.
using TBMPPixelFormat = TPixelFormat;

class TFormatConverter : public TObject {
  VANTREL_CLASS(TFormatConverter)

  TFormatConverter();
  ~TFormatConverter() override;

  // 8, 15, 16, 24 or 32 (15 reads back as 16); other values raise "Invalid BitsPixel %d".
  Integer BitsPixel() const { return FBitsPixel; }
  void SetBitsPixel(Integer Value);
  TBMPPixelFormat BMPPixFmt() const { return FBMPPixFmt; }
  void SetBMPPixFmt(TBMPPixelFormat Value);
  TBitmap* Bitmap() const { return FBitmap.get(); }
  // The current RGB picture as a BITMAP description (bits top-down, row by row).
  const BITMAP* DIB() const { return &FDIB; }
  const AVPicture* RGBPicture() const { return &FRGBPicture; }
  // The RGB picture in use: the own one, the caller's when no conversion was needed,
  // nil before the first conversion and after a failure.
  const AVPicture* RGBPictureRef() const { return FRGBPictureRef; }
  // The FFmpeg pixel format of the RGB side.
  Integer AVPixFmt() const { return FAVPixFmt; }
  const String& LastErrMsg() const { return FLastErrMsg; }

  // Converts the picture into the RGB format (no copy when it is in that format already
  // with even sizes and bitmap-sized rows); with ACopyToBitmap also into Bitmap.
  bool PictureToRGB(const AVPicture& APicture, Integer APixFmt, Integer AWidth, Integer AHeight,
                    bool ACopyToBitmap);
  // Row by row between the current RGB picture and Bitmap. Without a current RGB
  // picture they raise EInvalidOperation.
  void RGBToBitmap();
  void BitmapToRGB();
  // Converts the current RGB picture into the caller's picture of that format and size.
  bool RGBToPicture(AVPicture& APicture, Integer APixFmt, Integer AWidth, Integer AHeight);

 private:
  void ResetRGB();
  void CheckRGB() const;
  Integer FBitsPixel = 24;
  Integer FAVPixFmt = -1;
  TBMPPixelFormat FBMPPixFmt = pf24bit;
  TOwned<TBitmap> FBitmap;
  BITMAP FDIB{};
  std::vector<uint8_t> FRGBBuffer;  // only grows
  AVPicture FRGBPicture;
  AVPicture FRGBPictureCopy;  // the caller's planes when no conversion was needed
  const AVPicture* FRGBPictureRef = nullptr;
  Integer FRGBWidth = 0;
  Integer FRGBHeight = 0;
  SwsContext* FtoRGB_convert_ctx = nullptr;
  SwsContext* FfromRGB_convert_ctx = nullptr;
  String FLastErrMsg;
};

}  // namespace vantrel::media
