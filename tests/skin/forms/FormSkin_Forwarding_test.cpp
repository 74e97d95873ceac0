// Passing a skin change on to the form's skinned controls (order, binding, which are told
// before the change) and the controls kept on skin areas in client mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "skin/controls/SkinCtrls.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

std::vector<std::string>* ForwardingLog = nullptr;

// Skinned controls that log the skin-change steps they are told about.
class TLoggingSkinPanel : public TspSkinPanel {
  VANTREL_CLASS(TLoggingSkinPanel)
  explicit TLoggingSkinPanel(TComponent* AOwner) : TspSkinPanel(AOwner) {}
  void BeforeChangeSkinData() override {
    ForwardingLog->push_back("before " + Name());
    TspSkinPanel::BeforeChangeSkinData();
  }
  void ChangeSkinData() override {
    ForwardingLog->push_back("change " + Name());
    TspSkinPanel::ChangeSkinData();
  }
};

class TLoggingSpeedButton : public TspSkinSpeedButton {
  VANTREL_CLASS(TLoggingSpeedButton)
  explicit TLoggingSpeedButton(TComponent* AOwner) : TspSkinSpeedButton(AOwner) {}
  void BeforeChangeSkinData() override {
    ForwardingLog->push_back("before " + Name());
    TspSkinSpeedButton::BeforeChangeSkinData();
  }
  void ChangeSkinData() override {
    ForwardingLog->push_back("change " + Name());
    TspSkinSpeedButton::ChangeSkinData();
  }
};

class FormSkinForwardingTest : public FrameFixture {
 protected:
  std::vector<std::string> Log;
  TOwned<TspSkinData> Other = CreateOwned<TspSkinData>(nullptr);

  void SetUp() override {
    FrameFixture::SetUp();
    ForwardingLog = &Log;
    UseTestSkin();
    Other->LoadFromFile(test::TestSkinDir(skingen::TestSkinAltFolder) + "/" + skingen::SkinIniName);
  }
  void TearDown() override {
    FrameFixture::TearDown();
    ForwardingLog = nullptr;
  }
  template <class T>
  T* AddControl(TWinControl* Parent, const char* Name, TspSkinData* Store) {
    auto* C = Create<T>(Form.get());
    C->SetName(Name);
    C->SetParent(Parent);
    C->SetSkinData(Store);
    return C;
  }
  void Send(UINT Msg, TspSkinData* Store) {
    Form->Perform(Msg, reinterpret_cast<WPARAM>(Store), 1000);
  }
};

TEST_F(FormSkinForwardingTest, AChangeReachesTheControlsOfItsStoreParentsBeforeChildren) {
  auto* Panel = AddControl<TLoggingSkinPanel>(Form.get(), "Panel", Skin.get());
  AddControl<TLoggingSpeedButton>(Panel, "Button", Skin.get());
  AddControl<TLoggingSkinPanel>(Form.get(), "OtherPanel", Other.get());
  Log.clear();
  Send(WM_SKIN_BEFORE_CHANGE, Skin.get());
  Send(WM_SKIN_CHANGED, Skin.get());
  EXPECT_EQ(Log, (std::vector<std::string>{"before Panel", "before Button", "change Panel", "change Button"}));
}

TEST_F(FormSkinForwardingTest, AnotherStoresChangeRefreshesItsControlsAndLeavesTheFrameAlone) {
  AddControl<TLoggingSkinPanel>(Form.get(), "Mine", Skin.get());
  AddControl<TLoggingSkinPanel>(Form.get(), "Theirs", Other.get());
  AddUserObject("marker", Rect(0, 0, 10, 10));
  const auto Objects = FS->ObjectList;
  Log.clear();
  Send(WM_SKIN_BEFORE_CHANGE, Other.get());
  Send(WM_SKIN_CHANGED, Other.get());
  // Controls of every store forget their descriptors before it reloads.
  EXPECT_EQ(Log, (std::vector<std::string>{"before Theirs", "change Theirs"}));
  EXPECT_EQ(FS->ObjectList, Objects);  // the frame was not re-applied
}

