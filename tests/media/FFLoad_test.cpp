// The library loader: binding, use counts, private folders, failures; the interrupt
// list and its FFmpeg trampoline.
#include "media/FFLoad.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "media/AVCodecAPI.h"
#include "media/AVFilterAPI.h"
#include "media/AVFormatAPI.h"
#include "media/AVUtilAPI.h"
#include "media/PostProcAPI.h"
#include "media/SWResampleAPI.h"
#include "media/SWScaleAPI.h"
#include "media/UnicodeProtocol.h"
#include "platform/rtl/Threads.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tests/support/OwnProcess.h"

using namespace vantrel::media;

namespace {

struct TBoundPointer {
  const char* Name;
  TLibrary Lib;
  bool Bound;
};

// Every entry point of every list, with whether its pointer is set now.
std::vector<TBoundPointer> AllPointers() {
  std::vector<TBoundPointer> R;
#define VANTREL_TEST_POINTER(L) [&](const char* N, bool B) { R.push_back({N, L, B}); }
#define VANTREL_TEST_ADD(name) Add(#name, ff::name != nullptr);
  {
    auto Add = VANTREL_TEST_POINTER(avUtil);
    VANTREL_AVUTIL_FUNCTIONS(VANTREL_TEST_ADD)
  }
  {
    auto Add = VANTREL_TEST_POINTER(swResample);
    VANTREL_SWRESAMPLE_FUNCTIONS(VANTREL_TEST_ADD)
  }
  {
    auto Add = VANTREL_TEST_POINTER(swScale);
    VANTREL_SWSCALE_FUNCTIONS(VANTREL_TEST_ADD)
  }
  {
    auto Add = VANTREL_TEST_POINTER(postProc);
    VANTREL_POSTPROC_FUNCTIONS(VANTREL_TEST_ADD)
  }
  {
    auto Add = VANTREL_TEST_POINTER(avCodec);
    VANTREL_AVCODEC_FUNCTIONS(VANTREL_TEST_ADD)
  }
  {
    auto Add = VANTREL_TEST_POINTER(avFormat);
    VANTREL_AVFORMAT_FUNCTIONS(VANTREL_TEST_ADD)
  }
  {
    auto Add = VANTREL_TEST_POINTER(avFilter);
    VANTREL_AVFILTER_FUNCTIONS(VANTREL_TEST_ADD)
  }
#undef VANTREL_TEST_ADD
#undef VANTREL_TEST_POINTER
  return R;
}

// Fails for every pointer whose state differs from "bound exactly for the libraries in
// Loaded".
void ExpectBoundExactly(TLibraries Loaded) {
  for (const TBoundPointer& P : AllPointers())
    EXPECT_EQ(P.Bound, Loaded.Contains(P.Lib)) << P.Name;
}

const TLibrary AllLibs[] = {avUtil, swResample, swScale, postProc,
                            avCodec, avFormat, avFilter, avDevice};

void ExpectLoadedExactly(TLibraries Loaded) {
  for (TLibrary L : AllLibs)
    EXPECT_EQ(FFLoader().Loaded(L), Loaded.Contains(L)) << FFLoader().GetLibraryFileName(L);
  ExpectBoundExactly(Loaded);
}

// Leaves the loader as a fresh process has it.
class FFLoaderTest : public ::testing::Test {
 protected:
  void TearDown() override {
    FFLoader().UnloadAll();
    FFLoader().SetLibraryPath("");
    detail::RestoreLibraryTable();
  }
};

}  // namespace

TEST(FFLoader, FileNamesFollowTheTableInLoadOrder) {
  const char* Expected[] = {"libavutil.so.57",  "libswresample.so.4", "libswscale.so.6",
                            "libpostproc.so.56", "libavcodec.so.59",   "libavformat.so.59",
                            "libavfilter.so.8",  "libavdevice.so.59"};
  for (TLibrary L : AllLibs) EXPECT_EQ(FFLoader().GetLibraryFileName(L), Expected[L]);
  EXPECT_EQ((TLibraries{avUtil, avFilter}).Bits(), 0b1000001u);
  EXPECT_FALSE(EncoderLibraries.Contains(avDevice));
  EXPECT_EQ(DecoderLibraries, (TLibraries{avUtil, swResample, swScale, avCodec, avFormat}));
}

