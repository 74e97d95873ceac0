#include "platform/rtl/Streams.h"

#include <gtest/gtest.h>

#include <cstring>

#include "platform/rtl/Exceptions.h"
#include "tests/support/TempDir.h"

using vantrel::test::ReadFileBytes;
using vantrel::test::TTempDir;
using vantrel::test::WriteFileBytes;

TEST(Streams, MemoryStreamReadsWritesAndSeeks) {
  TMemoryStream M;
  M.WriteBuffer("hello", 5);
  EXPECT_EQ(M.Size(), 5);
  EXPECT_EQ(M.Position(), 5);
  EXPECT_EQ(M.Seek(-2, soEnd), 3);
  char Buf[8] = {};
  EXPECT_EQ(M.Read(Buf, 8), 2);  // only what is left
  EXPECT_STREQ(Buf, "lo");
  EXPECT_EQ(M.Read(Buf, 8), 0);
  // Writing past the end fills the gap with zeros.
  M.SetPosition(7);
  M.WriteBuffer("!", 1);
  EXPECT_EQ(M.Size(), 8);
  EXPECT_EQ(std::memcmp(M.Memory(), "hello\0\0!", 8), 0);
  M.SetSize(2);
  EXPECT_EQ(M.Position(), 2);
  EXPECT_EQ(std::string(static_cast<const char*>(M.Memory()), 2), "he");
  M.Clear();
  EXPECT_EQ(M.Size(), 0);
}

TEST(Streams, ReadBufferAndWriteBufferRaiseOnShortTransfers) {
  TMemoryStream M;
  M.WriteBuffer("abc", 3);
  M.SetPosition(1);
  char Buf[4];
  try {
    M.ReadBuffer(Buf, 4);
    ADD_FAILURE() << "no exception";
  } catch (const EReadError& E) {
    EXPECT_EQ(E.Message(), "Stream read error");
  }
  // A full device takes nothing.
  TFileStream Full("/dev/full", fmOpenWrite);
  try {
    Full.WriteBuffer("x", 1);
    ADD_FAILURE() << "no exception";
  } catch (const EWriteError& E) {
    EXPECT_EQ(E.Message(), "Stream write error");
  }
}

TEST(Streams, CopyFromCopiesAPartOrTheWholeSource) {
  TStringStream Src("0123456789");
  TMemoryStream Dst;
  Src.SetPosition(4);
  EXPECT_EQ(Dst.CopyFrom(Src, 3), 3);
  EXPECT_EQ(std::string(static_cast<const char*>(Dst.Memory()), 3), "456");
  EXPECT_EQ(Src.Position(), 7);
  // Count 0: the whole source from its start, wherever its position was.
  TMemoryStream All;
  EXPECT_EQ(All.CopyFrom(&Src, 0), 10);
  EXPECT_EQ(std::string(static_cast<const char*>(All.Memory()), 10), "0123456789");
  // Asking for more than the source holds is a read error.
  Src.SetPosition(8);
  EXPECT_THROW(Dst.CopyFrom(Src, 5), EReadError);
}

TEST(Streams, FileStreamCreatesOpensAndReportsFailures) {
  TTempDir Dir;
  const String Name = Dir.File("data.bin");
  {
    TFileStream F(Name, fmCreate);
    F.WriteBuffer("abcdef", 6);
    F.SetSize(4);
    EXPECT_EQ(F.Size(), 4);
  }
  EXPECT_EQ(ReadFileBytes(Name), "abcd");
  {
    TFileStream F(Name, fmOpenReadWrite | fmShareDenyNone);
    F.Seek(0, soEnd);
    F.WriteBuffer("XY", 2);
  }
  TMemoryStream M;
  M.LoadFromFile(Name);
  EXPECT_EQ(std::string(static_cast<const char*>(M.Memory()), 6), "abcdXY");
  EXPECT_EQ(M.Position(), 0);

  const struct {
    String File;
    Word Mode;
    String Message;
  } Failures[] = {
      {Dir.File("missing.bin"), fmOpenRead,
       "Cannot open file \"" + Dir.File("missing.bin") + "\". No such file or directory"},
      {Dir.Path(), fmOpenRead, "Cannot open file \"" + Dir.Path() + "\". Is a directory"},
      {Name + "/sub", fmCreate, "Cannot create file \"" + Name + "/sub\". Not a directory"},
  };
  for (const auto& C : Failures) {
    SCOPED_TRACE(C.File);
    try {
      TFileStream F(C.File, C.Mode);
      ADD_FAILURE() << "no exception";
    } catch (const EFileStreamError& E) {
      EXPECT_EQ(E.Message(), C.Message);
      EXPECT_STREQ(E.ClassName(), C.Mode == fmCreate ? "EFCreateError" : "EFOpenError");
    }
  }
}

TEST(Streams, MemoryStreamSavesToFileAndStream) {
  TTempDir Dir;
  TMemoryStream M;
  M.WriteBuffer("payload", 7);
  M.SaveToFile(Dir.File("out"));
  EXPECT_EQ(ReadFileBytes(Dir.File("out")), "payload");
  TStringStream S;
  M.SaveToStream(&S);
  EXPECT_EQ(S.DataString(), "payload");
}

TEST(Streams, StringStreamReadsAndOverwrites) {
  TStringStream S("abcdef");
  EXPECT_EQ(S.ReadString(2), "ab");
  S.WriteString("XY");
  EXPECT_EQ(S.DataString(), "abXYef");
  EXPECT_EQ(S.ReadString(-1), "ef");
  S.SetSize(3);
  EXPECT_EQ(S.DataString(), "abX");
  EXPECT_EQ(S.Position(), 3);
}
