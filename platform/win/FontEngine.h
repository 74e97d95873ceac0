// Font faces for the raster core's text: a font request (family, height, weight, slant)
// is matched through fontconfig to a font file, opened with FreeType at the pixel size
// the request maps to, and glyph advances and coverage bitmaps are cached per face and
// size, so measuring the same text again costs only table look-ups.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

struct FT_FaceRec_;

namespace vantrel::win {

// What a LOGFONT asks of the engine. Height follows the LOGFONT rule: > 0 is the cell
// height (ascent + descent), < 0 the character height (the em size in pixels), 0 the
// default size. Width 0 keeps the face's own proportions; > 0 asks for that average
// character width.
struct FontRequest {
  std::string Face;
  int Height = 0;
  int Width = 0;
  int Weight = 400;
  bool Italic = false;
  uint8_t PitchAndFamily = 0;
  friend bool operator==(const FontRequest&, const FontRequest&) = default;
};

// A font file found for a request.
struct FontMatch {
  std::string File;
  int Index = 0;
  std::string Family;
  bool Embolden = false;  // the request is bold but the file is not: embolden outlines
  bool Oblique = false;   // the request is italic but the file is upright: slant outlines
};

// Vertical metrics in pixels at one size, rounded as the text metrics report them.
struct FaceMetrics {
  int Ascent = 0;
  int Descent = 0;
  int Height = 0;  // Ascent + Descent: the cell height and the line height
  int InternalLeading = 0;
  int ExternalLeading = 0;
  int AveCharWidth = 0;
  int MaxCharWidth = 0;
  int UnderlinePosition = 0;  // pixels below the baseline to the underline's top row
  int UnderlineThickness = 1;
  int StrikeoutPosition = 0;  // pixels above the baseline to the strike-out's top row
  int StrikeoutThickness = 1;
  int Weight = 400;
  bool Italic = false;
  bool FixedPitch = false;
  char32_t FirstChar = 0x20;
  char32_t LastChar = 0xFFFD;
};

// The coverage image of one glyph, 8 bits a pixel, placed relative to the pen on the
// baseline: its top-left pixel is at (pen.x + Left, baseline - Top).
struct GlyphImage {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Rows = 0;
  std::vector<uint8_t> Coverage;  // Rows x Width, row-major, top row first
};

// One font file at one pixel size (and synthetic style). Thread-safe: one lock guards
// the FreeType face and the glyph caches; cached entries are never changed once made,
// so references handed out stay valid for the face's lifetime.
class FontFace {
 public:
  // CellHeight > 0 fixes ascent + descent to that many pixels (a positive LOGFONT
  // height); 0 takes them from the design metrics at PixelHeight.
  FontFace(const FontMatch& Match, int PixelHeight, int PixelWidth, int CellHeight);
  ~FontFace();
  FontFace(const FontFace&) = delete;
  FontFace& operator=(const FontFace&) = delete;

  const FontMatch& Match() const { return FMatch; }
  int PixelSize() const { return FPixelHeight; }
  int PixelWidth() const { return FPixelWidth; }
  const FaceMetrics& Metrics() const { return FMetrics; }

  // Hinted advance of a code point in whole pixels (what the pen moves, no kerning).
  int Advance(char32_t Cp);
  // The coverage image of a code point (empty for blanks).
  const GlyphImage& Glyph(char32_t Cp);

 private:
  // Loads the glyph of a printable code point into the face's slot; false when there is
  // nothing to load (control characters) or FreeType fails.
  bool LoadGlyph(char32_t Cp);

  std::shared_ptr<void> FLibrary;  // keeps FreeType alive as long as any face
  FontMatch FMatch;
  int FPixelHeight;
  int FPixelWidth;
  FaceMetrics FMetrics;
  std::mutex FLock;  // guards FFace and both caches
  FT_FaceRec_* FFace = nullptr;
  std::unordered_map<char32_t, int> FAdvances;
  std::unordered_map<char32_t, GlyphImage> FGlyphs;
};

// The face's vertical design metrics in font units, as the height mapping reads them.
struct DesignMetrics {
  int UnitsPerEm = 2048;
  int CellAscent = 0;   // usWinAscent of the OS/2 table (the hhea ascender without one)
  int CellDescent = 0;  // usWinDescent (minus the hhea descender without one)
  int LineGap = 0;      // hhea line gap
  int AvgCharWidth = 0;
};

// Process-wide engine: one FreeType library, one fontconfig configuration, the match
// cache and the faces by file and size.
class FontEngine {
 public:
  static FontEngine& Instance();
  ~FontEngine();

  // The family the request's face name stands for here ("Arial" -> "Liberation Sans",
  // "Tahoma" and "MS Sans Serif" -> "DejaVu Sans", ...); other names pass unchanged.
  static std::string SubstituteFamily(const std::string& Face, uint8_t PitchAndFamily);

  FontMatch MatchFont(const FontRequest& Request);
  // The em size in pixels a LOGFONT height maps to for a face (see FontEngine.cpp).
  int PixelSizeForHeight(const FontMatch& Match, int Height);
  std::shared_ptr<FontFace> Face(const FontRequest& Request);

 private:
  FontEngine();
  friend class FontFace;
  struct Impl;
  std::unique_ptr<Impl> FImpl;
};

}  // namespace vantrel::win
