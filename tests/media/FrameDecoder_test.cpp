// The frame decoder: every picture of a file with B-frames in order, seeking and the
// key-frame steps, the end of the file, still pictures, bitmaps and bad requests.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFDecode.h"
#include "media/FFLoad.h"
#include "media/FFLog.h"
#include "tests/support/TempDir.h"
#include "tests/support/ProbeFixtures.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::media;
using vantrel::test::FixturePath;

namespace {

constexpr Int64 OneFrame = 40000;  // at 25 fps

class FrameDecoderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Decoder->LoadAVLib("")) << Decoder->LastErrMsg(); }
  void Load(const std::string& AName) {
    ASSERT_TRUE(Decoder->LoadFile(FixturePath(AName))) << Decoder->LastErrMsg();
  }
  // Decodes to the end; the PTS of every picture.
  std::vector<Int64> DecodeAll() {
    std::vector<Int64> P;
    while (Decoder->Decode()) P.push_back(Decoder->FrameInfo().PTS);
    return P;
  }
  TOwned<TFFDecoder> Decoder{TFFDecoder::Create(nullptr)};
};

}  // namespace

TEST_F(FrameDecoderTest, DecodesEveryPictureOfAFileWithBFramesInOrder) {
  Load("v.mp4");
  std::vector<Int64> Expected;
  for (Int64 I = 0; I < 50; ++I) Expected.push_back(I * OneFrame);
  // Without draining the decoder at the end the last pictures would be missing.
  EXPECT_EQ(DecodeAll(), Expected);
  EXPECT_TRUE(Decoder->Eof());
  EXPECT_EQ(Decoder->LastErrMsg(), "stream eof reached.");
  EXPECT_FALSE(Decoder->Decode());
  EXPECT_EQ(Decoder->LastErrMsg(), "stream eof reached.");
  // A seek to the start clears the end.
  ASSERT_TRUE(Decoder->Seek(0, {})) << Decoder->LastErrMsg();
  EXPECT_FALSE(Decoder->Eof());
  ASSERT_TRUE(Decoder->Decode());
  EXPECT_EQ(Decoder->FrameInfo().PTS, 0);
}

TEST_F(FrameDecoderTest, PictureRecordDescribesTheDecodedPicture) {
  Load("v.mp4");
  ASSERT_TRUE(Decoder->Decode());
  const TFrameInfo& F = Decoder->FrameInfo();
  EXPECT_TRUE(F.Ready);
  EXPECT_EQ(F.Width, 320);
  EXPECT_EQ(F.Height, 240);
  EXPECT_EQ(F.PixFmt, AV_PIX_FMT_YUV420P);
  EXPECT_TRUE(F.IsKeyFrame);
  EXPECT_EQ(F.PictureType, ptI);
  EXPECT_EQ(F.StreamIndex, 0);
  EXPECT_EQ(F.OriginalPTS, 0);
  // The packet's times: with B-frames the first decoding time of this file is negative,
  // so a picture's time comes from its presentation time, not from a decoding time.
  EXPECT_NE(F.OriginalDTS, NoPTSValue);
  EXPECT_GE(F.Position, 0);
  EXPECT_GE(F.Size, 320 * 240 * 3 / 2);
  EXPECT_EQ(F.Picture.data[0], F.Buffer);
  EXPECT_EQ(F.Picture.linesize[0], 320);
  ASSERT_TRUE(Decoder->Decode());
  EXPECT_EQ(Decoder->FrameInfo().PTS, OneFrame);
  EXPECT_FALSE(Decoder->FrameInfo().IsKeyFrame);
  EXPECT_EQ(Decoder->FrameInfo().PictureType, ptB);
  EXPECT_GE(Decoder->Position(), 0);
}

