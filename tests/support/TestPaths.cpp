// Where the tests find generated fixtures and the built programs.
#include "tests/support/TestPaths.h"

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <system_error>

namespace vantrel::test {

namespace {

namespace fs = std::filesystem;

// The fixtures are current when the generator's stamp is newer than the generator.
bool MediaFixturesAreCurrent(const fs::path& Dir, const fs::path& Script) {
  std::error_code Ec;
  const auto Stamp = fs::last_write_time(Dir / ".complete", Ec);
  if (Ec) return false;
  const auto Source = fs::last_write_time(Script, Ec);
  return !Ec && Source <= Stamp;
}

// Makes the media fixtures when a test program runs without ctest (which makes them once
// before the first test). The generator locks the folder, so processes that start
// together make them once.
void EnsureMediaFixtures() {
  const fs::path Dir = VANTREL_FIXTURE_DIR;
  const fs::path Script = fs::path(VANTREL_SOURCE_DIR) / "tests/support/make-media-fixtures";
  if (MediaFixturesAreCurrent(Dir, Script)) return;
  const std::string Command = "bash '" + Script.string() + "' '" + Dir.string() + "' 1>&2";
  if (std::system(Command.c_str()) != 0)
    throw std::runtime_error("cannot make the media fixtures in " + Dir.string());
}

}  // namespace

std::string FixtureDir() {
  static std::once_flag Once;
  std::call_once(Once, EnsureMediaFixtures);
  return VANTREL_FIXTURE_DIR;
}
std::string FixturePath(const std::string& Name) { return FixtureDir() + "/" + Name; }
std::string BinDir() { return VANTREL_BIN_DIR; }
std::string TestSkinDir(const std::string& Name) {
  return std::string(VANTREL_TEST_SKIN_DIR) + "/" + Name;
}

}  // namespace vantrel::test
