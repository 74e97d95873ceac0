#include <gtest/gtest.h>

#include "platform/win/Resources.h"
#include "platform/win/ShellFileInfo.h"
#include "platform/win/ShellSpecialFolders.h"
#include "tests/platform/win/ShellNamespaceFixture.h"

using vantrel::test::ShellNamespaceTest;
using vantrel::win::ItemIdList;
using vantrel::test::WriteFileBytes;
using vantrel::win::ShellItemKind;

TEST_F(ShellNamespaceTest, EveryViewRootResolvesOrFails) {
  ASSERT_TRUE(ForceDirectories(Home + "/Documents"));
  ASSERT_TRUE(ForceDirectories(Home + "/Templates"));
  ASSERT_TRUE(ForceDirectories(Home + "/.config"));
  ASSERT_TRUE(ForceDirectories(Home + "/.local/share/Trash/files"));
  struct Case {
    int Csidl;
    const char* Path;  // "" for a virtual folder, nullptr when it must fail
  } Cases[] = {
      {CSIDL_DESKTOP, ""},
      {CSIDL_DRIVES, ""},
      {CSIDL_NETWORK, nullptr},
      {CSIDL_BITBUCKET, "/.local/share/Trash/files"},
      {CSIDL_APPDATA, "/.config"},
      {CSIDL_COMMON_DESKTOPDIRECTORY, nullptr},
      {CSIDL_COMMON_PROGRAMS, nullptr},
      {CSIDL_COMMON_STARTMENU, nullptr},
      {CSIDL_COMMON_STARTUP, nullptr},
      {CSIDL_CONTROLS, nullptr},
      {CSIDL_DESKTOPDIRECTORY, nullptr},  // ~/Desktop does not exist and is not made
      {CSIDL_FAVORITES, nullptr},
      {CSIDL_FONTS, nullptr},
      {CSIDL_INTERNET, nullptr},
      {CSIDL_PERSONAL, "/Documents"},
      {CSIDL_PRINTERS, nullptr},
      {CSIDL_PRINTHOOD, nullptr},
      {CSIDL_PROGRAMS, nullptr},
      {CSIDL_RECENT, nullptr},
      {CSIDL_SENDTO, nullptr},
      {CSIDL_STARTMENU, nullptr},
      {CSIDL_STARTUP, nullptr},
      {CSIDL_TEMPLATES, "/Templates"},
  };
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Csidl);
    ItemIdList L;
    const HRESULT R = SHGetSpecialFolderLocation(nullptr, C.Csidl, L.Put());
    if (!C.Path) {
      EXPECT_EQ(R, E_FAIL);
      EXPECT_EQ(L.Get(), nullptr);
      continue;
    }
    ASSERT_EQ(R, S_OK);
    char Path[MAX_PATH];
    if (*C.Path) {
      ASSERT_TRUE(SHGetPathFromIDList(L.Get(), Path));
      EXPECT_EQ(std::string(Path), Home + C.Path);
      EXPECT_EQ(Records(L.Get()).at(0).Kind, ShellItemKind::Home);
    } else {
      EXPECT_FALSE(SHGetPathFromIDList(L.Get(), Path));
    }
  }
  EXPECT_FALSE(DirectoryExists(Home + "/Desktop"));
  ItemIdList Profile;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PROFILE, Profile.Put()), S_OK);
  EXPECT_EQ(NameOf(Desktop.Get(), Profile.Get(), SHGDN_FORPARSING), Home);
  EXPECT_EQ(NameOf(Desktop.Get(), Profile.Get(), SHGDN_NORMAL), "Home");
}

TEST_F(ShellNamespaceTest, SpecialFolderPathCreatesOnlyWhenAsked) {
  char Path[MAX_PATH];
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, Path, CSIDL_MYMUSIC, FALSE));
  EXPECT_FALSE(DirectoryExists(Home + "/Music"));
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, Path, CSIDL_MYMUSIC, TRUE));
  EXPECT_EQ(std::string(Path), Home + "/Music");
  EXPECT_TRUE(DirectoryExists(Home + "/Music"));
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, Path, CSIDL_PROFILE, FALSE));
  EXPECT_EQ(std::string(Path), Home);
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, Path, CSIDL_DRIVES, TRUE));
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, Path, CSIDL_FONTS, TRUE));
}

