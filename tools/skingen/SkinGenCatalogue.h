// The format catalogue: a plain-text table of profiles and formats beside skingen's sources,
// checked row by row and written as Profiles.dat, the complemented Formats.dat and the icons.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace vantrel::skingen {

constexpr int CatalogueFieldCount = 25;

struct CatalogueProfile {
  std::string ID;
  std::string Title;
  std::string Icon;
};

struct CatalogueTable {
  std::vector<CatalogueProfile> Profiles;
  std::vector<std::array<std::string, CatalogueFieldCount>> Formats;  // in key order
};

// The attribute keys of a format line, in their order on the line.
extern const std::array<const char*, CatalogueFieldCount> CatalogueKeys;

// Reads and checks the table; raises std::runtime_error naming the row that breaks a rule.
CatalogueTable ReadCatalogueTable(const std::string& FileName);

// Writes Folder/Profiles.dat, Folder/Formats.dat and Folder/Icons/*.bmp.
void WriteCatalogue(const CatalogueTable& Table, const std::string& Folder);

}  // namespace vantrel::skingen