TEST_F(FrameDecoderTest, SeekLandsOnKeyFramesAfterOrBeforeTheTime) {
  Load("v.mp4");
  // Key frames every 10 pictures: 0, 0.4, 0.8, 1.2, 1.6 s.
  const struct {
    Int64 Time;
    TSeekFlags Flags;
    Int64 Landed;
  } Cases[] = {{1000000, {}, 1200000},       {1000000, {sfBackward}, 800000},
               {1200000, {}, 1200000},       {1200000, {sfBackward}, 1200000},
               {-5000000, {}, 0},            {0, {}, 0},
               {1990000, {sfBackward}, 1600000}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Time);
    ASSERT_TRUE(Decoder->Seek(C.Time, C.Flags)) << Decoder->LastErrMsg();
    EXPECT_FALSE(Decoder->FrameInfo().Ready) << "a seek empties the picture record";
    ASSERT_TRUE(Decoder->Decode()) << Decoder->LastErrMsg();
    EXPECT_EQ(Decoder->FrameInfo().PTS, C.Landed);
    EXPECT_TRUE(Decoder->FrameInfo().IsKeyFrame);
  }
  // Past the last key frame there is none to land on.
  EXPECT_FALSE(Decoder->Seek(5000000, {}));
  EXPECT_EQ(Decoder->LastErrMsg(), "could not seek to position 5.000 seconds");
  // MP4 cannot seek by bytes; a transport stream can, and the value is not rescaled.
  EXPECT_FALSE(Decoder->Seek(1000, {sfByte}));
  EXPECT_EQ(Decoder->LastErrMsg(), "could not seek to position 1000 bytes");
  Load("probe-program.ts");
  ASSERT_TRUE(Decoder->Seek(0, {sfByte})) << Decoder->LastErrMsg();
  ASSERT_TRUE(Decoder->Decode());
  EXPECT_EQ(Decoder->FrameInfo().PTS, 0);
  ASSERT_TRUE(Decoder->Seek(Decoder->FileSize() / 2, {sfByte})) << Decoder->LastErrMsg();
  ASSERT_TRUE(Decoder->Decode());
  EXPECT_GT(Decoder->FrameInfo().PTS, 400000);
}

TEST_F(FrameDecoderTest, StepsBetweenKeyFramesAndFrames) {
  Load("v.mp4");
  ASSERT_TRUE(Decoder->Decode());
  // From the first picture: one frame on, then the key frame at or after it.
  ASSERT_TRUE(Decoder->DecodeNextKeyFrame()) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->FrameInfo().PTS, 400000);
  ASSERT_TRUE(Decoder->DecodeNextKeyFrame());
  EXPECT_EQ(Decoder->FrameInfo().PTS, 800000);
  // Back to the key frame before the current one.
  ASSERT_TRUE(Decoder->DecodePreviousKeyFrame()) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->FrameInfo().PTS, 400000);
  // From 0.4 s: the previous frame is 0.36 s.
  ASSERT_TRUE(Decoder->DecodePreviousFrame()) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->FrameInfo().PTS, 360000);
  ASSERT_TRUE(Decoder->DecodePreviousFrame());
  EXPECT_EQ(Decoder->FrameInfo().PTS, 320000);
  // At the first picture there is nothing before it, and the search ends.
  ASSERT_TRUE(Decoder->Seek(0, {}));
  ASSERT_TRUE(Decoder->Decode());
  EXPECT_TRUE(Decoder->DecodePreviousKeyFrame());
  EXPECT_EQ(Decoder->FrameInfo().PTS, 0);
  // Nothing decoded yet: the last key frame of the file.
  ASSERT_TRUE(Decoder->LoadFile(FixturePath("v.mp4")));
  ASSERT_TRUE(Decoder->DecodePreviousKeyFrame()) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->FrameInfo().PTS, 1600000);
}

