// The media engine's small helpers.
#include "media/MyUtils.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <atomic>
#include <fstream>
#include <thread>

#include "tests/support/TempDir.h"

using namespace vantrel::media;

TEST(MyUtils, FetchStringSplitsAtTheFirstDelimiter) {
  const struct {
    const char* Input;
    const char* Delim;
    bool Delete;
    const char* Result;
    const char* Rest;
  } Cases[] = {
      {"a:b:c", ":", true, "a", "b:c"},   {"abc", ":", true, "abc", ""},
      {"a:b:c", ":", false, "a", "a:b:c"}, {"key<CRLF>value", "<CRLF>", true, "key", "value"},
      {":x", ":", true, "", "x"},          {"", ":", true, "", ""},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Input);
    String In = C.Input;
    EXPECT_EQ(FetchString(In, C.Delim, C.Delete), C.Result);
    EXPECT_EQ(In, C.Rest);
  }
}

TEST(MyUtils, FormatByteSizePicksTheUnit) {
  const struct {
    Int64 Size;
    const char* Text;
  } Cases[] = {{-5, "-5 Byte"},
               {0, "0 Byte"},
               {1024, "1024 Byte"},
               {1025, "1.00 KB"},
               {1536, "1.50 KB"},
               {1048576, "1024.00 KB"},
               {1073741824, "1024.00 MB"},
               {1073741825, "1.00 GB"},
               {5368709120, "5.00 GB"}};
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Size);
    EXPECT_EQ(FormatByteSize(C.Size), C.Text);
  }
}

TEST(MyUtils, GetFileSizeByName) {
  vantrel::test::TTempDir Dir;
  std::ofstream(Dir.File("f.bin")) << "12345";
  EXPECT_EQ(GetFileSizeByName(Dir.File("f.bin")), 5);
  EXPECT_EQ(GetFileSizeByName(Dir.File("missing.bin")), -1);
  EXPECT_EQ(GetFileSizeByName(""), -1);
  EXPECT_EQ(GetExeFolder().back(), '/');
  EXPECT_EQ(GetExeFileName().rfind(GetExeFolder(), 0), 0u);
}

TEST(MyUtils, UnixToLocalDateTimeAppliesDaylightSavingOfThatInstant) {
  setenv("TZ", "Europe/Berlin", 1);
  tzset();
  // 2021-01-15 12:00 UTC is 13:00 in winter; 2021-07-15 12:00 UTC is 14:00 in summer.
  EXPECT_EQ(DateTimeToText("yyyy-mm-dd hh:nn:ss", UnixToLocalDateTime(1610712000)),
            "2021-01-15 13:00:00");
  EXPECT_EQ(DateTimeToText("yyyy-mm-dd hh:nn:ss", UnixToLocalDateTime(1626350400)),
            "2021-07-15 14:00:00");
}

TEST(MyUtils, ProcessPendingMessagesRunsQueuedMainThreadCalls) {
  ProcessPendingMessages();  // nothing queued: returns at once
  std::atomic<bool> Ran{false}, Done{false};
  std::thread Worker([&] {
    CallInMainThread([&] { Ran = IsMainThread(); });
    Done = true;
  });
  while (!Done) ProcessPendingMessages();
  Worker.join();
  EXPECT_TRUE(Ran);
}
