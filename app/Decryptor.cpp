#include "app/Decryptor.h"

#include <vector>

#include "platform/rtl/Exceptions.h"

namespace vantrel::app {

void ReadInvertedFile(const String& FileName, std::unique_ptr<TMemoryStream>& Stream,
                      TStrings& Lines) {
  struct FreeStream {
    std::unique_ptr<TMemoryStream>& S;
    ~FreeStream() { S.reset(); }
  } Guard{Stream};
  std::vector<uint8_t> Buffer;
  {
    TFileStream File(FileName, fmOpenRead | fmShareDenyWrite);
    Buffer.resize(static_cast<size_t>(File.Size()));
    if (Buffer.empty()) throw EReadError("The file " + FileName + " is empty");
    File.ReadBuffer(Buffer.data(), static_cast<Integer>(Buffer.size()));
  }
  for (uint8_t& B : Buffer) B = static_cast<uint8_t>(255 - B);
  if (!Stream) Stream = std::make_unique<TMemoryStream>();
  Stream->WriteBuffer(Buffer.data(), static_cast<Integer>(Buffer.size()));
  Stream->SetPosition(0);
  Lines.LoadFromStream(*Stream);
}

}  // namespace vantrel::app
