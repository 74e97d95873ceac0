// A scratch folder for a test, removed with its contents when the test ends, plus small file
// helpers for tests that read and write files.
#pragma once

#include <string>

namespace vantrel::test {

class RtlDataTempDir {
 public:
  RtlDataTempDir();
  ~RtlDataTempDir();
  RtlDataTempDir(const RtlDataTempDir&) = delete;
  RtlDataTempDir& operator=(const RtlDataTempDir&) = delete;

  // The folder, without a trailing '/'.
  const std::string& Path() const { return FPath; }
  // Path() + "/" + Name.
  std::string File(const std::string& Name) const { return FPath + "/" + Name; }

 private:
  std::string FPath;
};

// Whole file as bytes ("" when it cannot be read) / replaced by Bytes.
std::string RtlDataReadFile(const std::string& FileName);
void RtlDataWriteFile(const std::string& FileName, const std::string& Bytes);

}  // namespace vantrel::test
