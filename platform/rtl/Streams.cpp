// TStream and its memory, file-descriptor, file and string forms.
#include "platform/rtl/Streams.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <fcntl.h>
#include <new>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/SysEnv.h"

namespace {

constexpr Integer CopyChunk = 1 << 16;
constexpr const char* SMemoryStreamError = "Out of memory while expanding memory stream";

[[noreturn]] void OSError(int Err) {
  throw EOSError(Format("System Error.  Code: %d.\n%s", {Err, SysErrorMessage(Err)}));
}

}  // namespace

// ---- TStream -----------------------------------------------------------------------------

Int64 TStream::Position() { return Seek(0, soCurrent); }

void TStream::SetPosition(Int64 Pos) { Seek(Pos, soBeginning); }

Int64 TStream::Size() {
  const Int64 Pos = Seek(0, soCurrent);
  const Int64 Result = Seek(0, soEnd);
  Seek(Pos, soBeginning);
  return Result;
}

void TStream::SetSize(Int64) {}

void TStream::ReadBuffer(void* Buffer, Integer Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, Integer Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

Int64 TStream::CopyFrom(TStream& Source, Int64 Count) {
  if (Count <= 0) {
    Source.SetPosition(0);
    Count = Source.Size();
  }
  const Int64 Result = Count;
  std::vector<Byte> Buffer(static_cast<size_t>(std::min<Int64>(Count, CopyChunk)));
  while (Count > 0) {
    const Integer N = static_cast<Integer>(std::min<Int64>(Count, CopyChunk));
    Source.ReadBuffer(Buffer.data(), N);
    WriteBuffer(Buffer.data(), N);
    Count -= N;
  }
  return Result;
}

// ---- TCustomMemoryStream / TMemoryStream -------------------------------------------------

Integer TCustomMemoryStream::Read(void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0 || FPosition >= FSize) return 0;
  const Integer N = static_cast<Integer>(std::min<Int64>(Count, FSize - FPosition));
  std::memcpy(Buffer, FData.data() + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return N;
}

Int64 TCustomMemoryStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = FSize + Offset; break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream& Stream) {
  Int64 Done = 0;
  while (Done < FSize) {
    const Integer N = static_cast<Integer>(std::min<Int64>(FSize - Done, 1 << 30));
    Stream.WriteBuffer(FData.data() + Done, N);
    Done += N;
  }
}

void TCustomMemoryStream::SaveToFile(const String& FileName) {
  TFileStream Stream(FileName, fmCreate);
  SaveToStream(Stream);
}

