// Test helpers for files.
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

namespace vantrel::test {

TTempDir::TTempDir() {
  const char* Base = std::getenv("TMPDIR");
  std::string Template = std::string(Base && *Base ? Base : "/tmp") + "/vantrel-test-XXXXXX";
  if (!mkdtemp(Template.data())) {
    Template = "/tmp/vantrel-test-XXXXXX";  // TMPDIR may point at a folder that is gone
    if (!mkdtemp(Template.data())) throw std::runtime_error("mkdtemp failed");
  }
  FPath = Template;
}

TTempDir::~TTempDir() {
  std::error_code Ignored;
  std::filesystem::remove_all(FPath, Ignored);
}

std::string ReadFileBytes(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

void WriteFileBytes(const std::string& FileName, const std::string& Bytes) {
  std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
  Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  if (!Out) ADD_FAILURE() << "cannot write " << FileName;
}

void CopyMediaFile(const std::string& Source, const std::string& Dest) {
  std::error_code Error;
  const std::filesystem::path Real = std::filesystem::canonical(Source, Error);
  if (!Error)
    std::filesystem::copy_file(Real, Dest, std::filesystem::copy_options::overwrite_existing,
                               Error);
  if (Error) ADD_FAILURE() << "copying " << Source << " to " << Dest << ": " << Error.message();
}

}  // namespace vantrel::test
