// The file grid of the main window: its cells, its column lines, the title editor over the
// destination column, the selection taken from the clicked row and "Apply to all".
#include <algorithm>

#include "app/main_FileList.h"
#include "app/main_Job.h"
#include "platform/ui/ExtCtrls.h"
#include "platform/win/DrawText.h"
#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "skin/controls/SkinExCtrls.h"

namespace vantrel::app {

namespace {

constexpr UINT GridCentred = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
constexpr UINT GridLeftAligned = DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;

void GridText(TCanvas* C, const String& Text, TRect R, UINT Format) {
  RECT Rc{R.Left, R.Top, R.Right, R.Bottom};
  DrawText(C->Handle(), Text, -1, &Rc, Format);
}

void GridPicture(TCanvas* C, const TRect& R, TImage* Image) {
  if (TGraphic* G = Image->Picture()->Graphic(); G && !G->Empty()) C->StretchDraw(R, G);
}

// The cell and the line around it in white.
void GridWhiteFill(TCanvas* C, const TRect& R) {
  C->Brush()->SetStyle(bsSolid);
  C->Brush()->SetColor(clWhite);
  C->FillRect(Rect(R.Left - 1, R.Top - 1, R.Right + 1, R.Bottom + 1));
  C->Brush()->SetStyle(bsClear);
}

}  // namespace

void TMainForm::sgListDrawCell(TObject*, Integer ACol, Integer ARow, TRect R, TGridDrawState) {
  TMainUnitState& State = MainUnit();
  State.GridPainting = true;
  TCanvas* C = sgList->Canvas();
  C->Brush()->SetStyle(bsClear);
  C->Font()->SetColor(clBlack);
  const Integer N = static_cast<Integer>(State.VideoFiles.size());
  if (ARow == 0) {
    GridPicture(C, R, imgTableColumnCaptionBar);
    if (ACol >= 0 && ACol < static_cast<Integer>(std::size(FileListColumns)))
      // A column running past the grid's edge centres its caption on the part in view.
      GridText(C, FileListColumns[ACol], Rect(R.Left, R.Top, std::min(R.Right, sgList->ClientWidth()), R.Bottom),
               GridCentred);
  } else if (ARow > N) {
    // The blank row an empty list keeps under its header is part of the empty list's area.
    GridWhiteFill(C, R);
  } else {
    const TVideoFile& E = State.VideoFiles[ARow - 1];
    if (ARow == sgList->Row()) {
      GridPicture(C, R, imgTableRow);
    } else {
      GridWhiteFill(C, R);
    }
    switch (ACol) {
      case 0:
        if (TGraphic* G = Image3->Picture()->Graphic(); G && !G->Empty()) C->Draw(R.Left + 2, R.Top + 1, G);
        GridText(C, E.SourceTitleExt, Rect(R.Left + 23, R.Top + 2, R.Right, R.Bottom),
                 DT_LEFT | DT_TOP | DT_SINGLELINE | DT_END_ELLIPSIS);
        break;
      case 1: GridText(C, FormatMicroseconds(E.TrimmedLength), R, GridCentred); break;
      case 2: GridText(C, EstimatedSizeText(E.EstimatedSize), R, GridCentred); break;
      case 3: GridText(C, E.DestinationTitle, Rect(R.Left + 5, R.Top, R.Right, R.Bottom), GridLeftAligned); break;
      case 4:
        try {
          GridText(C, EntryFormat(State, E).FormatExt, Rect(R.Left + 5, R.Top, R.Right, R.Bottom), GridLeftAligned);
        } catch (const std::exception&) {
          // An entry without a format shows none.
        }
        break;
      default: break;
    }
  }
  State.GridPainting = false;
}

void TMainForm::Timer1Timer(TObject*) {
  if (MainUnit().GridPainting || !sgList->HandleAllocated()) return;
  TCanvas* C = sgList->Canvas();
  C->Pen()->SetColor(static_cast<TColor>(0x00C0C0C0));
  C->Pen()->SetStyle(psSolid);
  Integer X = 0;
  for (Integer I = 0; I <= 5; ++I) {
    X += I < sgList->ColCount() ? sgList->GetColWidths(I) : sgList->DefaultColWidth();
    C->MoveTo(X + I, 0);
    C->LineTo(X + I, sgList->Height());
  }
}

// --- the title editor ---

void TMainForm::OpenTitleEditor(Integer Row) {
  const TRect Cell = sgList->CellRect(3, Row);
  const TPoint At = edDestinationTitle->Parent()->ScreenToClient(sgList->ClientToScreen(Point(Cell.Left, Cell.Top)));
  FTitleRow = Row;
  edDestinationTitle->SetBounds(At.X, At.Y - 1, sgList->GetColWidths(3), edDestinationTitle->Height());
  edDestinationTitle->SetVisible(true);
  edDestinationTitle->BringToFront();
  edDestinationTitle->SetText(MainUnit().VideoFiles[Row - 1].DestinationTitle);
  edDestinationTitle->SetFocus();
  edDestinationTitle->SelectAll();
}

void TMainForm::Rename1Click(TObject*) {
  const Integer Row = sgList->Row();
  if (!MainUnit().VideoFiles.empty() && Row >= 1 && Row <= static_cast<Integer>(MainUnit().VideoFiles.size()))
    OpenTitleEditor(Row);
}

void TMainForm::sgListMouseDown(TObject*, TMouseButton Button, TShiftState, Integer X, Integer Y) {
  Integer Col = -1, Row = -1;
  sgList->MouseToCell(X, Y, Col, Row);
  const bool OnEntry = Row >= 1 && Row <= static_cast<Integer>(MainUnit().VideoFiles.size());
  // The list menu acts on the current row: a right press makes the pressed row current
  // before the menu opens, so its commands act on the row the user pointed at.
  if (Button == mbRight && OnEntry) sgList->SetRow(Row);
  if (Col == 3 && OnEntry) OpenTitleEditor(Row);
}

// The text goes to the entry the editor was opened on, even when the selection moved since.
void TMainForm::edDestinationTitleExit(TObject*) {
  if (FTitleRow < 1) return;
  const Integer Row = FTitleRow;
  FTitleRow = 0;
  std::vector<TVideoFile>& Files = MainUnit().VideoFiles;
  if (Row <= static_cast<Integer>(Files.size())) Files[Row - 1].DestinationTitle = edDestinationTitle->Text();
  edDestinationTitle->SetVisible(false);
  sgList->Repaint();
}

void TMainForm::edDestinationTitleKeyPress(TObject* Sender, char32_t& Key) {
  if (Key != '\r') return;
  Key = 0;
  edDestinationTitleExit(Sender);
}

// --- the selection and "Apply to all" ---

void TMainForm::sgListClick(TObject*) {
  TMainUnitState& State = MainUnit();
  const Integer Row = sgList->Row();
  if (Row <= 0 || Row > static_cast<Integer>(State.VideoFiles.size())) return;
  const TVideoFile& E = State.VideoFiles[Row - 1];
  State.CurrentProfileInd = E.ProfileInd;
  State.CurrentFormatInd = E.FormatInd;
  try {
    const TProfile& P = State.Profiles.at(E.ProfileInd);
    ShowProfile(P.Formats.at(E.FormatInd).Title, ProfileIconPicture(State.ProfileIcons, P.Icon));
  } catch (const std::exception&) {
    // An entry without a format leaves the field as it is.
  }
  lblProfile->Repaint();
}

void TMainForm::chApplyToAllClick(TObject*) {
  if (!chApplyToAll->Checked()) return;
  ApplyFormatToAll(MainUnit());
  sgList->Repaint();
}

}  // namespace vantrel::app
