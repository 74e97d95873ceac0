// Layout of the control bases: size constraints, AutoSize, anchors and the parent's
// alignment of its children (alTop, then alBottom, alLeft, alRight, each in the space the
// ones before left, and alClient in what remains).
#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/NumConv.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Controls_WinApi.h"

TAnchors AnchorAlign(TAlign Align) {
  switch (Align) {
    case alTop: return {akLeft, akTop, akRight};
    case alBottom: return {akLeft, akRight, akBottom};
    case alLeft: return {akLeft, akTop, akBottom};
    case alRight: return {akRight, akTop, akBottom};
    case alClient: return {akLeft, akTop, akRight, akBottom};
    default: return {akLeft, akTop};
  }
}

// --- TSizeConstraints ----------------------------------------------------------------------

namespace {

void CheckConstraint(TConstraintSize Value) {
  if (Value < 0) throw ERangeError(Format("Size constraint out of range (%d)", {Value}));
}

}  // namespace

void TSizeConstraints::Assign(TPersistent* Source) {
  auto* Other = dynamic_cast<TSizeConstraints*>(Source);
  if (!Other) {
    TPersistent::Assign(Source);
    return;
  }
  FMinHeight = Other->FMinHeight;
  FMaxHeight = Other->FMaxHeight;
  FMinWidth = Other->FMinWidth;
  FMaxWidth = Other->FMaxWidth;
  Change();
}

void TSizeConstraints::SetMaxHeight(TConstraintSize Value) {
  CheckConstraint(Value);
  if (FMaxHeight == Value) return;
  FMaxHeight = Value;
  if (Value > 0 && Value < FMinHeight) FMinHeight = Value;
  Change();
}

void TSizeConstraints::SetMaxWidth(TConstraintSize Value) {
  CheckConstraint(Value);
  if (FMaxWidth == Value) return;
  FMaxWidth = Value;
  if (Value > 0 && Value < FMinWidth) FMinWidth = Value;
  Change();
}

void TSizeConstraints::SetMinHeight(TConstraintSize Value) {
  CheckConstraint(Value);
  if (FMinHeight == Value) return;
  FMinHeight = Value;
  if (FMaxHeight > 0 && Value > FMaxHeight) FMaxHeight = Value;
  Change();
}

void TSizeConstraints::SetMinWidth(TConstraintSize Value) {
  CheckConstraint(Value);
  if (FMinWidth == Value) return;
  FMinWidth = Value;
  if (FMaxWidth > 0 && Value > FMaxWidth) FMaxWidth = Value;
  Change();
}

void TSizeConstraints::Change() {
  if (OnChange) OnChange(this);
}

// --- TControl ------------------------------------------------------------------------------

void TControl::SetAlign(TAlign Value) {
  if (FAlign == Value) {
    RequestAlign();
    return;
  }
  const TAlign Old = FAlign;
  FAlign = Value;
  SetAnchors(AnchorAlign(Value));
  // Turning between a row and a column keeps the thickness: width and height swap.
  const bool OldRow = Old == alTop || Old == alBottom;
  const bool NewColumn = Value == alLeft || Value == alRight;
  const auto Edge = [](TAlign A) { return A != alNone && A != alClient && A != alCustom; };
  if (Edge(Old) && Edge(Value) && OldRow == NewColumn)
    SetBounds(FLeft, FTop, FHeight, FWidth);
  else
    AdjustSize();
  RequestAlign();
}

void TControl::SetAnchors(TAnchors Value) {
  if (FAnchors == Value) return;
  FAnchors = Value;
  UpdateAnchorRules();
}

void TControl::SetAutoSize(Boolean Value) {
  if (FAutoSize == Value) return;
  FAutoSize = Value;
  if (Value) AdjustSize();
}

Boolean TControl::CanAutoSize(Integer&, Integer&) { return true; }

Boolean TControl::CanResize(Integer&, Integer&) { return true; }

