// TBevel, TShape, TImage and TPanel: painting and the few rules of each.
#include "platform/ui/ExtCtrls.h"

#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/ui/Controls_WinApi.h"
#include "platform/win/DrawText.h"
#include "platform/win/SysColors.h"

// --- TBevel --------------------------------------------------------------------------------

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TCanvas* C = Canvas();
  C->Pen()->SetStyle(psSolid);
  C->Pen()->SetMode(pmCopy);
  C->Pen()->SetWidth(1);
  C->Brush()->SetStyle(bsSolid);
  TColor Color1 = FStyle == bsLowered ? clBtnShadow : clBtnHighlight;
  TColor Color2 = FStyle == bsLowered ? clBtnHighlight : clBtnShadow;
  // Color1 along the left and top edges, Color2 along the right and bottom ones; each
  // polyline leaves out its last point.
  const auto BevelRect = [&](const TRect& R) {
    C->Pen()->SetColor(Color1);
    C->Polyline({{R.Left, R.Bottom}, {R.Left, R.Top}, {R.Right, R.Top}});
    C->Pen()->SetColor(Color2);
    C->Polyline({{R.Right, R.Top}, {R.Right, R.Bottom}, {R.Left, R.Bottom}});
  };
  const auto BevelLine = [&](TColor Color, Integer X1, Integer Y1, Integer X2, Integer Y2) {
    C->Pen()->SetColor(Color);
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
  };
  const Integer W = Width();
  const Integer H = Height();
  switch (FShape) {
    case bsBox:
      BevelRect(Rect(0, 0, W - 1, H - 1));
      break;
    case bsFrame: {
      const TColor Temp = Color1;
      Color1 = Color2;
      BevelRect(Rect(1, 1, W - 1, H - 1));
      Color2 = Temp;
      Color1 = Temp;
      BevelRect(Rect(0, 0, W - 2, H - 2));
      break;
    }
    case bsTopLine:
      BevelLine(Color1, 0, 0, W, 0);
      BevelLine(Color2, 0, 1, W, 1);
      break;
    case bsBottomLine:
      BevelLine(Color1, 0, H - 2, W, H - 2);
      BevelLine(Color2, 0, H - 1, W, H - 1);
      break;
    case bsLeftLine:
      BevelLine(Color1, 0, 0, 0, H);
      BevelLine(Color2, 1, 0, 1, H);
      break;
    case bsRightLine:
      BevelLine(Color1, W - 2, 0, W - 2, H);
      BevelLine(Color2, W - 1, 0, W - 1, H);
      break;
    case bsSpacer:
      break;
  }
}

// --- TShape --------------------------------------------------------------------------------

TShape::TShape(TComponent* AOwner)
    : TGraphicControl(AOwner), FPen(std::make_unique<TPen>()), FBrush(std::make_unique<TBrush>()) {
  ControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 65, 65);
  FPen->OnChange = [this](TObject*) { Invalidate(); };
  FBrush->OnChange = [this](TObject*) { Invalidate(); };
}

void TShape::SetShape(TShapeType Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TShape::Paint() {
  TCanvas* C = Canvas();
  C->SetPen(FPen.get());
  C->SetBrush(FBrush.get());
  const Integer PenWidth = FPen->Width();
  Integer X = PenWidth / 2;
  Integer Y = X;
  Integer W = Width() - PenWidth + 1;
  Integer H = Height() - PenWidth + 1;
  if (PenWidth == 0) {
    --W;
    --H;
  }
  const Integer S = std::min(W, H);
  if (FShape == stSquare || FShape == stRoundSquare || FShape == stCircle) {
    X += (W - S) / 2;
    Y += (H - S) / 2;
    W = S;
    H = S;
  }
  switch (FShape) {
    case stRectangle:
    case stSquare: C->Rectangle(X, Y, X + W, Y + H); break;
    case stRoundRect:
    case stRoundSquare: C->RoundRect(X, Y, X + W, Y + H, S / 4, S / 4); break;
    case stEllipse:
    case stCircle: C->Ellipse(X, Y, X + W, Y + H); break;
  }
}

// --- TImage --------------------------------------------------------------------------------

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner), FPicture(std::make_unique<TPicture>()) {
  ControlStyle.Include(csReplicatable);
  FPicture->OnChange = [this](TObject* Sender) { PictureChanged(Sender); };
  SetBounds(0, 0, 105, 105);
}

