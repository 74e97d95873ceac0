// What skingen makes, by name: the folders, the palette of the default skin, the sizes of
// the two test skins, the names every complete skin holds and the colour of each piece of
// a test skin. skingen paints from these and the tests check against them, so a colour or
// a size lives here once.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace vantrel::skingen {

// 0x00BBGGRR, the layout of the skin's colour values.
using Colour = int32_t;
constexpr Colour Rgb(int R, int G, int B) { return R | (G << 8) | (B << 16); }
constexpr int RedOf(Colour C) { return C & 0xFF; }
constexpr int GreenOf(Colour C) { return (C >> 8) & 0xFF; }
constexpr int BlueOf(Colour C) { return (C >> 16) & 0xFF; }

inline constexpr const char* DefaultSkinFolder = "skin-laconic";
inline constexpr const char* TestSkinFolder = "skin-test";
inline constexpr const char* TestSkinAltFolder = "skin-test-alt";
inline constexpr const char* SkinIniName = "skin.ini";
// Where a descriptor names a transparent colour, the pixels to drop have this one.
inline constexpr Colour KeyColour = Rgb(255, 0, 255);

inline constexpr const char* SkinFontName = "Arial";
inline constexpr int SkinFontHeight = 14;

// ---- The default skin's palette ---------------------------------------------------------

namespace palette {
inline constexpr Colour Face = Rgb(247, 248, 250);
inline constexpr Colour FaceHover = Rgb(237, 240, 244);
inline constexpr Colour FaceDown = Rgb(223, 228, 235);
inline constexpr Colour FaceDisabled = Rgb(243, 244, 246);
inline constexpr Colour Window = Rgb(255, 255, 255);
inline constexpr Colour Panel = Rgb(241, 243, 246);
inline constexpr Colour StatusBar = Rgb(232, 235, 239);
inline constexpr Colour Groove = Rgb(226, 230, 236);
inline constexpr Colour Border = Rgb(203, 208, 215);
inline constexpr Colour BorderStrong = Rgb(160, 168, 180);
inline constexpr Colour BorderDisabled = Rgb(216, 220, 226);
inline constexpr Colour Accent = Rgb(37, 99, 235);
inline constexpr Colour AccentDark = Rgb(29, 78, 216);
inline constexpr Colour AccentSoft = Rgb(219, 232, 254);
// The current row of a white table: stands out from the white rows, black text stays readable.
inline constexpr Colour RowCurrent = Rgb(90, 135, 215);
inline constexpr Colour Text = Rgb(31, 41, 55);
inline constexpr Colour TextMuted = Rgb(148, 155, 166);
inline constexpr Colour TextOnAccent = Rgb(255, 255, 255);
inline constexpr Colour Glyph = Rgb(75, 85, 99);
inline constexpr Colour Caption = Rgb(51, 65, 85);
inline constexpr Colour CaptionInactive = Rgb(71, 85, 105);
inline constexpr Colour CaptionHover = Rgb(86, 101, 124);
inline constexpr Colour CaptionDown = Rgb(30, 41, 59);
inline constexpr Colour CaptionText = Rgb(255, 255, 255);
inline constexpr Colour CaptionTextInactive = Rgb(226, 232, 240);
inline constexpr Colour CloseHover = Rgb(220, 38, 38);
inline constexpr Colour CloseDown = Rgb(185, 28, 28);
inline constexpr Colour Shadow = Rgb(148, 163, 184);
}  // namespace palette

// ---- Sizes -------------------------------------------------------------------------------

// The geometry of one skin's pictures. The default skin and skin-test share MainSizes;
// skin-test-alt has sizes of its own, so a test sees a control take the new skin's size.
struct SkinSizes {
  int FrameWidth;  // design size of the frame picture
  int FrameHeight;
  int CaptionHeight;  // also the top of the client rectangle
  int BorderWidth;    // left, right and bottom frame border
  int MenuHeight;     // the frame's main-menu band
  int CaptionButton;  // width of a caption button (as high as the caption)
  int IconSize;       // the system-menu icon
  int LeftCorner;     // width of the frame's fixed left-top piece
  int ButtonWidth;    // push buttons and their kin
  int ButtonHeight;
  int Corner;      // fixed border of nine-part control pictures
  int ToolButton;  // tool buttons are square
  int BigToolButton;
  int Mark;        // check and radio marks
  int CheckWidth;  // check box and radio box pictures
  int CheckHeight;
  int EditWidth;
  int EditHeight;
  int ScrollSize;  // thickness of scroll bars, arrow buttons are square
  int ScrollLength;
  int ThumbLength;
  int GaugeWidth;
  int GaugeHeight;
  int TrackLength;
  int TrackThickness;
  int TrackThumbWidth;
  int TrackThumbHeight;
  int PanelSize;   // panels, group boxes, lists: square pictures
  int ItemHeight;  // list, combo and menu items
  int ItemWidth;
  int TabWidth;
  int TabHeight;
  int UpDownWidth;
  int GlowMargin;  // the glow picture extends the button by this on every side
};