TEST_F(ShellNamespaceTest, FileInfoHandsOutTheSystemImageList) {
  SHFILEINFO Info;
  const auto Small = reinterpret_cast<HIMAGELIST>(
      SHGetFileInfo("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
  ASSERT_NE(Small, nullptr);
  int W = 0, H = 0;
  ASSERT_TRUE(ImageList_GetIconSize(Small, &W, &H));
  EXPECT_EQ(W, 16);
  EXPECT_EQ(H, 16);
  const auto Large = reinterpret_cast<HIMAGELIST>(SHGetFileInfo("/", 0, &Info, sizeof Info, SHGFI_SYSICONINDEX));
  ASSERT_TRUE(ImageList_GetIconSize(Large, &W, &H));
  EXPECT_EQ(W, 32);
  EXPECT_NE(Large, Small);
  EXPECT_EQ(ImageList_GetImageCount(Small), ImageList_GetImageCount(Large));

  auto IconOf = [](const char* Name, DWORD Attr, UINT Extra) {
    SHFILEINFO I;
    SHGetFileInfo(Name, Attr, &I, sizeof I, SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES | Extra);
    return I.iIcon;
  };
  using vantrel::win::SystemIcon;
  EXPECT_EQ(IconOf("clip.mp4", FILE_ATTRIBUTE_NORMAL, 0), static_cast<int>(SystemIcon::Video));
  EXPECT_EQ(IconOf("CLIP.MKV", FILE_ATTRIBUTE_NORMAL, 0), static_cast<int>(SystemIcon::Video));
  EXPECT_EQ(IconOf("song.flac", FILE_ATTRIBUTE_NORMAL, 0), static_cast<int>(SystemIcon::Audio));
  EXPECT_EQ(IconOf("readme", FILE_ATTRIBUTE_NORMAL, 0), static_cast<int>(SystemIcon::File));
  const int Closed = IconOf("Videos", FILE_ATTRIBUTE_DIRECTORY, 0);
  const int Open = IconOf("Videos", FILE_ATTRIBUTE_DIRECTORY, SHGFI_OPENICON);
  EXPECT_EQ(Closed, static_cast<int>(SystemIcon::FolderClosed));
  EXPECT_EQ(Open, static_cast<int>(SystemIcon::FolderOpen));
  // The two folder pictures differ.
  const auto* C = vantrel::win::ImageListContentOf(Small);
  ASSERT_NE(C, nullptr);
  EXPECT_NE(C->Images.at(Closed).Pixels, C->Images.at(Open).Pixels);

  // A real file: names, type and attributes; a program by its mode bits.
  WriteFileBytes(Outside + "/tool", "#!/bin/sh\n");
  chmod((Outside + "/tool").c_str(), 0755);
  WriteFileBytes(Outside + "/clip.avi", "x");
  ASSERT_NE(SHGetFileInfo((Outside + "/clip.avi").c_str(), 0, &Info, sizeof Info,
                          SHGFI_DISPLAYNAME | SHGFI_TYPENAME | SHGFI_ATTRIBUTES | SHGFI_SYSICONINDEX),
            0u);
  EXPECT_STREQ(Info.szDisplayName, "clip.avi");
  EXPECT_STREQ(Info.szTypeName, "AVI File");
  EXPECT_TRUE(Info.dwAttributes & SFGAO_FILESYSTEM);
  EXPECT_FALSE(Info.dwAttributes & SFGAO_FOLDER);
  SHGetFileInfo((Outside + "/tool").c_str(), 0, &Info, sizeof Info, SHGFI_SYSICONINDEX);
  EXPECT_EQ(Info.iIcon, static_cast<int>(SystemIcon::Program));
  EXPECT_EQ(SHGetFileInfo((Outside + "/missing").c_str(), 0, &Info, sizeof Info, SHGFI_DISPLAYNAME), 0u);
  // By item id list: Home and Computer have their own icons.
  ItemIdList HomeList;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_PROFILE, HomeList.Put()), S_OK);
  SHGetFileInfo(reinterpret_cast<LPCSTR>(HomeList.Get()), 0, &Info, sizeof Info, SHGFI_PIDL | SHGFI_SYSICONINDEX);
  EXPECT_EQ(Info.iIcon, static_cast<int>(SystemIcon::Home));
  // SHGFI_ICON hands out an icon of its own.
  Info.hIcon = nullptr;
  SHGetFileInfo("clip.mp4", 0, &Info, sizeof Info, SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
  ASSERT_NE(Info.hIcon, nullptr);
  DestroyIcon(Info.hIcon);
}
