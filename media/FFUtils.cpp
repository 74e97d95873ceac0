// Engine utilities: times, error texts, the generic option store, metadata and codec names.
#include "media/FFUtils.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "media/AVCodecAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLog.h"
#include "media/SWScaleAPI.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

static_assert(sizeof(TAVRational) == sizeof(AVRational));
static_assert(NoPTSValue == AV_NOPTS_VALUE && AVTimeBase == AV_TIME_BASE);
static_assert(AVMEDIA_TYPE_VIDEO == 0 && AVMEDIA_TYPE_ATTACHMENT == OptMediaTypeCount - 1);

namespace {

struct TErrorText {
  Integer Code;
  const char* Text;
};

// FFmpeg's tag codes first, then negated errno values (each with the negated WinSock
// code that shares its text), then WinSock codes with texts of their own. The rows for
// end of file, invalid data and exit carry the texts av_strerror gives for them.
constexpr TErrorText ErrorTexts[] = {
    {AVERROR_BSF_NOT_FOUND, "Bitstream filter not found"},
    {AVERROR_DECODER_NOT_FOUND, "Decoder not found"},
    {AVERROR_DEMUXER_NOT_FOUND, "Demuxer not found"},
    {AVERROR_ENCODER_NOT_FOUND, "Encoder not found"},
    {AVERROR_FILTER_NOT_FOUND, "Filter not found"},
    {AVERROR_MUXER_NOT_FOUND, "Muxer not found"},
    {AVERROR_PROTOCOL_NOT_FOUND, "Protocol not found"},
    {AVERROR_STREAM_NOT_FOUND, "Stream not found"},
    {AVERROR_PATCHWELCOME, "Not yet implemented in FFmpeg"},
    {AVERROR_EOF, "End of file"},
    {AVERROR_INVALIDDATA, "Invalid data found when processing input"},
    {AVERROR_EXIT, "Immediate exit requested"},
    {-1, "Operation not permitted"},
    {-2, "No such file or directory"},
    {-3, "No such process"},
    {-4, "Interrupted function call"},
    {-10004, "Interrupted function call"},
    {-5, "I/O error"},
    {-6, "No such device or address"},
    {-7, "Argument list too long"},
    {-8, "Exec format error"},
    {-9, "Bad file number"},
    {-10009, "Bad file number"},
    {-10, "No child processes"},
    {-11, "Resource temporarily unavailable / Try again"},
    {-12, "Not enough space / Out of memory"},
    {-13, "Permission denied"},
    {-10013, "Permission denied"},
    {-14, "Bad address"},
    {-10014, "Bad address"},
    {-15, "Block device required"},
    {-16, "Device or resource busy"},
    {-17, "File exists"},
    {-18, "Cross-device link"},
    {-19, "No such device"},
    {-20, "Not a directory"},
    {-21, "Is a directory"},
    {-22, "Invalid argument / Invalid data found when processing input"},
    {-10022, "Invalid argument / Invalid data found when processing input"},
    {-23, "Too many open files in system / File table overflow"},
    {-24, "Too many open files"},
    {-10024, "Too many open files"},
    {-25, "Inappropriate I/O control operation / Not a typewriter"},
    {-26, "Text file busy"},
    {-27, "File too large"},
    {-28, "No space left on device"},
    {-29, "Illegal seek"},
    {-30, "Read-only file system"},
    {-31, "Too many links"},
    {-32, "End of file"},
    {-33, "Number syntax expected in filename"},
    {-34, "Math result not representable"},
    {-35, "Resource deadlock would occur"},
    {-36, "File name too long"},
    {-10063, "File name too long"},
    {-37, "No record locks available"},
    {-38, "Function not implemented"},
    {-39, "Directory not empty"},
    {-10066, "Directory not empty"},
    {-40, "Too many symbolic links encountered"},
    {-10062, "Too many symbolic links encountered"},
    {-42, "Unknown format"},
    {-43, "Identifier removed"},
    {-44, "Channel number out of range"},
    {-45, "Level 2 not synchronized"},
    {-46, "Level 3 halted"},
    {-47, "Level 3 reset"},
    {-48, "Link number out of range"},
    {-49, "Protocol driver not attached"},
    {-50, "No CSI structure available"},
    {-51, "Level 2 halted"},
    {-52, "Invalid exchange"},
    {-53, "Invalid request descriptor"},
    {-54, "Exchange full"},
    {-55, "No anode"},
    {-56, "Invalid request code"},
    {-57, "Invalid slot"},
    {-59, "Bad font file format"},
    {-60, "Device not a stream"},
    {-61, "No data available"},
    {-62, "Timer expired"},
    {-63, "Out of streams resources"},
    {-64, "Machine is not on the network"},
    {-65, "Package not installed"},
    {-66, "Object is remote"},
    {-10071, "Object is remote"},
    {-67, "Link has been severed"},
    {-68, "Advertise error"},
    {-69, "Srmount error"},
    {-70, "Communication error on send"},
    {-71, "Protocol error"},
    {-72, "Multihop attempted"},
    {-73, "RFS specific error"},
    {-74, "Not a data message"},
    {-75, "Value too large for defined data type"},
    {-76, "Name not unique on network"},
    {-77, "File descriptor in bad state"},
    {-78, "Remote address changed"},
    {-79, "Can not access a needed shared library"},
    {-80, "Accessing a corrupted shared library"},
    {-81, ".lib section in a.out corrupted"},
    {-82, "Attempting to link in too many shared libraries"},
    {-83, "Cannot exec a shared library directly"},
    {-84, "Illegal byte sequence"},
    {-85, "Interrupted system call should be restarted"},
    {-86, "Streams pipe error"},
    {-87, "Too many users"},
    {-10068, "Too many users"},
    {-88, "Socket operation on non-socket"},
    {-10038, "Socket operation on non-socket"},
    {-89, "Destination address required"},
    {-10039, "Destination address required"},
    {-90, "Message too long"},
    {-10040, "Message too long"},
    {-91, "Protocol wrong type for socket"},
    {-10041, "Protocol wrong type for socket"},
    {-92, "Protocol not available"},
    {-10042, "Protocol not available"},
    {-93, "Protocol not supported"},
    {-10043, "Protocol not supported"},
    {-94, "Socket type not supported"},
    {-10044, "Socket type not supported"},
    {-95, "Operation not supported on transport endpoint"},
    {-10045, "Operation not supported on transport endpoint"},
    {-96, "Protocol family not supported"},
    {-10046, "Protocol family not supported"},
    {-97, "Address family not supported by protocol"},
    {-10047, "Address family not supported by protocol"},
    {-98, "Address already in use"},
    {-10048, "Address already in use"},
    {-99, "Cannot assign requested address"},
    {-10049, "Cannot assign requested address"},
    {-100, "Network is down"},
    {-10050, "Network is down"},
    {-101, "Network is unreachable"},
    {-10051, "Network is unreachable"},
    {-102, "Network dropped connection because of reset"},
    {-10052, "Network dropped connection because of reset"},
    {-103, "Software caused connection abort"},
    {-10053, "Software caused connection abort"},
    {-104, "Connection reset by peer"},
    {-10054, "Connection reset by peer"},
    {-105, "No buffer space available"},
    {-10055, "No buffer space available"},
    {-106, "Transport endpoint is already connected"},
    {-10056, "Transport endpoint is already connected"},
    {-107, "Transport endpoint is not connected"},
    {-10057, "Transport endpoint is not connected"},
    {-108, "Cannot send after transport endpoint shutdown"},
    {-10058, "Cannot send after transport endpoint shutdown"},
    {-109, "Too many references: cannot splice"},
    {-10059, "Too many references: cannot splice"},
    {-110, "Connection timed out"},
    {-10060, "Connection timed out"},
    {-111, "Connection refused"},
    {-10061, "Connection refused"},
    {-112, "Host is down"},
    {-10064, "Host is down"},
    {-113, "No route to host"},
    {-10065, "No route to host"},
    {-114, "Operation already in progress"},
    {-10037, "Operation already in progress"},
    {-115, "Operation now in progress"},
    {-10036, "Operation now in progress"},
    {-116, "Stale NFS file handle"},
    {-10070, "Stale NFS file handle"},
    {-117, "Structure needs cleaning"},
    {-118, "Not a XENIX named type file"},
    {-119, "No XENIX semaphores available"},
    {-120, "Is a named type file"},
    {-121, "Remote I/O error"},
    {-122, "Quota exceeded"},
    {-10069, "Quota exceeded"},
    {-123, "No medium found"},
    {-124, "Wrong medium type"},
    {-125, "Operation Canceled"},
    {-126, "Required key not available"},
    {-127, "Key has expired"},
    {-128, "Key has been revoked"},
    {-129, "Key was rejected by service"},
    {-130, "Owner died"},
    {-131, "State not recoverable"},
    {-10035, "WSAEWOULDBLOCK"},
    {-10067, "WSAEPROCLIM"},
    {-10091, "WSASYSNOTREADY"},
    {-10092, "WSAVERNOTSUPPORTED"},
    {-10093, "WSANOTINITIALISED"},
    {-10101, "WSAEDISCON"},
    {-10102, "WSAENOMORE"},
    {-10103, "WSAECANCELLED"},
    {-10104, "WSAEINVALIDPROCTABLE"},
    {-10105, "WSAEINVALIDPROVIDER"},
    {-10106, "WSAEPROVIDERFAILEDINIT"},
    {-10107, "WSASYSCALLFAILURE"},
    {-10108, "WSASERVICE_NOT_FOUND"},
    {-10109, "WSATYPE_NOT_FOUND"},
    {-10110, "WSA_E_NO_MORE"},
    {-10111, "WSA_E_CANCELLED"},
    {-10112, "WSAEREFUSED"},
    {-11001, "WSAHOST_NOT_FOUND"},
    {-11002, "WSATRY_AGAIN"},
    {-11003, "WSANO_RECOVERY"},
    {-11004, "WSANO_DATA"},
};

// The option flags that make a codec option one of a media type's (0: any option).
constexpr int TypeOptFlags[OptMediaTypeCount] = {AV_OPT_FLAG_VIDEO_PARAM, AV_OPT_FLAG_AUDIO_PARAM,
                                                 0, AV_OPT_FLAG_SUBTITLE_PARAM, 0};

std::mutex OptionErrorLock;  // guards OptionError
String OptionError;

void SetOptionError(const String& AText) {
  std::lock_guard<std::mutex> G(OptionErrorLock);
  OptionError = AText;
}

// The option of that name (no named constants) in the class, searched as a fake object.
const AVOption* FindOpt(const AVClass* AClass, const char* AName, int AFlags = 0) {
  if (!AClass) return nullptr;
  return ff::av_opt_find(&AClass, AName, nullptr, AFlags, AV_OPT_SEARCH_FAKE_OBJ);
}

// Sets a found option on a template (checking the value) and keeps the text.
int SetOnTemplate(void* ATemplate, AVDictionary** ADict, const char* AName, const char* AValue) {
  const int Ret = ff::av_opt_set(ATemplate, AName, AValue, 0);
  if (Ret >= 0) ff::av_dict_set(ADict, AName, AValue, 0);
  return Ret;
}

bool KnownByPrivateClass(const char* AName) {
  void* It = nullptr;
  while (const AVCodec* C = ff::av_codec_iterate(&It))
    if (FindOpt(C->priv_class, AName)) return true;
  It = nullptr;
  while (const AVOutputFormat* F = ff::av_muxer_iterate(&It))
    if (FindOpt(F->priv_class, AName)) return true;
  return false;
}

String CodecName(AVCodecID AId, uint32_t ATag, bool AEncoder) {
  const AVCodec* Codec = AEncoder ? ff::avcodec_find_encoder(AId) : ff::avcodec_find_decoder(AId);
  if (Codec) {
    const String LongName = Codec->long_name ? Trim(Codec->long_name) : String();
    if (LongName.empty()) return Codec->name;
    return Format("%s(%s)", {Codec->name, LongName});
  }
  if (AId == AV_CODEC_ID_MPEG2TS) return "mpeg2ts";
  // FFmpeg names every codec id it knows, also one without a decoder or encoder here.
  if (AId != AV_CODEC_ID_NONE) {
    const char* Name = ff::avcodec_get_name(AId);
    if (Name && *Name && std::strcmp(Name, "unknown_codec") != 0) return Name;
  }
  // The tag as FFmpeg shows it: four characters, or hexadecimal with at least four digits.
  bool Printable = true;
  for (int I = 0; I < 4; ++I) {
    const uint32_t C = (ATag >> (8 * I)) & 0xFF;
    if (C < 32 || C > 126) Printable = false;
  }
  if (Printable)
    return Format("%s%s%s%s / 0x%.4X",
                  {char(ATag & 0xFF), char((ATag >> 8) & 0xFF), char((ATag >> 16) & 0xFF),
                   char((ATag >> 24) & 0xFF), ATag});
  return Format("0x%.4X", {ATag});
}

}  // namespace

