// File-name conversion for FFmpeg and the I/O context behind "unicode:utf8:" names.
#include "media/UnicodeProtocol.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::media {

namespace {

constexpr char KnownPrefixes[] = ":unicode:stream:gopher:http:pipe:rtp:tcp:udp:";
constexpr size_t UnicodeURLPrefixLength = sizeof(UnicodeURLPrefix) - 1;
constexpr int IOBufferSize = 32768;

// Characters of U+0080..U+02FF and above that Windows-1252 holds in 0x80..0x9F (with
// the five bytes it leaves undefined, which map to themselves).
constexpr char32_t Windows1252Extras[] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool InWindows1252(char32_t C) {
  if (C < 0x80 || (C >= 0xA0 && C <= 0xFF)) return true;
  for (char32_t E : Windows1252Extras)
    if (E == C) return true;
  return false;  // also a byte that is no UTF-8 (decoded as a lone surrogate)
}

bool HasKnownPrefix(const String& AName) {
  const size_t Colon = AName.find(':');
  if (Colon == String::npos) return false;
  const String Prefix = ":" + AName.substr(0, Colon) + ":";
  return String(KnownPrefixes).find(Prefix) != String::npos;
}

// The I/O context of a "unicode:" name: a file descriptor behind FFmpeg's callbacks.
struct TUnicodeFile {
  int Fd = -1;
};

int UnicodeRead(void* AOpaque, uint8_t* ABuf, int ASize) {
  const int Fd = static_cast<TUnicodeFile*>(AOpaque)->Fd;
  ssize_t N;
  do N = ::read(Fd, ABuf, static_cast<size_t>(ASize));
  while (N < 0 && errno == EINTR);
  if (N < 0) return AVERROR(errno);
  if (N == 0) return AVERROR_EOF;
  return static_cast<int>(N);
}

int UnicodeWrite(void* AOpaque, uint8_t* ABuf, int ASize) {
  const int Fd = static_cast<TUnicodeFile*>(AOpaque)->Fd;
  int Done = 0;
  while (Done < ASize) {
    const ssize_t N = ::write(Fd, ABuf + Done, static_cast<size_t>(ASize - Done));
    if (N < 0) {
      if (errno == EINTR) continue;
      return AVERROR(errno);
    }
    Done += static_cast<int>(N);
  }
  return Done;
}

int64_t UnicodeSeek(void* AOpaque, int64_t APos, int AWhence) {
  const int Fd = static_cast<TUnicodeFile*>(AOpaque)->Fd;
  if (AWhence & AVSEEK_SIZE) {
    struct stat St;
    if (::fstat(Fd, &St) < 0) return AVERROR(errno);
    return St.st_size;
  }
  const off_t R = ::lseek(Fd, APos, AWhence & ~AVSEEK_FORCE);
  return R < 0 ? AVERROR(errno) : R;
}

bool IsUnicodeIO(const AVIOContext* AContext) {
  return AContext && AContext->read_packet == UnicodeRead;
}

int OpenUnicodeIO(AVIOContext** AContext, const String& APath, int AFlags) {
  *AContext = nullptr;
  // AVIO_FLAG_READ is 1 and AVIO_FLAG_WRITE 2: only an output is created or truncated.
  int Mode = O_RDONLY;
  if ((AFlags & AVIO_FLAG_READ_WRITE) == AVIO_FLAG_READ_WRITE)
    Mode = O_RDWR | O_CREAT;
  else if (AFlags & AVIO_FLAG_WRITE)
    Mode = O_WRONLY | O_CREAT | O_TRUNC;
  auto File = std::make_unique<TUnicodeFile>();
  File->Fd = ::open(APath.c_str(), Mode | O_CLOEXEC, 0666);
  if (File->Fd < 0) return AVERROR(errno);
  auto* Buffer = static_cast<unsigned char*>(ff::av_malloc(IOBufferSize));
  if (Buffer) {
    *AContext = ff::avio_alloc_context(Buffer, IOBufferSize, (AFlags & AVIO_FLAG_WRITE) ? 1 : 0,
                                       File.get(), UnicodeRead, UnicodeWrite, UnicodeSeek);
  }
  if (!*AContext) {
    ff::av_free(Buffer);
    ::close(File->Fd);
    return AVERROR(ENOMEM);
  }
  File.release();  // owned by the context now (CloseUnicodeIO)
  return 0;
}

int CloseUnicodeIO(AVIOContext** AContext) {
  AVIOContext* Ctx = *AContext;
  if (!Ctx) return 0;
  if (Ctx->write_flag) ff::avio_flush(Ctx);
  int Ret = Ctx->error;
  std::unique_ptr<TUnicodeFile> File(static_cast<TUnicodeFile*>(Ctx->opaque));
  if (::close(File->Fd) < 0 && Ret >= 0) Ret = AVERROR(errno);
  // FFmpeg may have replaced the buffer it was given.
  ff::av_freep(&Ctx->buffer);
  ff::avio_context_free(AContext);
  return Ret < 0 ? Ret : 0;
}

}  // namespace

