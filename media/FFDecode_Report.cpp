// The text report of an open media file: file lines, metadata, chapters, programs and
// one line per stream in the manner of FFmpeg's stream dump.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <memory>
#include <vector>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFDecode.h"
#include "media/MyUtils.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringList.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {

struct TKeyName {
  const char* Key;
  const char* Name;
};

// Metadata keys of the common containers and their uniform names; first match wins.
constexpr TKeyName KeyNames[] = {
    {"LEAD_PERFORMER", "performer"},
    {"PART_NUMBER", "track"},
    {"ALBUMARTIST", "album_artist"},
    {"TRACKNUMBER", "track"},
    {"DISCNUMBER", "disc"},
    {"Author", "artist"},
    {"X-CreationTime", "date"},
    {"CreationTime", "date"},
    {"SourceFilename", "filename"},
    {"X-Language", "language"},
    {"X-Disposition", "disposition"},
    {"X-Replaces", "replaces"},
    {"X-Depends", "depends"},
    {"X-Uses", "uses"},
    {"X-UsesFont", "usesfont"},
    {"WM/AlbumArtist", "album_artist"},
    {"WM/AlbumTitle", "album"},
    {"Author", "artist"},
    {"Description", "comment"},
    {"WM/Composer", "composer"},
    {"WM/EncodedBy", "encoded_by"},
    {"WM/EncodingSettings", "encoder"},
    {"WM/Genre", "genre"},
    {"WM/Language", "language"},
    {"WM/OriginalFilename", "filename"},
    {"WM/PartOfSet", "disc"},
    {"WM/Publisher", "publisher"},
    {"WM/Tool", "encoder"},
    {"WM/TrackNumber", "track"},
    {"WM/Track", "track"},
    {"WM/MediaStationCallSign", "service_provider"},
    {"WM/MediaStationName", "service_name"},
    {"IART", "artist"},
    {"ICMT", "comment"},
    {"ICOP", "copyright"},
    {"ICRD", "date"},
    {"IGNR", "genre"},
    {"ILNG", "language"},
    {"INAM", "title"},
    {"IPRD", "album"},
    {"IPRT", "track"},
    {"ISFT", "encoder"},
    {"ITCH", "encoded_by"},
    {"strn", "title"},
    {"TALB", "album"},
    {"TCOM", "composer"},
    {"TCON", "genre"},
    {"TCOP", "copyright"},
    {"TENC", "encoded_by"},
    {"TIT2", "title"},
    {"TLAN", "language"},
    {"TPE1", "artist"},
    {"TPE2", "album_artist"},
    {"TPE3", "performer"},
    {"TPOS", "disc"},
    {"TPUB", "publisher"},
    {"TRCK", "track"},
    {"TSSE", "encoder"},
    {"TDRL", "date"},
    {"TDRC", "date"},
    {"TDEN", "creation_time"},
    {"TSOA", "album-sort"},
    {"TSOP", "artist-sort"},
    {"TSOT", "title-sort"},
    {"TAL", "album"},
    {"TCO", "genre"},
    {"TT2", "title"},
    {"TEN", "encoded_by"},
    {"TP1", "artist"},
    {"TP2", "album_artist"},
    {"TP3", "performer"},
    {"TRK", "track"},
};
static_assert(std::size(KeyNames) == 72);

constexpr AVRational ReportMicroBase{1, AV_TIME_BASE};

// "s.uuuuuu" of a time in microseconds, with a sign in front of a negative one.
String SecondsText(Int64 AMicro) {
  const UInt64 Mag = AMicro < 0 ? UInt64{0} - static_cast<UInt64>(AMicro) : AMicro;
  return Format("%s%d.%.6d", {AMicro < 0 ? "-" : "", Mag / 1000000, Mag % 1000000});
}

struct TReportCodecContextDeleter {
  void operator()(AVCodecContext* C) const { ff::avcodec_free_context(&C); }
};

// avcodec_string of the stream's parameters, decoding side.
String CodecString(const AVCodecParameters* APar) {
  std::unique_ptr<AVCodecContext, TReportCodecContextDeleter> Ctx(ff::avcodec_alloc_context3(nullptr));
  if (!Ctx || ff::avcodec_parameters_to_context(Ctx.get(), APar) < 0) return String();
  char Buf[256] = {};
  ff::avcodec_string(Buf, sizeof Buf, Ctx.get(), 0);
  return Buf;
}

}  // namespace

String FormatFps(double AValue, const String& APostfix) {
  const Int64 V = static_cast<Int64>(std::nearbyint(AValue * 100));
  if (V % 100 != 0) return Format(", %3.2f %s", {AValue, APostfix});
  if (V % 100000 != 0) return Format(", %1.0f %s", {AValue, APostfix});
  return Format(", %1.0fk %s", {AValue / 1000, APostfix});
}

String MetadataKeyName(const String& AKey) {
  for (const TKeyName& K : KeyNames)
    if (AKey == K.Key) return K.Name;
  return AKey;
}

void DumpMetadata(TStringList& AReport, const AVDictionary* AMetadata, const String& AIndent) {
  std::vector<const AVDictionaryEntry*> Tags;
  const AVDictionaryEntry* E = nullptr;
  while ((E = ff::av_dict_get(AMetadata, "", E, AV_DICT_IGNORE_SUFFIX)))
    if (std::strcmp(E->key, "language") != 0) Tags.push_back(E);
  if (Tags.empty()) return;
  AReport.Add(AIndent + "Metadata:");
  for (const AVDictionaryEntry* T : Tags)
    AReport.Add(Format("%s  %-16s: %s", {AIndent, MetadataKeyName(T->key), T->value}));
}

