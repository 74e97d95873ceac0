#include "platform/rtl/Registry.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "tests/support/TempDir.h"

using vantrel::test::ReadFileBytes;
using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;

namespace {

constexpr const char* AppKey = "Software\\Quillmoor\\Vantrel";

class RegistryTest : public testing::Test {
 protected:
  void SetUp() override {
    setenv("HOME", Home.Path().c_str(), 1);
    setenv("XDG_CONFIG_HOME", (Home.Path() + "/config").c_str(), 1);
  }
  String Store() const { return Home.Path() + "/config/vantrel/registry.ini"; }
  TTempDir Home;
};

}  // namespace

TEST_F(RegistryTest, StoreLivesUnderXdgConfigHomeOrDotConfig) {
  EXPECT_EQ(TRegistry::StoreFileName(), Store());
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(TRegistry::StoreFileName(), Home.Path() + "/.config/vantrel/registry.ini");
}

TEST_F(RegistryTest, FirstRunOpensNothingWithoutCreate) {
  TRegistry Reg;
  EXPECT_EQ(Reg.RootKey(), HKEY_CURRENT_USER);
  EXPECT_FALSE(Reg.OpenKey(AppKey, false));
  EXPECT_FALSE(Reg.KeyExists(AppKey));
  EXPECT_FALSE(FileExists(Store()));
  EXPECT_TRUE(Reg.OpenKey(AppKey, true));
  EXPECT_TRUE(FileExists(Store()));
  Reg.CloseKey();
  EXPECT_TRUE(Reg.KeyExists("software\\QUILLMOOR"));  // parents exist, names ignore case
  EXPECT_TRUE(Reg.OpenKey("SOFTWARE\\quillmoor\\vantrel", false));
}

TEST_F(RegistryTest, ValuesPersistWithTheirTypes) {
  {
    TRegistry Reg;
    ASSERT_TRUE(Reg.OpenKey(AppKey, true));
    Reg.WriteString("OutputPath", "/home/u/Vantrel Output");
    Reg.WriteInteger("recentformatind", 3);
    Reg.WriteInteger("negative", -7);
    Reg.WriteBool("flag", true);
    Reg.WriteString("odd name=[x];%", "line1\nline2\r\\end %41");
    Reg.WriteString("empty", "");
    Reg.CloseKey();
  }
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKey(AppKey, false));
  EXPECT_EQ(Reg.ReadString("outputpath"), "/home/u/Vantrel Output");
  EXPECT_EQ(Reg.ReadInteger("RecentFormatInd"), 3);
  EXPECT_EQ(Reg.ReadInteger("negative"), -7);
  EXPECT_TRUE(Reg.ReadBool("flag"));
  EXPECT_EQ(Reg.ReadString("odd name=[x];%"), "line1\nline2\r\\end %41");
  EXPECT_TRUE(Reg.ValueExists("empty"));
  EXPECT_EQ(Reg.ReadString("empty"), "");
  EXPECT_FALSE(Reg.ValueExists("missing"));
  EXPECT_EQ(Reg.ReadString("missing"), "");
  EXPECT_EQ(Reg.GetDataType("flag"), rdInteger);
  TStringList Names;
  Reg.GetValueNames(Names);
  EXPECT_EQ(Names.Count(), 6);
}

TEST_F(RegistryTest, WrongTypeOrMissingValueRaisesTheRegistryError) {
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKey(AppKey, true));
  Reg.WriteString("text", "12");
  Reg.WriteInteger("number", 12);
  const struct {
    std::function<void()> Read;
    const char* Message;
  } Cases[] = {
      {[&] { Reg.ReadInteger("text"); }, "Invalid data type for 'text'"},
      {[&] { Reg.ReadString("number"); }, "Invalid data type for 'number'"},
      {[&] { Reg.ReadBool("text"); }, "Invalid data type for 'text'"},
      {[&] { Reg.ReadInteger("missing"); }, "Failed to get data for 'missing'"},
  };
  for (const auto& C : Cases) {
    SCOPED_TRACE(C.Message);
    try {
      C.Read();
      ADD_FAILURE() << "no exception";
    } catch (const ERegistryException& E) {
      EXPECT_EQ(E.Message(), C.Message);
    }
  }
}

