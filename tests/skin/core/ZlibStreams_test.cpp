#include <gtest/gtest.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/rtl/Streams.h"
#include "skin/core/data/spzlibcompress.h"

namespace {

using Bytes = std::vector<Byte>;

// Text-like data that compresses well, with some noise so it spans several buffers.
Bytes SampleData(size_t N, unsigned Seed = 7) {
  std::mt19937 Gen(Seed);
  Bytes Out(N);
  for (size_t i = 0; i < N; ++i)
    Out[i] = (i % 13 == 0) ? static_cast<Byte>(Gen()) : static_cast<Byte>('a' + i % 7);
  return Out;
}

Bytes Contents(TMemoryStream& S) {
  const auto* P = static_cast<const Byte*>(S.Memory());
  return Bytes(P, P + S.Size());
}

void Put(TMemoryStream& S, const Bytes& B) {
  if (!B.empty()) S.WriteBuffer(B.data(), static_cast<Integer>(B.size()));
}

// zlib's own inflate of a whole buffer; false when the data is not one complete stream.
bool Uncompress(const Bytes& In, size_t ExpectedSize, Bytes& Out) {
  Out.assign(ExpectedSize + 1, 0);
  uLongf Len = Out.size();
  if (uncompress(Out.data(), &Len, In.data(), In.size()) != Z_OK) return false;
  Out.resize(Len);
  return true;
}

Bytes ZlibCompress(const Bytes& In) {
  Bytes Out(compressBound(In.size()));
  uLongf Len = Out.size();
  EXPECT_EQ(compress(Out.data(), &Len, In.data(), In.size()), Z_OK);
  Out.resize(Len);
  return Out;
}

Bytes ReadAll(TDecompressionStream& D, Integer Block = 1000) {
  Bytes Out;
  Bytes Buf(static_cast<size_t>(Block));
  for (Integer N; (N = D.Read(Buf.data(), Block)) != 0;)
    Out.insert(Out.end(), Buf.begin(), Buf.begin() + N);
  return Out;
}

template <class E>
void ExpectInvalidOperation(const std::function<void()>& Op) {
  try {
    Op();
    ADD_FAILURE() << "no error";
  } catch (const E& e) {
    EXPECT_EQ(e.Message(), "Invalid stream operation");
    EXPECT_NE(dynamic_cast<const EZlibError*>(&e), nullptr);
  }
}

// Accepts a limited number of bytes, then refuses every write.
class TFullStream : public TMemoryStream {
 public:
  explicit TFullStream(Int64 Room) : FRoom(Room) {}
  Integer Write(const void* Buffer, Integer Count) override {
    if (Size() + Count > FRoom) return 0;
    return TMemoryStream::Write(Buffer, Count);
  }

 private:
  Int64 FRoom;
};

}  // namespace

TEST(ZlibStreams, CompressorOutputInflatesBackThroughBothSides) {
  const Bytes Data = SampleData(100000);
  for (TCompressionLevel Level : {TCompressionLevel::clNone, TCompressionLevel::clFastest,
                                  TCompressionLevel::clDefault, TCompressionLevel::clMax}) {
    SCOPED_TRACE(static_cast<int>(Level));
    TMemoryStream Packed;
    Integer Progress = 0;
    {
      TOwned<TCompressionStream> C(TCompressionStream::Create(Level, &Packed));
      C->OnProgress = [&](TObject* Sender) {
        EXPECT_EQ(Sender, C.get());
        ++Progress;
      };
      // Uneven writes, some of them larger than the buffer.
      for (size_t At = 0; At < Data.size();) {
        const size_t N = std::min<size_t>(Data.size() - At, At % 3 == 0 ? 20000 : 777);
        EXPECT_EQ(C->Write(Data.data() + At, static_cast<Integer>(N)), static_cast<Integer>(N));
        At += N;
      }
      EXPECT_EQ(C->Position(), 100000);
      // One progress event per full buffer handed to the destination while writing.
      EXPECT_EQ(Progress, static_cast<Integer>(Packed.Size() / 8192));
      EXPECT_EQ(Packed.Size() % 8192, 0);
      C->Finish();
      if (Level == TCompressionLevel::clNone) {
        EXPECT_LT(C->CompressionRate(), 0.0f);
        EXPECT_GT(Progress, 0);
      } else if (Level == TCompressionLevel::clMax) {
        EXPECT_GT(C->CompressionRate(), 50.0f);
      }
    }
    Bytes Plain;
    ASSERT_TRUE(Uncompress(Contents(Packed), Data.size(), Plain));
    EXPECT_EQ(Plain, Data);

    Packed.SetPosition(0);
    TOwned<TDecompressionStream> D(TDecompressionStream::Create(&Packed));
    Integer ReadProgress = 0;
    D->OnProgress = [&](TObject*) { ++ReadProgress; };
    EXPECT_EQ(ReadAll(*D, 3000), Data);
    EXPECT_EQ(ReadProgress, static_cast<Integer>((Packed.Size() + 8191) / 8192));
  }
}

