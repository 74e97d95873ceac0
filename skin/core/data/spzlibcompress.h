// Zlib compression behind the stream interface: a compressor that deflates what is
// written to it into another stream, a decompressor that inflates another stream as it is
// read, and the two whole-stream routines the compressed skin uses.
#pragma once

#include <array>
#include <memory>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"

struct z_stream_s;

VANTREL_EXCEPTION(EZlibError, Exception);
VANTREL_EXCEPTION(ECompressionError, EZlibError);
VANTREL_EXCEPTION(EDecompressionError, EZlibError);

// zlib levels 0, 1, -1 (its default) and 9.
// Scoped: clNone and clDefault are also colour constants of the graphics classes.
enum class TCompressionLevel { clNone, clFastest, clDefault, clMax };

class TCustomZlibStream : public TStream {
  VANTREL_CLASS(TCustomZlibStream)

  ~TCustomZlibStream() override;

  // Raised with the adaptor as sender after every block moved to or from the wrapped stream.
  TNotifyEvent OnProgress;

 protected:
  static constexpr Integer BufferSize = 8192;

  explicit TCustomZlibStream(TStream* Strm);
  void Progress(TObject* Sender);
  // Moves the wrapped stream back to where the adaptor left it, when someone else moved it.
  void Reposition();

  TStream* FStrm;  // not owned
  Int64 FStrmPos;
  std::unique_ptr<z_stream_s> FZRec;
  std::array<Byte, BufferSize> FBuffer{};
};

class TCompressionStream : public TCustomZlibStream {
  VANTREL_CLASS(TCompressionStream)

  // Output goes to Dest from its current position. Raises ECompressionError when zlib
  // cannot be set up.
  TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest);
  // Finishes the stream when Finish was not called; a failure there is lost, since a
  // destructor cannot raise.
  ~TCompressionStream() override;

  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  // Only Seek(0, soCurrent): the number of bytes written so far.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
  // Writes the end of the zlib stream (what releasing the compressor does), raising when
  // that fails. Nothing may be written afterwards; a second call does nothing.
  void Finish();
  // The percentage saved, 0 when nothing was written.
  Single CompressionRate() const;

 private:
  Boolean FFinished = false;
};

class TDecompressionStream : public TCustomZlibStream {
  VANTREL_CLASS(TDecompressionStream)

  // Input comes from Source from its current position. Raises EDecompressionError when zlib
  // cannot be set up.
  explicit TDecompressionStream(TStream* Source);
  ~TDecompressionStream() override;

  // Up to Count inflated bytes; fewer when the source or the zlib stream ends. Corrupt data
  // raises EDecompressionError "compression error".
  Integer Read(void* Buffer, Integer Count) override;
  Integer Write(const void* Buffer, Integer Count) override;
  // Offset 0 from the beginning restarts at the start of the source stream; forward moves
  // (from the current position, or from the beginning past the current position) read
  // and drop bytes; anything else raises. Returns the inflated position.
  Int64 Seek(Int64 Offset, TSeekOrigin Origin) override;
};

// The whole of Source (from position 0) compressed into Dest at TCompressionLevel::clMax.
void DeflateStream(TStream* Source, TStream* Dest);
// Source inflated from its start into Dest, in blocks of 4096 bytes.
void InflateStream(TStream* Dest, TStream* Source);