bool IsProtocolName(const String& AName) { return HasKnownPrefix(AName); }

bool NeedUnicodeName(const String& AFileName) {
  if (HasKnownPrefix(AFileName)) return false;
  for (char32_t C : Utf8ToCodePoints(AFileName))
    if (!InWindows1252(C)) return true;
  return false;
}

String ToUnicodeURL(const String& AFileName) { return UnicodeURLPrefix + AFileName; }

bool IsUnicodeURL(const String& AName) {
  return AName.size() >= UnicodeURLPrefixLength + 1 &&
         AName.compare(0, UnicodeURLPrefixLength, UnicodeURLPrefix) == 0;
}

String FromUnicodeURL(const String& AName) {
  String S = AName;
  for (int I = 0; I < 2; ++I) {
    const size_t Colon = S.find(':');
    if (Colon != String::npos) S.erase(0, Colon + 1);
  }
  return S;
}

String ToFFmpegFileName(const String& AFileName) {
  if (NeedUnicodeName(AFileName)) return ToUnicodeURL(AFileName);
  if (!HasKnownPrefix(AFileName) && AFileName.find(':') != String::npos)
    return "file:" + AFileName;
  return AFileName;
}

String FromFFmpegFileName(const String& AName) {
  if (IsUnicodeURL(AName)) return FromUnicodeURL(AName);
  // ToFFmpegFileName puts "file:" only before a name that has a ":" of its own.
  if (AName.compare(0, 5, "file:") == 0 && AName.find(':', 5) != String::npos)
    return AName.substr(5);
  return AName;
}

int OpenFFmpegInput(AVFormatContext** AContext, const String& AFileName,
                    const AVInputFormat* AFormat, AVDictionary** AOptions) {
  const String Name = ToFFmpegFileName(AFileName);
  AVFormatContext* Ctx = *AContext ? *AContext : ff::avformat_alloc_context();
  *AContext = nullptr;
  if (!Ctx) return AVERROR(ENOMEM);
  SetInterruptCallback(Ctx);
  AVIOContext* Pb = nullptr;
  String Url = Name;
  if (IsUnicodeURL(Name)) {
    Url = FromUnicodeURL(Name);
    const int Ret = OpenUnicodeIO(&Pb, Url, AVIO_FLAG_READ);
    if (Ret < 0) {
      ff::avformat_free_context(Ctx);
      return Ret;
    }
    // FFmpeg then reads through Pb; the plain name still guides format probing and
    // shows in the context.
    Ctx->pb = Pb;
    Ctx->flags |= AVFMT_FLAG_CUSTOM_IO;
  }
  *AContext = Ctx;
  const int Ret = ff::avformat_open_input(AContext, Url.c_str(), AFormat, AOptions);
  if (Ret < 0 && Pb) CloseUnicodeIO(&Pb);  // FFmpeg freed the context, not our I/O
  return Ret;
}

void CloseFFmpegInput(AVFormatContext** AContext) {
  if (!*AContext) return;
  AVIOContext* Pb = ((*AContext)->flags & AVFMT_FLAG_CUSTOM_IO) ? (*AContext)->pb : nullptr;
  ff::avformat_close_input(AContext);
  if (IsUnicodeIO(Pb)) CloseUnicodeIO(&Pb);
}

int OpenFFmpegIO(AVIOContext** AContext, const String& AFileName, int AFlags,
                 AVDictionary** AOptions) {
  const String Name = ToFFmpegFileName(AFileName);
  if (IsUnicodeURL(Name)) return OpenUnicodeIO(AContext, FromUnicodeURL(Name), AFlags);
  const AVIOInterruptCB Interrupt{InterruptCallback, nullptr};
  return ff::avio_open2(AContext, Name.c_str(), AFlags, &Interrupt, AOptions);
}

int CloseFFmpegIO(AVIOContext** AContext) {
  if (IsUnicodeIO(*AContext)) return CloseUnicodeIO(AContext);
  return ff::avio_closep(AContext);
}

}  // namespace vantrel::media
