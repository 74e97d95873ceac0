// Byte streams of the class library: the abstract TStream with its positioning and block
// helpers, a stream over memory, over a file, over a string.
#pragma once

#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// File modes of TFileStream. Share flags are accepted and ignored.
constexpr Word fmCreate = 0xFF00;
constexpr Word fmOpenRead = 0x0000;
constexpr Word fmOpenWrite = 0x0001;
constexpr Word fmOpenReadWrite = 0x0002;
constexpr Word fmShareCompat = 0x0000;
constexpr Word fmShareExclusive = 0x0010;
constexpr Word fmShareDenyWrite = 0x0020;
constexpr Word fmShareDenyRead = 0x0030;
constexpr Word fmShareDenyNone = 0x0040;

class TStream : public TObject {
  VANTREL_CLASS(TStream)

  ~TStream() override = default;

  // Read/Write move up to Count bytes and return how many were moved.
  virtual Integer Read(void* Buffer, Integer Count) = 0;
  virtual Integer Write(const void* Buffer, Integer Count) = 0;
  virtual Int64 Seek(Int64 Offset, TSeekOrigin Origin) = 0;

  Int64 Position();
  void SetPosition(Int64 Pos);
  virtual Int64 Size();
  virtual void SetSize(Int64 NewSize);

  // Move exactly Count bytes or raise EReadError "Stream read error" /
  // EWriteError "Stream write error".
  void ReadBuffer(void* Buffer, Integer Count);
  void WriteBuffer(const void* Buffer, Integer Count);
  // Copies Count bytes from Source's position (Count 0: all of Source from its start).
  // Returns the number of bytes copied.
  Int64 CopyFrom(TStream& Source, Int64 Count);
  Int64 CopyFrom(TStream* Source, Int64 Count) { return CopyFrom(*Source, Count); }
};

class TCustomMemoryStream : public TStream {
  VANTREL_CLASS(TCustomMemoryStream)

  Integer Read(void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  Int64 Size() override { return FSize; }
  void* Memory() { return FData.data(); }
  const void* Memory() const { return FData.data(); }
  void SaveToStream(TStream& Stream);
  void SaveToStream(TStream* Stream) { SaveToStream(*Stream); }
  void SaveToFile(const String& FileName);

 protected:
  std::vector<Byte> FData;  // capacity; FSize bytes are valid
  Int64 FSize = 0;
  Int64 FPosition = 0;
};

class TMemoryStream : public TCustomMemoryStream {
  VANTREL_CLASS(TMemoryStream)

  Integer Write(const void* Buffer, Integer Count) override;
  void SetSize(Int64 NewSize) override;
  void Clear();
  // Replace the contents by the whole of Stream / the file; position 0 afterwards.
  void LoadFromStream(TStream& Stream);
  void LoadFromStream(TStream* Stream) { LoadFromStream(*Stream); }
  void LoadFromFile(const String& FileName);
};

// A stream over an open file descriptor, which it does not own.
class THandleStream : public TStream {
  VANTREL_CLASS(THandleStream)

  explicit THandleStream(int Handle) : FHandle(Handle) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;
  int Handle() const { return FHandle; }

 protected:
  int FHandle = -1;
};

// Raises EFCreateError "Cannot create file \"%s\". %s" or EFOpenError
// "Cannot open file \"%s\". %s" with the system's text.
class TFileStream : public THandleStream {
  VANTREL_CLASS(TFileStream)

  TFileStream(const String& FileName, Word Mode);
  TFileStream(const String& FileName, Word Mode, Cardinal Rights);
  ~TFileStream() override;
  TFileStream(const TFileStream&) = delete;
  TFileStream& operator=(const TFileStream&) = delete;
  const String& FileName() const { return FFileName; }

 private:
  String FFileName;
};

// A stream over a string (bytes, UTF-8 text).
class TStringStream : public TStream {
  VANTREL_CLASS(TStringStream)

  explicit TStringStream(String AString = String()) : FDataString(std::move(AString)) {}
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  void SetSize(Int64 NewSize) override;
  const String& DataString() const { return FDataString; }
  // Reads up to Count bytes from the position (all that is left when Count < 0).
  String ReadString(Integer Count);
  void WriteString(const String& AString);

 private:
  String FDataString;
  Int64 FPosition = 0;
};
