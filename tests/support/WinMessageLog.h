// A window class for window-system tests whose procedure records every message it gets
// and lets a test answer chosen messages itself. Header-only: the support library does
// not link the window system.
#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win/WindowManager.h"

namespace vantrel::test {

struct LoggedMessage {
  HWND Wnd;
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
};

class MessageLog {
 public:
  // Answers a message instead of DefWindowProc (nullopt: DefWindowProc answers).
  using THandler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

  // Registers the class (the window manager must exist).
  explicit MessageLog(const std::string& ClassName = "LoggedWindow", UINT ClassStyle = 0, int WndExtra = 0);

  const std::string& ClassName() const { return FClassName; }
  THandler& Handler() { return FState->Handler; }
  std::vector<LoggedMessage>& Messages() { return FState->Messages; }
  void Clear() { FState->Messages.clear(); }
  // The messages of Wnd (nullptr: of every window), only those in Only when it is given.
  std::vector<UINT> Sequence(HWND Wnd = nullptr, const std::vector<UINT>& Only = {}) const;
  // (window, message) pairs in the order they came, only for the messages in Only.
  std::vector<std::pair<HWND, UINT>> Trace(const std::vector<UINT>& Only) const;
  size_t Count(HWND Wnd, UINT Msg) const;

  HWND Create(DWORD Style, int X, int Y, int W, int H, HWND Parent = nullptr, DWORD ExStyle = 0,
              LONG_PTR Id = 0, const char* Text = "");

 private:
  struct State {
    std::vector<LoggedMessage> Messages;
    THandler Handler;
  };
  std::string FClassName;
  std::shared_ptr<State> FState;
};

inline MessageLog::MessageLog(const std::string& ClassName, UINT ClassStyle, int WndExtra)
    : FClassName(ClassName), FState(std::make_shared<State>()) {
  std::weak_ptr<State> Weak = FState;
  WNDCLASS C;
  C.style = ClassStyle;
  C.cbWndExtra = WndExtra;
  C.lpszClassName = FClassName.c_str();
  // The class keeps the procedure object; it may outlive this log, so it holds the log
  // weakly.
  C.lpfnWndProc = MakeWndProcInstance([Weak](HWND Wnd, UINT Msg, WPARAM WP, LPARAM LP) -> LRESULT {
    if (auto S = Weak.lock()) {
      S->Messages.push_back({Wnd, Msg, WP, LP});
      if (S->Handler)
        if (auto R = S->Handler(Wnd, Msg, WP, LP)) return *R;
    }
    return DefWindowProc(Wnd, Msg, WP, LP);
  });
  if (!RegisterClass(&C)) throw std::runtime_error("cannot register " + FClassName);
}

inline std::vector<UINT> MessageLog::Sequence(HWND Wnd, const std::vector<UINT>& Only) const {
  std::vector<UINT> Out;
  for (const LoggedMessage& M : FState->Messages)
    if ((!Wnd || M.Wnd == Wnd) && (Only.empty() || std::find(Only.begin(), Only.end(), M.Msg) != Only.end()))
      Out.push_back(M.Msg);
  return Out;
}

inline std::vector<std::pair<HWND, UINT>> MessageLog::Trace(const std::vector<UINT>& Only) const {
  std::vector<std::pair<HWND, UINT>> Out;
  for (const LoggedMessage& M : FState->Messages)
    if (std::find(Only.begin(), Only.end(), M.Msg) != Only.end()) Out.emplace_back(M.Wnd, M.Msg);
  return Out;
}

inline size_t MessageLog::Count(HWND Wnd, UINT Msg) const {
  return static_cast<size_t>(std::count_if(FState->Messages.begin(), FState->Messages.end(),
                                           [&](const LoggedMessage& M) { return M.Wnd == Wnd && M.Msg == Msg; }));
}

inline HWND MessageLog::Create(DWORD Style, int X, int Y, int W, int H, HWND Parent, DWORD ExStyle, LONG_PTR Id,
                        const char* Text) {
  return CreateWindowEx(ExStyle, FClassName.c_str(), Text, Style, X, Y, W, H, Parent, reinterpret_cast<HMENU>(Id),
                        nullptr, nullptr);
}

}  // namespace vantrel::test
