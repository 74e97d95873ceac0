// Another program dragging files onto a window, as a desktop file manager does (the
// XDND protocol, version 5): it checks that the window takes drops, enters with its data
// types, moves to a point, waits for the answer, drops, hands over the list when asked
// for the XdndSelection, and waits until the window is finished.
#pragma once

#include <string>
#include <vector>

#include <X11/Xlib.h>

namespace vantrel::x11test {

struct TXdndDropResult {
  long AwareVersion = 0;      // XdndAware on the window; 0: it takes no drops
  bool StatusCame = false;    // XdndStatus
  bool Accepted = false;
  Atom StatusAction = None;
  bool ListAsked = false;     // the window asked for the text/uri-list
  bool SentInChunks = false;  // the list went in INCR chunks (above 64 KB)
  bool Finished = false;      // XdndFinished
  bool FinishedAccepted = false;
  Atom FinishedAction = None;
};

// The file:// URI of a local path, every byte but unreserved ones and '/' percent-encoded.
std::string FileUri(const std::string& Path);

// Drags AList over Target to the root point (X, Y) and drops it there once accepted (a
// refusal leaves), offering the data types ATypes (more than three go in the source's
// XdndTypeList); AList is handed over when text/uri-list is asked for, in chunks when it is
// large. Each answer is awaited up to 5 s.
TXdndDropResult DropUriList(Display* Dpy, Window Target, int X, int Y, const std::string& AList,
                            const std::vector<std::string>& ATypes = {"text/uri-list"});

}  // namespace vantrel::x11test
