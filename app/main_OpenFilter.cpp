// The open dialog's filter: every supported file type, then videos, audio, one entry per
// type, and all files.
#include <algorithm>

#include "app/main.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::app {

namespace {

struct TFileTypeRow {
  const char* Name;
  const char* Patterns;
};

constexpr TFileTypeRow VideoTypes[] = {
    {"MOD files", "*.mod"},
    {"High-definition files", "*.mts; *.ts; *m2ts; *.tp"},
    {"AVI files", "*.avi"},
    {"MPEG-4 files", "*.mp4; *.m4v"},
    {"MPEG files", "*.mpg; *.mpeg"},
    {"3GP files", "*.3gp; *.3g2"},
    {"Windows Media Video", "*.wmv; *.asf"},
    {"Real Media files", "*.rm; *.rmvb"},
    {"Video CD files", "*.dat"},
    {"Quick Time files", "*.mov"},
    {"Flash Video files", "*.flv; *.f4v"},
    {"Matroska files", "*.mkv"},
    {"Digital Video files", "*.dv"},
    {"NUT files", "*.nut"},
    {"Raw h.264 video files", "*.h.264"},
    {"Nullsoft Stream Video", "*.nsv"},
    {"Video Object files", "*.vob"},
};

constexpr TFileTypeRow AudioTypes[] = {
    {"Advanced Audio Coding", "*.aac"},
    {"Dolby-digital AC-3", "*.ac3"},
    {"Monkey's Audio", "*.ape"},
    {"Digital Theater System", "*.dts"},
    {"Free Lossless Audio", "*.flac"},
    {"Matroska Audio", "*.mka"},
    {"MPEG Audio", "*.mpa"},
    {"MP2 MPEG-1 layer 2 audio", "*.mp2"},
    {"MP3 MPEG-1 layer 3 audio", "*.mp3"},
    {"MPEG-4 Audio", "*.m4a"},
    {"Musepack", "*.mpc"},
    {"OptimFROG Audio", "*.ofr"},
    {"OGG Vorbis Audio", "*.ogg"},
    {"RealAudio files", "*.ra"},
    {"The True Audio", "*.tta"},
    {"Waveform files", "*.wav"},
    {"Windows Media Audio", "*.wma"},
};

template <size_t N>
String JoinedPatterns(const TFileTypeRow (&Rows)[N]) {
  String Text;
  for (const TFileTypeRow& Row : Rows) Text += String(Row.Patterns) + ";";
  return Text;
}

template <size_t N>
String TypeEntries(const TFileTypeRow (&Rows)[N]) {
  String Text;
  for (const TFileTypeRow& Row : Rows)
    Text += "|" + String(Row.Name) + " (" + Row.Patterns + ")|" + Row.Patterns + ";";
  return Text;
}

// Types the program reads that no entry above names with a dot.
constexpr const char* ExtraSupportedExtensions[] = {".mkv", ".mts", ".m2ts"};

// "*.ext;" for each extension not yet among the patterns of Known, in their order; the
// extensions of the program's own outputs come from the catalogue's formats.
String MissingPatterns(const String& Known, const std::vector<TFormat>& Formats) {
  std::vector<String> Listed;
  for (size_t Start = 0; Start < Known.size();) {
    size_t End = Known.find(';', Start);
    if (End == String::npos) End = Known.size();
    Listed.push_back(LowerCase(Trim(Known.substr(Start, End - Start))));
    Start = End + 1;
  }
  std::vector<String> Extensions(std::begin(ExtraSupportedExtensions), std::end(ExtraSupportedExtensions));
  for (const TFormat& F : Formats) Extensions.push_back(Trim(F.FormatExt));
  String Text;
  for (const String& Ext : Extensions) {
    if (Ext.size() < 2 || Ext[0] != '.' || Ext.find_first_of("*?;|") != String::npos) continue;
    const String Pattern = "*" + LowerCase(Ext);
    if (std::find(Listed.begin(), Listed.end(), Pattern) != Listed.end()) continue;
    Listed.push_back(Pattern);
    Text += Pattern + ";";
  }
  return Text;
}

}  // namespace

String BuildOpenDialogFilter(const std::vector<TFormat>& CatalogueFormats) {
  const String Known = JoinedPatterns(VideoTypes) + JoinedPatterns(AudioTypes);
  return "All Supported Formats|" + Known + MissingPatterns(Known, CatalogueFormats) + "|Video Formats|" +
         JoinedPatterns(VideoTypes) + "|Audio Formats|" + JoinedPatterns(AudioTypes) + TypeEntries(VideoTypes) +
         TypeEntries(AudioTypes) + "|All Files (*)|*";
}

}  // namespace vantrel::app
