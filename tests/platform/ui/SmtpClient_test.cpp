#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <curl/curl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <mutex>
#include <thread>

#include "platform/ui/SmtpClient.h"
#include "tests/support/SmtpResponder.h"

namespace {

using vantrel::test::TestSmtpServer;

// A port nobody listens on: bound, then closed.
int ClosedPort() {
  const int S = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in A{};
  A.sin_family = AF_INET;
  A.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(S, reinterpret_cast<sockaddr*>(&A), sizeof A);
  socklen_t Len = sizeof A;
  ::getsockname(S, reinterpret_cast<sockaddr*>(&A), &Len);
  ::close(S);
  return ntohs(A.sin_port);
}

// Undoes quoted-printable (soft breaks and =XX).
std::string DecodeQp(const std::string& S) {
  std::string Out;
  for (size_t I = 0; I < S.size(); ++I) {
    if (S[I] == '=' && I + 2 < S.size() && S[I + 1] == '\r' && S[I + 2] == '\n') {
      I += 2;
    } else if (S[I] == '=' && I + 2 < S.size()) {
      Out += static_cast<char>(std::stoi(S.substr(I + 1, 2), nullptr, 16));
      I += 2;
    } else {
      Out += S[I];
    }
  }
  return Out;
}

void FillReport(TMailMessage& M) {
  M.From = "Vantrel user <user@example.org>";
  M.ReplyTo = "reply@example.org";
  M.Subject = "Error report";
  M.Recipients()->Add("support@example.net");
  M.Body()->Add("Converting failed.");
  M.Body()->Add(".");
  M.Body()->Add("Price = 5 \xE2\x82\xAC ");
}

}  // namespace

TEST(SmtpClient, APlainMessageArrivesWithItsHeadersAndBody) {
  TestSmtpServer Server;
  TSmtpClient Client;
  Client.Url = "smtp://127.0.0.1:" + std::to_string(Server.Port);
  TMailMessage M;
  FillReport(M);
  Client.Connect();
  EXPECT_TRUE(Client.Connected());
  Client.Send(M);
  Client.Disconnect();
  EXPECT_FALSE(Client.Connected());
  const auto Msgs = Server.Messages();
  ASSERT_EQ(Msgs.size(), 1u);
  const std::string& T = Msgs[0];
  EXPECT_NE(T.find("\r\nSubject: Error report\r\n"), std::string::npos) << T;
  EXPECT_EQ(T.find("From: Vantrel user <user@example.org>\r\n"), T.find("From:")) << T;
  EXPECT_NE(T.find("\r\nReply-To: reply@example.org\r\n"), std::string::npos);
  EXPECT_NE(T.find("\r\nTo: support@example.net\r\n"), std::string::npos);
  EXPECT_NE(T.find("\r\nMessage-ID: <"), std::string::npos);
  EXPECT_EQ(T.rfind("Date: ", 0), 0u);
  const std::string Body = DecodeQp(T.substr(T.find("\r\n\r\n") + 4));
  EXPECT_EQ(Body, "Converting failed.\r\n.\r\nPrice = 5 \xE2\x82\xAC \r\n");
  const auto Cmds = Server.Commands();
  EXPECT_NE(std::find(Cmds.begin(), Cmds.end(), "MAIL FROM:<user@example.org>"), Cmds.end());
  EXPECT_NE(std::find(Cmds.begin(), Cmds.end(), "RCPT TO:<support@example.net>"), Cmds.end());
}

TEST(SmtpClient, CredentialsAreNeverSentOverAPlainConnection) {
  TestSmtpServer Server(true);
  TSmtpClient Client;
  Client.Url = "smtp://127.0.0.1:" + std::to_string(Server.Port);
  Client.Username = "user";
  Client.Password = "secret";
  TMailMessage M;
  FillReport(M);
  EXPECT_THROW(Client.Send(M), ESmtpError);
  EXPECT_FALSE(Client.Connected());
  for (const std::string& C : Server.Commands()) {
    EXPECT_NE(C.rfind("AUTH", 0), 0u) << C;
    EXPECT_EQ(C.find("secret"), std::string::npos);
  }
  EXPECT_TRUE(Server.Messages().empty());
}

TEST(SmtpClient, AClosedPortRaises) {
  TSmtpClient Client;
  Client.Url = "smtp://127.0.0.1:" + std::to_string(ClosedPort());
  Client.ConnectTimeout = 2000;
  Client.Timeout = 4000;
  TMailMessage M;
  FillReport(M);
  EXPECT_THROW(Client.Send(M), ESmtpError);
  EXPECT_FALSE(Client.Connected());
}

TEST(SmtpClient, BadAddressesAndMessagesRaise) {
  TSmtpClient Client;
  Client.Url = "http://127.0.0.1/";
  EXPECT_THROW(Client.Connect(), ESmtpError);
  TestSmtpServer Server;
  Client.Url = "smtp://127.0.0.1:" + std::to_string(Server.Port);
  TMailMessage M;
  EXPECT_THROW(Client.Send(M), ESmtpError);  // no sender
  M.From = "user@example.org";
  EXPECT_THROW(Client.Send(M), ESmtpError);  // no recipient
}

TEST(SmtpClient, SecurityOfEachKindOfAddress) {
  struct Case {
    const char* Url;
    bool Credentials;
    long UseSsl;
    bool Login, Supported;
  } Cases[] = {{"smtp://mail.example.org:25", false, CURLUSESSL_TRY, false, true},
               {"smtp://mail.example.org:587", true, CURLUSESSL_ALL, true, true},
               {"smtps://mail.example.org:465", false, CURLUSESSL_ALL, false, true},
               {"SMTPS://mail.example.org:465", true, CURLUSESSL_ALL, true, true},
               {"mailto:someone@example.org", false, CURLUSESSL_NONE, false, false},
               {"http://example.org", true, CURLUSESSL_NONE, false, false}};
  for (const Case& C : Cases) {
    SCOPED_TRACE(C.Url);
    const auto P = vantrel::ui::PlanSmtpSecurity(C.Url, C.Credentials);
    EXPECT_EQ(P.UseSsl, C.UseSsl);
    EXPECT_EQ(P.Login, C.Login);
    EXPECT_EQ(P.Supported, C.Supported);
  }
}

TEST(SmtpClient, HeadersAreEncodedAndCannotBeSplit) {
  EXPECT_EQ(vantrel::ui::EncodeMailHeader("Report"), "Report");
  EXPECT_EQ(vantrel::ui::EncodeMailHeader("Caf\xC3\xA9"), "=?UTF-8?B?Q2Fmw6k=?=");
  EXPECT_EQ(vantrel::ui::EncodeMailHeader("a\r\nBcc: x@example.org"), "a  Bcc: x@example.org");
  TMailMessage M;
  M.From = "user@example.org\r\nBcc: spy@example.org";
  M.Subject = "x";
  M.Recipients()->Add("a@example.org");
  const String T = vantrel::ui::BuildMailText(M, "Thu, 10 Dec 2026 18:00:00 +0000", "<1@example.org>");
  EXPECT_EQ(T.find("\r\nBcc:"), String::npos);
}
