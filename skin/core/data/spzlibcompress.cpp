// The zlib stream adaptors. Data moves in blocks of the 8192-byte buffer: the wrapped
// stream is touched only when the buffer is full (compressor) or empty (decompressor), and
// repositioned only when someone else moved it.
#include "skin/core/data/spzlibcompress.h"

#include <zlib.h>

namespace {

constexpr const char* SInvalidStreamOp = "Invalid stream operation";
constexpr const char* SCompressError = "error";
constexpr const char* SDecompressError = "compression error";
constexpr Integer InflateBlock = 4096;

constexpr int ZLevels[] = {Z_NO_COMPRESSION, Z_BEST_SPEED, Z_DEFAULT_COMPRESSION,
                           Z_BEST_COMPRESSION};

int CheckDeflateResult(int Code) {
  if (Code < 0) throw ECompressionError(SCompressError);
  return Code;
}

int CheckInflateResult(int Code) {
  // A stream that asks for a preset dictionary cannot be read here, and inflate would not
  // move past that point: it is as corrupt as any other.
  if (Code < 0 || Code == Z_NEED_DICT) throw EDecompressionError(SDecompressError);
  return Code;
}

}  // namespace

// ---- TCustomZlibStream --------------------------------------------------------------------

TCustomZlibStream::TCustomZlibStream(TStream* Strm) : FStrm(Strm), FZRec(new z_stream{}) {
  if (!FStrm) throw EInvalidPointer("Invalid pointer operation");
  FStrmPos = FStrm->Position();
}

TCustomZlibStream::~TCustomZlibStream() = default;

void TCustomZlibStream::Progress(TObject* Sender) {
  if (OnProgress) OnProgress(Sender);
}

void TCustomZlibStream::Reposition() {
  if (FStrm->Position() != FStrmPos) FStrm->SetPosition(FStrmPos);
}

// ---- TCompressionStream -------------------------------------------------------------------

TCompressionStream::TCompressionStream(TCompressionLevel CompressionLevel, TStream* Dest)
    : TCustomZlibStream(Dest) {
  FZRec->next_out = FBuffer.data();
  FZRec->avail_out = BufferSize;
  if (CompressionLevel < TCompressionLevel::clNone || CompressionLevel > TCompressionLevel::clMax)
    throw ECompressionError(SCompressError);
  CheckDeflateResult(deflateInit(FZRec.get(), ZLevels[static_cast<int>(CompressionLevel)]));
}

TCompressionStream::~TCompressionStream() {
  try {
    Finish();
  } catch (...) {
    // Callers that need to know call Finish themselves.
  }
  deflateEnd(FZRec.get());
}

void TCompressionStream::Finish() {
  if (FFinished) return;
  FFinished = true;
  FZRec->next_in = nullptr;
  FZRec->avail_in = 0;
  Reposition();
  while (CheckDeflateResult(deflate(FZRec.get(), Z_FINISH)) != Z_STREAM_END &&
         FZRec->avail_out == 0) {
    FStrm->WriteBuffer(FBuffer.data(), BufferSize);
    FZRec->next_out = FBuffer.data();
    FZRec->avail_out = BufferSize;
  }
  if (FZRec->avail_out < static_cast<uInt>(BufferSize))
    FStrm->WriteBuffer(FBuffer.data(), BufferSize - static_cast<Integer>(FZRec->avail_out));
  FStrmPos = FStrm->Position();
}

Integer TCompressionStream::Read(void*, Integer) { throw ECompressionError(SInvalidStreamOp); }

Integer TCompressionStream::Write(const void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  FZRec->next_in = static_cast<Bytef*>(const_cast<void*>(Buffer));
  FZRec->avail_in = static_cast<uInt>(Count);
  Reposition();
  while (FZRec->avail_in > 0) {
    CheckDeflateResult(deflate(FZRec.get(), Z_NO_FLUSH));
    if (FZRec->avail_out == 0) {
      FStrm->WriteBuffer(FBuffer.data(), BufferSize);
      FZRec->next_out = FBuffer.data();
      FZRec->avail_out = BufferSize;
      FStrmPos = FStrm->Position();
      Progress(this);
    }
  }
  return Count;
}

