// The class library's track bar on the native "msctls_trackbar32" window: range,
// position, ticks, selection range, page and line steps, and OnChange whenever the
// position changes (from the program or the user).
#pragma once

#include "platform/ui/NativeWinControl.h"

enum TTrackBarOrientation { trHorizontal, trVertical };
enum TTickStyle { tsNone, tsAuto, tsManual };
enum TTickMark { tmBottomRight, tmTopLeft, tmBoth };

class TTrackBar : public TNativeWinControl {
  VANTREL_CLASS(TTrackBar)
  explicit TTrackBar(TComponent* AOwner);

  Integer Min() const { return FMin; }
  void SetMin(Integer Value) { SetParams(FPosition, Value, FMax); }
  Integer Max() const { return FMax; }
  void SetMax(Integer Value) { SetParams(FPosition, FMin, Value); }
  Integer Position();
  // Runs OnChange when the position really changes.
  void SetPosition(Integer Value);
  Integer Frequency() const { return FFrequency; }
  void SetFrequency(Integer Value);
  TTickStyle TickStyle() const { return FTickStyle; }
  void SetTickStyle(TTickStyle Value);
  TTickMark TickMarks() const { return FTickMarks; }
  void SetTickMarks(TTickMark Value);
  TTrackBarOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TTrackBarOrientation Value);
  Integer SelStart() const { return FSelStart; }
  void SetSelStart(Integer Value);
  Integer SelEnd() const { return FSelEnd; }
  void SetSelEnd(Integer Value);
  Boolean SliderVisible() const { return FSliderVisible; }
  void SetSliderVisible(Boolean Value);
  Integer PageSize() const { return FPageSize; }
  void SetPageSize(Integer Value);
  Integer LineSize() const { return FLineSize; }
  void SetLineSize(Integer Value);

  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  virtual void Changed();

 private:
  void SetParams(Integer APosition, Integer AMin, Integer AMax);
  void UpdateSelection();

  Integer FMin = 0;
  Integer FMax = 10;
  Integer FPosition = 0;
  Integer FFrequency = 1;
  TTickStyle FTickStyle = tsAuto;
  TTickMark FTickMarks = tmBottomRight;
  TTrackBarOrientation FOrientation = trHorizontal;
  Integer FSelStart = 0;
  Integer FSelEnd = 0;
  Boolean FSliderVisible = true;
  Integer FPageSize = 2;
  Integer FLineSize = 1;
};