TImage::~TImage() { FPicture->OnChange = nullptr; }

TCanvas* TImage::Canvas() {
  if (!FPicture->Graphic()) {
    auto Bitmap = CreateOwned<TBitmap>();
    Bitmap->SetSize(Width(), Height());
    FPicture->SetGraphic(Bitmap.get());
  }
  auto* Bitmap = dynamic_cast<TBitmap*>(FPicture->Graphic());
  if (!Bitmap) throw EInvalidOperation("Can only modify an image if it contains a bitmap");
  return Bitmap->Canvas();
}

void TImage::SetCenter(Boolean Value) {
  if (FCenter == Value) return;
  FCenter = Value;
  PictureChanged(this);
}

void TImage::SetStretch(Boolean Value) {
  if (FStretch == Value) return;
  FStretch = Value;
  PictureChanged(this);
}

void TImage::SetTransparent(Boolean Value) {
  if (FTransparent == Value) return;
  FTransparent = Value;
  PictureChanged(this);
}

TRect TImage::DestRect() {
  Integer W = FPicture->Width();
  Integer H = FPicture->Height();
  const TRect C = ClientRect();
  const Integer CW = C.Right - C.Left;
  const Integer CH = C.Bottom - C.Top;
  if (FStretch) {
    W = CW;
    H = CH;
  }
  TRect R = Rect(0, 0, W, H);
  if (FCenter) OffsetRect(&R, (CW - W) / 2, (CH - H) / 2);
  return R;
}

Boolean TImage::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  if (FPicture->Width() > 0 && FPicture->Height() > 0) {
    if (Align() == alNone || Align() == alLeft || Align() == alRight) NewWidth = FPicture->Width();
    if (Align() == alNone || Align() == alTop || Align() == alBottom) NewHeight = FPicture->Height();
  }
  return true;
}

void TImage::PictureChanged(TObject*) {
  if (AutoSize()) AdjustSize();
  TGraphic* G = FPicture->Graphic();
  if (G) {
    if (!dynamic_cast<TIcon*>(G)) G->SetTransparent(FTransparent);
    const TRect D = DestRect();
    // An opaque picture that covers the whole control hides what lies behind it.
    if (!G->Transparent() && D.Left <= 0 && D.Top <= 0 && D.Right >= Width() && D.Bottom >= Height())
      ControlStyle.Include(csOpaque);
    else
      ControlStyle.Exclude(csOpaque);
  } else {
    ControlStyle.Exclude(csOpaque);
  }
  if (!FDrawing) Invalidate();
}

void TImage::Paint() {
  TGraphic* G = FPicture->Graphic();
  if (!G || G->Empty()) return;
  FDrawing = true;
  try {
    TGraphicControl::Canvas()->StretchDraw(DestRect(), G);
  } catch (...) {
    FDrawing = false;
    throw;
  }
  FDrawing = false;
}

// --- TCustomPanel --------------------------------------------------------------------------

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                  csOpaque,          csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBorderWidth(Integer Value) {
  if (Value < 0) throw ERangeError(Format("Border width out of range (%d)", {Value}));
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  Realign();
  Invalidate();
}

void TCustomPanel::AdjustClientRect(TRect& Rect) {
  TCustomControl::AdjustClientRect(Rect);
  InflateRect(&Rect, -FBorderWidth, -FBorderWidth);
}

void TCustomPanel::Paint() {
  TCanvas* C = Canvas();
  const TRect Client = ClientRect();
  C->Brush()->SetColor(Color());
  C->Brush()->SetStyle(bsSolid);
  C->FillRect(Client);
  const String Text = Caption();
  if (Text.empty()) return;
  TRect R = Client;
  InflateRect(&R, -FBorderWidth, -FBorderWidth);
  C->Brush()->SetStyle(bsClear);
  C->SetFont(Font());
  constexpr UINT Alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  DrawText(C->Handle(), Text, -1, &R,
           DT_EXPANDTABS | DT_SINGLELINE | DT_VCENTER | Alignments[FAlignment]);
}

void TCustomPanel::CMTextChanged(TWMNoParams& Message) {
  TCustomControl::CMTextChanged(Message);
  Invalidate();
}
