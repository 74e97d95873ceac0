// A private temporary folder for a media test, removed with everything in it.
#pragma once

#include <string>

namespace vantrel::test {

class TMediaTempDir {
 public:
  TMediaTempDir();
  ~TMediaTempDir();
  TMediaTempDir(const TMediaTempDir&) = delete;
  TMediaTempDir& operator=(const TMediaTempDir&) = delete;

  // The folder, without a trailing "/".
  const std::string& Path() const { return FPath; }
  // Path() + "/" + Name.
  std::string File(const std::string& Name) const;

 private:
  std::string FPath;
};

// Copies a file (following symbolic links) to Dest; fails the test on error.
void CopyMediaFile(const std::string& Source, const std::string& Dest);

}  // namespace vantrel::test
