// The skin library's utility unit: rectangle and point tests, integer minimum and maximum,
// Windows version tests, the screen and monitor areas, a screen grab, and the optional
// layered-window, monitor and composition entry points resolved once at start-up.
#pragma once

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"
#include "platform/ui/Controls.h"
#include "platform/win/Gdi.h"
#include "platform/win/SysColors.h"
#include "platform/win/WinTypes.h"

class TBitmap;
class TCanvas;
class TCustomImageList;
class TPngImage;
class TspBitmap;

// How the client part of a 9-part image is stretched: both ways, to the client height
// and repeated across, or to the client width and repeated downward.
enum TspStretchType : Byte { spstFull, spstHorz, spstVert };

// Where a glyph stands relative to its caption.
enum TspButtonLayout : Byte { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

// Rectangles and points. Width and height trap 32-bit overflow (EIntOverflow).
Integer RectWidth(const TRect& R);
Integer RectHeight(const TRect& R);
Boolean IsNullRect(const TRect& R);
TRect NullRect();
Boolean IsSameRect(const TRect& R1, const TRect& R2);
Boolean IsNullPoint(const TPoint& P);
// Right and bottom edges included.
Boolean IsPointInRect(const TRect& R, const TPoint& P);
// Both corners of Inner inside Outer by PtInRect (Outer's right and bottom excluded).
Boolean RectInRect(const TRect& Inner, const TRect& Outer);
inline Integer IntMax(Integer A, Integer B) { return A > B ? A : B; }
inline Integer IntMin(Integer A, Integer B) { return A < B ? A : B; }

// Windows version tests over GetVersion (major = lowest byte, minor = next byte).
void ReadWindowsVersion(Integer& Major, Integer& Minor);
Boolean IsWin2000OrLater();
Boolean IsXPOrLater();
Boolean IsVistaOrLater();
Boolean IsWindows7();

// Screen, monitors and windows.
Boolean IsMultiMonitor();
void GetScreenArea(Boolean WorkArea, TRect& R);
void GetMonitorArea(HWND Wnd, Boolean WorkArea, TRect& R);
void CopyScreenToBitmap(Integer X, Integer Y, TBitmap* Bitmap);
Boolean IsDwmCompositionEnabled();
void SetDwmTransitions(HWND Wnd, Boolean Enabled);
void SetWindowBlurBehind(HWND Wnd, Boolean Enable, HRGN Region);

// ---------------------------------------------------------------------------------------
// Skin-image composition. Pieces are rectangles of Source relative to R's top-left corner;
// Dest is resized by each routine (except CreateStretchSkinImage), stretched pieces pick
// the nearest pixel and tiled runs cut their last tile at the run's end.

void CreateHSkinImage(Integer LeftOffset, Integer RightOffset, TBitmap* Dest, TBitmap* Source,
                      const TRect& R, Integer AWidth, Integer AHeight, Boolean AStretch);
void CreateHSkinImageNoRight(Integer LeftOffset, Integer RightOffset, TBitmap* Dest,
                             TBitmap* Source, const TRect& R, Integer AWidth, Integer AHeight,
                             Boolean AStretch);
void CreateHSkinImageMiddle(Integer LeftOffset, Integer RightOffset, TBitmap* Dest,
                            TBitmap* Source, const TRect& R, Integer AWidth, Integer AHeight,
                            Boolean AStretch);
void CreateVSkinImage(Integer TopOffset, Integer BottomOffset, TBitmap* Dest, TBitmap* Source,
                      const TRect& R, Integer AWidth, Integer AHeight, Boolean AStretch);
void CreateSkinImage(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                     TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                     TRect NewClRect, TBitmap* Dest, TBitmap* Source, const TRect& R, Integer AW,
                     Integer AH, Boolean DrawClient, Boolean LeftStretch, Boolean TopStretch,
                     Boolean RightStretch, Boolean BottomStretch, Boolean StretchEffect,
                     TspStretchType StretchType);
// The same operation under its second name.
void CreateSkinImage2(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint, TRect ClRect,
                      TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint, TPoint NewRBPoint,
                      TRect NewClRect, TBitmap* Dest, TBitmap* Source, const TRect& R, Integer AW,
                      Integer AH, Boolean DrawClient, Boolean LeftStretch, Boolean TopStretch,
                      Boolean RightStretch, Boolean BottomStretch, Boolean StretchEffect,
                      TspStretchType StretchType);
// Without the right band: top and bottom edges and the client part run to AW.
void CreateSkinImageNoRight(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                            TRect ClRect, TPoint NewLTPoint, TPoint NewRTPoint,
                            TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect, TBitmap* Dest,
                            TBitmap* Source, const TRect& R, Integer AW, Integer AH,
                            Boolean DrawClient, Boolean LeftStretch, Boolean TopStretch,
                            Boolean RightStretch, Boolean BottomStretch, Boolean StretchEffect,
                            TspStretchType StretchType);
// A 9-part image at Dest's current size, corners at ClRect's corners, everything stretched.
void CreateStretchSkinImage(TBitmap* Dest, TBitmap* Source, const TRect& R, const TRect& ClRect,
                            Boolean DrawClient);
void CreateSkinClientImage(TRect ClRect, TRect NewClRect, TBitmap* Dest, TBitmap* Source,
                           const TRect& R, Integer AW, Integer AH, Boolean StretchEffect,
                           TspStretchType StretchType);
// The four border strips of an AW x AH frame, each with its own origin at (0, 0). A strip
// the call does not produce is left as it was.
void CreateSkinBorderStrips(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                            TRect ClRect, TPoint NewLTPoint, TPoint NewRTPoint,
                            TPoint NewLBPoint, TPoint NewRBPoint, TRect NewClRect,
                            TBitmap* LeftB, TBitmap* TopB, TBitmap* RightB, TBitmap* BottomB,
                            TBitmap* Source, const TRect& R, Integer AW, Integer AH,
                            Boolean LeftStretch, Boolean TopStretch, Boolean RightStretch,
                            Boolean BottomStretch);

// ---------------------------------------------------------------------------------------
// Window regions from mask pictures: black pixels belong to the shape.

// A 24-bit top-down copy of a bitmap with a table of row starts; a pixel is three bytes
// blue, green, red.
class TFBitmap : public TObject {
  VANTREL_CLASS(TFBitmap)
  explicit TFBitmap(HBITMAP HBmp);
  ~TFBitmap() override;

