#pragma once
// The message as the service receives it, and how many SMS parts it takes, counted the way
// the network sends it. The phone's counters, the question before a send of several parts and
// the service's bill all come from this one count.
//
// What is counted: the text the service receives, the message, CR LF, then the footer. Its
// last CR LF, which joins message and footer when the footer has no line break of its own,
// counts as one character; every other line break counts as its two characters CR and LF,
// as the message box holds them.
//
// How: a text whose every character is in the GSM 7-bit alphabet goes in GSM 7-bit, 160
// places in a single message and 153 in each part of a longer one; a character of the
// alphabet's extension table (form feed ^ { } \ [ ~ ] | and the euro sign) takes two places.
// Any other text goes in UCS-2, 70 places in a single message and 67 in each part; a character
// outside the Basic Multilingual Plane (most emoji) takes two. A character never straddles two
// parts: one of two places that does not fit in what is left of a part starts the next, and
// the place it leaves is lost.
//
// So a message in the GSM alphabet without extension characters counts as it always did up to
// 160: its characters, plus the footer's, plus one.
#include <cstdint>
#include <string>
#include <string_view>

// The message as it goes to the service: the text, CR LF, then the footer (CR LF even when
// the footer is empty).
std::wstring ComposeBody(std::wstring_view text, std::wstring_view footer);

struct MessageCount {
  std::int32_t total = 0;    // places the characters take (lost places not included)
  std::int32_t nummsgs = 0;  // parts, at least 1
  std::int32_t left = 0;     // places left in the last part
  bool gsm = true;           // GSM 7-bit; otherwise UCS-2
};

MessageCount CountMessage(std::wstring_view message, std::wstring_view footer);

// The same count for the text as the service receives it (message, CR LF, footer). A text
// without any CR LF counts every character.
MessageCount CountBody(std::wstring_view body);