String TimestampToStr(Int64 t) {
  if (t == NoPTSValue) return "N/A";
  const Int64 Secs = t / AVTimeBase;
  return Format("%.2d:%.2d:%.2d.%.3d", {Secs / 60 / 60, (Secs / 60) % 60, Secs % 60,
                                        (t % AVTimeBase) * 1000 / AVTimeBase});
}

Int64 FrameDuration(TAVRational rate) {
  if (rate.num != 0 && rate.den != 0) return Int64{1000000} * rate.den / rate.num;
  return 1000000 / 25;
}

String PrintError(const String& AFileName, Integer AErrorCode) {
  for (const TErrorText& E : ErrorTexts)
    if (E.Code == AErrorCode) return AFileName + ": " + E.Text;
  return AFileName + ": " + Format("Error number %d occurred", {AErrorCode});
}

TFFOptions::~TFFOptions() { UninitOpts(*this); }

void InitOpts(TFFOptions& AOptions, Integer ASwsFlags) {
  UninitOpts(AOptions);
  for (int T = 0; T < OptMediaTypeCount; ++T) {
    AOptions.avcodec_opts[T] = ff::avcodec_alloc_context3(nullptr);
    if (!AOptions.avcodec_opts[T]) throw EOutOfMemory("Out of memory");
    AOptions.avcodec_opts[T]->codec_type = static_cast<AVMediaType>(T);
  }
  AOptions.avformat_opts = ff::avformat_alloc_context();
  AOptions.sws_opts = ff::sws_alloc_context();
  if (!AOptions.avformat_opts || !AOptions.sws_opts) throw EOutOfMemory("Out of memory");
  ff::av_opt_set_int(AOptions.sws_opts, "sws_flags", ASwsFlags, 0);
}