Integer TMemoryStream::Write(const void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  if (FPosition > std::numeric_limits<Int64>::max() - Count) throw EStreamError(SMemoryStreamError);
  const Int64 End = FPosition + Count;
  if (End > FSize) SetSize(End);
  std::memcpy(FData.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = End;
  return Count;
}

void TMemoryStream::SetSize(Int64 NewSize) {
  if (NewSize < 0) NewSize = 0;
  try {
    if (static_cast<UInt64>(NewSize) > FData.size()) {
      // Grow geometrically so repeated small writes stay linear.
      const UInt64 Cap = std::max<UInt64>(static_cast<UInt64>(NewSize), FData.size() + FData.size() / 2);
      FData.resize(static_cast<size_t>(Cap));
    }
  } catch (const std::bad_alloc&) {
    throw EStreamError(SMemoryStreamError);
  } catch (const std::length_error&) {
    throw EStreamError(SMemoryStreamError);
  }
  if (NewSize > FSize) {
    std::fill(FData.begin() + FSize, FData.begin() + NewSize, Byte{0});
  }
  FSize = NewSize;
  if (FPosition > FSize) FPosition = FSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  FData.shrink_to_fit();
  FSize = 0;
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& Stream) {
  Stream.SetPosition(0);
  const Int64 Count = Stream.Size();
  SetSize(Count);
  Int64 Done = 0;
  while (Done < Count) {
    const Integer N = static_cast<Integer>(std::min<Int64>(Count - Done, 1 << 30));
    Stream.ReadBuffer(FData.data() + Done, N);
    Done += N;
  }
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const String& FileName) {
  TFileStream Stream(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(Stream);
}

// ---- THandleStream / TFileStream ---------------------------------------------------------

Integer THandleStream::Read(void* Buffer, Integer Count) {
  Integer Done = 0;
  while (Done < Count) {
    const ssize_t N = ::read(FHandle, static_cast<char*>(Buffer) + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += static_cast<Integer>(N);
  }
  return Done;
}

Integer THandleStream::Write(const void* Buffer, Integer Count) {
  Integer Done = 0;
  while (Done < Count) {
    const ssize_t N =
        ::write(FHandle, static_cast<const char*>(Buffer) + Done, static_cast<size_t>(Count - Done));
    if (N < 0 && errno == EINTR) continue;
    if (N <= 0) break;
    Done += static_cast<Integer>(N);
  }
  return Done;
}

Int64 THandleStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const int Whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return static_cast<Int64>(::lseek(FHandle, static_cast<off_t>(Offset), Whence));
}

void THandleStream::SetSize(Int64 NewSize) {
  if (::ftruncate(FHandle, static_cast<off_t>(NewSize)) != 0) OSError(errno);
  if (Position() > NewSize) SetPosition(NewSize);
}

TFileStream::TFileStream(const String& FileName, Word Mode) : TFileStream(FileName, Mode, 0666) {}

TFileStream::TFileStream(const String& FileName, Word Mode, Cardinal Rights)
    : THandleStream(-1), FFileName(FileName) {
  const bool Create = (Mode & fmCreate) == fmCreate;
  int Flags = O_CLOEXEC;
  if (Create) {
    Flags |= O_RDWR | O_CREAT | O_TRUNC;
  } else {
    switch (Mode & 3) {
      case fmOpenWrite: Flags |= O_WRONLY; break;
      case fmOpenReadWrite: Flags |= O_RDWR; break;
      default: Flags |= O_RDONLY; break;
    }
  }
  int Err = 0;
  if (FileName.empty()) {
    Err = ENOENT;
  } else {
    FHandle = ::open(FileName.c_str(), Flags, static_cast<mode_t>(Rights));
    if (FHandle < 0) {
      Err = errno;
    } else {
      // A folder opens for reading on Linux, but is no file to stream.
      struct stat St {};
      if (::fstat(FHandle, &St) == 0 && S_ISDIR(St.st_mode)) {
        Err = EISDIR;
        ::close(FHandle);
        FHandle = -1;
      }
    }
  }
  if (Err != 0) {
    if (Create)
      throw EFCreateError(Format("Cannot create file \"%s\". %s", {FileName, SysErrorMessage(Err)}));
    throw EFOpenError(Format("Cannot open file \"%s\". %s", {FileName, SysErrorMessage(Err)}));
  }
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

// ---- TStringStream -----------------------------------------------------------------------

Integer TStringStream::Read(void* Buffer, Integer Count) {
  const Int64 Size = static_cast<Int64>(FDataString.size());
  if (FPosition < 0 || Count <= 0 || FPosition >= Size) return 0;
  const Integer N = static_cast<Integer>(std::min<Int64>(Count, Size - FPosition));
  std::memcpy(Buffer, FDataString.data() + FPosition, static_cast<size_t>(N));
  FPosition += N;
  return N;
}

Integer TStringStream::Write(const void* Buffer, Integer Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  if (FPosition > std::numeric_limits<Int64>::max() - Count) throw EStreamError(SMemoryStreamError);
  const Int64 End = FPosition + Count;
  if (End > static_cast<Int64>(FDataString.size())) {
    try {
      FDataString.resize(static_cast<size_t>(End));
    } catch (const std::exception&) {
      throw EStreamError(SMemoryStreamError);
    }
  }
  std::memcpy(FDataString.data() + FPosition, Buffer, static_cast<size_t>(Count));
  FPosition = End;
  return Count;
}

Int64 TStringStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning: FPosition = Offset; break;
    case soCurrent: FPosition += Offset; break;
    case soEnd: FPosition = static_cast<Int64>(FDataString.size()) + Offset; break;
  }
  return FPosition;
}

void TStringStream::SetSize(Int64 NewSize) {
  FDataString.resize(static_cast<size_t>(std::max<Int64>(NewSize, 0)));
  if (FPosition > NewSize) FPosition = std::max<Int64>(NewSize, 0);
}

String TStringStream::ReadString(Integer Count) {
  const Int64 Size = static_cast<Int64>(FDataString.size());
  if (FPosition < 0 || FPosition >= Size) return String();
  const Int64 N = Count < 0 ? Size - FPosition : std::min<Int64>(Count, Size - FPosition);
  String Result = FDataString.substr(static_cast<size_t>(FPosition), static_cast<size_t>(N));
  FPosition += N;
  return Result;
}

void TStringStream::WriteString(const String& AString) {
  WriteBuffer(AString.data(), static_cast<Integer>(AString.size()));
}
