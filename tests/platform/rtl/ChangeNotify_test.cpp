// Change notifications on real files in a scratch folder. A waiter thread waits on the
// handles and posts what it got to a window; the test waits for that post in the message
// loop. Whether a change signals is certain once the call that made it returned (the
// kernel queues the events within it), so "not signalled" is read with a zero time-out
// after a notification that watches everything has seen the same change.
#include "platform/rtl/ChangeNotify.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <cstdio>
#include <functional>
#include <future>
#include <thread>
#include <vector>

#include "platform/display/HeadlessSession.h"
#include "platform/rtl/FileUtils.h"  // ERROR_PATH_NOT_FOUND
#include "tests/support/TempDir.h"
#include "tests/support/WinMessageLog.h"

using vantrel::display::HeadlessSession;
using vantrel::test::TTempDir;

namespace {

constexpr UINT WM_WAIT_DONE = WM_APP + 36;
constexpr uint32_t kAllChanges = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                                 FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SIZE |
                                 FILE_NOTIFY_CHANGE_LAST_WRITE | FILE_NOTIFY_CHANGE_SECURITY;

// The window the waiter posts to and the loop that waits for the post.
class PumpedWait {
 public:
  PumpedWait() : FWnd(FLog.Create(WS_OVERLAPPED, 0, 0, 10, 10)) {
    FLog.Handler() = [this](HWND, UINT Msg, WPARAM WP, LPARAM) -> std::optional<LRESULT> {
      if (Msg != WM_WAIT_DONE) return std::nullopt;
      FResult = static_cast<uint32_t>(WP);
      FDone = true;
      return 0;
    };
  }
  ~PumpedWait() {
    if (FWaiter.joinable()) FWaiter.join();
  }

  // Starts the waiter thread on Handles (time-out TimeoutMs in real time).
  void Start(std::vector<HANDLE> Handles, uint32_t TimeoutMs = 10000) {
    FDone = false;
    if (FWaiter.joinable()) FWaiter.join();
    FWaiter = std::thread([this, Handles, TimeoutMs] {
      const uint32_t R = WaitForMultipleObjects(static_cast<uint32_t>(Handles.size()), Handles.data(), 0, TimeoutMs);
      if (AfterWait) AfterWait(R);
      PostMessage(FWnd, WM_WAIT_DONE, R, 0);
    });
  }
  // Runs the message loop until the waiter has posted; its wait result.
  uint32_t Result() {
    MSG M;
    while (!FDone && GetMessage(&M, nullptr, 0, 0) > 0) DispatchMessage(&M);
    FWaiter.join();
    return FResult;
  }
  // Run on the waiter thread after its wait, before it posts.
  std::function<void(uint32_t)> AfterWait;