void UninitOpts(TFFOptions& AOptions) {
  // Whatever is held was made while the libraries were loaded; should they have been
  // unloaded since, it can only be dropped.
  for (int T = 0; T < OptMediaTypeCount; ++T) {
    if (AOptions.avcodec_opts[T] && ff::avcodec_free_context)
      ff::avcodec_free_context(&AOptions.avcodec_opts[T]);
    AOptions.avcodec_opts[T] = nullptr;
    if (AOptions.codec_dict[T] && ff::av_dict_free) ff::av_dict_free(&AOptions.codec_dict[T]);
    AOptions.codec_dict[T] = nullptr;
  }
  if (AOptions.avformat_opts && ff::avformat_free_context)
    ff::avformat_free_context(AOptions.avformat_opts);
  AOptions.avformat_opts = nullptr;
  if (AOptions.sws_opts && ff::sws_freeContext) ff::sws_freeContext(AOptions.sws_opts);
  AOptions.sws_opts = nullptr;
  for (AVDictionary** D : {&AOptions.format_dict, &AOptions.sws_dict}) {
    if (*D && ff::av_dict_free) ff::av_dict_free(D);
    *D = nullptr;
  }
  AOptions.opt_names.clear();
  AOptions.opt_values.clear();
  AOptions.opt_name_count = 0;
}

