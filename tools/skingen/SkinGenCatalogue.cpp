// The format catalogue writer. Every rule a row must keep is checked before anything is
// written, so a broken row fails the build instead of reaching the converter.
#include "tools/skingen/SkinGenCatalogue.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <stdexcept>

#include "tools/skingen/SkinGenBuild.h"

namespace vantrel::skingen {

const std::array<const char*, CatalogueFieldCount> CatalogueKeys = {
    "id=",           "name=",          "description=",     "icon=",
    "format_ext=",   "audio_format=",  "video_codec_name=", "width=",
    "height=",       "keep_ori_frame_rate=", " frame_rate=", "video_bitrate=",
    "audio_codec_name=", "sample_rate=", "channel=",        "audio_bitrate=",
    "extra_param=",  "video_codecs=",  "resolutions=",      "frame_rates=",
    "video_bitrates=", "audio_codecs=", "sample_rates=",    "channels=",
    "audio_bitrates="};

namespace {

enum CatField {
  cfID, cfName, cfDescription, cfIcon, cfExt, cfAudioFormat, cfVideoCodec, cfWidth, cfHeight,
  cfKeep, cfFrameRate, cfVideoBitRate, cfAudioCodec, cfSampleRate, cfChannel, cfAudioBitRate,
  cfExtra, cfVideoCodecs, cfResolutions, cfFrameRates, cfVideoBitRates, cfAudioCodecs,
  cfSampleRates, cfChannelList, cfAudioBitRates
};

// Each choice list with the field whose value it must offer.
struct CatChoice {
  CatField List;
  CatField Own;
};
constexpr CatChoice CatChoices[] = {
    {cfVideoCodecs, cfVideoCodec},     {cfFrameRates, cfFrameRate},
    {cfVideoBitRates, cfVideoBitRate}, {cfAudioCodecs, cfAudioCodec},
    {cfSampleRates, cfSampleRate},     {cfChannelList, cfChannel},
    {cfAudioBitRates, cfAudioBitRate}};
constexpr CatField CatVideoFields[] = {cfVideoCodec, cfWidth,       cfHeight,      cfKeep,
                                       cfFrameRate,  cfVideoBitRate, cfVideoCodecs, cfResolutions,
                                       cfFrameRates, cfVideoBitRates};

const char* const CatProfileTitles[] = {"Common Video", "Web", "Mobile", "Audio"};

std::vector<std::string> CatSplit(const std::string& S, const std::string& Sep) {
  std::vector<std::string> Parts;
  size_t Start = 0;
  for (;;) {
    const size_t P = S.find(Sep, Start);
    Parts.push_back(S.substr(Start, P == std::string::npos ? std::string::npos : P - Start));
    if (P == std::string::npos) return Parts;
    Start = P + Sep.size();
  }
}

bool CatIsNumber(const std::string& S) {
  if (S.empty() || S.size() > 9) return false;
  for (char C : S)
    if (C < '0' || C > '9') return false;
  return true;
}

struct CatRowError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

void CatRequire(bool Ok, const std::string& What) {
  if (!Ok) throw CatRowError(What);
}

void CatCheckText(const std::string& V) {
  for (unsigned char C : V) {
    CatRequire(C != '"', "a value holds a double quote");
    CatRequire(C >= 0x20 && C < 0x7F, "a value holds a character outside printable ASCII");
  }
}

void CatCheckSize(const std::string& W, const std::string& H) {
  CatRequire(CatIsNumber(W) && CatIsNumber(H), "the frame size is not two integers");
  const int X = std::stoi(W), Y = std::stoi(H);
  CatRequire(X % 2 == 0 && Y % 2 == 0, "the frame size " + W + "*" + H + " is odd");
  CatRequire(X >= 64 && X <= 1920 && Y >= 64 && Y <= 1280,
             "the frame size " + W + "*" + H + " is out of 64..1920 x 64..1280");
}

// Values of a choice list; every item is value$label.
std::vector<std::string> CatChoiceValues(const std::string& List, const char* Key) {
  std::vector<std::string> Values;
  if (List.empty()) return Values;
  for (const std::string& Item : CatSplit(List, ",")) {
    const std::vector<std::string> VL = CatSplit(Item, "$");
    CatRequire(VL.size() == 2 && !VL[0].empty() && !VL[1].empty(),
               std::string(Key) + " item \"" + Item + "\" is not value$label");
    Values.push_back(VL[0]);
  }
  return Values;
}

void CatCheckFormat(const std::array<std::string, CatalogueFieldCount>& F,
                    const std::set<std::string>& ProfileIDs) {
  for (const std::string& V : F) CatCheckText(V);
  CatRequire(ProfileIDs.count(F[cfID]) == 1, "id \"" + F[cfID] + "\" names no profile");
  CatRequire(!F[cfName].empty() && !F[cfIcon].empty(), "name or icon is empty");
  CatRequire(F[cfExt].size() > 1 && F[cfExt][0] == '.', "format_ext does not start with a dot");
  for (CatField N : {cfChannel, cfSampleRate, cfAudioBitRate})
    CatRequire(CatIsNumber(F[N]), std::string(CatalogueKeys[N]) + " is not an integer");
  const bool Audio = F[cfAudioFormat] == "1";
  if (Audio) {
    CatRequire(!F[cfAudioCodec].empty(), "an audio row names no audio codec");
    for (CatField V : CatVideoFields)
      CatRequire(F[V].empty(), std::string("an audio row fills ") + CatalogueKeys[V]);
  } else {
    CatRequire(F[cfAudioFormat] == "0", "audio_format is neither 0 nor 1");
    CatRequire(!F[cfVideoCodec].empty(), "a video row names no video codec");
    CatRequire(!F[cfAudioCodec].empty() || F[cfExtra].find("an=1") != std::string::npos,
               "a video row with sound names no audio codec");
    CatCheckSize(F[cfWidth], F[cfHeight]);
    for (CatField N : {cfFrameRate, cfVideoBitRate})
      CatRequire(CatIsNumber(F[N]), std::string(CatalogueKeys[N]) + " is not an integer");
    const std::vector<std::string> Sizes = CatChoiceValues(F[cfResolutions], "resolutions=");
    bool OwnSize = false;
    for (const std::string& Item : CatSplit(F[cfResolutions], ",")) {
      const std::vector<std::string> VL = CatSplit(Item, "$");
      CatRequire(VL[0] == VL[1], "resolutions item \"" + Item + "\" is not W*H$W*H");
      const std::vector<std::string> WH = CatSplit(VL[0], "*");
      CatRequire(WH.size() == 2, "resolutions item \"" + Item + "\" is not W*H$W*H");
      CatCheckSize(WH[0], WH[1]);
      OwnSize = OwnSize || VL[0] == F[cfWidth] + "*" + F[cfHeight];
    }
    CatRequire(OwnSize, "resolutions does not offer the format's own size");
  }
  for (const CatChoice& C : CatChoices) {
    if (F[C.Own].empty()) continue;
    const std::vector<std::string> Values = CatChoiceValues(F[C.List], CatalogueKeys[C.List]);
    bool Found = false;
    for (const std::string& V : Values) Found = Found || V == F[C.Own];
    CatRequire(Found, std::string(CatalogueKeys[C.List]) + " does not offer \"" + F[C.Own] + "\"");
  }
  if (!F[cfExtra].empty())
    for (const std::string& Option : CatSplit(F[cfExtra], "<CRLF>"))
      CatRequire(Option.find('=') != std::string::npos && Option.front() != '=',
                 "extra_param option \"" + Option + "\" is not key=value");
}

// One format line; every key's first occurrence on the line must be its own attribute.
std::string CatFormatLine(const std::array<std::string, CatalogueFieldCount>& F) {
  std::string Line = "<format";
  std::array<size_t, CatalogueFieldCount> At{};
  for (int I = 0; I < CatalogueFieldCount; ++I) {
    const std::string Key = CatalogueKeys[I];
    if (Key.front() != ' ') Line += ' ';
    At[I] = Line.size();
    Line += Key + "\"" + F[I] + "\"";
  }
  Line += " />";
  for (int I = 0; I < CatalogueFieldCount; ++I)
    CatRequire(Line.find(std::string(CatalogueKeys[I]) + "\"") == At[I],
               std::string("key ") + CatalogueKeys[I] + " is found earlier on the line");
  return Line;
}

void CatWriteFile(const std::string& FileName, const std::string& Bytes) {
  std::ofstream Out(FileName, std::ios::binary | std::ios::trunc);
  Out.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
  if (!Out) throw std::runtime_error("cannot write " + FileName);
}

// A 24 x 24 icon: a rounded tile in the icon's own hue with a white mark of its kind.
void CatWriteIcon(const std::string& FileName, const std::string& Name, char Kind) {
  unsigned Hash = 2166136261u;
  for (char C : Name) Hash = (Hash ^ static_cast<unsigned char>(C)) * 16777619u;
  static const Colour Hues[] = {0x00B5651E, 0x002F8F2F, 0x001E69D2, 0x00A0307E,
                                0x000080C0, 0x00505050, 0x00C06030, 0x002A2AA5};
  const Colour Tile = Hues[Hash % (sizeof(Hues) / sizeof(Hues[0]))];
  const Colour Ink = 0x00FFFFFF;
  Raster R(24, 24, 0x00FFFFFF);
  R.FillRoundRect(1, 1, 23, 23, 4, Tile);
  switch (Kind) {
    case 'a':  // a note
      R.FillEllipse(9, 16, 3.5, 2.8, Ink);
      R.Line(12, 16, 12, 6, 1.6, Ink);
      R.Line(12, 6, 17, 8, 1.6, Ink);
      break;
    case 'p':  // a stack of pages
      for (int I = 0; I < 3; ++I) R.FillRect(TRect{6 + I * 2, 6 + I * 2, 14 + I * 2, 14 + I * 2}, I == 2 ? Ink : Mix(Tile, Ink, 0.5));
      break;
    default:  // a film frame
      R.FillRect(TRect{5, 7, 19, 17}, Ink);
      R.FillRect(TRect{7, 9, 17, 15}, Tile);
      for (int X = 6; X < 19; X += 3) {
        R.FillRect(TRect{X, 7, X + 1, 8}, Tile);
        R.FillRect(TRect{X, 16, X + 1, 17}, Tile);
      }
  }
  R.ToBitmap()->SaveToFile(FileName);
}

}  // namespace

CatalogueTable ReadCatalogueTable(const std::string& FileName) {
  std::ifstream In(FileName);
  if (!In) throw std::runtime_error("cannot read " + FileName);
  CatalogueTable Table;
  std::set<std::string> ProfileIDs;
  bool KeysSeen = false;
  std::string Line;
  for (int LineNo = 1; std::getline(In, Line); ++LineNo) {
    if (!Line.empty() && Line.back() == '\r') Line.pop_back();
    if (Line.empty() || Line[0] == '#') continue;
    try {
      std::vector<std::string> Cols = CatSplit(Line, "|");
      const std::string Kind = Cols[0];
      Cols.erase(Cols.begin());
      if (Kind == "profile") {
        CatRequire(Cols.size() == 3, "a profile row has not 3 columns");
        for (const std::string& V : Cols) CatCheckText(V);
        const size_t N = Table.Profiles.size();
        CatRequire(N < std::size(CatProfileTitles) && Cols[1] == CatProfileTitles[N],
                   "profile title \"" + Cols[1] + "\" out of place");
        CatRequire(Cols[0] != "0" && !Cols[0].empty() && ProfileIDs.insert(Cols[0]).second,
                   "profile id \"" + Cols[0] + "\" is empty, 0 or taken");
        Table.Profiles.push_back({Cols[0], Cols[1], Cols[2]});
      } else if (Kind == "keys") {
        CatRequire(Cols.size() == CatalogueFieldCount, "the keys row has not 25 columns");
        for (int I = 0; I < CatalogueFieldCount; ++I)
          CatRequire(Cols[I] + "=" == CatalogueKeys[I], "key \"" + Cols[I] + "\" out of order");
        KeysSeen = true;
      } else if (Kind == "format") {
        CatRequire(KeysSeen, "a format row before the keys row");
        CatRequire(Cols.size() == CatalogueFieldCount, "a format row has not 25 columns");
        std::array<std::string, CatalogueFieldCount> F;
        std::copy(Cols.begin(), Cols.end(), F.begin());
        CatCheckFormat(F, ProfileIDs);
        CatFormatLine(F);
        Table.Formats.push_back(F);
      } else {
        CatRequire(false, "unknown row kind \"" + Kind + "\"");
      }
    } catch (const CatRowError& E) {
      throw std::runtime_error(FileName + ":" + std::to_string(LineNo) + ": " + E.what());
    }
  }
  if (Table.Profiles.size() != std::size(CatProfileTitles) || Table.Formats.empty())
    throw std::runtime_error(FileName + ": profiles or formats are missing");
  return Table;
}

void WriteCatalogue(const CatalogueTable& Table, const std::string& Folder) {
  namespace fs = std::filesystem;
  fs::create_directories(fs::path(Folder) / "Icons");
  const std::string CRLF = "\r\n";

  std::string Profiles = "<?xml version=\"1.0\" encoding=\"us-ascii\"?>" + CRLF +
                         "<profiles height=\"470\">" + CRLF + "<profile>" + CRLF;
  for (const CatalogueProfile& P : Table.Profiles)
    Profiles += "  <category id=\"" + P.ID + "\" title=\"" + P.Title + "\" icon=\"" + P.Icon +
                "\" />" + CRLF;
  Profiles += "</profile>" + CRLF + "</profiles>" + CRLF;
  CatWriteFile(Folder + "/Profiles.dat", Profiles);

  std::string Formats = "<?xml version=\"1.0\" encoding=\"us-ascii\"?>" + CRLF + "<formats>" +
                        CRLF + "<list>" + CRLF;
  for (const auto& F : Table.Formats) Formats += CatFormatLine(F) + CRLF;
  Formats += "</list>" + CRLF + "</formats>" + CRLF;
  for (char& C : Formats) C = static_cast<char>(~static_cast<unsigned char>(C));
  CatWriteFile(Folder + "/Formats.dat", Formats);

  const std::string Icons = Folder + "/Icons/";
  CatWriteIcon(Icons + "menuall.bmp", "menuall", 'p');
  for (const CatalogueProfile& P : Table.Profiles) CatWriteIcon(Icons + P.Icon + ".bmp", P.Icon, 'p');
  for (const auto& F : Table.Formats)
    CatWriteIcon(Icons + F[cfIcon] + ".bmp", F[cfIcon], F[cfAudioFormat] == "1" ? 'a' : 'v');
}

}  // namespace vantrel::skingen
