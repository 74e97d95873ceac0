// Scratch folders and file helpers for the data-class tests.
#include "tests/support/RtlDataTempDir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vantrel::test {

RtlDataTempDir::RtlDataTempDir() {
  const char* Base = std::getenv("TMPDIR");
  std::string Template = std::string(Base && *Base ? Base : "/tmp") + "/vantrel-test-XXXXXX";
  if (!mkdtemp(Template.data())) {
    Template = "/tmp/vantrel-test-XXXXXX";  // TMPDIR may point at a folder that is gone
    if (!mkdtemp(Template.data())) throw std::runtime_error("mkdtemp failed");
  }
  FPath = Template;
}

RtlDataTempDir::~RtlDataTempDir() {
  std::error_code Ec;
  std::filesystem::remove_all(FPath, Ec);
}

std::string RtlDataReadFile(const std::string& FileName) {
  std::ifstream In(FileName, std::ios::binary);
  std::ostringstream S;
  S << In.rdbuf();
  return S.str();
}

void RtlDataWriteFile(const std::string& FileName, const std::string& Bytes) {
  std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
  Out << Bytes;
}

}  // namespace vantrel::test
