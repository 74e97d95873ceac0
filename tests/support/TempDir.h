// Test helpers for files: a private scratch folder removed with its contents when the
// test ends, whole-file reads and writes, and a file copy.
#pragma once

#include <string>

namespace vantrel::test {

class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;

  // The folder, without a trailing '/'.
  const std::string& Path() const { return FPath; }
  // Path() + "/" + Name.
  std::string File(const std::string& Name) const { return FPath + "/" + Name; }

 private:
  std::string FPath;
};

// Whole file as bytes ("" when it cannot be read) / replaced by Bytes.
std::string ReadFileBytes(const std::string& FileName);
void WriteFileBytes(const std::string& FileName, const std::string& Bytes);

// Copies a file (following symbolic links) to Dest; fails the test on error.
void CopyMediaFile(const std::string& Source, const std::string& Dest);

}  // namespace vantrel::test
