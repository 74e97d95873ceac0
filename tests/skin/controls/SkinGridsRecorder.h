// A grid for the engine's tests: it records every cell handed to DrawCell, can refuse
// cells in SelectCell and shows the stored extents.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "skin/controls/SkinGrids.h"

namespace vantrel::gridtest {

class TRecordingGrid : public TspSkinCustomGrid {
  VANTREL_CLASS(TRecordingGrid)
  using TspSkinCustomGrid::TspSkinCustomGrid;

  struct DrawCall {
    Integer Col, Row;
    TRect Rect;
    TGridDrawState State;
  };
  std::vector<DrawCall> Calls;
  // Cells for which it answers false; none unless set.
  std::function<bool(Integer, Integer)> Refuse;

  void DrawCell(Integer ACol, Integer ARow, TRect ARect, TGridDrawState AState) override {
    Calls.push_back({ACol, ARow, ARect, AState});
  }
  Boolean SelectCell(Integer ACol, Integer ARow) override { return !(Refuse && Refuse(ACol, ARow)); }
  // Column drops asked for, as (origin, destination).
  std::vector<std::pair<Integer, Integer>> ColumnDrops;
  Boolean EndColumnDrag(Integer& Origin, Integer& Destination, TPoint MousePt) override {
    ColumnDrops.push_back({Origin, Destination});
    return TspSkinCustomGrid::EndColumnDrag(Origin, Destination, MousePt);
  }

  const TGridExtents& StoredColWidths() const { return FColWidths; }
  const TGridExtents& StoredRowHeights() const { return FRowHeights; }
  Integer ColOffset() const { return FColOffset; }
};

// Runs Step and expects EInvalidGridOperation with Text.
template <class F>
void ExpectGridError(F Step, const std::string& Text) {
  try {
    Step();
    ADD_FAILURE() << "no error, expected \"" << Text << "\"";
  } catch (const EInvalidGridOperation& E) {
    EXPECT_EQ(E.Message(), Text);
  }
}

}  // namespace vantrel::gridtest