 private:
  vantrel::test::MessageLog FLog;
  HWND FWnd;
  std::thread FWaiter;
  bool FDone = false;
  uint32_t FResult = 0;
};

void MakeFile(const std::string& Path, const std::string& Bytes = "x") {
  FILE* F = std::fopen(Path.c_str(), "wb");
  ASSERT_NE(F, nullptr) << Path;
  std::fwrite(Bytes.data(), 1, Bytes.size(), F);
  std::fclose(F);
}

TEST(ChangeNotify, AWaitOnANotificationAndAMutexAnswersWhicheverComesFirst) {
  HeadlessSession S;
  TTempDir Dir;
  PumpedWait Wait;
  HANDLE N = FindFirstChangeNotification(Dir.Path().c_str(), 0, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(N, INVALID_HANDLE_VALUE);
  // A mutex held by another thread until it is told to let go.
  std::promise<HANDLE> Made;
  std::promise<void> LetGo;
  std::thread Holder([&] {
    HANDLE M = CreateMutex(nullptr, 1, nullptr);
    Made.set_value(M);
    LetGo.get_future().wait();
    ReleaseMutex(M);
  });
  HANDLE M = Made.get_future().get();

  Wait.Start({N, M});
  MakeFile(Dir.File("new.txt"));
  EXPECT_EQ(Wait.Result(), WAIT_OBJECT_0);
  EXPECT_TRUE(FindNextChangeNotification(N));

  bool OwnedByWaiter = false;
  Wait.AfterWait = [&](uint32_t R) {
    if (R == WAIT_OBJECT_0 + 1) OwnedByWaiter = ReleaseMutex(M) != 0;  // only the owner may
  };
  Wait.Start({N, M});
  LetGo.set_value();
  EXPECT_EQ(Wait.Result(), WAIT_OBJECT_0 + 1);
  EXPECT_TRUE(OwnedByWaiter);
  Holder.join();

  // Nothing happens: a 50 ms time-out ends the wait. The mutex is held again meanwhile.
  ASSERT_EQ(WaitForSingleObject(M, 0), WAIT_OBJECT_0);
  Wait.AfterWait = nullptr;
  Wait.Start({N, M}, 50);
  EXPECT_EQ(Wait.Result(), static_cast<uint32_t>(WAIT_TIMEOUT));
  ReleaseMutex(M);
  CloseHandle(M);
  EXPECT_TRUE(FindCloseChangeNotification(N));
}

// The scheduler state of a thread of this process ('S': sleeping in a wait).
char ThreadState(pid_t Tid) {
  const std::string Stat = vantrel::test::ReadFileBytes("/proc/self/task/" + std::to_string(Tid) + "/stat");
  const size_t Close = Stat.rfind(')');
  return Close == std::string::npos || Close + 2 >= Stat.size() ? '?' : Stat[Close + 2];
}

// The number of descriptors the process has open.
size_t OpenDescriptors() {
  size_t N = 0;
  for (const auto& E : std::filesystem::directory_iterator("/proc/self/fd")) {
    (void)E;
    ++N;
  }
  return N;
}

struct FilterCase {
  const char* Name;
  uint32_t Filter;
  bool Signals;
};

// The changes, each made in a folder that holds "old.txt" (1 byte) and "sub/".
struct ChangeKind {
  const char* Name;
  std::function<void(const std::string& Folder)> Make;
  std::vector<FilterCase> Cases;
};

const std::vector<ChangeKind>& Changes() {
  static const std::vector<ChangeKind> Kinds = {
      {"create a file", [](const std::string& F) { MakeFile(F + "/made.txt"); },
       {{"file names", FILE_NOTIFY_CHANGE_FILE_NAME, true},
        {"folder names", FILE_NOTIFY_CHANGE_DIR_NAME, false},
        {"attributes", FILE_NOTIFY_CHANGE_ATTRIBUTES, false}}},
      {"delete a file", [](const std::string& F) { unlink((F + "/old.txt").c_str()); },
       {{"file names", FILE_NOTIFY_CHANGE_FILE_NAME, true},
        {"folder names", FILE_NOTIFY_CHANGE_DIR_NAME, false},
        {"writes", FILE_NOTIFY_CHANGE_LAST_WRITE, false}}},
      {"rename a file", [](const std::string& F) { rename((F + "/old.txt").c_str(), (F + "/renamed.txt").c_str()); },
       {{"file names", FILE_NOTIFY_CHANGE_FILE_NAME, true},
        {"folder names", FILE_NOTIFY_CHANGE_DIR_NAME, false},
        {"size", FILE_NOTIFY_CHANGE_SIZE, false}}},
      {"create a folder", [](const std::string& F) { mkdir((F + "/made").c_str(), 0755); },
       {{"folder names", FILE_NOTIFY_CHANGE_DIR_NAME, true},
        {"file names", FILE_NOTIFY_CHANGE_FILE_NAME, false},
        {"attributes", FILE_NOTIFY_CHANGE_ATTRIBUTES, false}}},
      {"change attributes", [](const std::string& F) { chmod((F + "/old.txt").c_str(), 0600); },
       {{"attributes", FILE_NOTIFY_CHANGE_ATTRIBUTES, true},
        {"security", FILE_NOTIFY_CHANGE_SECURITY, true},
        {"file names", FILE_NOTIFY_CHANGE_FILE_NAME, false},
        {"writes", FILE_NOTIFY_CHANGE_LAST_WRITE, false}}},
      {"write a file",
       [](const std::string& F) {
         const int Fd = open((F + "/old.txt").c_str(), O_WRONLY | O_APPEND);
         ASSERT_GE(Fd, 0);
         ASSERT_EQ(write(Fd, "more", 4), 4);
         close(Fd);
       },
       {{"writes", FILE_NOTIFY_CHANGE_LAST_WRITE, true},
        {"size", FILE_NOTIFY_CHANGE_SIZE, true},
        {"file names", FILE_NOTIFY_CHANGE_FILE_NAME, false},
        {"attributes", FILE_NOTIFY_CHANGE_ATTRIBUTES, false}}},
  };
  return Kinds;
}

TEST(ChangeNotify, EachChangeSignalsTheFiltersThatNameIt) {
  HeadlessSession S;
  PumpedWait Wait;
  for (const ChangeKind& K : Changes()) {
    SCOPED_TRACE(K.Name);
    TTempDir Dir;
    MakeFile(Dir.File("old.txt"));
    mkdir(Dir.File("sub").c_str(), 0755);
    HANDLE Everything = FindFirstChangeNotification(Dir.Path().c_str(), 0, kAllChanges);
    std::vector<HANDLE> Watches;
    for (const FilterCase& C : K.Cases) Watches.push_back(FindFirstChangeNotification(Dir.Path().c_str(), 0, C.Filter));
    Wait.Start({Everything});
    K.Make(Dir.Path());
    ASSERT_EQ(Wait.Result(), WAIT_OBJECT_0);
    for (size_t I = 0; I < K.Cases.size(); ++I) {
      SCOPED_TRACE(K.Cases[I].Name);
      EXPECT_EQ(WaitForSingleObject(Watches[I], 0), K.Cases[I].Signals ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
      CloseHandle(Watches[I]);
    }
    CloseHandle(Everything);
  }
}

TEST(ChangeNotify, ASubtreeWatchCoversFoldersMadeAfterItBegan) {
  HeadlessSession S;
  PumpedWait Wait;
  for (const bool Subtree : {true, false}) {
    SCOPED_TRACE(Subtree ? "subtree" : "folder alone");
    TTempDir Dir;
    HANDLE N = FindFirstChangeNotification(Dir.Path().c_str(), Subtree, FILE_NOTIFY_CHANGE_FILE_NAME);
    ASSERT_NE(N, INVALID_HANDLE_VALUE);
    mkdir(Dir.File("later").c_str(), 0755);
    mkdir(Dir.File("later/deeper").c_str(), 0755);
    EXPECT_EQ(WaitForSingleObject(N, 0), WAIT_TIMEOUT);  // folders are not file names
    // Watching the new folder tells when its own changes are seen.
    HANDLE Deeper = FindFirstChangeNotification(Dir.File("later/deeper").c_str(), 0, FILE_NOTIFY_CHANGE_FILE_NAME);
    Wait.Start({Deeper});
    MakeFile(Dir.File("later/deeper/file.txt"));
    ASSERT_EQ(Wait.Result(), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(N, 0), Subtree ? WAIT_OBJECT_0 : WAIT_TIMEOUT);
    CloseHandle(Deeper);
    CloseHandle(N);
  }
}

TEST(ChangeNotify, ClosingTheHandleFromAnotherThreadEndsARunningWait) {
  TTempDir Dir;
  const size_t OpenBefore = OpenDescriptors();
  HANDLE N = FindFirstChangeNotification(Dir.Path().c_str(), 0, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(N, INVALID_HANDLE_VALUE);
  std::promise<uint32_t> Ended;
  std::promise<pid_t> Waiting;
  std::thread Waiter([&] {
    Waiting.set_value(gettid());
    Ended.set_value(WaitForSingleObject(N, INFINITE));
  });
  // Closed once the waiter sleeps in its wait (or after a deadline, which ends it as well).
  const pid_t Tid = Waiting.get_future().get();
  const auto Deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (ThreadState(Tid) != 'S' && std::chrono::steady_clock::now() < Deadline) std::this_thread::yield();
  EXPECT_EQ(ThreadState(Tid), 'S');
  std::thread Closer([&] { EXPECT_TRUE(FindCloseChangeNotification(N)); });
  Closer.join();
  std::future<uint32_t> Result = Ended.get_future();
  ASSERT_EQ(Result.wait_for(std::chrono::seconds(10)), std::future_status::ready);
  EXPECT_EQ(Result.get(), WAIT_FAILED);
  Waiter.join();
  EXPECT_FALSE(FindNextChangeNotification(N));  // gone
  EXPECT_EQ(OpenDescriptors(), OpenBefore);      // and its descriptors with the wait that used them
}

TEST(ChangeNotify, AMissingFolderOrAFileCannotBeWatched) {
  TTempDir Dir;
  EXPECT_EQ(FindFirstChangeNotification(Dir.File("missing").c_str(), 0, FILE_NOTIFY_CHANGE_FILE_NAME),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), static_cast<uint32_t>(ERROR_PATH_NOT_FOUND));
  MakeFile(Dir.File("plain.txt"));
  EXPECT_EQ(FindFirstChangeNotification(Dir.File("plain.txt").c_str(), 0, FILE_NOTIFY_CHANGE_FILE_NAME),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_EQ(FindFirstChangeNotification(Dir.Path().c_str(), 0, 0), INVALID_HANDLE_VALUE);
  // A folder the user may not read, checked in a child running as nobody.
  mkdir(Dir.File("private").c_str(), 0700);
  chmod(Dir.Path().c_str(), 0755);
  const pid_t Child = fork();
  ASSERT_GE(Child, 0);
  if (Child == 0) {
    const bool SuperUser = getuid() == 0;
    if (SuperUser && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    if (!SuperUser && chmod(Dir.File("private").c_str(), 0) != 0) _exit(11);
    HANDLE N = FindFirstChangeNotification(Dir.File("private").c_str(), 0, FILE_NOTIFY_CHANGE_FILE_NAME);
    _exit(N == INVALID_HANDLE_VALUE && GetLastError() == static_cast<uint32_t>(ERROR_ACCESS_DENIED) ? 0 : 12);
  }
  int Status = 0;
  ASSERT_EQ(waitpid(Child, &Status, 0), Child);
  chmod(Dir.File("private").c_str(), 0700);
  ASSERT_TRUE(WIFEXITED(Status));
  EXPECT_EQ(WEXITSTATUS(Status), 0) << "10: no nobody, 11: no chmod, 12: watched or another error";
}

TEST(ChangeNotify, AWatchedFolderThatIsDeletedReportsOnceThenFails) {
  TTempDir Dir;
  const std::string Folder = Dir.File("doomed");
  mkdir(Folder.c_str(), 0755);
  HANDLE N = FindFirstChangeNotification(Folder.c_str(), 0, FILE_NOTIFY_CHANGE_FILE_NAME);
  ASSERT_NE(N, INVALID_HANDLE_VALUE);
  rmdir(Folder.c_str());
  EXPECT_EQ(WaitForSingleObject(N, 0), WAIT_OBJECT_0);
  EXPECT_FALSE(FindNextChangeNotification(N));
  EXPECT_EQ(WaitForSingleObject(N, INFINITE), WAIT_FAILED);  // at once, not for ever
  EXPECT_TRUE(FindCloseChangeNotification(N));
}

TEST(ChangeNotify, FiltersMapOntoTheKernelsEvents) {
  using vantrel::rtl::ChangeMatchesFilter;
  EXPECT_TRUE(ChangeMatchesFilter(FILE_NOTIFY_CHANGE_FILE_NAME, 0x100 /* created */));
  EXPECT_FALSE(ChangeMatchesFilter(FILE_NOTIFY_CHANGE_FILE_NAME, 0x100 | 0x40000000 /* a folder */));
  EXPECT_TRUE(ChangeMatchesFilter(FILE_NOTIFY_CHANGE_DIR_NAME, 0x40 | 0x40000000 /* folder moved out */));
  EXPECT_TRUE(ChangeMatchesFilter(FILE_NOTIFY_CHANGE_SECURITY, 0x4 /* attributes */));
  EXPECT_TRUE(ChangeMatchesFilter(FILE_NOTIFY_CHANGE_SIZE, 0x2 /* written */));
  EXPECT_FALSE(ChangeMatchesFilter(FILE_NOTIFY_CHANGE_ATTRIBUTES, 0x2));
}

}  // namespace
