// The frame decoder on damaged and unusual files the test makes itself: a picture wider
// than a bitmap may be, and a file none of whose packets decodes, stepped back in and
// sought to its start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <vector>

#include "media/FFDecode.h"
#include "media/FFLog.h"
#include "platform/ui/Graphics.h"
#include "tests/support/TempDir.h"

using namespace vantrel::media;

namespace {

bool DamagedRun(const std::string& ACommand) { return std::system(ACommand.c_str()) == 0; }

// An MP4 (index first) of ASeconds whose picture and sound data is overwritten byte by byte: the
// file opens and seeks, but no packet decodes.
std::string MakeUndecodableClip(const vantrel::test::TTempDir& ADir, int ASeconds) {
  const std::string Clip = ADir.File("nodata" + std::to_string(ASeconds) + ".mp4");
  if (!DamagedRun("ffmpeg -nostdin -loglevel error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=" +
                  std::to_string(ASeconds) + " -f lavfi -i sine=duration=" + std::to_string(ASeconds) +
                  " -c:v libx264 -g 25 -c:a aac -movflags +faststart '" + Clip + "'"))
    return {};
  std::fstream F(Clip, std::ios::in | std::ios::out | std::ios::binary);
  std::string Bytes((std::istreambuf_iterator<char>(F)), std::istreambuf_iterator<char>());
  const size_t Data = Bytes.find("mdat");
  if (Data == std::string::npos) return {};
  for (size_t I = Data + 4; I < Bytes.size(); ++I) Bytes[I] = '\xAA';
  F.seekp(0);
  F.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  return F ? Clip : std::string();
}

// Counts the log lines that report a stream without a decodable picture: one per pass
// that read to the end of the file.
class DamagedPassCounter {
 public:
  DamagedPassCounter() {
    GetFFLogger()->SetTriggerEventInMainThread(false);
    GetFFLogger()->OnLog = [this](TObject*, Cardinal, TLogLevel, const String& AMsg) {
      std::lock_guard<std::mutex> G(FLock);
      if (AMsg.rfind("no picture of stream", 0) == 0) ++FPasses;
    };
  }
  ~DamagedPassCounter() { GetFFLogger()->OnLog = nullptr; }
  int Passes() {
    std::lock_guard<std::mutex> G(FLock);
    return FPasses;
  }

 private:
  std::mutex FLock;
  int FPasses = 0;
};

class DecoderDamagedTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Decoder->LoadAVLib("")) << Decoder->LastErrMsg(); }
  vantrel::test::TTempDir Dir;
  TOwned<TFFDecoder> Decoder{TFFDecoder::Create(nullptr)};
};

}  // namespace

// A picture too wide for a bitmap is refused with false, not an exception.
TEST_F(DecoderDamagedTest, APictureWiderThanABitmapIsNotCopied) {
  const std::string Clip = Dir.File("wide.nut");
  ASSERT_TRUE(DamagedRun("ffmpeg -nostdin -loglevel error -y -f lavfi -i color=size=40000x2:rate=1:duration=1 "
                         "-pix_fmt gray -c:v rawvideo '" + Clip + "'"));
  ASSERT_TRUE(Decoder->LoadFile(Clip)) << Decoder->LastErrMsg();
  ASSERT_TRUE(Decoder->Decode()) << Decoder->LastErrMsg();
  ASSERT_EQ(Decoder->FrameInfo().Width, 40000);
  TOwned<TBitmap> Bmp = CreateOwned<TBitmap>();
  bool Copied = true;
  EXPECT_NO_THROW(Copied = Decoder->CopyToBitmap(Bmp.get()));
  EXPECT_FALSE(Copied);
  EXPECT_FALSE(Decoder->LastErrMsg().empty());
  EXPECT_EQ(Decoder->GetBitmapPtr(), nullptr);
}

// Stepping back in a file without one decodable picture gives up after one pass to the
// end, not one pass per frame of the file (250 in 10 s).
TEST_F(DecoderDamagedTest, SteppingBackInAFileWithoutPicturesStopsAfterOnePass) {
  const std::string Clip = MakeUndecodableClip(Dir, 10);
  ASSERT_FALSE(Clip.empty());
  for (bool Key : {true, false}) {
    SCOPED_TRACE(Key);
    ASSERT_TRUE(Decoder->LoadFile(Clip)) << Decoder->LastErrMsg();
    DamagedPassCounter Counter;
    EXPECT_FALSE(Key ? Decoder->DecodePreviousKeyFrame() : Decoder->DecodePreviousFrame());
    EXPECT_LE(Counter.Passes(), 2) << Decoder->LastErrMsg();
    EXPECT_NE(Decoder->LastErrMsg().find("no picture of stream #0 could be decoded"), String::npos)
        << Decoder->LastErrMsg();
  }
}

// Sought to its start, the file is read again and the decoder's error comes out, not the
// end of the input that probing left behind (a short file is probed to its end).
TEST_F(DecoderDamagedTest, ASeekToTheStartOfAFileWithoutPicturesGivesTheDecodersError) {
  const std::string Clip = MakeUndecodableClip(Dir, 2);
  ASSERT_FALSE(Clip.empty());
  ASSERT_TRUE(Decoder->LoadFile(Clip)) << Decoder->LastErrMsg();
  Decoder->Seek(0, {});
  EXPECT_FALSE(Decoder->Decode());
  EXPECT_EQ(Decoder->LastErrMsg().rfind("no picture of stream #0 could be decoded: ", 0), 0u) << Decoder->LastErrMsg();
}
