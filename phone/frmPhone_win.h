#pragma once
// The send window, drawn as a mobile phone. The send reads its two boxes; the own-phone
// hotkey places its text there too, so it may be loaded without being shown.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/forms_win.h"
#include "graphics/cDIBSectionRegion_win.h"
#include "graphics/scaled_picture_win.h"
#include "app/history_item.h"
#include "phone/history.h"
#include "phone/picture_box_win.h"

// What the phone window asks of the window that sends: the options window, a layer above,
// which sets frmPhone::owner when it loads (until then: no footer, no country code, no send).
// The footer is counted with the message, the country code turns national numbers
// international, `send` is its SendMessage, and the "?" key shows it.
struct PhoneOwner {
  std::function<std::wstring()> footer = [] { return std::wstring(); };
  std::function<std::wstring()> country_code = [] { return std::wstring(); };
  std::function<bool(bool check_number)> send = [](bool) { return false; };
  std::function<void()> show_options = [] {};
};

class frmPhone : public FormOf<frmPhone> {
 public:
  static inline PhoneOwner owner;

  HWND txtNum = nullptr;  // destination number, at most kNumberLimit characters
  HWND txtMsg = nullptr;  // message text

  std::int32_t total = 0;    // characters counted for the message: message + footer + 1
  std::int32_t nummsgs = 0;  // SMS parts as the counters show them

  // Up to 15 digits: the longest international number. Holds for typing and for text the
  // program places into the box alike (longer text is cut).
  static constexpr int kNumberLimit = 15;

  void SetCharsLeft();  // recomputes total, nummsgs and the counters on the phone's screen

  // Position in the number history (0 = newest), the index and entry shown by the last move.
  std::int32_t histPos = 0;
  std::int32_t histIdx = 0;
  std::optional<HistoryItem> histItem;

  void ResetPictures();          // the normal image on all four picture buttons
  void CloseWindow(bool sent);   // hides; without a send, hands the focus back to hWndPrev
  // The way the number hotkey opens the window: the message selected, shown, focused.
  void ShowForMessage();
  // The number hotkey's capture: normalised into the number box and appended to the history
  // as the box then holds it; text that normalises to nothing changes nothing.
  void AddToHistory(const std::wstring& captured);

  // Handlers, public so that the window can be driven as the user would.
  void Picture1_Click();  // up: a newer history entry
  void Picture5_Click();  // down: an older history entry
  void Picture4_Click();  // send
  void Picture2_Click();  // close
  void Command1_Click();  // "?": the options window
  void Label_MouseDown(int area);  // keypad: areas 1-10 digits, 11 back

 protected:
  void Form_Load() override;
  void Form_Unload() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool PreviewKey(const MSG& msg) override;
  HWND FirstFocus() const override;     // the message box
  HWND DefaultButton() const override;  // the send key

 private:
  enum Image { picBackground, picClr, picClrover, picSend, picSendOver, picDown, picDownO, picUp, picUpO, kImages };

  void CreateBoxes();     // message, send, close, number and "?": the controls in the tab order
  void CreateArrows();    // the history's up and down arrows
  void CreateKeypad();    // the hit areas over the picture's keys
  void CreateCounters();  // and their captions
  void AddTooltips();
  void DescribeForScreenReaders();  // phone_access_win.cpp
  // The colours of the counters, their captions and the two boxes; null for other controls.
  HBRUSH ColourControl(UINT msg, HDC dc, HWND control);
  void ShowHistoryEntry(std::optional<history::Move> move);  // the arrows' step, if any
  void LoadImages();
  void ShapeWindow();
  // The phone picture from (from_x, from_y) on, drawn at the device context's origin.
  void PaintBackground(HDC dc, int from_x = 0, int from_y = 0);
  void DrawHelpButton(const DRAWITEMSTRUCT& item);
  void SetCounter(HWND label, std::int64_t value);
  HBITMAP Image(enum Image which) const { return images_[which].Handle(); }

  std::array<graphics::ScreenPicture, kImages> images_;
  std::unique_ptr<cDIBSectionRegion> phoneRgn;
  std::unique_ptr<PictureBox> Picture1, Picture2, Picture4, Picture5;
  std::array<std::unique_ptr<PictureBox>, 12> keys_;  // Label1 ... Label11 at [1] ... [11]
  HWND Command1 = nullptr;
  HWND lblTotalChars = nullptr, lblMsgs = nullptr, lblCharsLeft = nullptr;

  win::unique_font font_;
  win::unique_font message_font_;
  win::unique_font label_font_;
  win::unique_brush num_brush_;
  win::unique_brush msg_brush_;
};
