// The profile chooser: its controls, following the mouse across the profiles with a delay,
// drawing both lists, and applying the clicked format.
#include "app/profilechoosing.h"

#include <algorithm>
#include <cmath>

#include "app/FormShape.h"
#include "platform/rtl/NumConv.h"
#include "platform/win/DrawText.h"
#include "platform/win/Gdi.h"
#include "platform/win/MessageQueue.h"
#include "platform/win/Messages.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinGrids.h"
#include "skin/forms/FormSkin.h"

namespace vantrel::app {

namespace {

// The right edge of the format list, where its bar ends.
constexpr Integer ChooserBarRight = 498;

// Posted to the pop-up when a cell could not be drawn: reported once the paint has ended.
constexpr UINT CM_ChooserDrawFailed = WM_USER + 0x61;

TspSkinStringGrid* PlaceChooserGrid(Tproform* Form, const char* Name, Integer X, Integer Y,
                                    Integer W, Integer H, Integer RowHeight) {
  auto* G = ::Create<TspSkinStringGrid>(Form);
  G->SetName(Name);
  G->SetParent(Form);
  G->SetBounds(X, Y, W, H);
  G->SetFixedCols(0);
  G->SetFixedRows(0);
  G->SetColCount(1);
  G->SetColWidths(0, W);
  // The rows keep their own height under a skin.
  G->SetUseSkinCellHeight(false);
  G->SetDefaultRowHeight(RowHeight);
  G->SetOptions({goRowSelect});
  G->SetDefaultDrawing(false);
  G->SetRowCount(0);
  return G;
}

// A right-pointing black arrow, 9 x 15, on white.
void DrawChooserArrow(TPicture* Picture) {
  TBitmap Arrow;
  Arrow.SetSize(9, 15);
  TCanvas* C = Arrow.Canvas();
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(0, 0, 9, 15));
  C->Brush()->SetColor(clBlack);
  for (Integer Col = 0; Col < 8; ++Col) C->FillRect(Rect(Col, Col, Col + 1, 15 - Col));
  Picture->Assign(&Arrow);
}

// The icon named ID; nullptr when the catalogue has none of that name.
const TProfileIcon* ChooserIcon(const std::vector<TProfileIcon>& Icons, const String& ID, bool IgnoreCase) {
  const Integer Found = FindProfileIcon(Icons, ID, IgnoreCase);
  return Found >= 0 ? &Icons[static_cast<size_t>(Found)] : nullptr;
}

// Draws Icon centred on (X, Y): half its size rounded half to even. No icon draws nothing.
void DrawChooserIcon(TCanvas* C, const TProfileIcon* Icon, Integer X, Integer Y) {
  if (!Icon) return;
  TGraphic* G = Icon->Picture ? Icon->Picture->Graphic() : nullptr;
  if (!G) throw Exception("The icon " + Icon->ID + " has no picture");
  const auto Half = [](Integer Size) { return static_cast<Integer>(std::nearbyint(Size / 2.0)); };
  C->Draw(X - Half(G->Width()), Y - Half(G->Height()), G);
}

void DrawChooserText(TCanvas* C, const String& Text, TRect R, UINT Format) {
  C->Brush()->SetStyle(bsClear);
  DrawText(C->Handle(), Text, -1, &R, Format | DT_NOPREFIX);
  C->Brush()->SetStyle(bsSolid);
}

}  // namespace

