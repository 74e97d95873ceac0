// A mail client for plain-text messages over SMTP (libcurl; this unit alone uses it).
// Url "smtp://host:port" takes STARTTLS when the server offers it, "smtps://host:port"
// is TLS from the start. A user name and password are only ever sent over TLS: on a
// connection that cannot be made secure the send fails before logging in. Failures
// raise ESmtpError with the server's or the library's text.
#pragma once

#include <memory>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringList.h"

VANTREL_EXCEPTION(ESmtpError, Exception);

class TMailMessage {
 public:
  TMailMessage();
  ~TMailMessage();
  String From;     // "address" or "Name <address>"
  String ReplyTo;  // empty: none
  String Subject;
  TStrings* Recipients() const { return FRecipients.get(); }  // one address a line
  TStrings* Body() const { return FBody.get(); }              // the text, a line each

 private:
  std::unique_ptr<TStringList> FRecipients, FBody;
};

class TSmtpClient {
 public:
  TSmtpClient();
  ~TSmtpClient();
  TSmtpClient(const TSmtpClient&) = delete;
  TSmtpClient& operator=(const TSmtpClient&) = delete;

  String Url;
  String Username, Password;
  Integer ConnectTimeout = 30000;  // ms to reach the server
  Integer Timeout = 30000;         // ms for a whole send

  // Reaches the server (and makes the connection secure where the URL asks for it).
  void Connect();
  // Sends the message; connects first when needed.
  void Send(const TMailMessage& Message);
  void Disconnect();
  Boolean Connected() const { return FCurl != nullptr; }

 private:
  void* FCurl = nullptr;  // the library's easy handle
};

namespace vantrel::ui {

// The addresses in "Name <address>" or "address".
String MailAddressOf(const String& Mailbox);
// The message as sent: headers (Date, From, Reply-To, To, Subject, Message-ID, MIME)
// and a quoted-printable UTF-8 body, lines ending in CR LF.
String BuildMailText(const TMailMessage& Message, const String& Date, const String& MessageId);
// A header value, encoded by RFC 2047 when it is not plain ASCII.
String EncodeMailHeader(const String& Text);
// Quoted-printable lines of the body (soft line breaks at 76 characters).
String EncodeQuotedPrintable(const TStrings& Lines);

// How the connection is secured for a URL and whether a login is sent.
struct SmtpSecurity {
  long UseSsl;     // CURLUSESSL_* value
  bool Login;      // user name and password handed to the library
  bool Supported;  // false: not an smtp or smtps URL
};
SmtpSecurity PlanSmtpSecurity(const String& Url, bool HasCredentials);

}  // namespace vantrel::ui
