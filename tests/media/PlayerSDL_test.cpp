// The player's own SDL copies: one loader per copy, refusals for a copy that another
// loader holds (by any of its names), a stand-in without the entry points.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "media/libsdl.h"
#include "tests/media/PlayerTestKit.h"
#include "tests/support/TempDir.h"

using namespace vantrel::media;
using vantrel::test::CopyMediaFile;
using vantrel::test::SystemSDLFile;
using vantrel::test::TTempDir;

namespace {

bool MapsHave(const std::string& AText) {
  std::ifstream Maps("/proc/self/maps");
  std::string Line;
  while (std::getline(Maps, Line))
    if (Line.find(AText) != std::string::npos) return true;
  return false;
}

bool MapsHaveSDL2() { return MapsHave("libSDL2"); }

// Whether a copy carrying SDL's library name is mapped already (copies stay mapped once
// loaded): the plain name then finds that copy instead of the system's file.
bool SDLNameMapped() {
  void* H = dlopen("libSDL-1.2.so.0", RTLD_LAZY | RTLD_NOLOAD);
  if (H) dlclose(H);
  return H != nullptr;
}

TEST(PlayerSDLLoader, TwoCopiesLoadInTwoLoaders) {
  TTempDir Dir;
  CopyMediaFile(SystemSDLFile(), Dir.File("sdl-a.so"));
  CopyMediaFile(SystemSDLFile(), Dir.File("sdl-b.so"));
  TOwned<TSDLLoader> A = CreateOwned<TSDLLoader>(), B = CreateOwned<TSDLLoader>();
  ASSERT_TRUE(A->Load(Dir.Path(), "sdl-a.so")) << A->LastErrMsg();
  ASSERT_TRUE(B->Load(Dir.Path() + "/", "sdl-b.so")) << B->LastErrMsg();
  EXPECT_TRUE(A->Loaded());
  EXPECT_NE(A->SDL_Init, nullptr);
  EXPECT_NE(A->SDL_Init, B->SDL_Init);
  EXPECT_EQ(A->LibFile(), Dir.Path() + "/sdl-a.so");
  EXPECT_EQ(LoadedSDLFileCount(), 2);
  // Loading its own file again is a no-op.
  EXPECT_TRUE(A->Load(Dir.Path(), "sdl-a.so"));
  A->Unload();
  EXPECT_FALSE(A->Loaded());
  EXPECT_EQ(A->SDL_Init, nullptr);
  EXPECT_EQ(LoadedSDLFileCount(), 1);
  EXPECT_FALSE(MapsHaveSDL2());
}

TEST(PlayerSDLLoader, SameFileByAnyNameIsRefused) {
  TTempDir Dir;
  CopyMediaFile(SystemSDLFile(), Dir.File("sdl.so"));
  ASSERT_EQ(link(Dir.File("sdl.so").c_str(), Dir.File("hard.so").c_str()), 0);
  ASSERT_EQ(symlink(Dir.File("sdl.so").c_str(), Dir.File("soft.so").c_str()), 0);
  TOwned<TSDLLoader> A = CreateOwned<TSDLLoader>(), B = CreateOwned<TSDLLoader>();
  ASSERT_TRUE(A->Load(Dir.Path(), "sdl.so")) << A->LastErrMsg();
  for (const char* Name : {"sdl.so", "hard.so", "soft.so"}) {
    SCOPED_TRACE(Name);
    EXPECT_FALSE(B->Load(Dir.Path(), Name));
    EXPECT_EQ(B->LastErrMsg(), Dir.File(Name) + " alreay loaded in another instance.");
    EXPECT_FALSE(B->Loaded());
  }
  EXPECT_EQ(LoadedSDLFileCount(), 1);
  A->Unload();
  EXPECT_TRUE(B->Load(Dir.Path(), "hard.so")) << B->LastErrMsg();
}

TEST(PlayerSDLLoader, FallbackToTheSystemFileCountsAsThatFile) {
  // Copies stay mapped once loaded, and the plain name then finds one of them.
  if (SDLNameMapped()) GTEST_SKIP() << "an earlier test of this process mapped a copy";
  TTempDir Dir;
  TOwned<TSDLLoader> A = CreateOwned<TSDLLoader>(), B = CreateOwned<TSDLLoader>();
  // Not in the folder: loaded by plain name from the system.
  ASSERT_TRUE(A->Load(Dir.Path(), "libSDL-1.2.so.0")) << A->LastErrMsg();
  TTempDir Other;
  EXPECT_FALSE(B->Load(Other.Path(), "libSDL-1.2.so.0"));
  EXPECT_EQ(B->LastErrMsg(), Other.Path() + "/libSDL-1.2.so.0 alreay loaded in another instance.");
}

TEST(PlayerSDLLoader, MissingFileAndMissingEntryPoints) {
  TTempDir Dir;
  TOwned<TSDLLoader> A = CreateOwned<TSDLLoader>();
  EXPECT_FALSE(A->Load(Dir.Path(), "libnosuch-sdl.so"));
  EXPECT_EQ(A->LastErrMsg().rfind("Load library " + Dir.Path() + "/libnosuch-sdl.so error: ", 0), 0u)
      << A->LastErrMsg();
  // A library without SDL's exports: the binding's message, nothing listed.
  CopyMediaFile(std::string(VANTREL_STUB_DIR) + "/libvantrelstub.so.57", Dir.File("standin.so"));
  EXPECT_FALSE(A->Load(Dir.Path(), "standin.so"));
  EXPECT_EQ(A->LastErrMsg().rfind("Load function SDL_Init@" + Dir.Path() + "/standin.so error: ", 0), 0u)
      << A->LastErrMsg();
  EXPECT_FALSE(A->Loaded());
  EXPECT_EQ(LoadedSDLFileCount(), 0);
  // One that lacks only SDL_mutexP fails there, half-way through, and is not listed
  // either: a real copy loads in the same loader afterwards.
  CopyMediaFile(std::string(VANTREL_STUB_DIR) + "/libstubsdl.so", Dir.File("nomutex.so"));
  EXPECT_FALSE(A->Load(Dir.Path(), "nomutex.so"));
  EXPECT_EQ(A->LastErrMsg().rfind("Load function SDL_mutexP@" + Dir.Path() + "/nomutex.so error: ", 0), 0u)
      << A->LastErrMsg();
  EXPECT_FALSE(A->Loaded());
  EXPECT_EQ(LoadedSDLFileCount(), 0);
  CopyMediaFile(SystemSDLFile(), Dir.File("sdl.so"));
  EXPECT_TRUE(A->Load(Dir.Path(), "sdl.so")) << A->LastErrMsg();
  EXPECT_EQ(LoadedSDLFileCount(), 1);
}

TEST(PlayerSDLLoader, AFailedLoadReleasesTheFileHeldBefore) {
  TTempDir Dir;
  CopyMediaFile(SystemSDLFile(), Dir.File("sdl.so"));
  TOwned<TSDLLoader> A = CreateOwned<TSDLLoader>();
  ASSERT_TRUE(A->Load(Dir.Path(), "sdl.so"));
  EXPECT_FALSE(A->Load(Dir.Path(), "missing.so"));
  EXPECT_FALSE(A->Loaded());
  EXPECT_EQ(LoadedSDLFileCount(), 0);
}

}  // namespace
