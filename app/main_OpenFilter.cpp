// The open dialog's filter: every supported file type, then videos, audio, then one entry
// per type.
#include "app/main.h"

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

}  // namespace

String BuildOpenDialogFilter() {
  return "All Supported Formats|" + JoinedPatterns(VideoTypes) + JoinedPatterns(AudioTypes) + "|Video Formats|" +
         JoinedPatterns(VideoTypes) + "|Audio Formats|" + JoinedPatterns(AudioTypes) + TypeEntries(VideoTypes) +
         TypeEntries(AudioTypes);
}

}  // namespace vantrel::app
