// The format catalogue of the main window's unit: icons, profiles, formats and the
// distribution of the formats to the profiles.
#include "app/Decryptor.h"
#include "app/main.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileUtils.h"
#include "platform/rtl/NumConv.h"
#include "platform/rtl/SysEnv.h"
#include "platform/rtl/Utf8.h"

namespace vantrel::app {

namespace {

// The attribute keys of a format line with the field each fills, in their order.
struct CatalogueAttribute {
  const char* Key;
  String TFormat::*Field;
};
const CatalogueAttribute CatalogueAttributes[] = {
    {"id=", &TFormat::Category},
    {"name=", &TFormat::Title},
    {"description=", &TFormat::Description},
    {"icon=", &TFormat::Icon},
    {"format_ext=", &TFormat::FormatExt},
    {"audio_format=", &TFormat::IsAudioFormat},
    {"video_codec_name=", &TFormat::VideoCodecName},
    {"width=", &TFormat::Width},
    {"height=", &TFormat::Height},
    {"keep_ori_frame_rate=", &TFormat::KeepOriFrameRate},
    {" frame_rate=", &TFormat::FrameRate},
    {"video_bitrate=", &TFormat::VideoBitRate},
    {"audio_codec_name=", &TFormat::AudioCodecName},
    {"sample_rate=", &TFormat::SampleRate},
    {"channel=", &TFormat::Channel},
    {"audio_bitrate=", &TFormat::AudioBitRate},
    {"extra_param=", &TFormat::ExtraParam},
    {"video_codecs=", &TFormat::VideoCodecs},
    {"resolutions=", &TFormat::Resolutions},
    {"frame_rates=", &TFormat::FrameRates},
    {"video_bitrates=", &TFormat::VideoBitRates},
    {"audio_codecs=", &TFormat::AudioCodecs},
    {"sample_rates=", &TFormat::SampleRates},
    {"channels=", &TFormat::Channels},
    {"audio_bitrates=", &TFormat::AudioBitRates},
};

// Whether Value is Own or one of the values of the choice list List (value$label items).
bool CatalogueOffers(const String& List, const String& Own, const String& Value) {
  if (Value == Own) return true;
  size_t Start = 0;
  while (Start <= List.size()) {
    size_t End = List.find(',', Start);
    if (End == String::npos) End = List.size();
    const String Item = List.substr(Start, End - Start);
    if (Item.substr(0, Item.find('$')) == Value) return true;
    Start = End + 1;
  }
  return false;
}


void ApplyLastEdited(const TMainUnitState& State, TFormat& Format) {
  const auto& V = State.LastEditedValues;
  // Saved codecs that the format does not offer belong to another catalogue: keep the format.
  if (!V[leVideoCodecName] || !V[leAudioCodecName]) return;
  if (!CatalogueOffers(Format.VideoCodecs, Format.VideoCodecName, *V[leVideoCodecName]) ||
      !CatalogueOffers(Format.AudioCodecs, Format.AudioCodecName, *V[leAudioCodecName]))
    return;
  for (int I = 0; I < LastEditedCount; ++I)
    if (V[I]) Format.*LastEditedFields[I] = *V[I];
}

}  // namespace

String CatalogueValue(const String& Line, const String& Key, Integer From, Integer* End) {
  if (End) *End = 0;
  const size_t Start = From < 1 ? 0 : static_cast<size_t>(From - 1);
  const size_t At = Line.find(Key + "\"", Start);
  if (At == String::npos) return String();
  const size_t ValueStart = At + Key.size() + 1;
  const size_t Quote = Line.find('"', ValueStart);
  if (Quote == String::npos) return String();
  if (End) *End = static_cast<Integer>(Quote + 1);
  return Line.substr(ValueStart, Quote - ValueStart);
}

void LoadProfileIcons(TMainUnitState& State, const String& Folder) {
  TSearchRec F;
  if (FindFirst(IncludeTrailingPathDelimiter(Folder) + "*.bmp", faAnyFile, F) != 0) return;
  struct CloseSearch {
    TSearchRec& R;
    ~CloseSearch() { FindClose(R); }
  } Guard{F};
  do {
    TProfileIcon Icon;
    Icon.Picture = std::make_unique<TPicture>();
    Icon.Picture->LoadFromFile(IncludeTrailingPathDelimiter(Folder) + F.Name);
    Icon.ID = F.Name.size() >= 4 ? F.Name.substr(0, F.Name.size() - 4) : String();
    State.ProfileIcons.push_back(std::move(Icon));
  } while (FindNext(F) == 0);
}

void ReadProfiles(TMainUnitState& State, const String& FileName) {
  TStringList Lines;
  Lines.LoadFromFile(FileName);
  if (Lines.Count() < 2) throw EReadError("The profile list \"" + FileName + "\" is too short");
  State.ChooserHeight = StrToInt(CatalogueValue(Lines.Get(1), "height=", 1));
  for (Integer I = 3; I < Lines.Count(); ++I) {
    const String Line = Trim(Lines.Get(I));
    if (Line.find("</profile>") != String::npos) break;
    if (Line.find("<category id=\"") == String::npos) continue;
    TProfile P;
    Integer End = 0;
    P.ID = CatalogueValue(Line, "<category id=", 1, &End);
    P.Title = CatalogueValue(Line, "title=", End, &End);
    P.Icon = CatalogueValue(Line, "icon=", End);
    State.Profiles.push_back(std::move(P));
  }
}

void AppendAllProfiles(TMainUnitState& State) {
  State.Profiles.push_back(TProfile{"All Profiles", "0", "menuall", {}});
}

void ParseFormatLine(TMainUnitState& State, const String& Line, Integer Index) {
  TFormat& Format = State.AllFormats.at(static_cast<size_t>(Index));
  for (const CatalogueAttribute& A : CatalogueAttributes)
    Format.*A.Field = CatalogueValue(Line, A.Key, 1);
}

void LoadCatalogue(TMainUnitState& State, const String& Folder) {
  const String Base = IncludeTrailingPathDelimiter(Folder);
  LoadProfileIcons(State, Base + "Icons");
  try {
    ReadProfiles(State, Base + "Profiles.dat");
  } catch (const std::exception&) {
    ReportError(State, "Error loading profiles", CLM_LoadProfiles);
  }
  AppendAllProfiles(State);
  State.CatalogueStream = std::make_unique<TMemoryStream>();
  State.CatalogueLines = std::make_unique<TStringList>();
  ReadInvertedFile(Base + "Formats.dat", State.CatalogueStream, *State.CatalogueLines);
  try {
    for (Integer I = 3; I < State.CatalogueLines->Count() - 2; ++I) {
      State.AllFormats.emplace_back();
      ParseFormatLine(State, State.CatalogueLines->Get(I),
                      static_cast<Integer>(State.AllFormats.size()) - 1);
    }
  } catch (const std::exception&) {
    ReportError(State, "Error loading formats", CLM_LoadFormats);
  }
  State.CatalogueLines.reset();
  State.FormatTaken.assign(State.AllFormats.size(), false);
}

Integer FindProfileIcon(const std::vector<TProfileIcon>& Icons, const String& ID,
                        bool IgnoreCase) {
  for (size_t I = 0; I < Icons.size(); ++I)
    if (IgnoreCase ? SameText(Icons[I].ID, ID) : Icons[I].ID == ID) return static_cast<Integer>(I);
  return -1;
}

TPicture* ProfileIconPicture(const std::vector<TProfileIcon>& Icons, const String& ID) {
  const Integer Found = FindProfileIcon(Icons, ID, true);
  return Found < 0 ? nullptr : Icons[static_cast<size_t>(Found)].Picture.get();
}

void DistributeFormats(TMainUnitState& State, TMainWindowSeam& Window) {
  try {
    State.FormatTaken.resize(State.AllFormats.size(), false);
    for (size_t P = 0; P < State.Profiles.size(); ++P) {
      TProfile& Profile = State.Profiles[P];
      for (size_t F = 0; F < State.AllFormats.size(); ++F) {
        const bool Taken = (!State.FormatTaken[F] && Profile.ID == State.AllFormats[F].Category) ||
                           Profile.ID == "0";
        if (!Taken) continue;
        State.FormatTaken[F] = true;
        const Integer K = static_cast<Integer>(Profile.Formats.size());
        Profile.Formats.push_back(State.AllFormats[F]);
        TFormat& Copy = Profile.Formats.back();
        Copy.AreSettingsChanged = false;
        const Integer PI = static_cast<Integer>(P);
        if (PI == State.RecentProfileInd && K == State.RecentFormatInd) {
          State.CurrentProfileInd = PI;
          State.CurrentFormatInd = K;
          Window.ShowProfile(Copy.Title, ProfileIconPicture(State.ProfileIcons, Profile.Icon));
        }
        if (PI == State.LastEditedProfileInd && K == State.LastEditedFormatInd)
          ApplyLastEdited(State, Copy);
      }
    }
  } catch (const std::exception&) {
    ReportError(State, "Error initialising profiles", CLM_InitProfiles);
  }
}

}  // namespace vantrel::app
