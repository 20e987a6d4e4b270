#include "phone/frmPhone_win.h"

#include <commctrl.h>

#include <algorithm>

#include "access/described_win.h"
#include "app/controls_win.h"
#include "app/dpi_win.h"
#include "app/modHotkeys_win.h"
#include "graphics/cDIBSection_win.h"
#include "phone/keypad.h"
#include "phone/phone_ids_win.h"
#include "text/counters.h"
#include "text/number.h"

using modHotkeys::state;
namespace ids = phone_ids;

namespace {

constexpr int kWidth = 150, kHeight = 352;
constexpr COLORREF kNumBack = RGB(224, 224, 224);
constexpr COLORREF kMsgBack = RGB(192, 255, 192);
constexpr COLORREF kTransparent = RGB(0, 0, 0);  // black outside the phone is see-through

// Loading order of the pictures, as the holders are numbered.
constexpr const wchar_t* kImageFiles[] = {
    L"\\images\\phone4.gif", L"\\images\\picclr.gif", L"\\images\\picclr1.gif",
    L"\\images\\send.gif",   L"\\images\\send1.gif",  L"\\images\\down.gif",
    L"\\images\\down1.gif",  L"\\images\\up.gif",     L"\\images\\up1.gif"};

struct KeyArea {
  int x, y, width, height;
};
// Label1 ... Label11 over the keys of the picture: 1-9, then 0, then back.
constexpr KeyArea kKeys[] = {{26, 212, 23, 19}, {60, 212, 25, 19}, {96, 212, 23, 19},
                             {26, 236, 23, 19}, {60, 238, 25, 19}, {96, 236, 23, 19},
                             {26, 260, 23, 19}, {60, 260, 25, 19}, {96, 260, 23, 19},
                             {60, 286, 25, 19}, {28, 286, 23, 19}};

// The number box cuts text placed into it by the program to the limit, as typing is limited
// by EM_SETLIMITTEXT: a longer number must never reach the service as a different one.
LRESULT CALLBACK NumberBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  if (msg == WM_SETTEXT && lp) {
    std::wstring text(reinterpret_cast<const wchar_t*>(lp));
    if (text.size() > static_cast<std::size_t>(frmPhone::kNumberLimit)) {
      text.resize(frmPhone::kNumberLimit);
      return ::DefSubclassProc(hwnd, msg, wp, reinterpret_cast<LPARAM>(text.c_str()));
    }
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

// A multi-line edit box does not report text placed with WM_SETTEXT as a change; the
// counters must follow such text too (the send-to-own-phone hotkey places its message there
// and sends at once), so the message box reports it itself.
LRESULT CALLBACK MessageTextProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
  LRESULT result = ::DefSubclassProc(hwnd, msg, wp, lp);
  if (msg == WM_SETTEXT && result)
    ::SendMessageW(::GetParent(hwnd), WM_COMMAND,
                   MAKEWPARAM(::GetDlgCtrlID(hwnd), EN_CHANGE), reinterpret_cast<LPARAM>(hwnd));
  return result;
}

// A label or counter takes the size of its text, growing to the right from its left edge.
void FitToText(HWND label) {
  std::wstring text = ui::GetText(label);
  win::window_dc dc(label);
  auto font = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
  win::select_object selected(dc.get(), font);
  SIZE size{};
  ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  ::SetWindowPos(label, nullptr, 0, 0, size.cx + 1, std::max<LONG>(size.cy, ui::Scale(11)),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT RectInParent(HWND child) {
  RECT rc;
  ::GetWindowRect(child, &rc);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&rc), 2);
  return rc;
}

}  // namespace

