#pragma once
// Control identifiers of the phone window (GetDlgItem), for the window and its tests.
namespace phone_ids {
inline constexpr int kNum = 101;       // txtNum
inline constexpr int kMsg = 102;       // txtMsg
inline constexpr int kHelp = 103;      // Command1, "?"
inline constexpr int kUp = 301;        // Picture1
inline constexpr int kClose = 302;     // Picture2
inline constexpr int kSend = 304;      // Picture4
inline constexpr int kDown = 305;      // Picture5
inline constexpr int kLabelTotal = 401;  // Label12 "Total:"
inline constexpr int kLabelMsgs = 402;   // Label14 "Msgs:"
inline constexpr int kLabelLeft = 403;   // Label13 "Chars left:"
inline constexpr int kTotalChars = 411;  // lblTotalChars
inline constexpr int kMsgs = 412;        // lblMsgs
inline constexpr int kCharsLeft = 413;   // lblCharsLeft
// Keypad hit areas Label1 ... Label11: kKey + n (Label10 is the 0, Label11 the back key).
inline constexpr int kKey = 200;
}  // namespace phone_ids
