// File names handed to FFmpeg: the conversion table, the way back, and files with
// non-Latin names or a ":" that really open, read and write.
#include "media/UnicodeProtocol.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/FFLoad.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"

using namespace vantrel::media;

namespace {

std::string ReadAll(const std::string& Path) {
  std::ifstream F(Path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(F), {});
}

class FFmpegFileTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FFLoader().Load(DecoderLibraries)) << FFLoader().LastErrMsg(); }
  void TearDown() override { FFLoader().Unload(DecoderLibraries); }
  vantrel::test::TTempDir Dir;
};

}  // namespace

TEST(UnicodeProtocol, ConvertsNamesForFFmpegAndBack) {
  const struct {
    const char* Name;
    const char* ForFFmpeg;
  } Cases[] = {
      {"/tmp/clip.mp4", "/tmp/clip.mp4"},
      {"/tmp/café déjà.mp4", "/tmp/café déjà.mp4"},           // Latin-1: FFmpeg opens it
      {"/tmp/€ Œuvre ™.mp4", "/tmp/€ Œuvre ™.mp4"},            // Windows-1252's extras
      {"/tmp/Москва.mp4", "unicode:utf8:/tmp/Москва.mp4"},
      {"/tmp/東京/a.mp4", "unicode:utf8:/tmp/東京/a.mp4"},
      {"/tmp/\xff.mp4", "unicode:utf8:/tmp/\xff.mp4"},          // not UTF-8 at all
      {"http://host/Москва.mp4", "http://host/Москва.mp4"},    // known prefixes pass
      {"udp://1.2.3.4:1234", "udp://1.2.3.4:1234"},
      {"pipe:0", "pipe:0"},
      {"HTTP://host/a.mp4", "file:HTTP://host/a.mp4"},         // prefixes count case
      {"HTTP://host/Москва", "unicode:utf8:HTTP://host/Москва"},
      {"C:\\x\\y.avi", "file:C:\\x\\y.avi"},
      {"a:b.mp4", "file:a:b.mp4"},
      {"file:x.mp4", "file:file:x.mp4"},
      {":x", "file::x"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Name);
    EXPECT_EQ(ToFFmpegFileName(C.Name), C.ForFFmpeg);
    EXPECT_EQ(FromFFmpegFileName(ToFFmpegFileName(C.Name)), C.Name);
  }
  // A name given in the URL form reads back as the file it names.
  EXPECT_EQ(ToFFmpegFileName("unicode:utf8:/tmp/x.mp4"), "unicode:utf8:/tmp/x.mp4");
  EXPECT_EQ(FromFFmpegFileName("unicode:utf8:/tmp/x.mp4"), "/tmp/x.mp4");
  EXPECT_FALSE(IsUnicodeURL("unicode:utf8:"));
  EXPECT_TRUE(IsUnicodeURL("unicode:utf8:x"));
  EXPECT_EQ(FromUnicodeURL("unicode:utf8:/a:b"), "/a:b");
}

TEST_F(FFmpegFileTest, NonLatinAndColonNamesOpen) {
  const std::string Fixture = vantrel::test::FixturePath("v.mp4");
  const std::string Names[] = {"Москва 東京.mp4", "café.mp4", "a:b.mp4"};
  for (const std::string& N : Names) vantrel::test::CopyMediaFile(Fixture, Dir.File(N));
  const std::string OldDir = std::filesystem::current_path();
  ASSERT_EQ(chdir(Dir.Path().c_str()), 0);  // "a:b.mp4" is opened by its relative name

  const std::string UserNames[] = {Dir.File("Москва 東京.mp4"), Dir.File("café.mp4"), "a:b.mp4"};
  for (const std::string& N : UserNames) {
    SCOPED_TRACE(N);
    AVFormatContext* Ctx = nullptr;
    ASSERT_EQ(OpenFFmpegInput(&Ctx, N, nullptr, nullptr), 0);
    EXPECT_GE(ff::avformat_find_stream_info(Ctx, nullptr), 0);
    EXPECT_EQ(Ctx->nb_streams, 2u);
    EXPECT_GT(Ctx->duration, 0);
    EXPECT_EQ(FromFFmpegFileName(Ctx->url), N);
    // Only the non-Latin name is read through our own I/O context.
    EXPECT_EQ((Ctx->flags & AVFMT_FLAG_CUSTOM_IO) != 0, NeedUnicodeName(N));
    CloseFFmpegInput(&Ctx);
    EXPECT_EQ(Ctx, nullptr);
  }
  ASSERT_EQ(chdir(OldDir.c_str()), 0);
}