TEST(ZlibStreams, EmptyCompressorStillWritesACompleteStream) {
  TMemoryStream Packed;
  {
    TOwned<TCompressionStream> C(TCompressionStream::Create(TCompressionLevel::clMax, &Packed));
    EXPECT_EQ(C->CompressionRate(), 0.0f);
    EXPECT_EQ(C->Position(), 0);
  }
  EXPECT_EQ(Packed.Size(), 8);
  Bytes Plain;
  EXPECT_TRUE(Uncompress(Contents(Packed), 0, Plain));
  EXPECT_TRUE(Plain.empty());
}

TEST(ZlibStreams, CompressorWritesFromTheDestinationsPositionAndReturnsThereWhenMoved) {
  const Bytes Data = SampleData(50000, 3);
  TMemoryStream Packed;
  Put(Packed, {'H', 'D', 'R'});
  {
    TOwned<TCompressionStream> C(TCompressionStream::Create(TCompressionLevel::clDefault, &Packed));
    for (size_t At = 0; At < Data.size(); At += 5000) {
      C->WriteBuffer(Data.data() + At, 5000);
      // Someone else moves the shared stream between writes.
      Packed.SetPosition(1);
    }
  }
  const Bytes All = Contents(Packed);
  ASSERT_GT(All.size(), 3u);
  EXPECT_EQ(Bytes(All.begin(), All.begin() + 3), (Bytes{'H', 'D', 'R'}));
  Bytes Plain;
  ASSERT_TRUE(Uncompress(Bytes(All.begin() + 3, All.end()), Data.size(), Plain));
  EXPECT_EQ(Plain, Data);
}

TEST(ZlibStreams, UnsupportedOperationsRaiseTheirDirectionsError) {
  TMemoryStream Packed;
  Byte Buf[16] = {};
  TOwned<TCompressionStream> C(TCompressionStream::Create(TCompressionLevel::clDefault, &Packed));
  C->WriteBuffer(Buf, 16);
  ExpectInvalidOperation<ECompressionError>([&] { C->Read(Buf, 1); });
  ExpectInvalidOperation<ECompressionError>([&] { C->Seek(10, soEnd); });
  ExpectInvalidOperation<ECompressionError>([&] { C->Seek(0, soBeginning); });
  ExpectInvalidOperation<ECompressionError>([&] { C->Seek(1, soCurrent); });
  C.reset();

  Packed.SetPosition(0);
  TOwned<TDecompressionStream> D(TDecompressionStream::Create(&Packed));
  D->ReadBuffer(Buf, 10);
  ExpectInvalidOperation<EDecompressionError>([&] { D->Write(Buf, 1); });
  ExpectInvalidOperation<EDecompressionError>([&] { D->Seek(10, soEnd); });
  ExpectInvalidOperation<EDecompressionError>([&] { D->Seek(-1, soCurrent); });
  // From the beginning, only past the current position (or 0) is allowed.
  ExpectInvalidOperation<EDecompressionError>([&] { D->Seek(5, soBeginning); });
  ExpectInvalidOperation<EDecompressionError>([&] { D->Seek(10, soBeginning); });
  EXPECT_EQ(D->Position(), 10);
}