TEST_F(FormSkinForwardingTest, TheBackgroundNoticeReachesEveryWindowedChildOfTheForm) {
  std::vector<HWND> Told;
  auto* A = AddControl<TLoggingSkinPanel>(Form.get(), "A", Skin.get());
  auto* B = AddControl<TLoggingSkinPanel>(A, "B", Skin.get());  // not a direct child
  auto* C = AddControl<TLoggingSkinPanel>(Form.get(), "C", Skin.get());
  ShowForm();
  for (TWinControl* W : {static_cast<TWinControl*>(A), static_cast<TWinControl*>(B), static_cast<TWinControl*>(C)}) {
    const TWndMethod Old = W->WindowProc;
    W->WindowProc = [&Told, W, Old](TMessage& M) {
      if (M.Msg == WM_SKIN_CHECK_PARENT_BACKGROUND) Told.push_back(W->Handle());
      Old(M);
    };
  }
  FS->CheckControlsBackground();
  std::sort(Told.begin(), Told.end());
  std::vector<HWND> Expected{A->Handle(), C->Handle()};
  std::sort(Expected.begin(), Expected.end());
  EXPECT_EQ(Told, Expected);
}

TEST_F(FormSkinForwardingTest, ANilStoreReachesEverySkinnedControl) {
  AddControl<TLoggingSkinPanel>(Form.get(), "Mine", Skin.get());
  AddControl<TLoggingSkinPanel>(Form.get(), "Theirs", Other.get());
  Log.clear();
  FS->SendChangeToControls(nullptr, Form.get());
  std::sort(Log.begin(), Log.end());
  EXPECT_EQ(Log, (std::vector<std::string>{"change Mine", "change Theirs"}));
}

TEST_F(FormSkinForwardingTest, LinkedControlsTakeTheirAreaAndMoveWithAStretchingFrame) {
  MapFrameAtPictureSize();
  const TspSkinData& D = *Skin;
  ASSERT_TRUE(FS->IsSkinResizable());
  // An area in the frame's top right piece, and one the skin does not have.
  const TRect Area = Rect(D.RTPoint.X + 2, 2, D.RTPoint.X + 12, 12);
  Skin->AreaList.Add(CreateOwned<TspDataSkinArea>("volume", Area));
  Skin->AreaList.Add(CreateOwned<TspDataSkinArea>("volume", Rect(0, 0, 5, 5)));  // a second of that name
  auto* Linked = AddControl<TLoggingSkinPanel>(Form.get(), "Linked", Skin.get());
  auto* Loose = AddControl<TLoggingSkinPanel>(Form.get(), "Loose", Skin.get());
  Linked->SetAlign(alBottom);
  Loose->SetAlign(alBottom);
  FS->LinkControlToArea("volume", Linked);
  FS->LinkControlToArea("nowhere", Loose);
  EXPECT_EQ(Linked->Align(), alNone);
  EXPECT_EQ(Loose->Align(), alBottom);
  EXPECT_EQ(FS->GetAreaRect("volume"), Area);
  EXPECT_EQ(FS->GetAreaRect("nowhere"), TRect{});
  FS->UpdateLinkedControls();
  EXPECT_EQ(Linked->BoundsRect(), Area);
  // Widened by 100: the right-hand piece and the control on it follow the right edge.
  FS->NewRTPoint.X += 100;
  FS->NewRBPoint.X += 100;
  FS->UpdateLinkedControls();
  EXPECT_EQ(Linked->Left(), Area.Left + 100);
  FS->UnLinkControlFromArea(Linked);
  EXPECT_TRUE(FS->AreaList.empty());
  // A freed control leaves the list.
  FS->LinkControlToArea("volume", Linked);
  Linked->Free();
  EXPECT_TRUE(FS->AreaList.empty());
}

}  // namespace
}  // namespace vantrel::frametest
