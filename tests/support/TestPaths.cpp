// Where the tests find generated fixtures and the built programs.
#include "tests/support/TestPaths.h"

namespace vantrel::test {

std::string FixtureDir() { return VANTREL_FIXTURE_DIR; }
std::string FixturePath(const std::string& Name) { return FixtureDir() + "/" + Name; }
std::string BinDir() { return VANTREL_BIN_DIR; }
std::string TestSkinDir(const std::string& Name) {
  return std::string(VANTREL_TEST_SKIN_DIR) + "/" + Name;
}

}  // namespace vantrel::test
