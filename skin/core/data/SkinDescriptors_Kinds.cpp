// Kind keywords of [SKINCONTROLS] and [SKINOBJECTS]: which class a keyword builds, and
// which keyword the writer gives a descriptor (the first row whose class the descriptor is
// or derives from, so a derived class precedes its base).
#include <array>

#include "skin/core/data/SkinDescriptors.h"

namespace vantrel::skin {
namespace {

template <class T>
SkinControlKind Kind(const char* Keyword) {
  return {Keyword, [](const String& AIDName) -> TspDataSkinControl* { return T::Create(AIDName); },
          [](const TspDataSkinControl& Control) {
            return dynamic_cast<const T*>(&Control) != nullptr;
          }};
}

const std::array<SkinControlKind, 33>& Kinds() {
  static const std::array<SkinControlKind, 33> Table = {
      Kind<TspDataSkinSlider>("slider"),
      Kind<TspDataSkinBevel>("bevel"),
      Kind<TspDataSkinPanelControl>("panel"),
      Kind<TspDataSkinExPanelControl>("expanel"),
      Kind<TspDataSkinMenuButtonControl>("menubutton"),
      Kind<TspDataSkinButtonControl>("button"),
      Kind<TspDataSkinCheckRadioControl>("checkradio"),
      Kind<TspDataSkinGaugeControl>("gauge"),
      Kind<TspDataSkinSplitterControl>("splitter"),
      Kind<TspDataSkinTrackBarControl>("trackbar"),
      Kind<TspDataSkinLabelControl>("label"),
      Kind<TspDataSkinStdLabelControl>("stdlabel"),
      Kind<TspDataSkinBitLabelControl>("bitlabel"),
      Kind<TspDataSkinFrameRegulator>("frameregulator"),
      Kind<TspDataSkinFrameGauge>("framegauge"),
      Kind<TspDataSkinAnimateControl>("animate"),
      Kind<TspDataSkinUpDownControl>("updown"),
      Kind<TspDataSkinSwitchControl>("switch"),
      Kind<TspDataSkinGridControl>("grid"),
      Kind<TspDataSkinTabControl>("tab"),
      Kind<TspDataSkinMainMenuBar>("mainmenubar"),
      Kind<TspDataSkinControlBar>("controlbar"),
      Kind<TspDataSkinMemoControl>("memo"),
      Kind<TspDataSkinEditControl>("edit"),
      Kind<TspDataSkinCheckListBox>("checklistbox"),
      Kind<TspDataSkinListBox>("listbox"),
      Kind<TspDataSkinComboBox>("combobox"),
      Kind<TspDataSkinScrollBarControl>("scrollbar"),
      Kind<TspDataSkinSpinEditControl>("spinedit"),
      Kind<TspDataSkinScrollBoxControl>("scrollbox"),
      Kind<TspDataSkinTreeView>("treeview"),
      Kind<TspDataSkinListView>("listview"),
      Kind<TspDataSkinRichEdit>("richedit"),
  };
  return Table;
}

template <class T>
SkinObjectKind ObjectKind(const char* Keyword) {
  return {Keyword, [](const String& AIDName) -> TspDataSkinObject* { return T::Create(AIDName); },
          [](const TspDataSkinObject& Object) {
            return dynamic_cast<const T*>(&Object) != nullptr;
          }};
}

const std::array<SkinObjectKind, 16>& ObjectKinds() {
  static const std::array<SkinObjectKind, 16> Table = {
      ObjectKind<TspDataSkinMenuItem>("menuitem"),
      ObjectKind<TspDataSkinMainMenuBarItem>("mainmenubaritem"),
      ObjectKind<TspDataSkinMainMenuItem>("mainmenuitem"),
      ObjectKind<TspDataSkinMainMenuBarButton>("mainmenubarbutton"),
      ObjectKind<TspDataSkinStdButton>("stdbutton"),
      ObjectKind<TspDataSkinButton>("button"),
      ObjectKind<TspDataSkinCaption>("caption"),
      ObjectKind<TspDataSkinTrackBar>("trackbar"),
      ObjectKind<TspDataSkinGauge>("gauge"),
      ObjectKind<TspDataSkinFrameGaugeObject>("framegauge"),
      ObjectKind<TspDataSkinFrameRegulatorObject>("frameregulator"),
      ObjectKind<TspDataSkinLabel>("label"),
      ObjectKind<TspDataSkinBitLabel>("bitlabel"),
      ObjectKind<TspDataSkinSwitch>("switch"),
      ObjectKind<TspDataSkinAnimate>("animate"),
      ObjectKind<TspDataUserObject>("userobject"),
  };
  return Table;
}

}  // namespace

std::span<const SkinObjectKind> SkinObjectKinds() { return ObjectKinds(); }

TOwned<TspDataSkinObject> CreateSkinObject(const String& Kind, const String& AIDName) {
  for (const SkinObjectKind& K : ObjectKinds())
    if (Kind == K.Keyword) return TOwned<TspDataSkinObject>(K.Create(AIDName));
  return nullptr;
}

String SkinObjectKindOf(const TspDataSkinObject& Object) {
  for (const SkinObjectKind& K : ObjectKinds())
    if (K.Matches(Object)) return K.Keyword;
  return String();
}

std::span<const SkinControlKind> SkinControlKinds() { return Kinds(); }

TOwned<TspDataSkinControl> CreateSkinControl(const String& Kind, const String& AIDName) {
  for (const SkinControlKind& K : Kinds())
    if (Kind == K.Keyword) return TOwned<TspDataSkinControl>(K.Create(AIDName));
  return nullptr;
}

String SkinControlKindOf(const TspDataSkinControl& Control) {
  for (const SkinControlKind& K : Kinds())
    if (K.Matches(Control)) return K.Keyword;
  return String();
}

}  // namespace vantrel::skin