bool OptDefault(TFFOptions& AOptions, const String& AName, const String& AValue) {
  if (Trim(AName).empty()) return false;
  if (!AOptions.avcodec_opts[0] || !AOptions.avformat_opts || !AOptions.sws_opts) {
    SetOptionError("Options not initialized");
    return false;
  }
  const char* Name = AName.c_str();
  const char* Value = AValue.c_str();
  const AVOption* Found = nullptr;
  int Ret = 0;

  // A codec option goes to every media type whose options include it.
  const AVClass* CodecClass = ff::avcodec_get_class();
  for (int T = 0; T < OptMediaTypeCount && Ret >= 0; ++T) {
    if (const AVOption* O = FindOpt(CodecClass, Name, TypeOptFlags[T])) {
      Found = O;
      Ret = SetOnTemplate(AOptions.avcodec_opts[T], &AOptions.codec_dict[T], Name, Value);
    }
  }
  if (!Found) {
    if (const AVOption* O = FindOpt(ff::avformat_get_class(), Name)) {
      Found = O;
      Ret = SetOnTemplate(AOptions.avformat_opts, &AOptions.format_dict, Name, Value);
    } else if (const AVOption* S = FindOpt(ff::sws_get_class(), Name)) {
      Found = S;
      Ret = SetOnTemplate(AOptions.sws_opts, &AOptions.sws_dict, Name, Value);
    }
  }
  // "ab", "vb", "sfoo": the rest of the name on that media type's template only.
  if (!Found && AName.size() > 1) {
    int T = -1;
    if (Name[0] == 'a')
      T = AVMEDIA_TYPE_AUDIO;
    else if (Name[0] == 'v')
      T = AVMEDIA_TYPE_VIDEO;
    else if (Name[0] == 's')
      T = AVMEDIA_TYPE_SUBTITLE;
    if (T >= 0) {
      if (const AVOption* O = FindOpt(CodecClass, Name + 1)) {
        Found = O;
        Ret = SetOnTemplate(AOptions.avcodec_opts[T], &AOptions.codec_dict[T], Name + 1, Value);
      }
    }
  }
  if (Found && Ret < 0) {
    ff::av_log(nullptr, AV_LOG_ERROR, "Invalid value \"%s\" for option \"%s\"\n", Value, Name);
    SetOptionError(Format("Invalid value \"%s\" for option \"%s\"", {AValue, AName}));
    return false;
  }
  if (!Found && !KnownByPrivateClass(Name)) {
    ff::av_log(nullptr, AV_LOG_ERROR, "Unrecognized option \"%s\"\n", Name);
    SetOptionError(Format("Unrecognized option \"%s\"", {AName}));
    return false;
  }
  if (Found) {
    AOptions.opt_names.emplace_back(Found->name);
    AOptions.opt_values.emplace_back();
  } else {
    // Applied by SetContextOpts to the private context of the codec or muxer that knows it.
    AOptions.opt_names.push_back(AName);
    AOptions.opt_values.push_back(AValue);
  }
  ++AOptions.opt_name_count;
  if (AOptions.avcodec_opts[AVMEDIA_TYPE_VIDEO]->debug != 0 || AOptions.avformat_opts->debug != 0)
    GetFFLogger()->SetLogLevel(llDebug);
  return true;
}

