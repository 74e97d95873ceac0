// The clipboard between us and another program on the same X server.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "platform/win/Clipboard.h"
#include "tests/platform/display/x11/X11TestSession.h"

using namespace vantrel;
using namespace vantrel::x11test;

namespace {

void Put(const std::string& Text) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL Mem = GlobalAlloc(GMEM_MOVEABLE, Text.size() + 1);
  std::memcpy(GlobalLock(Mem), Text.c_str(), Text.size() + 1);
  GlobalUnlock(Mem);
  ASSERT_NE(SetClipboardData(CF_TEXT, Mem), nullptr);
  CloseClipboard();
}

std::string Get() {
  if (!OpenClipboard(nullptr)) return "<not open>";
  std::string Out;
  if (HANDLE H = GetClipboardData(CF_TEXT)) {
    Out = static_cast<const char*>(GlobalLock(H));
    GlobalUnlock(H);
  }
  CloseClipboard();
  return Out;
}

// What another program reads, while our loop answers.
std::string ReadByOther(const char* Target, bool& Chunked) {
  std::future<std::string> F = std::async(std::launch::async, [Target, &Chunked] {
    X11Peer Other;
    return Other.ReadClipboard(Target, Chunked);
  });
  PumpUntil([&] { return F.wait_for(std::chrono::milliseconds(0)) == std::future_status::ready; },
            std::chrono::milliseconds(10000));
  return F.get();
}

}  // namespace

TEST(X11Clipboard, OurTextIsReadByAnotherProgram) {
  X11Session S;
  Put("Grüße");
  bool Chunked = true;
  EXPECT_EQ(ReadByOther("UTF8_STRING", Chunked), "Grüße");
  EXPECT_FALSE(Chunked);
  EXPECT_EQ(ReadByOther("STRING", Chunked), "Gr\xfc\xdf" "e");  // Latin-1
  EXPECT_EQ(Get(), "Grüße");

  const std::string Big(300 * 1024, 'x');
  Put(Big);
  const std::string Read = ReadByOther("UTF8_STRING", Chunked);
  EXPECT_EQ(Read.size(), Big.size());
  EXPECT_TRUE(Read == Big);
  EXPECT_TRUE(Chunked) << "a large text goes in INCR chunks";
}

TEST(X11Clipboard, AnotherProgramsTextIsReadBack) {
  X11Session S;
  for (const std::string& Text : {std::string("from elsewhere ü"), std::string(300 * 1024, 'y')}) {
    SCOPED_TRACE(Text.size());
    bool Stop = false;
    X11Peer Owner;
    std::thread T([&] { Owner.ServeClipboard(Text, true, Stop); });
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    const std::string Read = Get();
    EXPECT_EQ(Read.size(), Text.size());
    EXPECT_TRUE(Read == Text);
    EXPECT_EQ(S.Display->ClipboardUsedChunks(), Text.size() > 64 * 1024);
    Stop = true;
    T.join();
  }
}

TEST(X11Clipboard, AnOwnerThatNeverAnswersGivesEmptyTextInAboutASecond) {
  X11Session S;
  bool Stop = false;
  X11Peer Owner;
  std::thread T([&] { Owner.ServeClipboard("never", false, Stop); });
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  const auto T0 = std::chrono::steady_clock::now();
  EXPECT_EQ(Get(), "");
  const auto Ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - T0).count();
  EXPECT_GE(Ms, 900);
  EXPECT_LT(Ms, 3000);
  Stop = true;
  T.join();
}

TEST(X11Clipboard, AtTheEndOurTextIsHandedToTheClipboardManager) {
  for (bool ThroughMultiple : {false, true}) {
    SCOPED_TRACE(ThroughMultiple ? "MULTIPLE" : "UTF8_STRING");
    auto S = std::make_unique<X11Session>();
    Put("Grüße aus Vantrel");
    std::atomic<bool> Ready = false;
    std::future<std::string> Kept = std::async(std::launch::async, [&Ready, ThroughMultiple] {
      X11Peer Manager;
      return Manager.KeepClipboard(Ready, ThroughMultiple, 10000);
    });
    while (!Ready) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    S.reset();  // the program ends
    EXPECT_EQ(Kept.get(), "Grüße aus Vantrel");
  }
}
