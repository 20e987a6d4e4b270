#include "sending/reply.h"

namespace sending {
namespace {

constexpr std::wstring_view kNotSent = L"Message not sent: ";
constexpr std::size_t kQuotedLength = 200;  // how much of an unreadable reply is quoted
constexpr std::size_t kPageTextLength = 300;  // how much of a foreign page's words is shown

// The text between the first `open` and the first `close` in `haystack`; positions are
// taken from `search` (the same text, perhaps lower-cased) and the text from `original`.
std::optional<std::wstring_view> Between(std::wstring_view search, std::wstring_view original,
                                         std::wstring_view open, std::wstring_view close) {
  const std::size_t start = search.find(open);
  const std::size_t end = search.find(close);
  if (start == std::wstring_view::npos || end == std::wstring_view::npos) return std::nullopt;
  const std::size_t from = start + open.size();
  if (end < from) return std::nullopt;
  return original.substr(from, end - from);
}

std::wstring LowerCase(std::wstring_view text) {
  std::wstring out(text);
  for (wchar_t& c : out)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return out;
}

bool Blank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }

std::wstring Quoted(std::wstring_view reply) {
  std::wstring out(reply.substr(0, kQuotedLength));
  if (reply.size() > kQuotedLength) out += L"...";
  return out;
}

// "Message not sent: " and what happened, then the detail after an empty line.
std::wstring NotSent(std::wstring_view what, std::wstring_view detail) {
  std::wstring out = std::wstring(kNotSent) + std::wstring(what) + L".";
  if (!detail.empty()) out += L"\r\n\r\n" + std::wstring(detail);
  return out;
}

ReplyVerdict Unreadable(std::wstring_view detail) {
  ReplyVerdict v;
  v.text = NotSent(L"the server's answer could not be read", detail);
  return v;
}

const wchar_t* ProblemWords(TransferProblem problem) {
  switch (problem) {
    case TransferProblem::Unreachable: return L"the server could not be reached";
    case TransferProblem::ProxyUnreachable: return L"the proxy server could not be reached";
    case TransferProblem::TimedOut: return L"the server did not answer in time";
    case TransferProblem::BrokenOff: return L"the connection to the server broke off before its answer came";
    case TransferProblem::Untrusted: return L"the server's certificate is not trusted, so no secure connection was made";
    default: return L"the transfer to the server failed";
  }
}

// A reply that is not the service's: a web server's or a proxy's page, told by its status and
// its words.
ReplyVerdict ForeignPage(const TransferEnd& end, const HttpStatus& status) {
  ReplyVerdict v;
  v.readable = true;
  const bool refused = status.code == 407 || (status.code == 401 && end.proxy_credentials);
  std::wstring detail;
  if (status.code) detail = L"HTTP " + std::to_wstring(status.code) + (status.reason.empty() ? L"" : L" " + status.reason);
  const std::wstring page = PageText(end.reply, kPageTextLength);
  // Error pages repeat their status in the title and the heading: the detail says it once.
  std::wstring_view words = page;
  const std::wstring code = status.code ? std::to_wstring(status.code) : std::wstring();
  auto drop = [&words](std::wstring_view said) {
    if (said.empty() || words.substr(0, said.size()) != said) return false;
    words.remove_prefix(said.size());
    while (!words.empty() && Blank(words.front())) words.remove_prefix(1);
    return true;
  };
  while (drop(code) || drop(status.reason)) {}
  if (!words.empty()) detail += (detail.empty() ? L"" : L": ") + std::wstring(words);
  if (refused) {
    v.followup = Followup::ConnectionPage;
    v.text = NotSent(L"the proxy server refused the request; check the proxy user name and password", detail);
  } else if (status.code >= 400) {
    v.text = NotSent(L"the server answered with an error page", detail);
  } else {
    v.text = NotSent(L"the server answered with a page that is not the Lumora service's reply", detail);
  }
  return v;
}

ReplyVerdict ServiceReply(std::wstring_view reply) {
  const auto code = Between(reply, reply, L"<ResultCode>", L"</ResultCode>");
  if (!code) return Unreadable(L"It has no <ResultCode> element:\r\n" + Quoted(reply));
  const auto text = Between(reply, reply, L"<ResultText>", L"</ResultText>");
  if (!text) return Unreadable(L"It has no <ResultText> element:\r\n" + Quoted(reply));
  const std::optional<double> value = ReadResultCode(*code);
  if (!value) return Unreadable(L"Its result code \"" + Quoted(*code) + L"\" is not a number.");
  ReplyVerdict v;
  v.readable = true;
  v.accepted = *value == 0;
  v.text = v.accepted ? std::wstring(L"Message sent") : std::wstring(kNotSent) + std::wstring(*text);
  // The service's codes for a wrong login and for too few credits (service/README.md).
  if (*value == 3) v.followup = Followup::AccountPage;
  if (*value == 5) v.followup = Followup::BuyPage;
  return v;
}

// Skips the element that starts at `at` ("<script ...") through its end tag; the position
// after it, or the end of `html`.
std::size_t SkipElement(std::wstring_view html, std::wstring_view lower, std::size_t at, std::wstring_view name) {
  const std::size_t end = lower.find(L"</" + std::wstring(name), at);
  if (end == std::wstring_view::npos) return html.size();
  const std::size_t close = html.find(L'>', end);
  return close == std::wstring_view::npos ? html.size() : close + 1;
}

// The character of the entity at `at` ("&amp;"), and its length; nothing for an unknown one.
std::optional<std::pair<wchar_t, std::size_t>> Entity(std::wstring_view html, std::size_t at) {
  const std::size_t end = html.find(L';', at);
  if (end == std::wstring_view::npos || end - at > 8) return std::nullopt;
  const std::wstring_view name = html.substr(at + 1, end - at - 1);
  const std::size_t length = end - at + 1;
  static constexpr std::pair<std::wstring_view, wchar_t> kNamed[] = {
      {L"amp", L'&'}, {L"lt", L'<'}, {L"gt", L'>'}, {L"quot", L'"'}, {L"apos", L'\''}, {L"nbsp", L' '}};
  for (const auto& [entity, c] : kNamed)
    if (name == entity) return std::pair(c, length);
  if (name.size() < 2 || name[0] != L'#') return std::nullopt;
  const bool hex = name[1] == L'x' || name[1] == L'X';
  unsigned long value = 0;
  for (wchar_t c : name.substr(hex ? 2 : 1)) {
    int digit = c >= L'0' && c <= L'9' ? c - L'0' : hex && c >= L'a' && c <= L'f' ? c - L'a' + 10
                                                  : hex && c >= L'A' && c <= L'F' ? c - L'A' + 10 : -1;
    if (digit < 0) return std::nullopt;
    value = value * (hex ? 16 : 10) + static_cast<unsigned long>(digit);
  }
  if (value == 0 || value > 0xFFFF) return std::nullopt;  // one character of the text's width
  return std::pair(static_cast<wchar_t>(value), length);
}

}  // namespace

