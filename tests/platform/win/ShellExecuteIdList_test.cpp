#include <gtest/gtest.h>

#include "platform/display/HeadlessSession.h"
#include "platform/win/Shell.h"
#include "platform/win/ShellSpecialFolders.h"
#include "tests/platform/win/ShellNamespaceFixture.h"

using vantrel::test::ShellNamespaceTest;

TEST_F(ShellNamespaceTest, ShellExecuteExOpensAnItemIdListsPath) {
  vantrel::display::HeadlessSession S;
  auto Owned = std::make_unique<vantrel::win::RecordingLauncher>();
  vantrel::win::RecordingLauncher* Rec = Owned.get();
  S.Manager().Shell().SetLauncher(std::move(Owned));
  vantrel::test::WriteFileBytes(Outside + "/clip.avi", "x");
  vantrel::win::ItemIdList L = Parse(Outside + "/clip.avi");
  SHELLEXECUTEINFO Info;
  Info.fMask = SEE_MASK_INVOKEIDLIST;
  Info.lpIDList = L.Get();
  ASSERT_TRUE(ShellExecuteEx(&Info));
  ASSERT_EQ(Rec->Calls.size(), 1u);
  EXPECT_EQ(Rec->Calls[0].Argv, (std::vector<std::string>{"xdg-open", Outside + "/clip.avi"}));
  // Computer has no path to open.
  vantrel::win::ItemIdList Computer;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, Computer.Put()), S_OK);
  SHELLEXECUTEINFO None;
  None.fMask = SEE_MASK_IDLIST;
  None.lpIDList = Computer.Get();
  EXPECT_FALSE(ShellExecuteEx(&None));
  EXPECT_EQ(Rec->Calls.size(), 1u);
}