// clang-format off
inline constexpr SkinSizes MainSizes{
    .FrameWidth = 400,
    .FrameHeight = 300,
    .CaptionHeight = 30,
    .BorderWidth = 4,
    .MenuHeight = 22,
    .CaptionButton = 34,
    .IconSize = 16,
    .LeftCorner = 120,
    .ButtonWidth = 75,
    .ButtonHeight = 25,
    .Corner = 4,
    .ToolButton = 24,
    .BigToolButton = 48,
    .Mark = 13,
    .CheckWidth = 120,
    .CheckHeight = 20,
    .EditWidth = 120,
    .EditHeight = 23,
    .ScrollSize = 16,
    .ScrollLength = 80,
    .ThumbLength = 24,
    .GaugeWidth = 160,
    .GaugeHeight = 16,
    .TrackLength = 120,
    .TrackThickness = 22,
    .TrackThumbWidth = 11,
    .TrackThumbHeight = 18,
    .PanelSize = 60,
    .ItemHeight = 20,
    .ItemWidth = 120,
    .TabWidth = 80,
    .TabHeight = 26,
    .UpDownWidth = 16,
    .GlowMargin = 6,
};
inline constexpr SkinSizes AltSizes{
    .FrameWidth = 420,
    .FrameHeight = 320,
    .CaptionHeight = 26,
    .BorderWidth = 5,
    .MenuHeight = 20,
    .CaptionButton = 30,
    .IconSize = 14,
    .LeftCorner = 110,
    .ButtonWidth = 81,
    .ButtonHeight = 27,
    .Corner = 5,
    .ToolButton = 26,
    .BigToolButton = 50,
    .Mark = 15,
    .CheckWidth = 126,
    .CheckHeight = 22,
    .EditWidth = 130,
    .EditHeight = 25,
    .ScrollSize = 18,
    .ScrollLength = 90,
    .ThumbLength = 28,
    .GaugeWidth = 170,
    .GaugeHeight = 18,
    .TrackLength = 130,
    .TrackThickness = 24,
    .TrackThumbWidth = 13,
    .TrackThumbHeight = 20,
    .PanelSize = 64,
    .ItemHeight = 22,
    .ItemWidth = 130,
    .TabWidth = 84,
    .TabHeight = 28,
    .UpDownWidth = 18,
    .GlowMargin = 7,
};
// clang-format on

// Opacity (0-255) of the button glow where it meets the button; it fades outwards.
inline constexpr int GlowStrength = 112;

// Resize-mode test pictures and the other extras of skin-test.
inline constexpr int AnimationFrames = 3;
inline constexpr int AnimationInterval = 40;
inline constexpr int MaskCut = 4;   // corners cut off the masked fixed picture
inline constexpr int TestRing = 2;  // ring of a fixed test picture
inline constexpr int StartCursorIndex = 1;
inline constexpr const char* CursorFileName = "pointer.cur";
inline constexpr int CursorSize = 32;
inline constexpr int CursorHotSpotX = 1;
inline constexpr int CursorHotSpotY = 1;

// ---- Names ------------------------------------------------------------------------------

struct SkinName {
  const char* Name;
  const char* Kind;
  bool Control;  // [SKINCONTROLS]; else [SKINOBJECTS]
};

