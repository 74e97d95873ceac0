// The SMTP client over libcurl and the plain-text message format.
#include "platform/ui/SmtpClient.h"

#include <curl/curl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <random>

namespace {

// Once per process, before the first handle.
void SmtpGlobalInit() {
  static const bool Done = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)Done;
}

// Header values never carry line breaks (no header can be smuggled in).
String SmtpOneLine(const String& S) {
  String Out;
  for (char C : S) Out += (C == '\r' || C == '\n') ? ' ' : C;
  return Out;
}

bool SmtpIsAscii(const String& S) {
  for (unsigned char C : S)
    if (C >= 0x80 || (C < 0x20 && C != '\t')) return false;
  return true;
}

String SmtpBase64(const String& In) {
  static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  String Out;
  size_t I = 0;
  for (; I + 2 < In.size(); I += 3) {
    const unsigned V = (static_cast<unsigned char>(In[I]) << 16) | (static_cast<unsigned char>(In[I + 1]) << 8) |
                       static_cast<unsigned char>(In[I + 2]);
    Out += Alphabet[V >> 18];
    Out += Alphabet[(V >> 12) & 63];
    Out += Alphabet[(V >> 6) & 63];
    Out += Alphabet[V & 63];
  }
  if (I < In.size()) {
    unsigned V = static_cast<unsigned char>(In[I]) << 16;
    if (I + 1 < In.size()) V |= static_cast<unsigned char>(In[I + 1]) << 8;
    Out += Alphabet[V >> 18];
    Out += Alphabet[(V >> 12) & 63];
    Out += I + 1 < In.size() ? Alphabet[(V >> 6) & 63] : '=';
    Out += '=';
  }
  return Out;
}

String SmtpDateNow() {
  static const char* Days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  static const char* Months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t Now = std::time(nullptr);
  std::tm T{};
  gmtime_r(&Now, &T);
  char Buf[64];
  std::snprintf(Buf, sizeof Buf, "%s, %d %s %d %02d:%02d:%02d +0000", Days[T.tm_wday], T.tm_mday, Months[T.tm_mon],
                T.tm_year + 1900, T.tm_hour, T.tm_min, T.tm_sec);
  return Buf;
}

String SmtpNewMessageId(const String& From) {
  const String Address = vantrel::ui::MailAddressOf(From);
  const size_t At = Address.rfind('@');
  const String Domain = At == String::npos || At + 1 >= Address.size() ? "localhost" : Address.substr(At + 1);
  std::random_device Rd;
  char Buf[64];
  std::snprintf(Buf, sizeof Buf, "%08x%08x.%lld", Rd(), Rd(), static_cast<long long>(std::time(nullptr)));
  return "<" + String(Buf) + "@" + Domain + ">";
}

struct SmtpUpload {
  const String* Text;
  size_t Pos = 0;
};

size_t SmtpRead(char* Buffer, size_t Size, size_t Count, void* User) {
  auto* U = static_cast<SmtpUpload*>(User);
  const size_t N = std::min(Size * Count, U->Text->size() - U->Pos);
  std::memcpy(Buffer, U->Text->data() + U->Pos, N);
  U->Pos += N;
  return N;
}

// Frees a recipient list when it goes.
struct SmtpSlist {
  curl_slist* List = nullptr;
  ~SmtpSlist() { curl_slist_free_all(List); }
};

[[noreturn]] void SmtpFail(CURLcode Code, const char* ErrorBuffer) {
  throw ESmtpError(ErrorBuffer && *ErrorBuffer ? String(ErrorBuffer) : String(curl_easy_strerror(Code)));
}

}  // namespace