void frmPhone::Form_Load() {
  CreateFormWindow({L"BrevioPhone", L"Lumora - Brevio", WS_POPUP, WS_EX_CONTROLPARENT, kWidth,
                    kHeight});
  histPos = 0;
  font_ = ui::MakeFont(L"Tahoma", 8.25);
  message_font_ = ui::MakeFont(L"Verdana", 6.75);
  label_font_ = ui::MakeFont(L"Tahoma", 6.75);
  num_brush_.reset(::CreateSolidBrush(kNumBack));
  msg_brush_.reset(::CreateSolidBrush(kMsgBack));
  CreateBoxes();
  CreateArrows();
  CreateCounters();
  CreateKeypad();
  // Tab order: message, send, close, number, the arrows, the keypad in reading order, "?" last.
  ::SetWindowPos(Command1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  AddTooltips();
  DescribeForScreenReaders();
  // Errors below are skipped one step at a time: a missing picture leaves its holder empty.
  LoadImages();
  ResetPictures();
  try {
    ShapeWindow();
  } catch (...) {  // a failed step ends the shaping; loading goes on
  }
  ui::CentreOnScreen(hWnd());
}

void frmPhone::CreateBoxes() {
  HWND w = hWnd();
  // Created in tab order: message, send, close, number, then "?".
  txtMsg = ui::AddControl(w, L"EDIT", L"",
                          WS_TABSTOP | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN, 32, 88, 83,
                          61, ids::kMsg, message_font_.get());
  ::SendMessageW(txtMsg, EM_SETLIMITTEXT, 0, 0);  // no limit beyond memory
  ::SetWindowSubclass(txtMsg, &MessageTextProc, 1, 0);
  // Send and close: highlighted under the pointer and while focused.
  auto key_button = [&](std::unique_ptr<PictureBox>& button, int id, RECT at, enum Image over,
                        void (frmPhone::*click)()) {
    button = std::make_unique<PictureBox>(
        w, id, at.left, at.top, at.right, at.bottom, true,
        PictureBox::Events{[this, click] { (this->*click)(); }, nullptr,
                           [this, &button, over] { button->SetPicture(Image(over)); },
                           [this, &button, over](bool gained) {
                             if (gained) button->SetPicture(Image(over));
                             else ResetPictures();
                           }});
  };
  key_button(Picture4, ids::kSend, {53, 167, 35, 25}, picSendOver, &frmPhone::Picture4_Click);
  key_button(Picture2, ids::kClose, {20, 166, 30, 26}, picClrover, &frmPhone::Picture2_Click);
  txtNum = ui::AddControl(w, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, 28, 60, 77, 19, ids::kNum,
                          font_.get());
  ::SendMessageW(txtNum, EM_SETLIMITTEXT, kNumberLimit, 0);
  ::SetWindowSubclass(txtNum, &NumberBoxProc, 1, 0);
  // Drawn by the window to sit on the phone's screen like a small key.
  Command1 = ui::AddControl(w, L"BUTTON", L"?", WS_TABSTOP | BS_OWNERDRAW, 106, 62, 13, 17,
                            ids::kHelp, font_.get());
}

void frmPhone::CreateArrows() {
  Picture1 = std::make_unique<PictureBox>(
      hWnd(), ids::kUp, 94, 167, 32, 19, true,
      PictureBox::Events{[this] { Picture1_Click(); }, nullptr,
                         [this] {
                           ResetPictures();
                           if (histPos != 0) Picture1->SetPicture(Image(picUpO));
                         },
                         nullptr});
  Picture5 = std::make_unique<PictureBox>(
      hWnd(), ids::kDown, 88, 186, 32, 19, true,
      PictureBox::Events{[this] { Picture5_Click(); }, nullptr,
                         [this] {
                           ResetPictures();
                           if (history::CanMoveOlder(histPos, state.History.size()))
                             Picture5->SetPicture(Image(picDownO));
                         },
                         nullptr});
}

void frmPhone::CreateCounters() {
  auto label = [&](const wchar_t* text, int x, int y, int width, int id) {
    HWND h = ui::AddControl(hWnd(), L"STATIC", text, SS_LEFT | SS_NOPREFIX, x, y, width, 11, id,
                            label_font_.get());
    FitToText(h);
    return h;
  };
  label(L"Total:", 70, 20, 24, ids::kLabelTotal);
  lblTotalChars = label(L"0", 108, 20, 5, ids::kTotalChars);
  label(L"Msgs:", 70, 32, 24, ids::kLabelMsgs);
  lblMsgs = label(L"0", 108, 32, 5, ids::kMsgs);
  label(L"Chars left:", 50, 44, 43, ids::kLabelLeft);
  lblCharsLeft = label(L"160", 98, 44, 15, ids::kCharsLeft);
}

void frmPhone::CreateKeypad() {
  // In reading order, which is their tab order: the bottom row is back, then 0.
  for (int area : {1, 2, 3, 4, 5, 6, 7, 8, 9, 11, 10}) {
    const KeyArea& k = kKeys[area - 1];
    keys_[area] = std::make_unique<PictureBox>(
        hWnd(), ids::kKey + area, k.x, k.y, k.width, k.height, true,
        PictureBox::Events{nullptr, [this, area](UINT) { Label_MouseDown(area); }, nullptr, nullptr});
  }
}

void frmPhone::AddTooltips() {
  HWND w = hWnd();
  ui::AddTooltip(w, txtNum, L"Enter a mobile number here...");
  ui::AddTooltip(w, txtMsg, L"Enter a message here then click send...");
  ui::AddTooltip(w, Picture2->hWnd(), L"Close");
  ui::AddTooltip(w, Picture1->hWnd(), L"Next number");
  ui::AddTooltip(w, Picture5->hWnd(), L"Last number");
  ui::AddTooltip(w, keys_[11]->hWnd(), L"Back");
}

void frmPhone::LoadImages() {
  const std::wstring folder = modHotkeys::AppPath();
  for (int i = 0; i < kImages; ++i) {
    try {
      // The shape is made from the scaled phone, so its see-through black stays exact there.
      images_[i] = graphics::ScreenPicture::Load(
          folder + kImageFiles[i], i == picBackground ? std::optional(kTransparent) : std::nullopt);
    } catch (...) {  // left empty: its button shows nothing
    }
  }
}

void frmPhone::ResetPictures() {
  Picture1->SetPicture(Image(picUp));
  Picture2->SetPicture(Image(picClr));
  Picture4->SetPicture(Image(picSend));
  Picture5->SetPicture(Image(picDown));
}

void frmPhone::ShapeWindow() {
  cDIBSection dib;
  dib.CreateFromPicture(Image(picBackground));
  if (!phoneRgn) phoneRgn = std::make_unique<cDIBSectionRegion>();
  phoneRgn->Create(dib, kTransparent);
  phoneRgn->Applied(hWnd(), true);
  ::InvalidateRect(hWnd(), nullptr, TRUE);  // the phone picture is the background
}

void frmPhone::PaintBackground(HDC dc, int from_x, int from_y) {
  HBITMAP phone = Image(picBackground);
  if (!phone) {
    RECT rc{0, 0, ui::Scale(kWidth), ui::Scale(kHeight)};
    ::FillRect(dc, &rc, ::GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  win::unique_dc memory(::CreateCompatibleDC(dc));
  win::select_object selected(memory.get(), phone);
  ::BitBlt(dc, 0, 0, ui::Scale(kWidth) - from_x, ui::Scale(kHeight) - from_y, memory.get(), from_x, from_y,
           SRCCOPY);
}

void frmPhone::Form_Unload() {
  // The shape comes off the window before the region is deleted.
  if (!phoneRgn) phoneRgn = std::make_unique<cDIBSectionRegion>();
  phoneRgn->Destroy();
  phoneRgn.reset();
}

void frmPhone::DrawHelpButton(const DRAWITEMSTRUCT& item) {
  HDC dc = item.hDC;
  RECT rc = item.rcItem;
  const bool pressed = (item.itemState & ODS_SELECTED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  PaintBackground(dc, RectInParent(item.hwndItem).left, RectInParent(item.hwndItem).top);
  win::unique_brush face(::CreateSolidBrush(pressed ? RGB(200, 214, 226) : RGB(236, 242, 247)));
  win::unique_gdi pen(::CreatePen(PS_SOLID, 1, RGB(36, 84, 107)));
  {
    win::select_object b(dc, face.get()), p(dc, pen.get());
    ::RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, ui::Scale(6), ui::Scale(6));
  }
  if (focused) ui::DrawFocusRing(dc, rc);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, RGB(31, 67, 84));
  win::select_object f(dc, font_.get());
  if (pressed) ::OffsetRect(&rc, 0, 1);
  ::DrawTextW(dc, L"?", 1, &rc, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void frmPhone::SetCounter(HWND label, std::int64_t value) {
  RECT before = RectInParent(label);
  ui::SetText(label, std::to_wstring(value));
  FitToText(label);
  RECT after = RectInParent(label), both;
  ::UnionRect(&both, &before, &after);
  // Transparent labels do not erase what they showed before: the phone is drawn again there.
  ::RedrawWindow(hWnd(), &both, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void frmPhone::SetCharsLeft() {
  // Shown in full: past what 16 bits can hold the counters still show the true total, parts
  // and characters left.
  MessageCount c = CountMessage(ui::GetText(txtMsg), owner.footer());
  total = c.total;
  nummsgs = c.nummsgs;
  SetCounter(lblCharsLeft, c.left);
  SetCounter(lblMsgs, c.nummsgs);
  SetCounter(lblTotalChars, c.total);
  access::ValueChanged(::GetDlgItem(hWnd(), ids::kLabelTotal));  // their sentence for screen readers
}

void frmPhone::Label_MouseDown(int area) {
  const std::wstring text = ui::GetText(txtNum);
  if (area == 11)
    ui::SetText(txtNum, keypad::PressBack(text));
  else if (wchar_t digit = keypad::DigitOfArea(area))
    ui::SetText(txtNum, keypad::PressDigit(text, digit, kNumberLimit));
}

void frmPhone::Picture1_Click() { ShowHistoryEntry(history::MoveNewer(histPos, state.History.size())); }

void frmPhone::Picture5_Click() { ShowHistoryEntry(history::MoveOlder(histPos, state.History.size())); }

void frmPhone::ShowHistoryEntry(std::optional<history::Move> move) {
  if (!move) return;
  histPos = move->histPos;
  histIdx = move->histIdx;
  histItem = state.History[static_cast<std::size_t>(histIdx) - 1];
  ui::SetText(txtNum, histItem->number);
}

void frmPhone::AddToHistory(const std::wstring& captured) {
  const std::wstring number =
      modBrevio::NormaliseNumber(captured, owner.country_code());
  if (number.empty()) return;
  ui::SetText(txtNum, number);  // cut to the box's limit
  state.History.push_back({ui::GetText(txtNum)});
}

void frmPhone::Picture4_Click() {
  ui::SetText(txtNum, modBrevio::NormaliseNumber(ui::GetText(txtNum), owner.country_code()));
  // A failed send (no number, no account, a refused confirmation, a refusal by the service)
  // leaves the window open with its number and message.
  if (owner.send(true)) CloseWindow(true);
}

void frmPhone::Picture2_Click() { CloseWindow(false); }

void frmPhone::CloseWindow(bool sent) {
  Hide();
  if (!sent && state.hWndPrev) ::SetForegroundWindow(state.hWndPrev);
}

void frmPhone::Command1_Click() { owner.show_options(); }

void frmPhone::ShowForMessage() {
  ::SendMessageW(txtMsg, EM_SETSEL, 0, -1);
  Show();
  ::SetFocus(txtMsg);
}

HWND frmPhone::FirstFocus() const { return txtMsg; }

HWND frmPhone::DefaultButton() const { return Picture4->hWnd(); }

bool frmPhone::PreviewKey(const MSG& msg) {
  // Esc acts on its release. Its press is kept from the controls: a multi-line edit box
  // would otherwise close (and so unload) the window, as it does in a dialog.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) return true;
  // Up and Down in the number box walk the history, as the arrows below it do.
  if (msg.message == WM_KEYDOWN && msg.hwnd == txtNum && (msg.wParam == VK_UP || msg.wParam == VK_DOWN)) {
    if (msg.wParam == VK_UP) Picture1_Click();
    else Picture5_Click();
    return true;
  }
  if (msg.message != WM_KEYUP) return false;
  if (msg.wParam == VK_ESCAPE) {
    CloseWindow(false);
    return true;
  }
  if (msg.hwnd == txtMsg) SetCharsLeft();  // an arrow key, say: a footer changed meanwhile
  return false;
}

HBRUSH frmPhone::ColourControl(UINT msg, HDC dc, HWND control) {
  if (msg == WM_CTLCOLOREDIT) {
    const bool number = control == txtNum;
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, number ? kNumBack : kMsgBack);
    return number ? num_brush_.get() : msg_brush_.get();
  }
  if (control == Command1) return nullptr;
  const bool counter = control == lblTotalChars || control == lblMsgs || control == lblCharsLeft;
  ::SetTextColor(dc, counter ? RGB(255, 255, 255) : RGB(0, 0, 0));
  ::SetBkMode(dc, TRANSPARENT);
  return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

LRESULT frmPhone::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND:
      PaintBackground(reinterpret_cast<HDC>(wp));
      return 1;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (HBRUSH brush = ColourControl(msg, reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp)))
        return reinterpret_cast<LRESULT>(brush);
      break;
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case ids::kMsg:
          if (HIWORD(wp) == EN_CHANGE) SetCharsLeft();
          return 0;
        case ids::kHelp:
          if (HIWORD(wp) == BN_CLICKED) Command1_Click();
          return 0;
        case IDOK:
        case IDCANCEL:  // Esc closes on its release; Enter presses the send key (DefaultButton)
          return 0;
      }
      break;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->hwndItem != Command1) break;
      DrawHelpButton(*item);
      return TRUE;
    }
    case WM_MOUSEMOVE:
      ResetPictures();
      return 0;
    case WM_LBUTTONDOWN:
      // Dragging the phone's body moves the window, as if its title bar had been grabbed.
      ::ReleaseCapture();
      ::SendMessageW(hWnd(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
  }
  return Default(msg, wp, lp);
}