// With B-frames in a transport stream, a backward seek to just before a key frame lands
// on the packets after that key frame: the step goes one frame further back without
// decoding there, also when the current picture's place is known only from the one
// before (after a seek).
TEST_F(FrameDecoderTest, BackwardStepOverAKeyFrameWhoseSeekLandsOnTheCurrentPicture) {
  TOwned<TFFLogger> Logger = CreateOwned<TFFLogger>(nullptr);
  Logger->SetTriggerEventInMainThread(false);
  Logger->SetLogLevel(llDebug);
  int Decoded = 0;
  Logger->OnLog = [&](TObject*, Cardinal, TLogLevel, const String& Msg) {
    if (Msg.starts_with("decode PTS:")) ++Decoded;
  };
  Load("dec-bframes.ts");
  // Key frames at 0, 0.48 and 0.96 s.
  while (Decoder->Decode() && Decoder->FrameInfo().PTS < 480000) {
  }
  ASSERT_EQ(Decoder->FrameInfo().PTS, 480000);
  ASSERT_TRUE(Decoder->FrameInfo().IsKeyFrame);
  const Int64 Current = Decoder->FrameInfo().Position;
  Decoded = 0;
  ASSERT_TRUE(Decoder->DecodePreviousKeyFrame()) << Decoder->LastErrMsg();
  EXPECT_EQ(Decoder->FrameInfo().PTS, 0);
  EXPECT_TRUE(Decoder->FrameInfo().IsKeyFrame);
  EXPECT_LT(Decoder->FrameInfo().Position, Current);
  // Twelve steps back to the previous key frame; the first three seeks (0.44, 0.40 and
  // 0.36 s) left the input at or after the current picture and decoded nothing.
  EXPECT_EQ(Decoded, 9);
}

// A stream none of whose pictures decodes says why; one that ends after its pictures
// keeps the end-of-file text.
TEST_F(FrameDecoderTest, StreamWithoutADecodablePictureReportsTheDecoderError) {
  Load("damaged-nodata.mp4");
  EXPECT_FALSE(Decoder->Decode());
  EXPECT_EQ(Decoder->LastErrMsg(), "no picture of stream #0 could be decoded: Invalid data found when processing input");
  Load("v.mp4");
  DecodeAll();
  EXPECT_EQ(Decoder->LastErrMsg(), "stream eof reached.");
}

TEST_F(FrameDecoderTest, StillPicturesRepeatAndRefuseSeeking) {
  const struct {
    const char* File;
    const char* Format;
    int Width;
  } Cases[] = {{"dec-red.png", "png_pipe", 350}, {"dec-still.jpg", "image2", 160}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.File);
    Load(C.File);
    EXPECT_EQ(Decoder->FormatName(), C.Format);
    for (int I = 0; I < 3; ++I) {
      ASSERT_TRUE(Decoder->Decode()) << Decoder->LastErrMsg();
      EXPECT_EQ(Decoder->FrameInfo().Width, C.Width);
    }
    EXPECT_FALSE(Decoder->Seek(0, {}));
    EXPECT_EQ(Decoder->LastErrMsg(), "\"" + std::string(C.Format) + "\" format cannot to be seeked.");
    EXPECT_TRUE(Decoder->FrameInfo().Ready) << "a refused seek keeps the picture";
  }
}

TEST_F(FrameDecoderTest, CopiesThePictureIntoABitmap) {
  TOwned<TBitmap> Bmp = CreateOwned<TBitmap>();
  Load("dec-red.png");
  EXPECT_FALSE(Decoder->CopyToBitmap(Bmp.get()));
  EXPECT_EQ(Decoder->LastErrMsg(), "picture not ready, please decode first");
  EXPECT_EQ(Decoder->GetBitmapPtr(), nullptr);
  ASSERT_TRUE(Decoder->Decode());
  ASSERT_TRUE(Decoder->CopyToBitmap(Bmp.get())) << Decoder->LastErrMsg();
  ASSERT_EQ(Bmp->Width(), 350);
  ASSERT_EQ(Bmp->Height(), 240);
  for (int Y : {0, 117, 239}) {
    const uint8_t* Row = static_cast<const uint8_t*>(Bmp->ScanLine(Y));
    for (int X : {0, 175, 349}) {
      EXPECT_EQ(Row[3 * X + 2], 255);
      EXPECT_EQ(Row[3 * X + 1], 0);
      EXPECT_EQ(Row[3 * X], 0);
    }
  }
  Decoder->SetBitmapBitsPixel(32);
  const BITMAP* Dib = Decoder->GetBitmapPtr();
  ASSERT_NE(Dib, nullptr);
  EXPECT_EQ(Dib->bmWidth, 350);
  EXPECT_EQ(Dib->bmBitsPixel, 32);
  EXPECT_EQ(static_cast<const uint8_t*>(Dib->bmBits)[2], 255);
}