TEST(ZlibStreams, DecompressorSeeksForwardByReadingAndRestartsFromTheSourceStart) {
  const Bytes Data = SampleData(40000, 5);
  TMemoryStream Packed;
  Put(Packed, ZlibCompress(Data));
  Packed.SetPosition(0);
  TOwned<TDecompressionStream> D(TDecompressionStream::Create(&Packed));
  Byte Buf[4];

  EXPECT_EQ(D->Seek(100, soCurrent), 100);
  D->ReadBuffer(Buf, 4);
  EXPECT_EQ(Bytes(Buf, Buf + 4), Bytes(Data.begin() + 100, Data.begin() + 104));

  // Past the current position from the beginning: the difference is skipped (here more
  // than one 8192-byte block).
  EXPECT_EQ(D->Seek(30000, soBeginning), 30000);
  D->ReadBuffer(Buf, 4);
  EXPECT_EQ(Bytes(Buf, Buf + 4), Bytes(Data.begin() + 30000, Data.begin() + 30004));

  EXPECT_EQ(D->Seek(0, soBeginning), 0);
  Packed.SetPosition(Packed.Size());  // the adaptor goes back where it was
  EXPECT_EQ(ReadAll(*D), Data);

  // Past the end of the inflated data: the stream read error.
  D->SetPosition(0);
  EXPECT_THROW(D->Seek(40001, soCurrent), EReadError);
}

TEST(ZlibStreams, DecompressorRestartsAtTheSourcesStartNotWhereItWasCreated) {
  const Bytes Data = SampleData(1000, 9);
  TMemoryStream Packed;
  Put(Packed, ZlibCompress(Data));
  const Int64 StreamEnd = Packed.Size();
  Put(Packed, ZlibCompress(Bytes(10, 'z')));
  // Created over the second stream, restarted over the first.
  Packed.SetPosition(StreamEnd);
  TOwned<TDecompressionStream> D(TDecompressionStream::Create(&Packed));
  EXPECT_EQ(ReadAll(*D), Bytes(10, 'z'));
  D->Seek(0, soBeginning);
  EXPECT_EQ(ReadAll(*D), Data);
}

TEST(ZlibStreams, DecompressorStopsAtTheEndOfTheZlibStream) {
  const Bytes Data = SampleData(20000, 11);
  TMemoryStream Packed;
  Put(Packed, ZlibCompress(Data));
  Put(Packed, Bytes(5000, 0xAB));
  Packed.SetPosition(0);
  TOwned<TDecompressionStream> D(TDecompressionStream::Create(&Packed));
  EXPECT_EQ(ReadAll(*D, 7000), Data);
  Byte Buf[10];
  EXPECT_EQ(D->Read(Buf, 10), 0);
}

TEST(ZlibStreams, CorruptDataRaisesAndTruncatedDataEndsEarly) {
  const Bytes Data = SampleData(30000, 13);
  const Bytes Good = ZlibCompress(Data);
  {
    SCOPED_TRACE("bad header");
    TMemoryStream S;
    Put(S, Bytes{0x12, 0x34, 0x56, 0x78});
    S.SetPosition(0);
    TOwned<TDecompressionStream> D(TDecompressionStream::Create(&S));
    Byte Buf[10];
    try {
      D->Read(Buf, 10);
      ADD_FAILURE() << "no error";
    } catch (const EDecompressionError& e) {
      EXPECT_EQ(e.Message(), "compression error");
    }
  }
  {
    SCOPED_TRACE("truncated");
    TMemoryStream S;
    Put(S, Bytes(Good.begin(), Good.begin() + static_cast<ptrdiff_t>(Good.size() / 2)));
    S.SetPosition(0);
    TOwned<TDecompressionStream> D(TDecompressionStream::Create(&S));
    const Bytes Got = ReadAll(*D);
    EXPECT_LT(Got.size(), Data.size());
    EXPECT_EQ(Got, Bytes(Data.begin(), Data.begin() + static_cast<ptrdiff_t>(Got.size())));
  }
  {
    SCOPED_TRACE("stream that needs a preset dictionary");
    z_stream Z{};
    ASSERT_EQ(deflateInit(&Z, Z_DEFAULT_COMPRESSION), Z_OK);
    const Bytes Dict = {'a', 'b', 'c', 'd', 'e', 'f'};
    ASSERT_EQ(deflateSetDictionary(&Z, Dict.data(), static_cast<uInt>(Dict.size())), Z_OK);
    Bytes In = SampleData(500), Out(2000);
    Z.next_in = In.data();
    Z.avail_in = static_cast<uInt>(In.size());
    Z.next_out = Out.data();
    Z.avail_out = static_cast<uInt>(Out.size());
    ASSERT_EQ(deflate(&Z, Z_FINISH), Z_STREAM_END);
    Out.resize(Z.total_out);
    deflateEnd(&Z);
    TMemoryStream S;
    Put(S, Out);
    S.SetPosition(0);
    TOwned<TDecompressionStream> D(TDecompressionStream::Create(&S));
    EXPECT_THROW(ReadAll(*D), EDecompressionError);
  }
}

