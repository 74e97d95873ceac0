// The class library's simple graphic controls: TBevel (a 3-D box, frame or line),
// TShape (a rectangle, square, rounded one, ellipse or circle with its pen and brush),
// TImage (a picture, stretched or centred at will) and TPanel (a container with a
// caption). The timer is in Timers.h.
#pragma once

#include <memory>

#include "platform/ui/Controls.h"
#include "platform/ui/Graphics.h"
#include "platform/ui/StdCtrls.h"

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

// Lowered: the dark colour (clBtnShadow) on the left and top edges, the light one
// (clBtnHighlight) on the right and bottom; raised the other way round.
class TBevel : public TGraphicControl {
  VANTREL_CLASS(TBevel)
  explicit TBevel(TComponent* AOwner);

  TBevelShape Shape() const { return FShape; }
  void SetShape(TBevelShape Value);
  TBevelStyle Style() const { return FStyle; }
  void SetStyle(TBevelStyle Value);

 protected:
  void Paint() override;

 private:
  TBevelShape FShape = bsBox;
  TBevelStyle FStyle = bsLowered;
};

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
  VANTREL_CLASS(TShape)
  explicit TShape(TComponent* AOwner);

  TBrush* Brush() const { return FBrush.get(); }
  void SetBrush(TBrush* Value) { FBrush->Assign(Value); }
  TPen* Pen() const { return FPen.get(); }
  void SetPen(TPen* Value) { FPen->Assign(Value); }
  TShapeType Shape() const { return FShape; }
  void SetShape(TShapeType Value);

 protected:
  void Paint() override;

 private:
  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  TShapeType FShape = stRectangle;
};

class TImage : public TGraphicControl {
  VANTREL_CLASS(TImage)
  explicit TImage(TComponent* AOwner);
  ~TImage() override;

  TPicture* Picture() const { return FPicture.get(); }
  void SetPicture(TPicture* Value) { FPicture->Assign(Value); }
  // The picture's bitmap canvas; an empty picture becomes a white bitmap of the image's
  // size first. Raises EInvalidOperation when the picture holds another kind of graphic.
  TCanvas* Canvas();
  Boolean Center() const { return FCenter; }
  void SetCenter(Boolean Value);
  Boolean Stretch() const { return FStretch; }
  void SetStretch(Boolean Value);
  // Drawn with the graphic's transparent colour left out (icons are always so).
  Boolean Transparent() const { return FTransparent; }
  void SetTransparent(Boolean Value);
  // Where the picture goes in the client area.
  TRect DestRect();
  Boolean CanAutoSize(Integer& NewWidth, Integer& NewHeight) override;

 protected:
  void Paint() override;
  virtual void PictureChanged(TObject* Sender);

 private:
  std::unique_ptr<TPicture> FPicture;
  Boolean FCenter = false;
  Boolean FStretch = false;
  Boolean FTransparent = false;
  Boolean FDrawing = false;
};

// A container that fills itself with Color and shows its caption; BorderWidth keeps the
// aligned children off its edges.
class TCustomPanel : public TCustomControl {
  VANTREL_CLASS(TCustomPanel)
  explicit TCustomPanel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  Integer BorderWidth() const { return FBorderWidth; }
  // A negative width raises ERangeError.
  void SetBorderWidth(Integer Value);
  void AdjustClientRect(TRect& Rect) override;

 protected:
  void Paint() override;
  void CMTextChanged(TWMNoParams& Message) override;

 private:
  TAlignment FAlignment = taCenter;
  Integer FBorderWidth = 0;
};

class TPanel : public TCustomPanel {
  VANTREL_CLASS(TPanel)
  explicit TPanel(TComponent* AOwner) : TCustomPanel(AOwner) {}
};
