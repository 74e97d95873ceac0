// A private temporary folder for a media test.
#include "tests/support/MediaTempDir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <system_error>

namespace vantrel::test {

TMediaTempDir::TMediaTempDir() {
  std::string Template = (std::filesystem::temp_directory_path() / "vantrel-media-XXXXXX").string();
  if (!mkdtemp(Template.data())) ADD_FAILURE() << "mkdtemp failed for " << Template;
  FPath = Template;
}

TMediaTempDir::~TMediaTempDir() {
  std::error_code Ignored;
  std::filesystem::remove_all(FPath, Ignored);
}

std::string TMediaTempDir::File(const std::string& Name) const { return FPath + "/" + Name; }

void CopyMediaFile(const std::string& Source, const std::string& Dest) {
  std::error_code Error;
  const std::filesystem::path Real = std::filesystem::canonical(Source, Error);
  if (!Error)
    std::filesystem::copy_file(Real, Dest, std::filesystem::copy_options::overwrite_existing,
                               Error);
  if (Error) ADD_FAILURE() << "copying " << Source << " to " << Dest << ": " << Error.message();
}

}  // namespace vantrel::test
