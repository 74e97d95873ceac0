// Variants of the generated test skin for the form frame's tests, written with the skin
// store's own writer into a scratch folder: the test skin with changes made in code.
#pragma once

#include <functional>
#include <string>

#include "skin/core/data/SkinData.h"
#include "tests/support/TempDir.h"
#include "tests/support/TestPaths.h"
#include "tools/skingen/SkinGenSpec.h"

namespace vantrel::test {

// Loads the test skin into a scratch store, lets Change alter it and writes it into
// Folder; returns the path of its skin.ini.
inline std::string WriteFrameSkinVariant(const TTempDir& Folder, const std::function<void(TspSkinData&)>& Change) {
  TOwned<TspSkinData> Store = CreateOwned<TspSkinData>(nullptr);
  Store->LoadFromFile(TestSkinDir(skingen::TestSkinFolder) + "/" + skingen::SkinIniName);
  Change(*Store);
  Store->StoreToDisk(Folder.Path() + "/");
  return Folder.File(skingen::SkinIniName);
}

// A user object of the frame, drawn by the application, at R of the frame picture.
inline void AddFrameUserObject(TspSkinData& Store, const String& Name, const TRect& R) {
  TOwned<TspDataUserObject> O = CreateOwned<TspDataUserObject>(Name);
  O->SkinRect = R;
  O->ActivePictureIndex = -1;
  O->ActiveMaskPictureIndex = -1;
  O->GlowLayerPictureIndex = -1;
  O->CursorIndex = -1;
  Store.ObjectList.Add(std::move(O));
}

}  // namespace vantrel::test
