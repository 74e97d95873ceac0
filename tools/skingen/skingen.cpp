// skingen: writes the default skin with the application's pictures and the two test
// skins. Usage: skingen <default skin folder> <test skins folder>
#include <exception>
#include <iostream>
#include <string>

#include "tools/skingen/SkinGenBuild.h"

int main(int argc, char** argv) {
  using namespace vantrel::skingen;
  if (argc != 3) {
    std::cerr << "Usage: skingen <default skin folder> <test skins folder>\n";
    return 2;
  }
  try {
    const std::string Default = argv[1];
    const std::string Tests = argv[2];
    WriteDefaultSkin(Default);
    WriteAppPictures(Default);
    WriteTestSkin(Tests + "/" + TestSkinFolder, false);
    WriteTestSkin(Tests + "/" + TestSkinAltFolder, true);
  } catch (const std::exception& E) {
    std::cerr << "skingen: " << E.what() << "\n";
    return 1;
  }
  return 0;
}