std::optional<double> ReadResultCode(std::wstring_view text) {
  while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
  double sign = 1;
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
    if (text.front() == L'-') sign = -1;
    text.remove_prefix(1);
  }
  bool digits = false, point = false, fraction = false;
  double whole = 0;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      digits = true;
      if (point)
        fraction = fraction || c != L'0';
      else
        whole = whole * 10 + (c - L'0');
    } else if (c == L'.' && !point) {
      point = true;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  return sign * (whole + (fraction ? 0.5 : 0));
}

HttpStatus StatusOf(std::wstring_view headers) {
  HttpStatus status;
  const std::wstring_view line = headers.substr(0, headers.find(L"\r\n"));
  if (line.substr(0, 5) != L"HTTP/") return status;
  const std::size_t space = line.find(L' ');
  if (space == std::wstring_view::npos) return status;
  std::wstring_view rest = line.substr(space + 1);
  int code = 0, digits = 0;
  for (; digits < static_cast<int>(rest.size()) && digits < 3 && rest[digits] >= L'0' && rest[digits] <= L'9'; ++digits)
    code = code * 10 + (rest[digits] - L'0');
  if (digits != 3) return status;
  status.code = code;
  rest.remove_prefix(3);
  while (!rest.empty() && Blank(rest.front())) rest.remove_prefix(1);
  status.reason = rest;
  return status;
}

std::wstring PageText(std::wstring_view html, std::size_t limit) {
  const std::wstring lower = LowerCase(html);
  std::wstring out;
  bool gap = false;
  std::size_t i = 0;
  auto add = [&](wchar_t c) {
    if (gap && !out.empty()) out += L' ';
    gap = false;
    out += c;
  };
  while (i < html.size() && out.size() <= limit) {
    const wchar_t c = html[i];
    if (c == L'<') {
      const std::wstring_view rest = std::wstring_view(lower).substr(i);
      if (rest.substr(0, 4) == L"<!--") {
        const std::size_t end = lower.find(L"-->", i + 4);
        i = end == std::wstring::npos ? html.size() : end + 3;
      } else if (rest.substr(0, 7) == L"<script" || rest.substr(0, 6) == L"<style") {
        i = SkipElement(html, lower, i, rest[1] == L's' && rest[2] == L'c' ? L"script" : L"style");
      } else {
        const std::size_t end = html.find(L'>', i);
        i = end == std::wstring_view::npos ? html.size() : end + 1;
      }
      gap = true;
    } else if (c == L'&' && Entity(html, i)) {
      const auto [decoded, length] = *Entity(html, i);
      if (decoded == L' ') gap = true; else add(decoded);
      i += length;
    } else {
      if (Blank(c)) gap = true; else add(c);
      ++i;
    }
  }
  if (out.size() > limit) out = out.substr(0, limit) + L"...";
  return out;
}

ReplyVerdict InterpretReply(const TransferEnd& end) {
  if (end.problem != TransferProblem::None) {
    ReplyVerdict v;
    v.text = NotSent(ProblemWords(end.problem), end.error);
    return v;
  }
  const HttpStatus status = StatusOf(end.headers);
  const bool service = end.reply.substr(0, 5) == L"<?xml";
  if (service) {
    ReplyVerdict v = ServiceReply(end.reply);
    // A proxy's or server's refusal may be an XHTML page: told by its status.
    if (v.readable || status.code < 400) return v;
  }
  if (end.reply.empty() && status.code < 400) return Unreadable(L"The answer was empty.");
  return ForeignPage(end, status);
}

}  // namespace sending