Tproform::Tproform(TComponent* AOwner) : TForm(AOwner) {
  spFormSkin1 = ShapeForm(*this, {"", bsNone, 500, 470, poDesigned});
  Shape1 = ::Create<TShape>(this);
  Shape1->SetName("Shape1");
  Shape1->SetParent(this);
  Shape1->SetAlign(alClient);
  Shape2 = ::Create<TShape>(this);
  Shape2->SetName("Shape2");
  Shape2->SetParent(this);
  Shape2->SetBounds(147, 0, 1, 470);
  spSkinScrollBar1 = ::Create<TspSkinScrollBar>(this);
  spSkinScrollBar1->SetName("spSkinScrollBar1");
  spSkinScrollBar1->SetKind(sbVertical);
  // A bar made vertical at run time keeps the horizontal bar's look and height unless told.
  spSkinScrollBar1->SetSkinDataName("vscrollbar");
  spSkinScrollBar1->SetDefaultHeight(0);
  spSkinScrollBar1->SetParent(this);
  spSkinScrollBar1->SetBounds(482, 4, 16, 465);
  spSkinScrollBar1->SetVisible(false);
  sgProfiles = PlaceChooserGrid(this, "sgProfiles", 1, 5, 146, 464, 25);
  sgFormats = PlaceChooserGrid(this, "sgFormats", 148, 4, 350, 465, 50);
  spSkinScrollBar1->BringToFront();
  sgFormats->SetVScrollBar(spSkinScrollBar1);
  imgArrow = ::Create<TImage>(this);
  imgArrow->SetName("imgArrow");
  imgArrow->SetParent(this);
  imgArrow->SetBounds(0, 0, 9, 15);
  imgArrow->SetVisible(false);
  DrawChooserArrow(imgArrow->Picture());
  ProfileChangeDelayTimer = ::Create<TTimer>(this);
  ProfileChangeDelayTimer->SetName("ProfileChangeDelayTimer");
  ProfileChangeDelayTimer->SetEnabled(false);
  ProfileChangeDelayTimer->SetInterval(ChooserDelay);

  OnShow = [this](TObject* S) { FormShow(S); };
  OnClose = [this](TObject* S, TCloseAction& A) { FormClose(S, A); };
  OnDeactivate = [this](TObject* S) { FormDeactivate(S); };
  sgProfiles->OnMouseMove = [this](TObject* S, TShiftState Sh, Integer X, Integer Y) { sgProfilesMouseMove(S, Sh, X, Y); };
  sgProfiles->OnDrawCell = [this](TObject* S, Integer C, Integer R, TRect Rc, TGridDrawState St) {
    sgProfilesDrawCell(S, C, R, Rc, St);
  };
  sgFormats->OnMouseMove = [this](TObject* S, TShiftState Sh, Integer X, Integer Y) { sgFormatsMouseMove(S, Sh, X, Y); };
  sgFormats->OnDrawCell = [this](TObject* S, Integer C, Integer R, TRect Rc, TGridDrawState St) {
    sgFormatsDrawCell(S, C, R, Rc, St);
  };
  sgFormats->OnClick = [this](TObject* S) { sgFormatsClick(S); };
  sgFormats->OnMouseWheelDown = [this](TObject*, TShiftState, TPoint Pos, Boolean& Handled) {
    sgFormatsWheel(1, Pos);
    Handled = true;
  };
  sgFormats->OnMouseWheelUp = [this](TObject*, TShiftState, TPoint Pos, Boolean& Handled) {
    sgFormatsWheel(-1, Pos);
    Handled = true;
  };
  ProfileChangeDelayTimer->OnTimer = [this](TObject* S) { ProfileChangeDelayTimerTimer(S); };
}

void Tproform::BindSkin(TspSkinData* Data) {
  spFormSkin1->SetSkinData(Data);
  sgProfiles->SetSkinData(Data);
  sgFormats->SetSkinData(Data);
  spSkinScrollBar1->SetSkinData(Data);
  // The skin gives the bar its thickness; it keeps to the format list's right edge.
  spSkinScrollBar1->SetBounds(ChooserBarRight - spSkinScrollBar1->Width(), 4, spSkinScrollBar1->Width(), 465);
}

void Tproform::FormShow(TObject*) {
  FDrawFailureReported = false;
  sgProfiles->SetRowCount(0);
  sgFormats->SetRowCount(0);
  sgProfiles->SetRowCount(static_cast<Integer>(State->Profiles.size()));
  const Integer Current = State->CurrentProfileInd;
  const bool Known = Current >= 0 && Current < static_cast<Integer>(State->Profiles.size());
  sgFormats->SetRowCount(Known ? static_cast<Integer>(State->Profiles[static_cast<size_t>(Current)].Formats.size()) : 0);
  HoveredFormat = State->CurrentFormatInd;
  ShownProfile = ConfirmedProfile = Current;
}

