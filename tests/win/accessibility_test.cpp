// What a screen reader finds in the windows through MSAA (oleacc), as it asks from outside:
// the names, roles and states of the phone's drawn keys and counters, the padlock and the
// standard controls, and the drawn keys' default actions.
#include <gtest/gtest.h>

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <vector>

#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/phone_ids_win.h"
#include "wine_util.h"

using namespace testing_win;
namespace ids = phone_ids;

namespace {

struct Read {
  std::wstring name, value, action;
  LONG role = 0, state = 0;
};

// The control's client object as AccessibleObjectFromWindow hands it to a screen reader.
win::unique_com<IAccessible> Object(HWND control) {
  win::unique_com<IAccessible> object;
  ::AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(object.put()));
  return object;
}
VARIANT Self() {
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  return self;
}
const VARIANT kSelf = Self();

Read ReadObject(HWND control) {
  Read read;
  auto object = Object(control);
  if (!object) return read;
  auto text = [&](HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, BSTR*)) {
    BSTR b = nullptr;
    (object.get()->*get)(kSelf, &b);
    std::wstring s = b ? b : L"";
    ::SysFreeString(b);
    return s;
  };
  read.name = text(&IAccessible::get_accName);
  read.value = text(&IAccessible::get_accValue);
  read.action = text(&IAccessible::get_accDefaultAction);
  VARIANT v{};
  if (SUCCEEDED(object.get()->get_accRole(kSelf, &v))) read.role = v.lVal;
  if (SUCCEEDED(object.get()->get_accState(kSelf, &v))) read.state = v.lVal;
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
  static void TearDownTestSuite() {
    forms::UnloadAll();
    for (MSG msg; ::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);) {}
  }
  static HWND Phone(int id) { return ::GetDlgItem(frmPhone::Get().hWnd(), id); }
  static frmOptions& Options() { return frmOptions::Get(); }
  frmPhone& phone = frmPhone::Get();
};

}  // namespace

TEST_F(Accessibility, ScreenReadersFindEachControlByNameRoleAndState) {
  ui::SetText(Options().account.txtFooter, L"");
  ui::SetText(phone.txtMsg, std::wstring(15, L'm'));  // total 16, 1 part, 144 left
  ui::SetChecked(Options().connection.chkSecure, true);
  struct Row {
    std::function<HWND()> control;
    std::wstring name;  // empty: not checked (ignored objects)
    LONG role, state;   // state: bits that must be set
    std::optional<std::wstring> value = std::nullopt;
  };
  std::vector<Row> rows;
  const wchar_t* digits[] = {L"1", L"2", L"3", L"4", L"5", L"6", L"7", L"8", L"9", L"0"};
  for (int area = 1; area <= 10; ++area)
    rows.push_back({[=] { return Phone(ids::kKey + area); }, digits[area - 1], ROLE_SYSTEM_PUSHBUTTON, 0});
  const std::pair<int, const wchar_t*> keys[] = {{ids::kKey + 11, L"Delete"}, {ids::kSend, L"Send"},
                                                 {ids::kClose, L"Close"}, {ids::kDown, L"Previous number"},
                                                 {ids::kUp, L"Next number"}};
  for (auto [id, name] : keys) rows.push_back({[=] { return Phone(id); }, name, ROLE_SYSTEM_PUSHBUTTON, 0});
  const Row more[] = {
      {[] { return Phone(ids::kNum); }, L"Number", ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE},
      {[] { return Phone(ids::kMsg); }, L"Message", ROLE_SYSTEM_TEXT, STATE_SYSTEM_FOCUSABLE},
      {[] { return Phone(ids::kLabelTotal); }, L"Message length", ROLE_SYSTEM_STATICTEXT, 0,
       L"Total 16, messages 1, characters left 144"},
      // Read once, in the sentence above: the captions and figures themselves are not read.
      {[] { return Phone(ids::kLabelMsgs); }, L"", 0, STATE_SYSTEM_INVISIBLE},
      {[] { return Phone(ids::kCharsLeft); }, L"", 0, STATE_SYSTEM_INVISIBLE},
      {[] { return Options().connection.chkSecure; }, L"Secure connection", ROLE_SYSTEM_CHECKBUTTON,
       STATE_SYSTEM_CHECKED},
      {[] { return Options().account.txtUsr; }, L"Username:", ROLE_SYSTEM_TEXT, 0},
      {[] { return Options().account.txtFooter; },
       L"To add an optional footer to all your messages add some text here:", ROLE_SYSTEM_TEXT, 0},
      {[] { return Options().connection.txtProxyPwd; }, L"Password:", ROLE_SYSTEM_TEXT, STATE_SYSTEM_PROTECTED},
      // Standard buttons are named by their caption; Wine 8's standard object gives them no role.
      {[] { return Options().frame.cmdSave; }, L"Save", 0, 0},
  };
  rows.insert(rows.end(), std::begin(more), std::end(more));
  for (const Row& row : rows) {
    HWND control = row.control();
    const Read read = ReadObject(control);
    SCOPED_TRACE(testing::Message() << "control " << control << " read as \"" << std::string(read.name.begin(), read.name.end())
                                    << "\" role " << read.role << " state 0x" << std::hex << read.state);
    EXPECT_EQ(row.name.empty() ? row.name : read.name, row.name);
    EXPECT_EQ(row.role ? read.role : 0, row.role);
    EXPECT_EQ(read.state & row.state, row.state);
    EXPECT_EQ(row.value ? read.value : L"", row.value.value_or(L""));
  }
}

TEST_F(Accessibility, DefaultActionsTypeTheDigitDeleteAndToggleThePadlock) {
  ui::SetText(phone.txtNum, L"44");
  for (int id : {ids::kKey + 7, ids::kKey + 10, ids::kKey + 11, ids::kKey + 3}) {
    auto key = Object(Phone(id));
    ASSERT_TRUE(key);
    EXPECT_EQ(ReadObject(Phone(id)).action, L"Press");
    EXPECT_EQ(key.get()->accDoDefaultAction(kSelf), S_OK);
    PumpFor(50);  // posted: a reader in another process does not wait for the action
  }
  EXPECT_EQ(ui::GetText(phone.txtNum), L"4473");
  HWND padlock = Options().connection.chkSecure;
  ui::SetChecked(padlock, false);
  ASSERT_TRUE(Object(padlock));
  Object(padlock).get()->accDoDefaultAction(kSelf);
  PumpFor(50);
  EXPECT_TRUE(ui::IsChecked(padlock));
  EXPECT_TRUE(ReadObject(padlock).state & STATE_SYSTEM_CHECKED);
}

TEST_F(Accessibility, TypingAMessageTellsReadersTheCountersChanged) {
  static std::vector<HWND> changed;
  HWINEVENTHOOK hook = ::SetWinEventHook(
      EVENT_OBJECT_VALUECHANGE, EVENT_OBJECT_VALUECHANGE, nullptr,
      [](HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD) { changed.push_back(hwnd); }, 0, 0,
      WINEVENT_OUTOFCONTEXT);
  ASSERT_TRUE(hook);
  ::SendMessageW(phone.txtMsg, WM_CHAR, L'x', 0);
  PumpFor(100);
  ::UnhookWinEvent(hook);
  EXPECT_NE(std::find(changed.begin(), changed.end(), Phone(ids::kLabelTotal)), changed.end());
  EXPECT_EQ(ReadObject(Phone(ids::kLabelTotal)).value, L"Total 17, messages 1, characters left 143");
}