// Every descriptor of a complete skin, with its kind.
inline constexpr std::array<SkinName, 61> CompleteSkinNames{{
    {"button", "button", true},
    {"resizebutton", "button", true},
    {"resizetoolbutton", "button", true},
    {"toolbutton", "button", true},
    {"bigtoolbutton", "button", true},
    {"combobutton", "button", true},
    {"editbutton", "button", true},
    {"officequickbutton", "button", true},
    {"htracktoolbutton", "button", true},
    {"vtracktoolbutton", "button", true},
    {"menuitembutton", "button", true},
    {"toolmenubutton", "menubutton", true},
    {"toolmenutrackbutton", "menubutton", true},
    {"bigtoolmenubutton", "menubutton", true},
    {"bigtoolmenutrackbutton", "menubutton", true},
    {"checkbox", "checkradio", true},
    {"radiobox", "checkradio", true},
    {"gauge", "gauge", true},
    {"vgauge", "gauge", true},
    {"htrackbar", "trackbar", true},
    {"trackbar", "trackbar", true},
    {"hscrollbar", "scrollbar", true},
    {"vscrollbar", "scrollbar", true},
    {"bothhscrollbar", "scrollbar", true},
    {"panel", "panel", true},
    {"groupbox", "panel", true},
    {"statusbar", "panel", true},
    {"toolpanel", "panel", true},
    {"resizetoolpanel", "panel", true},
    {"bigtoolpanel", "panel", true},
    {"label", "label", true},
    {"menuheader", "label", true},
    {"stdlabel", "stdlabel", true},
    {"bevel", "bevel", true},
    {"edit", "edit", true},
    {"buttonedit", "edit", true},
    {"tooledit", "edit", true},
    {"memo", "memo", true},
    {"hupdown", "updown", true},
    {"vupdown", "updown", true},
    {"spinedit", "spinedit", true},
    {"treeview", "treeview", true},
    {"listview", "listview", true},
    {"listbox", "listbox", true},
    {"captionlistbox", "listbox", true},
    {"combobox", "combobox", true},
    {"grid", "grid", true},
    {"tab", "tab", true},
    {"mainmenubar", "mainmenubar", true},
    {"caption", "caption", false},
    {"closebutton", "stdbutton", false},
    {"maxbutton", "stdbutton", false},
    {"minbutton", "stdbutton", false},
    {"sysmenubutton", "stdbutton", false},
    {"MAINMENUITEM", "mainmenuitem", false},
    {"menuitem", "menuitem", false},
    {"mainmenubaritem", "mainmenubaritem", false},
    {"mdiclosebutton", "mainmenubarbutton", false},
    {"mdimaxbutton", "mainmenubarbutton", false},
    {"mdiminbutton", "mainmenubarbutton", false},
    {"mdisysmenubutton", "mainmenubarbutton", false},
}};

// The extras of both test skins: one panel per resize mode, an animated button, a panel with
// the skin's cursor.
inline constexpr const char* NinePartPanel = "ninepartpanel";
inline constexpr const char* HStripPanel = "hstrippanel";
inline constexpr const char* VStripPanel = "vstrippanel";
inline constexpr const char* FixedPanel = "fixedpanel";
inline constexpr const char* MaskedPanel = "maskedpanel";
inline constexpr const char* EmptyPanel = "emptypanel";
inline constexpr const char* AnimatedButton = "animatedbutton";
inline constexpr const char* CursorPanel = "cursorpanel";
inline constexpr std::array<SkinName, 8> TestExtraNames{{
    {NinePartPanel, "panel", true},
    {HStripPanel, "panel", true},
    {VStripPanel, "panel", true},
    {FixedPanel, "panel", true},
    {MaskedPanel, "panel", true},
    {EmptyPanel, "panel", true},
    {AnimatedButton, "button", true},
    {CursorPanel, "panel", true},
}};

// skin-test-alt lacks these names and holds "groupbox" as a label.
inline constexpr std::array<const char*, 3> AltMissingNames{{"toolbutton", "memo", "vgauge"}};
inline constexpr SkinName AltOtherKind{"groupbox", "label", true};

// Names of whole pictures (not descriptors) for the colour table.
inline constexpr const char* FramePictureName = "frame";
inline constexpr const char* InactiveFramePictureName = "inactiveframe";
inline constexpr const char* RollUpPictureName = "rollupframe";
inline constexpr const char* PopupPictureName = "popupwindow";
inline constexpr const char* HintPictureName = "hintwindow";
inline constexpr const char* GlowPictureName = "glow";
inline constexpr const char* BackgroundPictureName = "background";