void TCustomDecoder::DumpStreamFormat(TStringList& AReport, Integer AStreamIndex) {
  const AVFormatContext* Ctx = FFileHandle;
  const AVStream* St = Ctx->streams[AStreamIndex];
  const AVCodecParameters* Par = St->codecpar;
  String Line = Format("Stream #%d", {AStreamIndex});
  if (Ctx->iformat && (Ctx->iformat->flags & AVFMT_SHOW_IDS))
    Line += LowerCase(Format("[0x%x]", {St->id}));
  const String Language = GetMetadataValue(St->metadata, "language", String());
  if (!Language.empty()) Line += "(" + Language + ")";
  int G = ff::av_gcd(St->time_base.num, St->time_base.den);
  if (G == 0) G = 1;
  Line += Format(", %d/%d", {St->time_base.num / G, St->time_base.den / G});
  Line += ": " + CodecString(Par);

  if (St->sample_aspect_ratio.num != 0 &&
      av_cmp_q(St->sample_aspect_ratio, Par->sample_aspect_ratio)) {
    int DarNum = 0, DarDen = 0;
    ff::av_reduce(&DarNum, &DarDen, Int64{Par->width} * St->sample_aspect_ratio.num,
                  Int64{Par->height} * St->sample_aspect_ratio.den, 1024 * 1024);
    Line = Format("%s, PAR %d:%d DAR %d:%d",
                  {Line, St->sample_aspect_ratio.num, St->sample_aspect_ratio.den, DarNum, DarDen});
  }
  if (Par->codec_type == AVMEDIA_TYPE_VIDEO) {
    if (St->avg_frame_rate.den != 0 && St->avg_frame_rate.num != 0)
      Line += FormatFps(av_q2d(St->avg_frame_rate), "fps");
    if (St->r_frame_rate.den != 0 && St->r_frame_rate.num != 0)
      Line += FormatFps(av_q2d(St->r_frame_rate), "tbr");
    if (St->time_base.den != 0 && St->time_base.num != 0)
      Line += FormatFps(1 / av_q2d(St->time_base), "tbn");
  }
  if (St->start_time != AV_NOPTS_VALUE) {
    const Int64 Start = ff::av_rescale_q(St->start_time, St->time_base, ReportMicroBase);
    if (Start != AV_NOPTS_VALUE) Line += ", StartTime: " + SecondsText(Start);
  }
  if (St->duration == AV_NOPTS_VALUE)
    Line += ", Duration: N/A";
  else
    Line +=
        ", Duration: " + TimestampToStr(ff::av_rescale_q(St->duration, St->time_base, ReportMicroBase));
  AReport.Add(Line);
  DumpMetadata(AReport, St->metadata, "  ");
}

String TCustomDecoder::GetFileInfoText() {
  if (!FFileHandle) {
    LogMessage(AV_LOG_WARNING, "file not loaded.");
    return String();
  }
  const AVFormatContext* Ctx = FFileHandle;
  TStringList Report;
  Report.SetLineBreak("\r\n");
  Report.Add(Format("File Name: %s", {FileName()}));
  Report.Add(Format("Format Name: %s", {FormatName()}));
  if (!FormatLongName().empty()) Report.Add(Format("Format Long Name: %s", {FormatLongName()}));
  Report.Add(Format("File Size: %s", {FormatByteSize(FFileSize)}));

  const TFileStreamInfo Info = GetFileStreamInfo();
  if (Info.Duration < 0)
    Report.Add("Duration: N/A");
  else
    Report.Add(Format("Duration: %s", {TimestampToStr(Info.Duration)}));
  if (Info.StartTime >= 0) Report.Add("StartTime: " + SecondsText(Info.StartTime));
  if (Info.BitRate < 1)
    Report.Add("Bit Rate: N/A");
  else
    Report.Add(Format("Bit Rate: %d kb/s", {Info.BitRate / 1000}));
  if (Info.TimeStamp > 0)
    Report.Add(Format("Time Stamp: %s", {DateTimeToText("yyyy-mm-dd hh:nn:ss",
                                                        UnixToLocalDateTime(Info.TimeStamp))}));
  DumpMetadata(Report, Ctx->metadata, "");

  for (unsigned I = 0; I < Ctx->nb_chapters; ++I) {
    const AVChapter* Ch = Ctx->chapters[I];
    Report.Add(Format("Chapter #%d: start %f, end %f",
                      {I, Ch->start * av_q2d(Ch->time_base), Ch->end * av_q2d(Ch->time_base)}));
    DumpMetadata(Report, Ch->metadata, "  ");
  }

  // Streams of a program show under it only; the others follow in index order.
  std::vector<bool> Listed(Ctx->nb_streams, false);
  for (unsigned P = 0; P < Ctx->nb_programs; ++P) {
    const AVProgram* Program = Ctx->programs[P];
    // The MPEG-TS demuxer names them service_provider / service_name.
    const String Provider =
        GetMetadataValue(Program->metadata, "service_provider",
                         GetMetadataValue(Program->metadata, "provider_name", "N/A"));
    const String Name = GetMetadataValue(Program->metadata, "service_name",
                                         GetMetadataValue(Program->metadata, "name", "N/A"));
    Report.Add(Format("Program %d %s", {Program->id, Provider + "@" + Name}));
    DumpMetadata(Report, Program->metadata, "  ");
    for (unsigned J = 0; J < Program->nb_stream_indexes; ++J) {
      const unsigned Index = Program->stream_index[J];
      if (Index >= Ctx->nb_streams) continue;
      DumpStreamFormat(Report, static_cast<Integer>(Index));
      Listed[Index] = true;
    }
  }
  for (unsigned I = 0; I < Ctx->nb_streams; ++I)
    if (!Listed[I]) DumpStreamFormat(Report, static_cast<Integer>(I));
  return Report.Text();
}

}  // namespace vantrel::media
