// Re-running one test alone in a child process of the same test program.
#include "tests/support/OwnProcess.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

extern char** environ;

namespace vantrel::test {

bool RanAloneInChild() {
  const testing::UnitTest& Unit = *testing::UnitTest::GetInstance();
  if (Unit.test_to_run_count() <= 1) return false;
  const testing::TestInfo& Info = *Unit.current_test_info();
  std::string Filter = std::string("--gtest_filter=") + Info.test_suite_name() + "." + Info.name();
  std::string Program = "/proc/self/exe";
  std::vector<char*> Args{Program.data(), Filter.data(), nullptr};
  std::fflush(nullptr);
  pid_t Child = 0;
  const int Error = ::posix_spawn(&Child, Program.c_str(), nullptr, nullptr, Args.data(), environ);
  if (Error != 0) {
    ADD_FAILURE() << "cannot start the test in a process of its own: errno " << Error;
    return true;
  }
  int Status = 0;
  while (::waitpid(Child, &Status, 0) < 0 && errno == EINTR) {
  }
  EXPECT_TRUE(WIFEXITED(Status) && WEXITSTATUS(Status) == 0)
      << Info.test_suite_name() << "." << Info.name() << " failed in a process of its own (output above)";
  return true;
}

}  // namespace vantrel::test