// Rectangle keys that place something inside a picture rather than naming an image.
inline constexpr std::array<const char*, 26> PlacementKeys{{"clientrect",
                                                            "checkimagearea",
                                                            "textarea",
                                                            "progressarea",
                                                            "trackarea",
                                                            "itemtextrect",
                                                            "textrect",
                                                            "celltextrect",
                                                            "fixedcelltextrect",
                                                            "frametextrect",
                                                            "imagerect",
                                                            "itemsrect",
                                                            "buttonsarea",
                                                            "captionrect",
                                                            "itemcheckrect",
                                                            "borderrect",
                                                            "buttonsrect",
                                                            "sysmenubuttonrect",
                                                            "intersectblurmaskrect",
                                                            "excludeblurmaskrect",
                                                            "rollhcaptionrect",
                                                            "rollvcaptionrect",
                                                            "maskrectarea",
                                                            "mainmenurect",
                                                            "iconrect",
                                                            "sizegriparea"}};

inline bool IsPlacementKey(std::string_view Key) {
  for (const char* K : PlacementKeys)
    if (Key == K) return true;
  return false;
}

// Keys that place a piece inside the control's own picture in scroll bars while they name
// an image elsewhere: a scroll bar's arrow buttons sit in the ends of its picture.
inline bool IsScrollBarPlacementKey(std::string_view Key) {
  return Key == "upbuttonrect" || Key == "downbuttonrect" || IsPlacementKey(Key);
}

// Keys that place the buttons of spin and button edits inside the control's own picture:
// their normal look is part of the face.
inline bool IsSpinEditPlacementKey(std::string_view Key) {
  return Key == "upbuttonrect" || Key == "downbuttonrect" || IsPlacementKey(Key);
}
inline bool IsEditPlacementKey(std::string_view Key) { return Key == "buttonrect" || IsPlacementKey(Key); }
// The track part of a menu button lies inside the button's own picture: its looks are part
// of each state picture.
inline bool IsMenuButtonPlacementKey(std::string_view Key) {
  return Key == "trackbuttonrect" || IsPlacementKey(Key);
}

// Every image key a skin of skingen fills, and "picture" for a whole picture.
inline constexpr std::array<const char*, 68> ImageKeys{{"picture",
                                                        "skinrect",
                                                        "activeskinrect",
                                                        "downskinrect",
                                                        "focusedskinrect",
                                                        "disabledskinrect",
                                                        "animateskinrect",
                                                        "menumarkerflatrect",
                                                        "menumarkerrect",
                                                        "menumarkeractiverect",
                                                        "menumarkerdownrect",
                                                        "trackbuttonrect",
                                                        "checkimagerect",
                                                        "uncheckimagerect",
                                                        "activecheckimagerect",
                                                        "activeuncheckimagerect",
                                                        "unenabledcheckimagerect",
                                                        "unenableduncheckimagerect",
                                                        "grayedcheckimagerect",
                                                        "activegrayedcheckimagerect",
                                                        "progressrect",
                                                        "animationskinrect",
                                                        "progressanimationskinrect",
                                                        "buttonrect",
                                                        "activebuttonrect",
                                                        "downbuttonrect",
                                                        "unenabledbuttonrect",
                                                        "upbuttonrect",
                                                        "activeupbuttonrect",
                                                        "downupbuttonrect",
                                                        "activedownbuttonrect",
                                                        "downdownbuttonrect",
                                                        "thumbrect",
                                                        "activethumbrect",
                                                        "downthumbrect",
                                                        "glyphrect",
                                                        "activeglyphrect",
                                                        "downglyphrect",
                                                        "itemrect",
                                                        "activeitemrect",
                                                        "focusitemrect",
                                                        "checkbuttonrect",
                                                        "activecheckbuttonrect",
                                                        "downcheckbuttonrect",
                                                        "disabledbuttonsrect",
                                                        "tabrect",
                                                        "activetabrect",
                                                        "focustabrect",
                                                        "mouseintabrect",
                                                        "tabsbgrect",
                                                        "closebuttonrect",
                                                        "closebuttonactiverect",
                                                        "closebuttondownrect",
                                                        "fixedcellrect",
                                                        "selectcellrect",
                                                        "focuscellrect",
                                                        "downrect",
                                                        "disableskinrsect",
                                                        "inactiveskinrect",
                                                        "restorerect",
                                                        "restoreactiverect",
                                                        "restoredownrect",
                                                        "dividerrect",
                                                        "gripperrect",
                                                        "radioimagerect",
                                                        "activeradioimagerect",
                                                        "arrowimagerect",
                                                        "activearrowimagerect"}};

