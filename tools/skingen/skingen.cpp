// skingen: writes the default skin with the application's pictures and the two test
// skins, and with a catalogue table the converter's format catalogue.
// Usage: skingen <default skin folder> <test skins folder> [<catalogue table> <catalogue folder>]
#include <exception>
#include <iostream>
#include <string>

#include "tools/skingen/SkinGenBuild.h"
#include "tools/skingen/SkinGenCatalogue.h"

int main(int argc, char** argv) {
  using namespace vantrel::skingen;
  if (argc != 3 && argc != 5) {
    std::cerr << "Usage: skingen <default skin folder> <test skins folder>"
                 " [<catalogue table> <catalogue folder>]\n";
    return 2;
  }
  try {
    // The catalogue is checked first: a broken row fails before anything is written.
    if (argc == 5) WriteCatalogue(ReadCatalogueTable(argv[3]), argv[4]);
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
