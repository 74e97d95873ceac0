#include "platform/rtl/DynLibs.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(DynLibs, LoadsALibraryAndCallsAnEntryPoint) {
  for (int Flags : {DL_NOW | DL_LOCAL, DL_LAZY | DL_GLOBAL | DL_NODELETE}) {
    SCOPED_TRACE(Flags);
    TLibHandle Lib = LoadDynLibrary("libm.so.6", Flags);
    ASSERT_NE(Lib, nullptr) << DynLibError();
    auto Cos = reinterpret_cast<double (*)(double)>(GetDynProc(Lib, "cos"));
    ASSERT_NE(Cos, nullptr) << DynLibError();
    EXPECT_DOUBLE_EQ(Cos(0.0), 1.0);
    EXPECT_TRUE(FreeDynLibrary(Lib));
  }
}

TEST(DynLibs, FailuresKeepTheSystemsTextPerThreadUntilTheNextFailure) {
  EXPECT_EQ(LoadDynLibrary("libvantrel-missing.so.1"), nullptr);
  const String LoadError = DynLibError();
  EXPECT_NE(LoadError.find("libvantrel-missing.so.1"), String::npos) << LoadError;

  TLibHandle Lib = LoadDynLibrary("libm.so.6");
  ASSERT_NE(Lib, nullptr);
  EXPECT_EQ(DynLibError(), LoadError);  // a success does not clear it

  EXPECT_EQ(GetDynProc(Lib, "vantrel_no_such_symbol"), nullptr);
  EXPECT_NE(DynLibError().find("vantrel_no_such_symbol"), String::npos) << DynLibError();

  String OtherThread = "unset";
  std::thread([&] { OtherThread = DynLibError(); }).join();
  EXPECT_EQ(OtherThread, "");

  EXPECT_TRUE(FreeDynLibrary(Lib));
  EXPECT_FALSE(FreeDynLibrary(nullptr));
  EXPECT_EQ(GetDynProc(nullptr, "cos"), nullptr);
  EXPECT_EQ(LoadDynLibrary(""), nullptr);  // not the program itself
  EXPECT_FALSE(DynLibError().empty());
}

}  // namespace