// Font colour keys; each gets a colour of its own per descriptor in the test skins.
inline constexpr std::array<const char*, 12> FontColourKeys{
    {"fontcolor", "activefontcolor", "downfontcolor", "disabledfontcolor", "unenabledfontcolor",
     "unenabledfontColor", "framefontcolor", "focusfontcolor", "mouseinfontcolor",
     "selectfontcolor", "fixedfontcolor", "captionfontcolor"}};

namespace detail {
template <size_t N>
int IndexIn(const std::array<const char*, N>& Table, std::string_view Key) {
  for (size_t i = 0; i < N; ++i)
    if (Key == Table[i]) return static_cast<int>(i);
  return -1;
}
inline int NameIndex(std::string_view Name) {
  int i = 0;
  for (const SkinName& N : CompleteSkinNames) {
    if (Name == N.Name) return i;
    ++i;
  }
  for (const SkinName& N : TestExtraNames) {
    if (Name == N.Name) return i;
    ++i;
  }
  for (const char* P :
       {FramePictureName, InactiveFramePictureName, RollUpPictureName, PopupPictureName,
        HintPictureName, GlowPictureName, BackgroundPictureName}) {
    if (Name == P) return i;
    ++i;
  }
  return -1;
}
[[noreturn]] inline void UnknownPiece(std::string_view Name, std::string_view Key) {
  throw std::logic_error("skingen: no test colour for " + std::string(Name) + "." +
                         std::string(Key));
}
}  // namespace detail

enum class Piece { Ring, Fill };

// The colour of a piece of a test skin: the fill of image Key of descriptor (or picture)
// Name, or the ring of its fixed border pieces. No two pieces of a skin share a colour,
// and skin-test-alt (Alt) shares none with skin-test.
inline Colour TestPieceColour(bool Alt, std::string_view Name, std::string_view Key, Piece P) {
  const int N = detail::NameIndex(Name);
  const int K = detail::IndexIn(ImageKeys, Key);
  if (N < 0 || K < 0) detail::UnknownPiece(Name, Key);
  const int Blue = (Alt ? 0x40 : 0x10) + (P == Piece::Fill ? 0x80 : 0);
  return Rgb(4 + 3 * N, 4 + 3 * K, Blue);
}

// The text colour Key of descriptor Name in a test skin.
inline Colour TestFontColour(bool Alt, std::string_view Name, std::string_view Key) {
  const int N = detail::NameIndex(Name);
  const int K = detail::IndexIn(FontColourKeys, Key);
  if (N < 0 || K < 0) detail::UnknownPiece(Name, Key);
  return Rgb(4 + 3 * N, 8 + 16 * K, Alt ? 0x70 : 0x30);
}

// ---- Application pictures --------------------------------------------------------------

struct AppPicture {
  const char* Name;
  int Width;
  int Height;
};
inline constexpr std::array<AppPicture, 20> AppPictures{{{"open.png", 64, 64},
                                                         {"trim.png", 64, 64},
                                                         {"edit.png", 64, 64},
                                                         {"open_over.png", 64, 64},
                                                         {"trim_over.png", 64, 64},
                                                         {"edit_over.png", 64, 64},
                                                         {"convert.png", 90, 90},
                                                         {"convert_over.png", 90, 90},
                                                         {"play.png", 13, 13},
                                                         {"pause.png", 13, 13},
                                                         {"stop.png", 13, 13},
                                                         {"photo.png", 13, 13},
                                                         {"setstart.png", 13, 13},
                                                         {"setend.png", 13, 13},
                                                         {"playpart.png", 13, 13},
                                                         {"profilescombo.bmp", 300, 26},
                                                         {"profilescombo_over.bmp", 300, 26},
                                                         {"tablerow.bmp", 8, 20},
                                                         {"tablecolumncaptionbar.bmp", 8, 20},
                                                         {"filmicon.bmp", 18, 16}}};
inline constexpr AppPicture GettingStartedPicture{"gettingstarted.bmp", 423, 255};
inline constexpr AppPicture PreviewPicture{"preview.bmp", 250, 168};
// The program's icon: its windows, task list entry and tray icon show it.
inline constexpr AppPicture AppIconPicture{"appicon.png", 32, 32};

}  // namespace vantrel::skingen
