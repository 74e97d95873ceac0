#include <gtest/gtest.h>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/SysEnv.h"
#include "tests/support/TempDir.h"

TEST(CurrentDir, SetAndChDir) {
  vantrel::test::TTempDir Dir;
  const String Old = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(Dir.Path()));
  EXPECT_EQ(GetCurrentDir(), Dir.Path());
  EXPECT_FALSE(SetCurrentDir(Dir.File("missing")));
  EXPECT_EQ(GetCurrentDir(), Dir.Path());
  EXPECT_THROW(ChDir(Dir.File("missing")), EInOutError);
  EXPECT_THROW(ChDir(""), EInOutError);
  ChDir(Old);
  EXPECT_EQ(GetCurrentDir(), Old);
}