void Tproform::FormClose(TObject*, TCloseAction&) { ProfileChangeDelayTimer->SetEnabled(false); }

void Tproform::FormDeactivate(TObject*) {
  Hide();
  if (TForm* Main = Application->MainForm(); Main && Main != this && Main->Visible() && Main->Enabled())
    Main->SetFocus();
}

void Tproform::sgProfilesMouseMove(TObject*, TShiftState, Integer X, Integer Y) {
  Integer Col = -1, Row = -1;
  sgProfiles->MouseToCell(X, Y, Col, Row);
  if (Row >= 0) {
    PendingProfile = Row;
    if (Row != ShownProfile) {
      ShownProfile = Row;
      sgProfiles->Invalidate();
      ProfileChangeDelayTimer->SetEnabled(false);
      ProfileChangeDelayTimer->SetEnabled(true);
    }
  } else {
    ProfileChangeDelayTimer->SetEnabled(false);
  }
}

void Tproform::ProfileChangeDelayTimerTimer(TObject*) {
  ConfirmedProfile = ShownProfile = PendingProfile;
  sgFormats->SetRowCount(static_cast<Integer>(State->Profiles.at(static_cast<size_t>(ConfirmedProfile)).Formats.size()));
  HoveredFormat = -1;
  sgFormats->Invalidate();
  sgProfiles->Invalidate();
}

void Tproform::sgFormatsMouseMove(TObject*, TShiftState, Integer X, Integer Y) {
  if (ProfileChangeDelayTimer->Enabled()) {
    ShownProfile = ConfirmedProfile;
    sgProfiles->Invalidate();
    ProfileChangeDelayTimer->SetEnabled(false);
  }
  Integer Col = -1, Row = -1;
  sgFormats->MouseToCell(X, Y, Col, Row);
  if (Row != HoveredFormat) {
    const bool Empty = ShownProfile < 0 || ShownProfile >= static_cast<Integer>(State->Profiles.size()) ||
                       State->Profiles[static_cast<size_t>(ShownProfile)].Formats.empty();
    HoveredFormat = Empty ? -1 : Row;
    sgFormats->Invalidate();
  }
}

void Tproform::sgProfilesDrawCell(TObject*, Integer, Integer ARow, TRect Rect, TGridDrawState) {
  TCanvas* C = sgProfiles->Canvas();
  try {
    const TProfile& P = State->Profiles.at(static_cast<size_t>(ARow));
    const bool Shown = ARow == ShownProfile;
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect);
    C->Font()->SetColor(Shown ? clWhite : clBlack);
    C->Brush()->SetColor(Shown ? ChooserProfileBand : clWhite);
    C->FillRect(::Rect(Rect.Left + 30, Rect.Top, Rect.Right - 22, Rect.Bottom));
    DrawChooserIcon(C, ChooserIcon(State->ProfileIcons, P.Icon, false), Rect.Left + 15, Rect.Top + 12);
    DrawChooserText(C, P.Title, ::Rect(Rect.Left + 32, Rect.Top + 5, Rect.Right - 10, Rect.Bottom),
                    DT_SINGLELINE | DT_END_ELLIPSIS);
    if (TGraphic* Arrow = imgArrow->Picture()->Graphic()) C->Draw(Rect.Right - 17, Rect.Top + 5, Arrow);
  } catch (const std::exception&) {
    DrawingFailed(CLM_ProfileDrawCell, C, Rect);
  }
}