  Byte* Bits = nullptr;
  std::vector<Byte*> Pixels;  // Pixels[y] = Bits + y * RowInc
  Integer Gap = 0;
  Integer RowInc = 0;
  Integer Size = 0;
  Integer Width = 0;
  Integer Height = 0;
  HBITMAP Handle = nullptr;
  HDC hDC = nullptr;
  BITMAPINFO bmInfo{};
  BITMAPINFOHEADER bmHeader{};

 private:
  HGDIOBJ FOldBitmap = nullptr;
};

// Region data (a RGNDATA block) owned by the caller.
struct TRegionDataDeleter {
  void operator()(RGNDATA* Data) const { std::free(Data); }
};
using TRegionData = std::unique_ptr<RGNDATA, TRegionDataDeleter>;

// One rectangle per maximal horizontal run of black pixels, rows top to bottom, moved by
// the offsets; the bound is the mask's rectangle moved the same way. Returns the size of
// Data in bytes; 0 for an empty mask, Data then untouched.
Integer BuildMaskRegionData(TBitmap* Mask, Integer OffsetX, Integer OffsetY, TRegionData& Data);
// Rgn := the region of the mask's black pixels (0 for an empty mask).
void CreateRegionFromMask(HRGN& Rgn, TBitmap* Mask);
void CreateSkinMaskStrips(TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                          TRect MaskRectArea, TPoint NewLTPoint, TPoint NewRTPoint,
                          TPoint NewLBPoint, TPoint NewRBPoint, TRect NewMaskRectArea,
                          TBitmap* Mask, TBitmap* RMTop, TBitmap* RMLeft, TBitmap* RMRight,
                          TBitmap* RMBottom, Integer AW, Integer AH);
// Rgn := NewMaskRectArea joined with the black pixels of the mask's border strips fitted
// to AW x AH; 0 for crossed new corner points or an empty NewMaskRectArea. The previous
// Rgn is overwritten, not deleted.
void CreateSkinRegion(HRGN& Rgn, TPoint LTPoint, TPoint RTPoint, TPoint LBPoint, TPoint RBPoint,
                      TRect MaskRectArea, TPoint NewLTPoint, TPoint NewRTPoint, TPoint NewLBPoint,
                      TPoint NewRBPoint, TRect NewMaskRectArea, TBitmap* Mask, Integer AW,
                      Integer AH);

// ---------------------------------------------------------------------------------------
// Glyph, caption and text drawing.

void CalcGlyphAndTextLayout(TspButtonLayout Layout, const TRect& R, Integer GlyphWidth,
                            Integer GlyphHeight, Integer TextWidth, Integer TextHeight,
                            Integer Spacing, Integer Margin, Integer& TextX, Integer& TextY,
                            Integer& GlyphX, Integer& GlyphY);
void DrawImageAndText(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                      TspButtonLayout Layout, const String& Caption, Integer ImageIndex,
                      TCustomImageList* ImageList, Boolean ADown, Boolean AEnabled,
                      Boolean ADrawColorMarker, TColor AColorMarkerValue);
void DrawGlyphAndText(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                      TspButtonLayout Layout, const String& Caption, TBitmap* Glyph,
                      Integer NumGlyphs, Integer GlyphNum, Boolean ADown, Boolean ADrawColorMarker,
                      TColor AColorMarkerValue);
void DrawImageAndTextGlow(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                          TspButtonLayout Layout, const String& Caption, Integer ImageIndex,
                          TCustomImageList* ImageList, Boolean ADown, Boolean AEnabled,
                          Boolean ADrawColorMarker, TColor AColorMarkerValue, TColor GlowColor,
                          Integer GlowSize);
void DrawGlyphAndTextGlow(TCanvas* Canvas, const TRect& R, Integer Margin, Integer Spacing,
                          TspButtonLayout Layout, const String& Caption, TBitmap* Glyph,
                          Integer NumGlyphs, Integer GlyphNum, Boolean ADown,
                          Boolean ADrawColorMarker, TColor AColorMarkerValue, TColor GlowColor,
                          Integer GlowSize);
// Glyph GlyphNum (1-based) of a strip of NumGlyphs, drawn with its bottom-left pixel's
// colour transparent.
void DrawGlyph(TCanvas* Canvas, Integer X, Integer Y, TBitmap* Glyph, Integer NumGlyphs,
               Integer GlyphNum);
// S cut to the longest prefix that fits Width with "..." appended ("..." alone when none).
void FitTextToWidth(TCanvas* Canvas, String& S, Integer Width);
void FitWideTextToWidth(TCanvas* Canvas, WideString& S, Integer Width);
// DrawTextW with the canvas's font; the text height (with DT_CALCRECT R gets the extent).
Integer DrawWideText(TCanvas* Canvas, const WideString& Text, TRect& R, Cardinal Flags);
Integer WideTextWidth(TCanvas* Canvas, const WideString& Text);
Integer WideTextHeight(TCanvas* Canvas, const WideString& Text);
void DrawSingleLineText(TCanvas* Canvas, const String& S, const TRect& R);
void DrawVCenteredText(TCanvas* Canvas, const String& S, const TRect& R);
void DrawVCenteredTextAt(TCanvas* Canvas, const String& S, const TRect& R, Integer Offset);

// ---------------------------------------------------------------------------------------
// Glow, halo and reflection text; silhouettes and alpha images.

COLORREF DarkerColor(TColor Color, Byte Percent);
// Dest := Image with its alpha from Mask's grey levels.
void MakeAlphaBitmap(TBitmap* Image, TBitmap* Mask, TspBitmap* Dest);
// Red silhouettes at (Offset, Offset) of the bitmap, for the glow behind images.
void DrawImageGlowMask(TspBitmap* Bitmap, TCustomImageList* ImageList, Integer Index,
                       Integer Offset);
void DrawGlyphGlowMask(TspBitmap* Bitmap, TBitmap* Glyph, Integer Offset);
void DrawPngGlowMask(TspBitmap* Bitmap, TPngImage* Png, Integer Offset);
void AssignPngToBitmap(TspBitmap* Bitmap, TPngImage* Png);
void DrawGlowText(TCanvas* Canvas, const TRect& R, const String& Text, Integer Flags,
                  Integer Offset, TColor GlowColor, Integer GlowSize);
void DrawThickGlowText(TCanvas* Canvas, const TRect& R, const String& Text, Integer Flags,
                       Integer Offset, TColor GlowColor, Integer GlowSize);
Integer DrawGlowTextW(TCanvas* Canvas, const TRect& R, const WideString& Text, Integer Flags,
                      Integer Offset, TColor GlowColor, Integer GlowSize);
Integer DrawWideHaloText(TCanvas* Canvas, const TRect& R, const WideString& Text, Integer Flags,
                         TColor GlowColor);
Integer DrawNarrowHaloText(TCanvas* Canvas, const TRect& R, const WideString& Text,
                           Integer Flags, TColor GlowColor);
void DrawReflectionText(TCanvas* Canvas, const TRect& R, const String& Text, Integer Flags,
                        Integer Gap, TColor ReflectionColor);
Integer DrawReflectionTextW(TCanvas* Canvas, const TRect& R, const WideString& Text,
                            Integer Flags, Integer Gap, TColor ReflectionColor);

namespace vantrel::skin {

// The end ellipsis of FitTextToWidth with widths from Measure.
void FitToWidth(String& S, Integer Width, const std::function<Integer(const String&)>& Measure);

// The fading factor of row I of a reflection whose text spans rows Top..Bottom: 0.7 -
// (Bottom - (I - Top)) / (Bottom - Top) as a single, raised to at least MinFactor.
Single ReflectionFactor(Integer I, Integer Top, Integer Bottom, Single MinFactor);

// The source of the version tests; GetVersion of the platform by default. Tests replace
// it to see other Windows versions; nullptr restores the default.
using TVersionProvider = DWORD (*)();
void SetVersionProviderForTest(TVersionProvider Provider);

}  // namespace vantrel::skin

// ---------------------------------------------------------------------------------------
// Windows and controls (SPUtils_Windows.cpp).

class TControl;
class TWinControl;

// Paints into Canvas, at Control's own coordinates, what lies under Control: its parent's
// background and content (clipped to the parent's client area) and the visible windowless
// controls that come before Control in the parent's list and overlap it.
void CopyParentImage(TControl* Control, TCanvas* Canvas);
// A constant alpha for a layered window.
void SetLayeredAlpha(HWND Wnd, Integer Alpha);
// Bitmap (premultiplied alpha) with a constant Alpha on top becomes the contents of
// Control's layered window, placed at (Control.Left, Control.Top) in the bitmap's size.
void ShowLayeredBitmap(TspBitmap* Bitmap, Byte Alpha, TWinControl* Control);

// ---------------------------------------------------------------------------------------
// Focus dots, frames, arrows, marks and caption-button glyphs drawn from lines with the
// canvas's pen (SPUtils_Frames.cpp). Each sets the pen colour (and the brush where noted)
// and leaves the pen's other properties as they are. Arrow directions: 1 left, 2 right,
// 3 up, 4 down; any other value draws nothing. Arrows centre on (Left + width div 2,
// Top + height div 2).

// Every other pixel along the inside of R in the font colour.
void DrawSkinFocusRect(TCanvas* Canvas, const TRect& R);
// Left column and top row in TopColor; right column and bottom row in BottomColor.
void Draw3DFrame(TCanvas* Canvas, const TRect& R, TColor TopColor, TColor BottomColor);
// Four lines of 1, 3, 5 and 7 pixels.
void DrawArrow(TCanvas* Canvas, const TRect& R, TColor Color, Integer Direction);
// Three lines of 1, 3 and 5 pixels.
void DrawSmallArrow(TCanvas* Canvas, const TRect& R, TColor Color, Integer Direction);
// A small down arrow whose wide line lies on the centre row.
void DrawDropDownArrow(TCanvas* Canvas, const TRect& R, TColor Color);
// A check mark three lines thick; a 6 x 6 radio dot (solid brush in Color).
void DrawCheckImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRadioImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
// Caption-button glyphs in a cell of about 11 x 10 pixels at (X, Y).
void DrawCloseImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawSysMenuImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMinimizeImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMaximizeImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRestoreImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRollUpImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawRollDownImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);
void DrawMinimizeToTrayImage(TCanvas* Canvas, Integer X, Integer Y, TColor Color);

