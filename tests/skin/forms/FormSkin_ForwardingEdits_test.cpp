// A skin change reaches the skinned edit, memo, tree view and list view, which derive from
// neither control base, when they are bound to the store that changed; combo and list
// boxes come through the control base's row.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "skin/controls/SkinBoxCtrls.h"
#include "skin/controls/SkinCtrls.h"
#include "tests/skin/forms/FormFrame_TestKit.h"

namespace vantrel::frametest {
namespace {

constexpr TColor EditsNewColour = 0x0A0B0C;

// A control on the form, the descriptor it reads, and where a changed colour shows.
struct EditsForwardRow {
  std::string Name;
  std::function<void(TspSkinData*)> Bind;
  std::function<void(TspDataSkinControl*)> Recolour;  // the descriptor's colour
  std::function<TColor()> Seen;                        // what the control copied
};

template <class D>
std::function<void(TspDataSkinControl*)> EditsFontColourOf() {
  return [](TspDataSkinControl* C) { dynamic_cast<D*>(C)->FontColor = EditsNewColour; };
}
template <class D>
std::function<void(TspDataSkinControl*)> EditsBGColourOf() {
  return [](TspDataSkinControl* C) { dynamic_cast<D*>(C)->BGColor = EditsNewColour; };
}

class FormSkinForwardEditsTest : public FrameFixture {
 protected:
  TOwned<TspSkinData> Other = CreateOwned<TspSkinData>(nullptr);
  std::vector<EditsForwardRow> Rows;

  void SetUp() override {
    FrameFixture::SetUp();
    UseTestSkin();
    // A second store of the same skin.
    Other->LoadFromFile(test::TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
    auto* Edit = Place(Create<TspSkinEdit>(Form.get()));
    auto* Memo = Place(Create<TspSkinMemo>(Form.get()));
    auto* Tree = Place(Create<TspSkinCustomTreeView>(Form.get()));
    auto* List = Place(Create<TspSkinCustomListView>(Form.get()));
    auto* Combo = Place(Create<TspSkinComboBox>(Form.get()));
    Rows = {
        {"edit", [Edit](TspSkinData* SD) { Edit->SetSkinData(SD); }, EditsFontColourOf<TspDataSkinEditControl>(),
         [Edit] { return Edit->FontColor; }},
        {"memo", [Memo](TspSkinData* SD) { Memo->SetSkinData(SD); }, EditsFontColourOf<TspDataSkinMemoControl>(),
         [Memo] { return Memo->FontColor; }},
        {"treeview", [Tree](TspSkinData* SD) { Tree->SetSkinData(SD); }, EditsBGColourOf<TspDataSkinTreeView>(),
         [Tree] { return Tree->Color(); }},
        {"listview", [List](TspSkinData* SD) { List->SetSkinData(SD); }, EditsBGColourOf<TspDataSkinListView>(),
         [List] { return List->Color(); }},
        {"combobox", [Combo](TspSkinData* SD) { Combo->SetSkinData(SD); }, EditsFontColourOf<TspDataSkinComboBox>(),
         [Combo] { return Combo->FontColor; }},
    };
    Bind(Skin.get());
  }

  template <class T>
  T* Place(T* C) {
    C->SetParent(Form.get());
    return C;
  }
  void Bind(TspSkinData* SD) {
    for (auto& R : Rows) R.Bind(SD);
  }
  void ChangeDescriptors(TspSkinData* SD) {
    for (auto& R : Rows) {
      const Integer I = SD->GetControlIndex(R.Name);
      ASSERT_NE(I, -1) << R.Name;
      R.Recolour(SD->CtrlList.Items(I));
    }
  }
};

TEST_F(FormSkinForwardEditsTest, EditsMemoAndViewsReReadTheirDescriptors) {
  for (auto& R : Rows) ASSERT_NE(R.Seen(), EditsNewColour) << R.Name;
  ChangeDescriptors(Skin.get());
  FS->SendChangeToControls(Skin.get(), Form.get());
  for (auto& R : Rows) EXPECT_EQ(R.Seen(), EditsNewColour) << R.Name;
}

TEST_F(FormSkinForwardEditsTest, BoundToAnotherStoreTheyAreLeftAlone) {
  Bind(Other.get());
  std::vector<TColor> Before;
  for (auto& R : Rows) Before.push_back(R.Seen());
  ChangeDescriptors(Other.get());
  FS->SendChangeToControls(Skin.get(), Form.get());
  for (size_t I = 0; I < Rows.size(); ++I) EXPECT_EQ(Rows[I].Seen(), Before[I]) << Rows[I].Name;
  // The walk without a store reaches them all.
  FS->SendChangeToControls(nullptr, Form.get());
  for (auto& R : Rows) EXPECT_EQ(R.Seen(), EditsNewColour) << R.Name;
}

}  // namespace
}  // namespace vantrel::frametest
