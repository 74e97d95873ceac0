// The reader of files stored with every byte complemented.
#pragma once

#include <memory>

#include "platform/rtl/StringList.h"
#include "platform/rtl/Streams.h"

namespace vantrel::app {

// Reads FileName, complements every byte and loads Lines from the result through Stream,
// which is freed afterwards, also on failure. A missing, unreadable or empty file raises.
void ReadInvertedFile(const String& FileName, std::unique_ptr<TMemoryStream>& Stream,
                      TStrings& Lines);

}  // namespace vantrel::app