void Tproform::sgFormatsDrawCell(TObject*, Integer, Integer ARow, TRect Rect, TGridDrawState) {
  TCanvas* C = sgFormats->Canvas();
  try {
    const TProfile& P = State->Profiles.at(static_cast<size_t>(ShownProfile));
    C->Brush()->SetColor(clWhite);
    C->FillRect(Rect);
    C->Font()->SetColor(clBlack);
    if (ARow == HoveredFormat) {
      const Integer Right = Rect.Right - (spSkinScrollBar1->Visible() ? 20 : 5);
      C->Brush()->SetColor(ChooserFormatBand);
      C->FillRect(::Rect(Rect.Left + 40, Rect.Top, Right, Rect.Bottom));
    }
    if (ARow >= 0 && ARow < static_cast<Integer>(P.Formats.size())) {
      const TFormat& F = P.Formats[static_cast<size_t>(ARow)];
      DrawChooserIcon(C, ChooserIcon(State->ProfileIcons, F.Icon, true), Rect.Left + 20, Rect.Top + 20);
      C->Font()->SetStyle({fsBold});
      DrawChooserText(C, F.Title, ::Rect(Rect.Left + 45, Rect.Top + 2, Rect.Right, Rect.Top + 20),
                      DT_SINGLELINE | DT_END_ELLIPSIS);
      C->Font()->SetStyle({});
      DrawChooserText(C, F.Description, ::Rect(Rect.Left + 45, Rect.Top + 20, Rect.Right - 20, Rect.Bottom - 2),
                      DT_WORDBREAK);
    }
  } catch (const std::exception&) {
    C->Font()->SetStyle({});
    DrawingFailed(CLM_FormatsDrawCell, C, Rect);
  }
}

void Tproform::sgFormatsWheel(Integer Rows, TPoint ScreenPos) {
  const Integer Last = std::max<Integer>(0, sgFormats->RowCount() - sgFormats->VisibleRowCount());
  const Integer Top = std::clamp<Integer>(sgFormats->TopRow() + Rows, 0, Last);
  if (Top == sgFormats->TopRow()) return;
  sgFormats->SetTopRow(Top);
  const TPoint P = sgFormats->ScreenToClient(ScreenPos);
  sgFormatsMouseMove(sgFormats, {}, P.X, P.Y);
}

void Tproform::DrawingFailed(const char* Mark, TCanvas* Canvas, const TRect& Rect) {
  Canvas->Brush()->SetStyle(bsSolid);
  Canvas->Brush()->SetColor(clWhite);
  Canvas->FillRect(Rect);
  if (FDrawFailureReported) return;
  FDrawFailureReported = true;
  FPendingDrawFailure = "Error Drawing Cell: profile " + IntToStr(State->CurrentProfileInd) + ", format " +
                        IntToStr(State->RecentFormatInd);
  FPendingDrawMark = Mark;
  PostMessage(Handle(), CM_ChooserDrawFailed, 0, 0);
}

void Tproform::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_ChooserDrawFailed) {
    if (FPendingDrawFailure) {
      const String Text = *FPendingDrawFailure;
      FPendingDrawFailure.reset();
      ReportError(*State, Text, FPendingDrawMark);
    }
    return;
  }
  TForm::Dispatch(Message);
}

void Tproform::sgFormatsClick(TObject*) {
  if (ShownProfile < 0 || HoveredFormat < 0 || ShownProfile >= static_cast<Integer>(State->Profiles.size()) ||
      HoveredFormat >= static_cast<Integer>(State->Profiles[static_cast<size_t>(ShownProfile)].Formats.size()))
    return;
  try {
    if (!FileList) throw Exception("No file list");
    FileList->SetEntryFormat(FileList->SelectedRow() - 1, ShownProfile, HoveredFormat, true);
    State->CurrentProfileInd = State->RecentProfileInd = ShownProfile;
    State->CurrentFormatInd = State->RecentFormatInd = HoveredFormat;
    const TProfile& P = State->Profiles[static_cast<size_t>(ShownProfile)];
    FileList->ShowProfile(P.Formats[static_cast<size_t>(HoveredFormat)].Title,
                          ProfileIconPicture(State->ProfileIcons, P.Icon));
    if (FileList->ApplyToAll())
      for (Integer I = 0; I < FileList->EntryCount(); ++I)
        FileList->SetEntryFormat(I, State->CurrentProfileInd, State->CurrentFormatInd, false);
  } catch (const std::exception&) {
    ReportError(*State,
                "Error on profile " + IntToStr(State->CurrentProfileInd) + ", format " +
                    IntToStr(State->RecentFormatInd) + " choosing",
                CLM_ProfileChoosing);
  }
  if (FileList) FileList->ReestimateAllSizes();
  Hide();
}

}  // namespace vantrel::app