// ---------------------------------------------------------------------------------------
// A picture with per-pixel alpha in a top-level window of its own above the others, faded
// in (SPUtils_LayerManager.cpp). GUI thread only.

class TTimer;

// The layer's window: a pop-up without taskbar button that lets the mouse through and
// never becomes active.
class TspLayerWindow : public TCustomControl {
  VANTREL_CLASS(TspLayerWindow)
  explicit TspLayerWindow(TComponent* AOwner);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void WndProc(TMessage& Message) override;
};

// Shows a picture with alpha from a grey-level mask at a screen position and fades it in
// over ten 25 ms steps; one layer at a time.
class TspLayerManager : public TComponent {
  VANTREL_CLASS(TspLayerManager)
  explicit TspLayerManager(TComponent* AOwner);
  ~TspLayerManager() override;
  // Frees the timer, then the window and the picture.
  void BeforeDestruction() override;

  // Shows AImage at (X, Y), its alpha from AImageMask's grey levels, and starts the fade
  // to AAlphaBlendValue; a layer already shown is hidden first. Nothing without both
  // pictures.
  void Show(Integer X, Integer Y, TBitmap* AImage, TBitmap* AImageMask, Integer AAlphaBlendValue);
  // Stops the fade and removes the window.
  void Hide();
  void StartTimer();
  void StopTimer();

  TspLayerWindow* LayerWindow = nullptr;  // owned
  TOwned<TspBitmap> Bmp;
  TTimer* Timer = nullptr;  // owned; the fade step
  Integer EndAlphaBlendValue = 0;
  Integer BeginAlphaBlendValue = 0;
  Integer StepAlphaBlendValue = 0;
  Boolean IsVisible = false;
  Boolean TopMostMode = true;

 private:
  void FadeStep(TObject* Sender);
};
