// The skin builder: one geometry for every skin skingen writes (the descriptors, their
// rectangles and the frame), painted by a look. The default look paints the calm light
// theme; the test looks paint each piece in flat colours of SkinGenSpec.h.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "skin/core/data/SkinData.h"
#include "tools/skingen/SkinGenDraw.h"
#include "tools/skingen/SkinGenSpec.h"

namespace vantrel::skingen {

// What a piece shows.
enum class Surface {
  Face,    // push button
  Flat,    // tool button: only hover and down show a face
  Field,   // edit frame
  Panel,   // panel, group box, list frame
  Plain,   // the ground of labels and check boxes
  Groove,  // gauge and track-bar bed
  Track,   // scroll-bar track
  Bar,     // progress bar
  Thumb,   // scroll-bar thumb
  Knob,    // track-bar thumb
  Item,    // list, combo and menu items
  Header,  // grid fixed cells, list captions
  Tab,
  Mark,           // check box mark
  Radio,          // radio mark
  Glyph,          // a glyph on the key colour
  TrackPart,      // the drop-down part of a menu button, laid over the button's face
  CaptionButton,  // caption buttons of the frame
  CloseButton,
  StatusBar,
  Divider,
  Window,  // the frame, popup and hint pictures
};

enum class Mood { Normal, Hover, Down, Focus, Disabled };

enum class Glyph {
  None,
  Up,
  Down,
  Left,
  Right,
  Check,
  Dot,
  Grayed,
  Close,
  Max,
  Restore,
  Min,
  SysMenu,
  Grip,
  Marker,
  Ellipsis  // three dots: the button opens a dialog
};

struct PieceStyle {
  Surface Surf = Surface::Plain;
  Mood State = Mood::Normal;
  Glyph Mark = Glyph::None;
  bool Checked = false;
  bool Inactive = false;  // the frame of an inactive form
};

// The fixed border of a piece (columns and rows kept when it is resized).
struct Insets {
  int L = 0;
  int T = 0;
  int R = 0;
  int B = 0;
};

inline Insets EvenInsets(int C) { return Insets{C, C, C, C}; }
inline Insets HEnds(int E) { return Insets{E, 0, E, 0}; }
inline Insets VEnds(int E) { return Insets{0, E, 0, E}; }

class SkinLook {
 public:
  virtual ~SkinLook() = default;
  virtual const SkinSizes& Sizes() const = 0;
  virtual bool IsTest() const = 0;
  // Paints image Key of descriptor (or picture) Owner into Where of Target.
  virtual void Paint(Raster& Target, const TRect& Where, const Insets& Fixed,
                     std::string_view Owner, std::string_view Key, const PieceStyle& S) = 0;
  // Text colour Key of Owner; Theme is the default skin's choice.
  virtual Colour Font(std::string_view Owner, std::string_view Key, Colour Theme) const = 0;
  // The ten [SKINCOLORS] values.
  virtual std::array<Colour, 10> SystemColours() const = 0;
  // Whether the skin holds name Name, and with which kind (empty: the name's own).
  virtual bool Holds(std::string_view Name) const { return !Name.empty(); }
  virtual std::string KindOf(std::string_view /*Name*/, std::string_view Own) const {
    return std::string(Own);
  }
};

// A picture of the skin's list in the making.
struct ListPicture {
  std::string Name;
  std::unique_ptr<Raster> Pixels;
};

class SkinBuilder {
 public:
  SkinBuilder(TspSkinData& AData, SkinLook& ALook);

  TspSkinData& Data() { return FData; }
  SkinLook& Look() { return FLook; }
  const SkinSizes& Sizes() const { return FLook.Sizes(); }

  // Index of the controls picture, which every control descriptor draws from.
  int AtlasIndex() const { return 0; }
  // A free rectangle of W x H in the controls picture.
  TRect Place(int W, int H);
  // Places and paints an image; returns where it lies.
  TRect Image(std::string_view Owner, std::string_view Key, int W, int H, const Insets& Fixed,
              const PieceStyle& S);
  // Paints an image at a given place of picture Index.
  void PaintAt(int Index, const TRect& Where, std::string_view Owner, std::string_view Key,
               const Insets& Fixed, const PieceStyle& S);
  // Appends a picture to the skin's list; returns its index.
  int AddPicture(const std::string& Name, std::unique_ptr<Raster> Pixels);
  Raster& Picture(int Index) { return *FPictures[static_cast<size_t>(Index)].Pixels; }

  // Adds a descriptor unless the look leaves it out; the look may give another kind.
  TspDataSkinControl* AddControl(std::string_view Name, std::string_view Kind);
  TspDataSkinObject* AddObject(std::string_view Name, std::string_view Kind);

  // Moves the picture list into the skin data.
  void Finish();

 private:
  TspSkinData& FData;
  SkinLook& FLook;
  std::vector<ListPicture> FPictures;
  // Rows of the controls picture: top, height, first free column.
  struct Shelf {
    int Y;
    int Height;
    int X;
  };
  std::vector<Shelf> FShelves;
};

// Fills Data with every descriptor and the frame of a complete skin.
void BuildCompleteSkin(SkinBuilder& B);
// The frame's geometry and pictures, its caption, caption buttons and menu objects, and
// the popup and hint windows.
void BuildFrame(SkinBuilder& B);

// Writes the skin folder Folder (created when missing) from Data; the folder holds
// nothing but what the skin names.
void WriteSkinFolder(TspSkinData& Data, const std::string& Folder);

// The outputs.
void WriteDefaultSkin(const std::string& Folder);
void WriteTestSkin(const std::string& Folder, bool Alt);
void WriteAppPictures(const std::string& Folder);
// The application's mark, as the caption's system-menu button shows it: a rounded accent
// square of half size K around (CX, CY) with a white play triangle.
void DrawAppMark(Raster& T, double CX, double CY, double K, bool Crisp);
// A .cur file of CursorSize x CursorSize: a black arrow with a white outline.
void WriteCursorFile(const std::string& FileName);

}  // namespace vantrel::skingen