TEST_F(FrameDecoderTest, DeinterlacedPicturesKeepTheirSizeAndTime) {
  Load("v.mp4");
  Decoder->SetDeinterlace(true);
  ASSERT_TRUE(Decoder->Decode());
  EXPECT_TRUE(Decoder->Deinterlace());
  EXPECT_EQ(Decoder->FrameInfo().PTS, 0);
  // A size that is not a multiple of 4 cannot be deinterlaced: switched off, decoded as is.
  Load("dec-red.png");  // 350 wide, RGB
  ASSERT_TRUE(Decoder->Decode());
  EXPECT_FALSE(Decoder->Deinterlace());
  EXPECT_TRUE(Decoder->FrameInfo().Ready);
}

TEST_F(FrameDecoderTest, BadRequestsFailWithTheirMessages) {
  EXPECT_FALSE(Decoder->Decode());
  EXPECT_EQ(Decoder->LastErrMsg(), "file not loaded.");
  EXPECT_FALSE(Decoder->Seek(0, {}));
  EXPECT_EQ(Decoder->Position(), -1);
  Load("v.mp4");
  const struct {
    Integer Index;
    const char* Message;
  } Cases[] = {{1, "stream #1 is not video stream."}, {7, "stream index #7 is invalid."}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Index);
    EXPECT_FALSE(Decoder->Decode(C.Index));
    EXPECT_EQ(Decoder->LastErrMsg(), C.Message);
  }
  Load("dec-mono.mp3");
  EXPECT_FALSE(Decoder->Decode());
  EXPECT_EQ(Decoder->LastErrMsg(), "no video stream.");
}

TEST_F(FrameDecoderTest, AdoptedContextCannotBeDecodedOrSought) {
  TOwned<TFFDecoder> Owner{TFFDecoder::Create(nullptr)};
  ASSERT_TRUE(Owner->LoadAVLib(""));
  ASSERT_TRUE(Owner->LoadFile(FixturePath("v.mp4")));
  Decoder->SetFileHandle(Owner->FileHandle());
  EXPECT_THROW(Decoder->Decode(), Exception);
  EXPECT_EQ(Decoder->LastErrMsg(), "file cannot be seeked, handle is readonly.");
  EXPECT_THROW(Decoder->Seek(0, {}), Exception);
  Decoder->CloseFile();
}

TEST_F(FrameDecoderTest, TruncatedFileDecodesWhatItCanAndEnds) {
  vantrel::test::TTempDir Dir;
  const std::string Copy = Dir.File("truncated.ts");
  const std::string Bytes = vantrel::test::ReadFileBytes(FixturePath("probe-program.ts"));
  vantrel::test::WriteFileBytes(Copy, Bytes.substr(0, Bytes.size() / 2));
  ASSERT_TRUE(Decoder->LoadFile(Copy)) << Decoder->LastErrMsg();
  const std::vector<Int64> P = DecodeAll();
  EXPECT_GT(P.size(), 5u);
  EXPECT_LT(P.size(), 50u);
  EXPECT_TRUE(Decoder->Eof());
  EXPECT_FALSE(Decoder->Decode());
}