TEST_F(FFLoaderTest, EncoderSetBindsEveryPointerAndUnloadClearsThem) {
  TFFLoader& Loader = FFLoader();
  ExpectLoadedExactly({});
  ASSERT_TRUE(Loader.Load(EncoderLibraries)) << Loader.LastErrMsg();
  EXPECT_TRUE(Loader.Loaded(EncoderLibraries));
  ExpectLoadedExactly(EncoderLibraries);
  EXPECT_EQ(AV_VERSION_MAJOR(ff::avcodec_version()), 59u);
  EXPECT_EQ(Loader.LibraryVersion(avFilter) >> 16, 8u);

  Loader.Unload(EncoderLibraries);
  ExpectLoadedExactly({});
  EXPECT_EQ(Loader.LibraryVersion(avFilter), 0u);
}

TEST_F(FFLoaderTest, AnotherComponentsUnloadKeepsWhatTheFirstLoaded) {
  TFFLoader& Loader = FFLoader();
  ASSERT_TRUE(Loader.Load(DecoderLibraries)) << Loader.LastErrMsg();  // the first component
  ASSERT_TRUE(Loader.Load(EncoderLibraries)) << Loader.LastErrMsg();  // a second one
  EXPECT_EQ(Loader.LoadCount(avCodec), 2);
  EXPECT_EQ(Loader.LoadCount(avFilter), 1);

  Loader.Unload(EncoderLibraries);
  ExpectLoadedExactly(DecoderLibraries);
  // What stays loaded still works.
  AVFormatContext* Ctx = ff::avformat_alloc_context();
  ASSERT_NE(Ctx, nullptr);
  ff::avformat_free_context(Ctx);

  Loader.Unload(DecoderLibraries);
  ExpectLoadedExactly({});
}

TEST_F(FFLoaderTest, FailingMemberGivesBackOnlyThisCallsUses) {
  TFFLoader& Loader = FFLoader();
  ASSERT_TRUE(Loader.Load(DecoderLibraries)) << Loader.LastErrMsg();
  detail::LibraryTableRow(avFilter).Version = 999;

  EXPECT_FALSE(Loader.Load(EncoderLibraries));
  EXPECT_EQ(Loader.LastErrMsg().rfind("Load library libavfilter.so.999 error: ", 0), 0u)
      << Loader.LastErrMsg();
  EXPECT_NE(Loader.LastErrMsg().find("libavfilter.so.999: cannot open shared object file"),
            std::string::npos)
      << Loader.LastErrMsg();
  // postproc, loaded by this call only, went again; the decoder's set stays.
  ExpectLoadedExactly(DecoderLibraries);
  for (TLibrary L : {avUtil, swResample, swScale, avCodec, avFormat})
    EXPECT_EQ(Loader.LoadCount(L), 1) << Loader.GetLibraryFileName(L);
}

TEST_F(FFLoaderTest, MissingLibraryReportsThePathTriedAndLoadsNothing) {
  vantrel::test::TTempDir Dir;
  TFFLoader& Loader = FFLoader();
  Loader.SetLibraryPath(Dir.Path());
  detail::LibraryTableRow(avFormat).Name = "avformat-missing";

  EXPECT_FALSE(Loader.Load(EncoderLibraries));
  // The folder does not hold it: the system's search was tried; the text shows the folder.
  const std::string Expected =
      "Load library " + Dir.Path() + "/libavformat-missing.so.59 error: libavformat-missing.so.59: ";
  EXPECT_EQ(Loader.LastErrMsg().rfind(Expected, 0), 0u) << Loader.LastErrMsg();
  ExpectLoadedExactly({});
}

TEST_F(FFLoaderTest, MissingEntryPointNamesItAndFreesTheLibrary) {
  TFFLoader& Loader = FFLoader();
  Loader.SetLibraryPath(VANTREL_STUB_DIR);
  detail::LibraryTableRow(avUtil).Name = "vantrelstub";

  EXPECT_FALSE(Loader.Load(DecoderLibraries));
  const std::string Expected = "Load function av_log_format_line2@libvantrelstub.so.57 error: ";
  EXPECT_EQ(Loader.LastErrMsg().rfind(Expected, 0), 0u) << Loader.LastErrMsg();
  EXPECT_NE(Loader.LastErrMsg().find("undefined symbol: av_log_format_line2"), std::string::npos)
      << Loader.LastErrMsg();
  ExpectLoadedExactly({});
  EXPECT_EQ(Loader.LoadCount(avUtil), 0);
}

