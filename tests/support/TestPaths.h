// Where the tests find generated fixtures and the built programs.
#pragma once

#include <string>

namespace vantrel::test {

// The media fixture folder; its fixtures are made on first use when they are missing.
std::string FixtureDir();
std::string FixturePath(const std::string& Name);
std::string BinDir();
// The folder of a test skin written by skingen ("skin-test", "skin-test-alt"), without a
// trailing '/'.
std::string TestSkinDir(const std::string& Name);

}  // namespace vantrel::test