String LastOptionError() {
  std::lock_guard<std::mutex> G(OptionErrorLock);
  return OptionError;
}

void SetContextOpts(const TFFOptions& AOptions, void* ATarget, const AVDictionary* ATemplate,
                    Integer AFlags, const AVCodec* ACodec, AVDictionary** AOpts) {
  if (!ATarget) return;
  const AVClass* TargetClass = *static_cast<const AVClass* const*>(ATarget);
  const AVClass* PrivClass = nullptr;
  if (TargetClass && std::strcmp(TargetClass->class_name, "AVCodecContext") == 0) {
    if (ACodec) PrivClass = ACodec->priv_class;
  } else if (TargetClass && std::strcmp(TargetClass->class_name, "AVFormatContext") == 0) {
    const AVOutputFormat* OFormat = static_cast<AVFormatContext*>(ATarget)->oformat;
    if (OFormat) PrivClass = OFormat->priv_class;
  }
  for (size_t I = 0; I < AOptions.opt_names.size(); ++I) {
    const char* Name = AOptions.opt_names[I].c_str();
    const AVDictionaryEntry* E = ff::av_dict_get(ATemplate, Name, nullptr, AV_DICT_MATCH_CASE);
    if (E) {
      const AVOption* Opt = ff::av_opt_find(ATarget, Name, nullptr, 0, 0);
      if (Opt && (Opt->flags & AFlags) == AFlags) ff::av_dict_set(AOpts, Name, E->value, 0);
    } else if (PrivClass && FindOpt(PrivClass, Name)) {
      ff::av_dict_set(AOpts, Name, AOptions.opt_values[I].c_str(), 0);
    }
  }
}