TEST_F(RegistryTest, WritesNeedAWritableOpenKey) {
  TRegistry Reg;
  EXPECT_THROW(Reg.WriteString("v", "x"), ERegistryException);  // no key open
  ASSERT_TRUE(Reg.OpenKey(AppKey, true));
  Reg.CloseKey();
  ASSERT_TRUE(Reg.OpenKeyReadOnly(AppKey));
  try {
    Reg.WriteInteger("v", 1);
    ADD_FAILURE() << "no exception";
  } catch (const ERegistryException& E) {
    EXPECT_EQ(E.Message(), "Failed to set data for 'v'");
  }
}

TEST_F(RegistryTest, RelativeKeysAndDeletion) {
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKey("Software", true));
  ASSERT_TRUE(Reg.OpenKey("Quillmoor\\Vantrel", true));  // below the open key
  EXPECT_EQ(Reg.CurrentPath(), AppKey);
  Reg.WriteInteger("x", 1);
  ASSERT_TRUE(Reg.OpenKey("\\Software\\Quillmoor", false));  // from the root
  EXPECT_TRUE(Reg.HasSubKeys());
  TStringList Keys;
  Reg.GetKeyNames(Keys);
  ASSERT_EQ(Keys.Count(), 1);
  EXPECT_EQ(Keys[0], "Vantrel");
  EXPECT_TRUE(Reg.DeleteKey("\\Software\\Quillmoor"));  // with its subkeys
  EXPECT_FALSE(Reg.KeyExists("\\Software\\Quillmoor\\Vantrel"));
  EXPECT_TRUE(Reg.KeyExists("\\Software"));
  EXPECT_FALSE(Reg.DeleteKey("\\Software\\Quillmoor"));
}

TEST_F(RegistryTest, InterruptedWriteLeavesTheOldStoreIntact) {
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKey(AppKey, true));
  Reg.WriteString("OutputPath", "/old");
  const String Before = ReadFileBytes(Store());
  String SeenTemp;
  Reg.BeforeCommitHook = [&](const String& Temp) {
    SeenTemp = Temp;
    EXPECT_NE(ReadFileBytes(Temp).find("/new"), String::npos);  // complete before the rename
    throw EInOutError("power cut");
  };
  EXPECT_THROW(Reg.WriteString("OutputPath", "/new"), EInOutError);
  EXPECT_EQ(ReadFileBytes(Store()), Before);
  EXPECT_FALSE(SeenTemp.empty());
  EXPECT_FALSE(FileExists(SeenTemp));  // no temporary file left behind
  Reg.BeforeCommitHook = nullptr;
  EXPECT_EQ(Reg.ReadString("OutputPath"), "/old");
}

TEST_F(RegistryTest, UnwritableStoreFailsTheWrite) {
  WriteFileBytes(Home.Path() + "/config", "a file where the folder should be");
  TRegistry Reg;
  EXPECT_FALSE(Reg.OpenKey(AppKey, true));
  EXPECT_EQ(ReadFileBytes(Home.Path() + "/config"), "a file where the folder should be");
}

TEST_F(RegistryTest, HandEditedStoreIsRead) {
  ForceDirectories(Home.Path() + "/config/vantrel");
  WriteFileBytes(Store(),
                   "; comment\n[HKEY_CURRENT_USER\\Software\\Quillmoor\\Vantrel]\n"
                   "OutputPath=sz:/x\nrecentprofileind=dword:4\nbroken line\nweird=qq:zz\n");
  TRegistry Reg;
  ASSERT_TRUE(Reg.OpenKey(AppKey, false));
  EXPECT_EQ(Reg.ReadString("OutputPath"), "/x");
  EXPECT_EQ(Reg.ReadInteger("recentprofileind"), 4);
  EXPECT_EQ(Reg.GetDataType("weird"), rdUnknown);
  EXPECT_THROW(Reg.ReadString("weird"), ERegistryException);
}