Int64 TCompressionStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  if (Offset == 0 && Origin == soCurrent) return static_cast<Int64>(FZRec->total_in);
  throw ECompressionError(SInvalidStreamOp);
}

Single TCompressionStream::CompressionRate() const {
  if (FZRec->total_in == 0) return 0;
  const long double Ratio = static_cast<long double>(FZRec->total_out) / FZRec->total_in;
  return static_cast<Single>((1.0L - Ratio) * 100.0L);
}

// ---- TDecompressionStream -----------------------------------------------------------------

TDecompressionStream::TDecompressionStream(TStream* Source) : TCustomZlibStream(Source) {
  FZRec->next_in = FBuffer.data();
  FZRec->avail_in = 0;
  CheckInflateResult(inflateInit(FZRec.get()));
}

TDecompressionStream::~TDecompressionStream() { inflateEnd(FZRec.get()); }

Integer TDecompressionStream::Read(void* Buffer, Integer Count) {
  if (Count <= 0) return 0;
  FZRec->next_out = static_cast<Bytef*>(Buffer);
  FZRec->avail_out = static_cast<uInt>(Count);
  Reposition();
  while (FZRec->avail_out > 0) {
    if (FZRec->avail_in == 0) {
      const Integer N = FStrm->Read(FBuffer.data(), BufferSize);
      if (N <= 0) return Count - static_cast<Integer>(FZRec->avail_out);
      FZRec->next_in = FBuffer.data();
      FZRec->avail_in = static_cast<uInt>(N);
      FStrmPos = FStrm->Position();
      Progress(this);
    }
    if (CheckInflateResult(inflate(FZRec.get(), Z_NO_FLUSH)) == Z_STREAM_END)
      return Count - static_cast<Integer>(FZRec->avail_out);
  }
  return Count;
}

Integer TDecompressionStream::Write(const void*, Integer) {
  throw EDecompressionError(SInvalidStreamOp);
}

Int64 TDecompressionStream::Seek(Int64 Offset, TSeekOrigin Origin) {
  const Int64 Inflated = static_cast<Int64>(FZRec->total_out);
  if (Offset == 0 && Origin == soBeginning) {
    CheckInflateResult(inflateReset(FZRec.get()));
    FZRec->next_in = FBuffer.data();
    FZRec->avail_in = 0;
    FStrm->SetPosition(0);
    FStrmPos = 0;
  } else if ((Offset >= 0 && Origin == soCurrent) || (Origin == soBeginning && Offset > Inflated)) {
    if (Origin == soBeginning) Offset -= Inflated;
    std::array<Byte, BufferSize> Skip;
    for (; Offset >= BufferSize; Offset -= BufferSize) ReadBuffer(Skip.data(), BufferSize);
    ReadBuffer(Skip.data(), static_cast<Integer>(Offset));
  } else {
    throw EDecompressionError(SInvalidStreamOp);
  }
  return static_cast<Int64>(FZRec->total_out);
}

// ---- Routines -----------------------------------------------------------------------------

void DeflateStream(TStream* Source, TStream* Dest) {
  if (!Source) throw EInvalidPointer("Invalid pointer operation");
  auto Compressor = CreateOwned<TCompressionStream>(TCompressionLevel::clMax, Dest);
  Compressor->CopyFrom(*Source, 0);
  Compressor->Finish();
}

void InflateStream(TStream* Dest, TStream* Source) {
  if (!Dest || !Source) throw EInvalidPointer("Invalid pointer operation");
  Source->SetPosition(0);
  auto Decompressor = CreateOwned<TDecompressionStream>(Source);
  std::array<Byte, InflateBlock> Block;
  for (Integer N; (N = Decompressor->Read(Block.data(), InflateBlock)) != 0;)
    Dest->WriteBuffer(Block.data(), N);
}