Integer ReadWholeFile(const String& AFileName, char*& ABuffer, Integer& ASize) {
  std::FILE* F = std::fopen(AFileName.c_str(), "rb");
  if (!F) return -1;
  long Size = -1;
  if (std::fseek(F, 0, SEEK_END) == 0) Size = std::ftell(F);
  if (Size < 0 || std::fseek(F, 0, SEEK_SET) != 0) {
    std::fclose(F);
    return -1;
  }
  char* Buffer =
      Size < INT_MAX ? static_cast<char*>(ff::av_malloc(static_cast<size_t>(Size) + 1)) : nullptr;
  if (!Buffer) {
    std::fclose(F);
    return -12;
  }
  const size_t Read = std::fread(Buffer, 1, static_cast<size_t>(Size), F);
  std::fclose(F);
  Buffer[Read] = '\0';
  ABuffer = Buffer;
  ASize = static_cast<Integer>(Read) + 1;
  return 0;
}

void InitPtsCorrection(TPtsCorrectionContext& ACtx) {
  ACtx.num_faulty_pts = 0;
  ACtx.num_faulty_dts = 0;
  ACtx.last_pts = std::numeric_limits<Int64>::min();
  ACtx.last_dts = std::numeric_limits<Int64>::min();
}

Int64 GuessCorrectPts(TPtsCorrectionContext& ACtx, Int64 AReorderedPts, Int64 ADts) {
  if (ADts != NoPTSValue) {
    if (ADts <= ACtx.last_dts) ++ACtx.num_faulty_dts;
    ACtx.last_dts = ADts;
  }
  if (AReorderedPts != NoPTSValue) {
    if (AReorderedPts <= ACtx.last_pts) ++ACtx.num_faulty_pts;
    ACtx.last_pts = AReorderedPts;
  }
  if (ACtx.num_faulty_pts > ACtx.num_faulty_dts && ADts != NoPTSValue) return ADts;
  return AReorderedPts != NoPTSValue ? AReorderedPts : ADts;
}

String GetMetadataValue(const AVDictionary* AMetadata, const String& AKey, const String& ADefault) {
  // Tags are UTF-8 in every demuxer today: the text is kept as it is.
  const AVDictionaryEntry* E = ff::av_dict_get(AMetadata, AKey.c_str(), nullptr, 0);
  return E && E->value ? String(E->value) : ADefault;
}

String GetCodecName(const AVCodecParameters* APar, bool AEncoder) {
  return CodecName(APar->codec_id, APar->codec_tag, AEncoder);
}

String GetCodecName(const AVCodecContext* ACtx, bool AEncoder) {
  return CodecName(ACtx->codec_id, ACtx->codec_tag, AEncoder);
}

String MediaTypeName(Integer AMediaType) {
  switch (AMediaType) {
    case 0:
      return "Video";
    case 1:
      return "Audio";
    case 2:
      return "Data";
    case 3:
      return "Subtitle";
    case 4:
      return "Attachment";
    default:
      return "Unknown";
  }
}

}  // namespace vantrel::media
