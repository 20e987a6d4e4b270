// What a screen reader finds in the windows through MSAA (oleacc), asking as it does from
// outside: the names, roles, states and values of the phone's drawn keys and counters, the
// padlock and the standard controls; the drawn keys' default actions; the events it follows.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <vector>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/phone_ids_win.h"
#include "wine_util.h"

using namespace testing_win;
namespace ids = phone_ids;

namespace {

struct Read {
  std::wstring name, value, action, description;
  LONG role = 0, state = 0;
  win::unique_com<IAccessible> object;
};
const VARIANT kSelf = [] { VARIANT v{}; v.vt = VT_I4; v.lVal = CHILDID_SELF; return v; }();

// The control's client object as AccessibleObjectFromWindow hands it to a screen reader.
Read ReadObject(HWND control) {
  Read read;
  ::AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(read.object.put()));
  if (!read.object) return read;
  IAccessible* o = read.object.get();
  for (auto [get, out] : {std::pair{&IAccessible::get_accName, &read.name}, {&IAccessible::get_accValue, &read.value},
                          {&IAccessible::get_accDefaultAction, &read.action},
                          {&IAccessible::get_accDescription, &read.description}}) {
    BSTR b = nullptr;
    if ((o->*get)(kSelf, &b) == S_OK) *out = b;
    ::SysFreeString(b);
  }
  VARIANT v{};
  if (o->get_accRole(kSelf, &v) == S_OK) read.role = v.lVal;
  if (o->get_accState(kSelf, &v) == S_OK) read.state = v.lVal;
  return read;
}

class Accessibility : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    CopyImagesTo(modHotkeys::AppPath());
    frmOptions::Get().FinishLoad();
    frmPhone::Get().Show();
    PumpFor(200);
  }
  static void TearDownTestSuite() { forms::UnloadAll(); }
  static HWND Phone(int id) { return ::GetDlgItem(frmPhone::Get().hWnd(), id); }
  frmOptions& options = frmOptions::Get();
  frmPhone& phone = frmPhone::Get();
};

}  // namespace

TEST_F(Accessibility, ScreenReadersFindEachControlByNameRoleAndState) {
  ui::SetText(options.account.txtFooter, L"");
  ui::SetText(phone.txtMsg, std::wstring(15, L'm'));  // total 16, 1 part, 144 left
  ui::SetChecked(options.connection.chkSecure, true);
  modHotkeys::state.History.clear();  // neither arrow would move
  frmWarning::Alert(AlertMode::Phone, L"Please enter a mobile number to send to.");
  // An empty name is not checked (objects that are not read), nor is role 0; state: the bits that must be set.
  struct Row { HWND control; std::wstring name; LONG role, state; const wchar_t* value = nullptr; };
  std::vector<Row> rows = {
      {Phone(ids::kKey + 11), L"Delete", ROLE_SYSTEM_PUSHBUTTON, 0}, {Phone(ids::kSend), L"Send", ROLE_SYSTEM_PUSHBUTTON, 0},
      {Phone(ids::kClose), L"Close", ROLE_SYSTEM_PUSHBUTTON, 0}, {Phone(ids::kHelp), L"Options", ROLE_SYSTEM_PUSHBUTTON, 0},
      {Phone(ids::kDown), L"Previous number", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE},
      {Phone(ids::kUp), L"Next number", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_UNAVAILABLE},
      {phone.txtNum, L"Number", ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE},
      {phone.txtMsg, L"Message", ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE},
      {Phone(ids::kLabelTotal), L"Message length", ROLE_SYSTEM_STATICTEXT, 0, L"Total 16, messages 1, characters left 144"},
      // Read once, in the sentence above: the captions and figures themselves are not read.
      {Phone(ids::kLabelMsgs), L"", 0, STATE_SYSTEM_INVISIBLE}, {Phone(ids::kCharsLeft), L"", 0, STATE_SYSTEM_INVISIBLE},
      {options.connection.chkSecure, L"Secure connection", ROLE_SYSTEM_CHECKBUTTON, STATE_SYSTEM_CHECKED},
      // Standard controls: an edit box is named by the label before it.
      {options.account.txtUsr, L"Username:", ROLE_SYSTEM_TEXT, 0},
      {options.account.txtFooter, L"To add an optional footer to all your messages add some text here:", ROLE_SYSTEM_TEXT, 0},
      {options.connection.txtProxyPwd, L"Password:", ROLE_SYSTEM_TEXT, STATE_SYSTEM_PROTECTED},
      {options.frame.cmdSave, L"Save", 0, 0},  // Wine 8's standard object gives buttons no role
      {options.help.Label12, L"http://localhost/help.jsp", ROLE_SYSTEM_LINK, STATE_SYSTEM_LINKED},
      {frmWarning::Get().hWnd(), L"Brevio Alert", ROLE_SYSTEM_ALERT, 0}, {frmWarning::Get().Label1, L"Message", ROLE_SYSTEM_TEXT, 0},
  };
  for (int area = 1; area <= 10; ++area)
    rows.push_back({Phone(ids::kKey + area), std::wstring(1, L"1234567890"[area - 1]), ROLE_SYSTEM_PUSHBUTTON, 0});
  for (const Row& row : rows) {
    const Read read = ReadObject(row.control);
    SCOPED_TRACE(testing::Message() << "control " << row.control << " read as \"" << std::string(read.name.begin(), read.name.end())
                                    << "\" role " << read.role << " state 0x" << std::hex << read.state);
    EXPECT_EQ(row.name.empty() ? row.name : read.name, row.name);
    EXPECT_EQ(row.role ? read.role : 0, row.role);
    EXPECT_EQ(read.state & row.state, row.state);
    EXPECT_EQ(row.value ? read.value : L"", row.value ? row.value : L"");
  }
}

