#include "sending/reply.h"

#include <optional>

namespace sending {
namespace {

constexpr std::wstring_view kNotSent = L"Message not sent: ";
constexpr std::size_t kQuotedLength = 200;  // how much of an unreadable reply is quoted

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

std::wstring Quoted(std::wstring_view reply) {
  std::wstring out(reply.substr(0, kQuotedLength));
  if (reply.size() > kQuotedLength) out += L"...";
  return out;
}

ReplyVerdict Unreadable(std::wstring reason, std::wstring_view transfer_error) {
  ReplyVerdict v;
  if (!transfer_error.empty())
    v.text = std::wstring(kNotSent) + L"the transfer to the Lumora service failed.\r\n" +
             std::wstring(transfer_error);
  else
    v.text = std::wstring(kNotSent) + reason;
  return v;
}

ReplyVerdict ServiceReply(std::wstring_view reply, std::wstring_view transfer_error) {
  const auto code = Between(reply, reply, L"<ResultCode>", L"</ResultCode>");
  if (!code)
    return Unreadable(L"the service's reply has no <ResultCode> element.\r\n" + Quoted(reply),
                      transfer_error);
  const auto text = Between(reply, reply, L"<ResultText>", L"</ResultText>");
  if (!text)
    return Unreadable(L"the service's reply has no <ResultText> element.\r\n" + Quoted(reply),
                      transfer_error);
  bool is_zero = false;
  if (!ReadResultCode(*code, is_zero))
    return Unreadable(L"the service's result code \"" + Quoted(*code) + L"\" is not a number.",
                      transfer_error);
  ReplyVerdict v;
  v.readable = true;
  v.accepted = is_zero;
  v.text = is_zero ? std::wstring(L"Message sent") : std::wstring(kNotSent) + std::wstring(*text);
  return v;
}

ReplyVerdict ForeignPage(std::wstring_view reply, std::wstring_view transfer_error) {
  const std::wstring lower = LowerCase(reply);
  const auto title = Between(lower, reply, L"<title>", L"</title>");
  if (!title) {
    if (reply.empty()) return Unreadable(L"no reply came from the Lumora service.", transfer_error);
    return Unreadable(L"the reply is neither from the Lumora service nor a web page with a title:\r\n" +
                          Quoted(reply),
                      transfer_error);
  }
  ReplyVerdict v;
  v.readable = true;
  v.text = std::wstring(kNotSent) + L"\r\n" + std::wstring(*title) + L"\r\nFull details follow: \r\n\r\n" +
           std::wstring(reply);
  return v;
}

}  // namespace

bool ReadResultCode(std::wstring_view text, bool& is_zero) {
  auto blank = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) text.remove_prefix(1);
  bool digits = false, point = false;
  is_zero = true;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      digits = true;
      if (c != L'0') is_zero = false;
    } else if (c == L'.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digits;
}

ReplyVerdict InterpretReply(std::wstring_view reply, std::wstring_view transfer_error) {
  if (reply.substr(0, 5) == L"<?xml") return ServiceReply(reply, transfer_error);
  return ForeignPage(reply, transfer_error);
}

}  // namespace sending
