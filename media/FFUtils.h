// Routines the transcoder, the option vocabulary, the decoder and the player share:
// time and frame-duration arithmetic, error texts, the generic FFmpeg option store,
// the two-pass log reader, presentation-time correction, metadata and codec names.
#pragma once

#include <limits>
#include <vector>

#include "platform/rtl/Types.h"

struct AVCodec;
struct AVCodecContext;
struct AVCodecParameters;
struct AVDictionary;
struct AVFormatContext;
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

}  // namespace vantrel::media
