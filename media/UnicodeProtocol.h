// File names handed to FFmpeg. FFmpeg takes a plain name as a file unless the text
// before its first ":" names a protocol, so names are converted on the way in:
// - a name starting with one of the known protocol prefixes (unicode, stream, gopher,
//   http, pipe, rtp, tcp, udp; case counts) passes unchanged;
// - a name with characters outside the Western 8-bit code page (Windows-1252) becomes
//   "unicode:utf8:" + name and opens through our own I/O context, so such names take
//   the same path everywhere and read back as the user's name;
// - any other name with a ":" gets "file:" in front, so FFmpeg opens it as a file;
// - everything else passes unchanged.
// FromFFmpegFileName undoes what ToFFmpegFileName added.
#pragma once

#include "platform/rtl/Types.h"

struct AVDictionary;
struct AVFormatContext;
struct AVInputFormat;
struct AVIOContext;

namespace vantrel::media {

inline constexpr const char UnicodeURLPrefix[] = "unicode:utf8:";

// Whether the name starts with one of the known protocol prefixes (it names no file).
bool IsProtocolName(const String& AName);
// Whether the name goes through "unicode:utf8:" (see above).
bool NeedUnicodeName(const String& AFileName);
String ToUnicodeURL(const String& AFileName);
// At least 14 bytes, the first 13 being "unicode:utf8:".
bool IsUnicodeURL(const String& AName);
// The name with everything up to and with the first ":" removed twice.
String FromUnicodeURL(const String& AName);

String ToFFmpegFileName(const String& AFileName);
String FromFFmpegFileName(const String& AName);

// avformat_open_input for the user's file name AFileName: converts it, points the
// context's interrupt_callback at the engine's interrupt list and opens "unicode:"
// names through our own I/O context. *AContext may hold a context made by
// avformat_alloc_context; on failure it is freed and nil, as avformat_open_input does.
// Returns FFmpeg's result (0 or a negative AVERROR). Close with CloseFFmpegInput.
int OpenFFmpegInput(AVFormatContext** AContext, const String& AFileName,
                    const AVInputFormat* AFormat, AVDictionary** AOptions);
// avformat_close_input, freeing our I/O context of a "unicode:" name too.
void CloseFFmpegInput(AVFormatContext** AContext);

// avio_open2 for the user's file name AFileName with AVIO_FLAG_READ, _WRITE (created or
// truncated) or _READ_WRITE (created, kept), interruptible through the interrupt list.
int OpenFFmpegIO(AVIOContext** AContext, const String& AFileName, int AFlags,
                 AVDictionary** AOptions);
// avio_closep for a context of OpenFFmpegIO (written data is flushed first).
int CloseFFmpegIO(AVIOContext** AContext);

}  // namespace vantrel::media