namespace vantrel::ui {

String MailAddressOf(const String& Mailbox) {
  const size_t Open = Mailbox.rfind('<');
  const size_t Close = Mailbox.rfind('>');
  String A = (Open != String::npos && Close != String::npos && Close > Open) ? Mailbox.substr(Open + 1, Close - Open - 1)
                                                                            : Mailbox;
  while (!A.empty() && (A.front() == ' ' || A.front() == '\t')) A.erase(0, 1);
  while (!A.empty() && (A.back() == ' ' || A.back() == '\t' || A.back() == '\r' || A.back() == '\n')) A.pop_back();
  return A;
}

String EncodeMailHeader(const String& Text) {
  const String Line = SmtpOneLine(Text);
  if (SmtpIsAscii(Line)) return Line;
  // Encoded words of whole characters, each short enough for a header line.
  String Out, Chunk;
  auto Flush = [&] {
    if (Chunk.empty()) return;
    if (!Out.empty()) Out += "\r\n ";
    Out += "=?UTF-8?B?" + SmtpBase64(Chunk) + "?=";
    Chunk.clear();
  };
  for (size_t I = 0; I < Line.size();) {
    size_t Len = 1;
    const unsigned char C = static_cast<unsigned char>(Line[I]);
    if (C >= 0xF0) Len = 4;
    else if (C >= 0xE0) Len = 3;
    else if (C >= 0xC0) Len = 2;
    Len = std::min(Len, Line.size() - I);
    if (Chunk.size() + Len > 45) Flush();
    Chunk.append(Line, I, Len);
    I += Len;
  }
  Flush();
  return Out;
}

String EncodeQuotedPrintable(const TStrings& Lines) {
  static const char Hex[] = "0123456789ABCDEF";
  String Out;
  for (Integer L = 0; L < Lines.Count(); ++L) {
    // A line of the list may itself hold line breaks: each becomes a line.
    const String Text = Lines.Get(L);
    size_t Start = 0;
    for (;;) {
      size_t End = Text.find_first_of("\r\n", Start);
      const String Line = Text.substr(Start, End == String::npos ? String::npos : End - Start);
      String Encoded;
      size_t Width = 0;
      for (size_t I = 0; I < Line.size(); ++I) {
        const unsigned char C = static_cast<unsigned char>(Line[I]);
        const bool Last = I + 1 == Line.size();
        String Piece;
        if ((C == ' ' || C == '\t') && Last)
          Piece = {'=', Hex[C >> 4], Hex[C & 15]};  // trailing blanks would be lost on the way
        else if (C == '=' || C >= 0x7F || (C < 0x20 && C != '\t') || (C == '.' && Width == 0))
          Piece = {'=', Hex[C >> 4], Hex[C & 15]};
        else
          Piece = String(1, static_cast<char>(C));
        if (Width + Piece.size() > 75) {
          Encoded += "=\r\n";
          Width = 0;
        }
        Encoded += Piece;
        Width += Piece.size();
      }
      Out += Encoded + "\r\n";
      if (End == String::npos) break;
      Start = End + ((Text[End] == '\r' && End + 1 < Text.size() && Text[End + 1] == '\n') ? 2 : 1);
    }
  }
  return Out;
}

String BuildMailText(const TMailMessage& Message, const String& Date, const String& MessageId) {
  String To;
  for (Integer I = 0; I < Message.Recipients()->Count(); ++I) {
    const String R = SmtpOneLine(Message.Recipients()->Get(I));
    if (R.empty()) continue;
    if (!To.empty()) To += ", ";
    To += R;
  }
  String Text = "Date: " + Date + "\r\n";
  Text += "From: " + SmtpOneLine(Message.From) + "\r\n";
  if (!Message.ReplyTo.empty()) Text += "Reply-To: " + SmtpOneLine(Message.ReplyTo) + "\r\n";
  Text += "To: " + To + "\r\n";
  Text += "Subject: " + EncodeMailHeader(Message.Subject) + "\r\n";
  Text += "Message-ID: " + SmtpOneLine(MessageId) + "\r\n";
  Text += "MIME-Version: 1.0\r\n";
  Text += "Content-Type: text/plain; charset=UTF-8\r\n";
  Text += "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
  Text += EncodeQuotedPrintable(*Message.Body());
  return Text;
}

SmtpSecurity PlanSmtpSecurity(const String& Url, bool HasCredentials) {
  String Scheme = Url.substr(0, Url.find("://"));
  for (char& C : Scheme) C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
  if (Url.find("://") == String::npos || (Scheme != "smtp" && Scheme != "smtps")) return {CURLUSESSL_NONE, false, false};
  if (Scheme == "smtps") return {CURLUSESSL_ALL, HasCredentials, true};
  // Plain SMTP: STARTTLS when offered; demanded when a login is to be sent.
  return {HasCredentials ? CURLUSESSL_ALL : CURLUSESSL_TRY, HasCredentials, true};
}

}  // namespace vantrel::ui

