// A text handed to the requestor of a selection: whole, or in 64 KB chunks (INCR) when it
// is larger, as a program serving the clipboard or a drag does.
#pragma once

#include <algorithm>
#include <string>

#include <X11/Xlib.h>

namespace vantrel::x11test {

// A text handed to a requestor: whole, or in 64 KB chunks (INCR) when it is larger.
struct PeerTextSend {
  static constexpr size_t Chunk = 64 * 1024;
  const std::string& Text;
  ::Atom Type;
  ::Window To = 0;
  ::Atom Property = 0;
  size_t Sent = 0;

  // Puts the text, or the notice that chunks follow, on R's property; true for chunks.
  bool Start(::Display* D, const XSelectionRequestEvent& R) {
    if (Text.size() <= Chunk) {
      XChangeProperty(D, R.requestor, R.property, Type, 8, PropModeReplace,
                      reinterpret_cast<const unsigned char*>(Text.data()), static_cast<int>(Text.size()));
      return false;
    }
    const long Size = static_cast<long>(Text.size());
    XSelectInput(D, R.requestor, PropertyChangeMask);
    XChangeProperty(D, R.requestor, R.property, XInternAtom(D, "INCR", False), 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&Size), 1);
    To = R.requestor;
    Property = R.property;
    Sent = 0;
    return true;
  }
  // The next chunk (an empty one ends) once the requestor took the last; false for other
  // events.
  bool Continue(::Display* D, const XEvent& E) {
    if (!To || E.type != PropertyNotify || E.xproperty.window != To || E.xproperty.atom != Property ||
        E.xproperty.state != PropertyDelete)
      return false;
    const size_t Now = std::min(Chunk, Text.size() - Sent);
    XChangeProperty(D, To, Property, Type, 8, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(Text.data() + Sent), static_cast<int>(Now));
    Sent += Now;
    if (Now == 0) To = 0;
    XFlush(D);
    return true;
  }
};

}  // namespace vantrel::x11test
