// A plain SMTP responder on 127.0.0.1 for the tests of mail clients: it keeps the commands
// and messages it is told.
#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace vantrel::test {

// A plain SMTP responder on 127.0.0.1 that keeps what it is told. Every wait is bounded
// (a silent client is dropped after a few seconds), so a faulty client cannot hang it.
class TestSmtpServer {
 public:
  explicit TestSmtpServer(bool OfferAuth = false) : FOfferAuth(OfferAuth) {
    FListen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in A{};
    A.sin_family = AF_INET;
    A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(FListen, reinterpret_cast<sockaddr*>(&A), sizeof A);
    ::listen(FListen, 4);
    socklen_t Len = sizeof A;
    ::getsockname(FListen, reinterpret_cast<sockaddr*>(&A), &Len);
    Port = ntohs(A.sin_port);
    FThread = std::thread([this] { Serve(); });
  }
  ~TestSmtpServer() {
    FStop = true;
    FThread.join();
    ::close(FListen);
  }
  int Port = 0;
  std::vector<std::string> Commands() {
    std::lock_guard L(FLock);
    return FCommands;
  }
  std::vector<std::string> Messages() {
    std::lock_guard L(FLock);
    return FMessages;
  }

 private:
  bool ReadLine(int Fd, std::string& Line, std::string& Pending) {
    for (;;) {
      const size_t Eol = Pending.find("\r\n");
      if (Eol != std::string::npos) {
        Line = Pending.substr(0, Eol);
        Pending.erase(0, Eol + 2);
        return true;
      }
      pollfd P{Fd, POLLIN, 0};
      if (::poll(&P, 1, 5000) <= 0 || FStop) return false;
      char Buf[1024];
      const ssize_t N = ::read(Fd, Buf, sizeof Buf);
      if (N <= 0) return false;
      Pending.append(Buf, static_cast<size_t>(N));
    }
  }
  static void Say(int Fd, const std::string& S) {
    const std::string L = S + "\r\n";
    (void)!::write(Fd, L.data(), L.size());
  }
  void Talk(int Fd) {
    std::string Pending, Line;
    Say(Fd, "220 test ready");
    while (ReadLine(Fd, Line, Pending)) {
      {
        std::lock_guard L(FLock);
        FCommands.push_back(Line);
      }
      const std::string Verb = Line.substr(0, 4);
      if (Verb == "EHLO") {
        Say(Fd, FOfferAuth ? "250-test\r\n250 AUTH PLAIN LOGIN" : "250 test");
      } else if (Verb == "DATA") {
        Say(Fd, "354 go on");
        std::string Text;
        while (ReadLine(Fd, Line, Pending) && Line != ".") {
          if (!Line.empty() && Line[0] == '.') Line.erase(0, 1);  // dot-stuffing undone
          Text += Line + "\r\n";
        }
        std::lock_guard L(FLock);
        FMessages.push_back(Text);
        Say(Fd, "250 queued");
      } else if (Verb == "QUIT") {
        Say(Fd, "221 bye");
        return;
      } else if (Verb == "AUTH") {
        Say(Fd, "535 no");
      } else {
        Say(Fd, "250 ok");
      }
    }
  }
  void Serve() {
    while (!FStop) {
      pollfd P{FListen, POLLIN, 0};
      if (::poll(&P, 1, 50) <= 0) continue;
      const int Fd = ::accept(FListen, nullptr, nullptr);
      if (Fd < 0) continue;
      Talk(Fd);
      ::close(Fd);
    }
  }
  bool FOfferAuth;
  int FListen = -1;
  std::atomic<bool> FStop{false};
  std::thread FThread;
  std::mutex FLock;
  std::vector<std::string> FCommands, FMessages;
};

}  // namespace vantrel::test
