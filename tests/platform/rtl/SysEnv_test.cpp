#include "platform/rtl/SysEnv.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace {

TEST(SysEnv, EnvironmentVariablesSetEmptyAndUnset) {
  const String Name = "VANTREL_SYSENV_TEST";
  EXPECT_TRUE(UnsetEnvironmentVariable(Name));
  EXPECT_EQ(GetEnvironmentVariable(Name), "");
  EXPECT_TRUE(SetEnvironmentVariable(Name, "a=b c"));
  EXPECT_EQ(GetEnvironmentVariable(Name), "a=b c");
  EXPECT_TRUE(SetEnvironmentVariable(Name, ""));
  ASSERT_NE(std::getenv(Name.c_str()), nullptr);  // set, but empty
  EXPECT_EQ(GetEnvironmentVariable(Name), "");
  EXPECT_TRUE(UnsetEnvironmentVariable(Name));
  EXPECT_EQ(std::getenv(Name.c_str()), nullptr);
  for (const char* Bad : {"", "A=B"}) {
    SCOPED_TRACE(Bad);
    EXPECT_FALSE(SetEnvironmentVariable(Bad, "x"));
    EXPECT_FALSE(UnsetEnvironmentVariable(Bad));
    EXPECT_EQ(GetEnvironmentVariable(Bad), "");
  }
}

TEST(SysEnv, ExecutableAndCurrentFolders) {
  const String Exe = GetExeFileName();
  const String Folder = GetExeFolder();
  ASSERT_FALSE(Exe.empty());
  EXPECT_EQ(Folder.back(), PathDelim);
  EXPECT_EQ(Exe.substr(0, Folder.size()), Folder);
  EXPECT_EQ(Exe.find('/', Folder.size()), String::npos);
  EXPECT_EQ(access(Exe.c_str(), X_OK), 0);

  const auto Saved = std::filesystem::current_path();
  const auto Temp = std::filesystem::canonical(std::filesystem::temp_directory_path());
  std::filesystem::current_path(Temp);
  EXPECT_EQ(GetCurrentDir(), Temp.string());
  std::filesystem::current_path(Saved);
}

TEST(SysEnv, PathDelimitersAndErrorTexts) {
  struct Case {
    const char* Path;
    const char* Included;
    const char* Excluded;
  } Cases[] = {
      {"/tmp", "/tmp/", "/tmp"}, {"/tmp/", "/tmp/", "/tmp"}, {"", "/", ""}, {"/", "/", ""}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Path);
    EXPECT_EQ(IncludeTrailingPathDelimiter(C.Path), C.Included);
    EXPECT_EQ(ExcludeTrailingPathDelimiter(C.Path), C.Excluded);
  }
  EXPECT_EQ(SysErrorMessage(ENOENT), "No such file or directory");
  EXPECT_EQ(SysErrorMessage(ENOSPC), "No space left on device");
  EXPECT_FALSE(SysErrorMessage(99999).empty());
}

}  // namespace

TEST(SysEnv, CommandLineArgumentsAsTheProgramGotThem) {
  const std::vector<std::string> Argv = testing::internal::GetArgvs();
  ASSERT_FALSE(Argv.empty());
  EXPECT_EQ(ParamCount(), static_cast<Integer>(Argv.size()) - 1);
  for (size_t I = 0; I < Argv.size(); ++I) EXPECT_EQ(ParamStr(static_cast<Integer>(I)), Argv[I]) << I;
  EXPECT_EQ(ParamStr(static_cast<Integer>(Argv.size())), "");
  EXPECT_EQ(ParamStr(-1), "");
}