void TControl::AdjustSize() {
  if (ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
  SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TControl::ConstraintsChanged() { AdjustSize(); }

void TControl::RequestAlign() {
  if (FParent) FParent->AlignControl(this);
}

void TControl::UpdateAnchorRules() {
  if (FAnchorMove || ComponentState().Contains(csLoading)) return;
  if (FAnchors == TAnchors{akLeft, akTop}) {
    FOriginalParentSize = {0, 0};
    return;
  }
  if (FAnchors.Contains(akRight))
    FAnchorRules.X = FAnchors.Contains(akLeft) ? FWidth : FLeft;
  else
    FAnchorRules.X = FLeft + FWidth / 2;
  if (FAnchors.Contains(akBottom))
    FAnchorRules.Y = FAnchors.Contains(akTop) ? FHeight : FTop;
  else
    FAnchorRules.Y = FTop + FHeight / 2;
  if (FParent) {
    const TRect C = FParent->ClientRect();
    FOriginalParentSize = {C.Right, C.Bottom};
  }
}

void TControl::DoConstrainedResize(Integer& NewWidth, Integer& NewHeight) {
  const TSizeConstraints& C = *FConstraints;
  if (C.MaxWidth() > 0 && NewWidth > C.MaxWidth())
    NewWidth = C.MaxWidth();
  else if (C.MinWidth() > 0 && NewWidth < C.MinWidth())
    NewWidth = C.MinWidth();
  if (C.MaxHeight() > 0 && NewHeight > C.MaxHeight())
    NewHeight = C.MaxHeight();
  else if (C.MinHeight() > 0 && NewHeight < C.MinHeight())
    NewHeight = C.MinHeight();
}

Boolean TControl::CheckNewSize(Integer& NewWidth, Integer& NewHeight) {
  const auto CanResizeTo = [this](Integer& W, Integer& H) {
    if (!CanResize(W, H)) return false;
    DoConstrainedResize(W, H);
    return true;
  };
  // An aligned control keeps the size its alignment gives in that direction.
  const auto CanAutoSizeTo = [this](Integer& W, Integer& H) {
    if (FAlign == alClient) return true;
    Integer AW = W;
    Integer AH = H;
    const Boolean Result = CanAutoSize(AW, AH);
    if (FAlign == alNone || FAlign == alLeft || FAlign == alRight) W = AW;
    if (FAlign == alNone || FAlign == alTop || FAlign == alBottom) H = AH;
    return Result;
  };
  Integer W = NewWidth;
  Integer H = NewHeight;
  if (!CanResizeTo(W, H)) return false;
  Integer W2 = W;
  Integer H2 = H;
  const Boolean Result = !FAutoSize || (CanAutoSizeTo(W2, H2) && W2 == W && H2 == H) || CanResizeTo(W2, H2);
  if (Result) {
    NewWidth = W2;
    NewHeight = H2;
  }
  return Result;
}

// --- TWinControl ---------------------------------------------------------------------------

void TWinControl::DisableAlign() { ++FAlignLevel; }

void TWinControl::EnableAlign() {
  if (FAlignLevel == 0) return;
  if (--FAlignLevel == 0 && ControlState.Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() { AlignControl(nullptr); }

void TWinControl::AlignControl(TControl* AControl) {
  if (ComponentState().Contains(csDestroying)) return;
  if (FAlignLevel != 0) {
    ControlState.Include(csAlignmentNeeded);
    return;
  }
  // Children placed here ask for alignment again; those requests are dropped.
  DisableAlign();
  try {
    TRect R = ClientRect();
    AlignControls(AControl, R);
  } catch (...) {
    ControlState.Exclude(csAlignmentNeeded);
    EnableAlign();
    throw;
  }
  ControlState.Exclude(csAlignmentNeeded);
  EnableAlign();
}

void TWinControl::AdjustClientRect(TRect&) {}

namespace {

// Whether C1 goes before C2 in the stack of their alignment.
bool InsertBefore(TControl* C1, TControl* C2, TAlign Align) {
  switch (Align) {
    case alTop: return C1->Top() < C2->Top();
    case alBottom: return C1->Top() + C1->Height() >= C2->Top() + C2->Height();
    case alLeft: return C1->Left() < C2->Left();
    case alRight: return C1->Left() + C1->Width() >= C2->Left() + C2->Width();
    default: return false;
  }
}

}  // namespace

void TWinControl::AlignControls(TControl*, TRect& Rect) {
  bool Work = false;
  for (Integer I = 0; I < ControlCount() && !Work; ++I) {
    TControl* C = Controls(I);
    Work = C->FAlign != alNone || !(C->FAnchors == TAnchors{akLeft, akTop});
  }
  if (Work) {
    AdjustClientRect(Rect);
    // Moves a control by its anchors (alNone, or anchors other than its alignment's),
    // then places an aligned one at the edge of Rect and takes its room from Rect.
    const auto DoPosition = [&](TControl* Control, TAlign Align) {
      if (Align == alNone || !(Control->FAnchors == AnchorAlign(Align))) {
        if (Control->FOriginalParentSize.X != 0 && Control->FOriginalParentSize.Y != 0) {
          Integer NewLeft = Control->FLeft;
          Integer NewTop = Control->FTop;
          Integer NewWidth = Control->FWidth;
          Integer NewHeight = Control->FHeight;
          const TRect C = ClientRect();
          const TPoint ParentSize{C.Right, C.Bottom};
          const TPoint& Original = Control->FOriginalParentSize;
          const TPoint& Rules = Control->FAnchorRules;
          const TAnchors A = Control->FAnchors;
          if (A.Contains(akRight)) {
            if (A.Contains(akLeft))
              NewWidth = ParentSize.X - (Original.X - Rules.X);
            else
              NewLeft = ParentSize.X - (Original.X - Rules.X);
          } else if (!A.Contains(akLeft)) {
            NewLeft = MulDiv(Rules.X, ParentSize.X, Original.X) - NewWidth / 2;
          }
          if (A.Contains(akBottom)) {
            if (A.Contains(akTop))
              NewHeight = ParentSize.Y - (Original.Y - Rules.Y);
            else
              NewTop = ParentSize.Y - (Original.Y - Rules.Y);
          } else if (!A.Contains(akTop)) {
            NewTop = MulDiv(Rules.Y, ParentSize.Y, Original.Y) - NewHeight / 2;
          }
          Control->FAnchorMove = true;
          try {
            Control->SetBounds(NewLeft, NewTop, NewWidth, NewHeight);
          } catch (...) {
            Control->FAnchorMove = false;
            throw;
          }
          Control->FAnchorMove = false;
        }
        if (Align == alNone) return;
      }
      Integer NewWidth = Rect.Right - Rect.Left;
      if (NewWidth < 0 || Align == alLeft || Align == alRight || Align == alCustom) NewWidth = Control->FWidth;
      Integer NewHeight = Rect.Bottom - Rect.Top;
      if (NewHeight < 0 || Align == alTop || Align == alBottom || Align == alCustom) NewHeight = Control->FHeight;
      Integer NewLeft = Rect.Left;
      Integer NewTop = Rect.Top;
      switch (Align) {
        case alTop: Rect.Top += NewHeight; break;
        case alBottom: Rect.Bottom -= NewHeight; NewTop = Rect.Bottom; break;
        case alLeft: Rect.Left += NewWidth; break;
        case alRight: Rect.Right -= NewWidth; NewLeft = Rect.Right; break;
        default: break;
      }
      if (Align == alCustom) {
        NewLeft = Control->FLeft;
        NewTop = Control->FTop;
      }
      Control->FAnchorMove = true;
      try {
        Control->SetBounds(NewLeft, NewTop, NewWidth, NewHeight);
      } catch (...) {
        Control->FAnchorMove = false;
        throw;
      }
      Control->FAnchorMove = false;
      // A control that did not take the size (constraints, AutoSize) gives back or
      // takes the difference.
      const Integer DW = NewWidth - Control->FWidth;
      const Integer DH = NewHeight - Control->FHeight;
      switch (Align) {
        case alTop: Rect.Top -= DH; break;
        case alBottom: Rect.Bottom += DH; break;
        case alLeft: Rect.Left -= DW; break;
        case alRight: Rect.Right += DW; break;
        case alClient: Rect.Right += DW; Rect.Bottom += DH; break;
        default: break;
      }
    };
    const auto DoAlign = [&](TAlign Align) {
      std::vector<TControl*> List;
      for (Integer I = 0; I < ControlCount(); ++I) {
        TControl* C = Controls(I);
        if (C->FAlign != Align || (Align != alNone && !C->Visible())) continue;
        size_t J = 0;
        while (J < List.size() && !InsertBefore(C, List[J], Align)) ++J;
        List.insert(List.begin() + static_cast<std::ptrdiff_t>(J), C);
      }
      for (TControl* C : List)
        if (C->FParent == this) DoPosition(C, Align);
    };
    for (TAlign A : {alTop, alBottom, alLeft, alRight, alClient, alCustom, alNone}) DoAlign(A);
    ControlsAligned();
  }
  if (FAutoSize) AdjustSize();
}

Boolean TWinControl::CanAutoSize(Integer& NewWidth, Integer& NewHeight) {
  bool Any = false;
  Integer Right = 0;
  Integer Bottom = 0;
  for (Integer I = 0; I < ControlCount(); ++I) {
    TControl* C = Controls(I);
    if (!C->Visible()) continue;
    Any = true;
    Right = std::max(Right, C->Left() + C->Width());
    Bottom = std::max(Bottom, C->Top() + C->Height());
  }
  if (!Any) return true;
  // What lies outside the part of the client area the children share stays.
  TRect Area = ClientRect();
  AdjustClientRect(Area);
  NewWidth = Right + (FWidth - Area.Right);
  NewHeight = Bottom + (FHeight - Area.Bottom);
  return true;
}