TMailMessage::TMailMessage() : FRecipients(std::make_unique<TStringList>()), FBody(std::make_unique<TStringList>()) {}
TMailMessage::~TMailMessage() = default;

TSmtpClient::TSmtpClient() { SmtpGlobalInit(); }
TSmtpClient::~TSmtpClient() { Disconnect(); }

void TSmtpClient::Connect() {
  if (FCurl) return;
  const bool HasCredentials = !Username.empty() || !Password.empty();
  const vantrel::ui::SmtpSecurity Plan = vantrel::ui::PlanSmtpSecurity(Url, HasCredentials);
  if (!Plan.Supported) throw ESmtpError("Not an SMTP address: " + Url);
  auto NewHandle = [&] {
    CURL* H = curl_easy_init();
    if (!H) throw ESmtpError("Out of memory");
    curl_easy_setopt(H, CURLOPT_URL, Url.c_str());
    curl_easy_setopt(H, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(H, CURLOPT_USE_SSL, Plan.UseSsl);
    curl_easy_setopt(H, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(std::max(ConnectTimeout, 1)));
    curl_easy_setopt(H, CURLOPT_TIMEOUT_MS, static_cast<long>(std::max(Timeout, 1)));
    if (Plan.Login) {
      curl_easy_setopt(H, CURLOPT_USERNAME, Username.c_str());
      curl_easy_setopt(H, CURLOPT_PASSWORD, Password.c_str());
    }
    return H;
  };
  // Reach the server now (greeting, STARTTLS, login) so that a wrong address or a
  // refused login shows at once.
  CURL* Probe = NewHandle();
  char Error[CURL_ERROR_SIZE] = {};
  curl_easy_setopt(Probe, CURLOPT_ERRORBUFFER, Error);
  curl_easy_setopt(Probe, CURLOPT_CONNECT_ONLY, 1L);
  const CURLcode Rc = curl_easy_perform(Probe);
  curl_easy_cleanup(Probe);
  if (Rc != CURLE_OK) SmtpFail(Rc, Error);
  CURL* C = NewHandle();
  FCurl = C;
}

void TSmtpClient::Send(const TMailMessage& Message) {
  Connect();
  CURL* C = static_cast<CURL*>(FCurl);
  const String From = vantrel::ui::MailAddressOf(Message.From);
  if (From.empty()) throw ESmtpError("The message has no sender");
  SmtpSlist Rcpt;
  for (Integer I = 0; I < Message.Recipients()->Count(); ++I) {
    const String A = vantrel::ui::MailAddressOf(Message.Recipients()->Get(I));
    if (A.empty()) continue;
    curl_slist* Next = curl_slist_append(Rcpt.List, ("<" + A + ">").c_str());
    if (!Next) throw ESmtpError("Out of memory");
    Rcpt.List = Next;
  }
  if (!Rcpt.List) throw ESmtpError("The message has no recipient");
  const String Text = vantrel::ui::BuildMailText(Message, SmtpDateNow(), SmtpNewMessageId(Message.From));
  SmtpUpload Upload{&Text};
  char Error[CURL_ERROR_SIZE] = {};
  const String MailFrom = "<" + From + ">";
  curl_easy_setopt(C, CURLOPT_MAIL_FROM, MailFrom.c_str());
  curl_easy_setopt(C, CURLOPT_MAIL_RCPT, Rcpt.List);
  curl_easy_setopt(C, CURLOPT_READFUNCTION, SmtpRead);
  curl_easy_setopt(C, CURLOPT_READDATA, &Upload);
  curl_easy_setopt(C, CURLOPT_UPLOAD, 1L);
  curl_easy_setopt(C, CURLOPT_ERRORBUFFER, Error);
  const CURLcode Rc = curl_easy_perform(C);
  // Nothing of this message stays with the handle.
  curl_easy_setopt(C, CURLOPT_MAIL_RCPT, nullptr);
  curl_easy_setopt(C, CURLOPT_READDATA, nullptr);
  curl_easy_setopt(C, CURLOPT_ERRORBUFFER, nullptr);
  if (Rc != CURLE_OK) SmtpFail(Rc, Error);
}

void TSmtpClient::Disconnect() {
  if (!FCurl) return;
  curl_easy_cleanup(static_cast<CURL*>(FCurl));
  FCurl = nullptr;
}