TEST_F(FFLoaderTest, LoadsEveryLibraryFromAPrivateFolder) {
  if (vantrel::test::RanAloneInChild()) return;  // counts process-wide state
  vantrel::test::TTempDir Dir;
  for (TLibrary L : AllLibs) {
    if (L == avDevice) continue;
    const std::string Name = FFLoader().GetLibraryFileName(L);
    vantrel::test::CopyMediaFile("/usr/lib/x86_64-linux-gnu/" + Name, Dir.File(Name));
  }
  FFLoader().SetLibraryPath(Dir.Path());
  ASSERT_TRUE(FFLoader().Load(EncoderLibraries)) << FFLoader().LastErrMsg();

  // Every mapping of a media library comes from the private folder.
  std::ifstream Maps("/proc/self/maps");
  std::set<std::string> Seen;
  for (std::string Line; std::getline(Maps, Line);) {
    const size_t Slash = Line.find('/');
    if (Slash == std::string::npos) continue;
    const std::string Path = Line.substr(Slash);
    const std::string FileName = Path.substr(Path.rfind('/') + 1);
    for (TLibrary L : AllLibs) {
      // The system's copies show under their full version (libavutil.so.57.28.100).
      const std::string Name = FFLoader().GetLibraryFileName(L);
      if (FileName.rfind(Name, 0) == 0) {
        EXPECT_EQ(Path, Dir.File(Name));
        Seen.insert(Name);
      }
    }
  }
  EXPECT_EQ(Seen.size(), 7u);
  FFLoader().Unload(EncoderLibraries);
}

TEST_F(FFLoaderTest, RefusesLibavdeviceAndEmptySets) {
  EXPECT_FALSE(FFLoader().Load(avDevice));
  EXPECT_EQ(FFLoader().LastErrMsg().rfind("Load library libavdevice.so.59 error: ", 0), 0u);
  EXPECT_THROW(FFLoader().Load(TLibraries{}), EArgumentException);
  ExpectLoadedExactly({});
}

namespace {

struct TStopFlag : TObject {
  bool Stop = false;
};
bool AskStop(TObject* Sender) { return static_cast<TStopFlag*>(Sender)->Stop; }
bool AlwaysStop(TObject*) { return true; }

}  // namespace

TEST(TInterruptCB, FirstEntryOfTheThreadAnswers) {
  TInterruptCB List;
  TStopFlag A, B;
  B.Stop = true;
  const Cardinal Me = GetCurrentThreadId();
  EXPECT_FALSE(List.Interrupt(Me));  // no entry: never interrupted

  List.Add(Me, &A, AskStop);
  List.Add(Me, &B, AskStop);  // a second sender: consulted only after the first goes
  List.Add(Me, &A, AskStop);  // identical: ignored
  List.Add(Me + 1, &B, AlwaysStop);
  EXPECT_EQ(List.Count(), 3);
  EXPECT_FALSE(List.Interrupt(Me));
  A.Stop = true;
  EXPECT_TRUE(List.Interrupt(Me));

  A.Stop = false;
  List.Remove(Me, &A, AskStop);
  EXPECT_TRUE(List.Interrupt(Me));  // now B's entry is first
  List.Remove(Me, &B, AlwaysStop);  // another test: nothing removed
  EXPECT_EQ(List.Count(), 2);
  List.Clear();
  EXPECT_FALSE(List.Interrupt(Me + 1));
}

TEST(TInterruptCB, StopTestOfTheCallingThreadEndsBlockingOpen) {
  ASSERT_TRUE(FFLoader().Load(DecoderLibraries)) << FFLoader().LastErrMsg();
  TStopFlag Stopper;
  Stopper.Stop = true;
  InterruptCB().Add(GetCurrentThreadId(), &Stopper, AskStop);
  AVFormatContext* Ctx = nullptr;
  EXPECT_EQ(OpenFFmpegInput(&Ctx, vantrel::test::FixturePath("v.mp4"), nullptr, nullptr),
            AVERROR_EXIT);
  EXPECT_EQ(Ctx, nullptr);

  // Without this thread's entry the same open succeeds.
  InterruptCB().Remove(GetCurrentThreadId(), &Stopper, AskStop);
  ASSERT_EQ(OpenFFmpegInput(&Ctx, vantrel::test::FixturePath("v.mp4"), nullptr, nullptr), 0);
  CloseFFmpegInput(&Ctx);
  FFLoader().Unload(DecoderLibraries);
}
