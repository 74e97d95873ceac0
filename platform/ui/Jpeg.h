// TJPEGImage: a JPEG picture on the libjpeg 6b API. It keeps the compressed data and the
// decoded picture (a pf24bit TBitmap); loading decodes at once, so a damaged file fails
// when it is read, and saving compresses the picture when there is no data yet.
#pragma once

#include <memory>
#include <vector>

#include "platform/ui/Graphics.h"

// Failures of the JPEG codec: "JPEG error #<code>" and libjpeg's own text.
VANTREL_EXCEPTION(EJPEG, EInvalidGraphic);

using TJPEGQualityRange = Integer;  // 1..100

class TJPEGImage : public TGraphic {
  VANTREL_CLASS(TJPEGImage)
  TJPEGImage();
  ~TJPEGImage() override;

  // From a TJPEGImage: a copy; from a TBitmap: its picture, compressed on the next save;
  // nil: empty.
  void Assign(TPersistent* Source) override;

  bool Empty() const override;
  Integer Width() const override;
  Integer Height() const override;
  // The size of a JPEG picture comes from its data: raises EInvalidGraphicOperation.
  void SetWidth(Integer Value) override;
  void SetHeight(Integer Value) override;

  // Quality of the next compression, 1..100 (90 at creation); out-of-range values are
  // brought into range.
  TJPEGQualityRange CompressionQuality() const { return FQuality; }
  void SetCompressionQuality(TJPEGQualityRange Value);
  bool Grayscale() const { return FGrayscale; }
  void SetGrayscale(bool Value) { FGrayscale = Value; }
  bool ProgressiveEncoding() const { return FProgressive; }
  void SetProgressiveEncoding(bool Value) { FProgressive = Value; }

  // Compresses the picture now with the current settings.
  void Compress();
  // Makes sure the compressed data / the decoded picture exist.
  void JPEGNeeded();
  void DIBNeeded() {}

  // Reads the rest of Stream as one JPEG file and decodes it.
  void LoadFromStream(TStream* Stream) override;
  void SaveToStream(TStream* Stream) override;

  TOwned<TGraphic> NewEmpty() const override;

 protected:
  // To a TBitmap: the decoded picture (pf24bit).
  void AssignTo(TPersistent* Dest) override;
  void Draw(TCanvas* ACanvas, const TRect& Rect) override;

 private:
  std::vector<Byte> FData;           // the compressed file, empty until loaded or compressed
  std::unique_ptr<TBitmap> FBitmap;  // the decoded picture
  TJPEGQualityRange FQuality = 90;
  bool FGrayscale = false;
  bool FProgressive = false;
};