TEST_F(FFmpegFileTest, MissingNonLatinInputFailsWithTheSystemsReason) {
  AVFormatContext* Ctx = nullptr;
  EXPECT_EQ(OpenFFmpegInput(&Ctx, Dir.File("нет.mp4"), nullptr, nullptr), AVERROR(ENOENT));
  EXPECT_EQ(Ctx, nullptr);
  // A context the caller made is freed on failure, as avformat_open_input does.
  Ctx = ff::avformat_alloc_context();
  EXPECT_LT(OpenFFmpegInput(&Ctx, Dir.File("нет.mp4"), nullptr, nullptr), 0);
  EXPECT_EQ(Ctx, nullptr);
}

TEST_F(FFmpegFileTest, NonLatinFilesReadWriteAndSeek) {
  const std::string Name = Dir.File("Запись.bin");
  AVIOContext* Pb = nullptr;
  ASSERT_EQ(OpenFFmpegIO(&Pb, Name, AVIO_FLAG_WRITE, nullptr), 0);
  const std::string Data = "0123456789";
  ff::avio_write(Pb, reinterpret_cast<const unsigned char*>(Data.data()), Data.size());
  EXPECT_EQ(ff::avio_seek(Pb, 2, SEEK_SET), 2);
  ff::avio_write(Pb, reinterpret_cast<const unsigned char*>("ab"), 2);
  EXPECT_EQ(CloseFFmpegIO(&Pb), 0);
  EXPECT_EQ(Pb, nullptr);
  EXPECT_EQ(ReadAll(Name), "01ab456789");

  // Opening for reading leaves the file as it is (read is flag 1, not write).
  ASSERT_EQ(OpenFFmpegIO(&Pb, Name, AVIO_FLAG_READ, nullptr), 0);
  EXPECT_EQ(ff::avio_size(Pb), 10);
  EXPECT_EQ(ff::avio_seek(Pb, 4, SEEK_SET), 4);
  unsigned char Buf[16] = {};
  EXPECT_EQ(ff::avio_read(Pb, Buf, sizeof Buf), 6);
  EXPECT_EQ(std::string(reinterpret_cast<char*>(Buf), 6), "456789");
  EXPECT_EQ(CloseFFmpegIO(&Pb), 0);
  EXPECT_EQ(ReadAll(Name), "01ab456789");

  // Read-write keeps the content; write alone truncates.
  ASSERT_EQ(OpenFFmpegIO(&Pb, Name, AVIO_FLAG_READ_WRITE, nullptr), 0);
  ff::avio_write(Pb, reinterpret_cast<const unsigned char*>("X"), 1);
  EXPECT_EQ(CloseFFmpegIO(&Pb), 0);
  EXPECT_EQ(ReadAll(Name), "X1ab456789");
  ASSERT_EQ(OpenFFmpegIO(&Pb, Name, AVIO_FLAG_WRITE, nullptr), 0);
  EXPECT_EQ(CloseFFmpegIO(&Pb), 0);
  EXPECT_EQ(ReadAll(Name), "");
}

TEST_F(FFmpegFileTest, OutputsWithAColonOrLatinNameGoThroughFFmpeg) {
  const std::string Names[] = {Dir.File("x:y.bin"), Dir.File("é.bin")};
  for (const std::string& Name : Names) {
    SCOPED_TRACE(Name);
    AVIOContext* Pb = nullptr;
    ASSERT_EQ(OpenFFmpegIO(&Pb, Name, AVIO_FLAG_WRITE, nullptr), 0);
    ff::avio_write(Pb, reinterpret_cast<const unsigned char*>("data"), 4);
    EXPECT_EQ(CloseFFmpegIO(&Pb), 0);
    EXPECT_EQ(ReadAll(Name), "data");
  }
}