TEST(ZlibStreams, DeflateAndInflateStreamWorkOnWholeStreams) {
  const Bytes Data = SampleData(25000, 17);
  TMemoryStream Source;
  Put(Source, Data);  // position at the end: DeflateStream still takes all of it
  TMemoryStream Packed;
  DeflateStream(&Source, &Packed);
  Bytes Plain;
  ASSERT_TRUE(Uncompress(Contents(Packed), Data.size(), Plain));
  EXPECT_EQ(Plain, Data);

  // Source at its end: inflated from the start.
  TMemoryStream Restored;
  InflateStream(&Restored, &Packed);
  EXPECT_EQ(Contents(Restored), Data);

  TMemoryStream Empty, EmptyPacked, EmptyRestored;
  DeflateStream(&Empty, &EmptyPacked);
  EXPECT_EQ(EmptyPacked.Size(), 8);
  InflateStream(&EmptyRestored, &EmptyPacked);
  EXPECT_EQ(EmptyRestored.Size(), 0);
}

TEST(ZlibStreams, AWriteFailureIsReportedNotLost) {
  const Bytes Data = SampleData(60000, 19);
  {
    SCOPED_TRACE("while compressing");
    TMemoryStream Source;
    Put(Source, Data);
    TFullStream Full(1000);
    EXPECT_THROW(DeflateStream(&Source, &Full), EWriteError);
  }
  {
    SCOPED_TRACE("while finishing");
    TMemoryStream Source;
    Put(Source, Bytes(100, 'q'));
    TFullStream Full(2);
    EXPECT_THROW(DeflateStream(&Source, &Full), EWriteError);
  }
  {
    SCOPED_TRACE("destructor without Finish does not raise");
    TFullStream Full(2);
    TOwned<TCompressionStream> C(TCompressionStream::Create(TCompressionLevel::clMax, &Full));
    C->WriteBuffer(Data.data(), 100);
    EXPECT_NO_THROW(C.reset());
  }
  {
    SCOPED_TRACE("inflating into a full stream");
    TMemoryStream Packed;
    Put(Packed, ZlibCompress(Data));
    TFullStream Full(5000);
    EXPECT_THROW(InflateStream(&Full, &Packed), EWriteError);
  }
}

TEST(ZlibStreams, DamagedInputNeverCrashesTheInflater) {
  // Bytes flipped, zeroed or cut at random places of a valid stream: either data comes out
  // or EZlibError is raised; the sanitizers watch the rest.
  const Bytes Data = SampleData(20000, 23);
  const Bytes Good = ZlibCompress(Data);
  std::mt19937 Gen(1234);
  for (int Round = 0; Round < 400; ++Round) {
    Bytes Bad = Good;
    const int Kind = Round % 3;
    const size_t At = Gen() % Bad.size();
    if (Kind == 0)
      Bad[At] ^= static_cast<Byte>(1 + Gen() % 255);
    else if (Kind == 1)
      std::fill(Bad.begin() + static_cast<ptrdiff_t>(At),
                Bad.begin() + static_cast<ptrdiff_t>(std::min(Bad.size(), At + 1 + Gen() % 64)), 0);
    else
      Bad.resize(At);
    TMemoryStream Packed, Out;
    Put(Packed, Bad);
    try {
      InflateStream(&Out, &Packed);
      EXPECT_LE(Out.Size(), static_cast<Int64>(Data.size()) + 65536);
    } catch (const EZlibError&) {
    }
  }
}