TEST_F(Accessibility, DefaultActionsTypeDigitsDeleteAndToggleThePadlockAfterTheCallReturns) {
  ui::SetText(phone.txtNum, L"44");
  ui::SetChecked(options.connection.chkSecure, false);
  const HWND presses[] = {Phone(ids::kKey + 7), Phone(ids::kKey + 10), Phone(ids::kKey + 11), Phone(ids::kKey + 3),
                          options.connection.chkSecure};
  for (HWND control : presses) {
    const Read read = ReadObject(control);
    ASSERT_TRUE(read.object);
    EXPECT_EQ(read.action, control == options.connection.chkSecure ? L"Toggle" : L"Press");
    EXPECT_EQ(read.object.get()->accDoDefaultAction(kSelf), S_OK);
  }
  EXPECT_EQ(ui::GetText(phone.txtNum), L"44") << "posted: a reader in another process does not wait for the action";
  PumpFor(100);
  EXPECT_EQ(ui::GetText(phone.txtNum), L"4473");
  EXPECT_TRUE(ReadObject(options.connection.chkSecure).state & STATE_SYSTEM_CHECKED);
}

TEST_F(Accessibility, ReadersHearTheCountersChangeTheFocusReachAKeyAndEachAlert) {
  static std::vector<std::pair<DWORD, HWND>> events;
  HWINEVENTHOOK hook = ::SetWinEventHook(
      EVENT_SYSTEM_ALERT, EVENT_OBJECT_VALUECHANGE, nullptr,
      [](HWINEVENTHOOK, DWORD event, HWND hwnd, LONG, LONG, DWORD, DWORD) { events.push_back({event, hwnd}); }, 0, 0,
      WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(hook);
  ui::SetText(phone.txtMsg, std::wstring(16, L'm'));
  ::SetFocus(Phone(ids::kSend));
  EXPECT_EQ(ReadObject(Phone(ids::kSend)).state & STATE_SYSTEM_FOCUSED, STATE_SYSTEM_FOCUSED);
  frmWarning::Alert(AlertMode::SendResult, L"first");
  frmWarning::Alert(AlertMode::SendResult, L"Message sent");  // a second in a row is heard too
  PumpFor(100);
  ::UnhookWinEvent(hook);
  auto heard = [&](DWORD event, HWND hwnd) { return std::count(events.begin(), events.end(), std::pair{event, hwnd}); };
  EXPECT_GT(heard(EVENT_OBJECT_VALUECHANGE, Phone(ids::kLabelTotal)), 0);
  EXPECT_EQ(ReadObject(Phone(ids::kLabelTotal)).value, L"Total 17, messages 1, characters left 143");
  EXPECT_GT(heard(EVENT_OBJECT_FOCUS, Phone(ids::kSend)), 0);
  EXPECT_EQ(heard(EVENT_SYSTEM_ALERT, frmWarning::Get().hWnd()), 2);
  EXPECT_EQ(ReadObject(frmWarning::Get().hWnd()).description, L"Message sent");
  EXPECT_EQ(ReadObject(frmWarning::Get().Command1).description, L"Message sent") << "read with the focused OK";
}

TEST_F(Accessibility, AnObjectHeldPastItsWindowSaysItIsGoneInsteadOfCallingIntoIt) {
  Read key = ReadObject(Phone(ids::kKey + 1));
  ASSERT_EQ(key.name, L"1");
  phone.Unload();  // the phone's handlers go with it
  BSTR name = nullptr;
  EXPECT_EQ(key.object.get()->get_accName(kSelf, &name), RPC_E_DISCONNECTED);
  EXPECT_EQ(key.object.get()->accDoDefaultAction(kSelf), RPC_E_DISCONNECTED);
}
