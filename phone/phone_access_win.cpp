// The phone as a screen reader finds it: its drawn keys are push buttons named by what they
// do and pressed by their default action, its two boxes are named, and its counters read as
// one sentence that follows the typing.
#include "access/described_win.h"
#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "phone/frmPhone_win.h"
#include "phone/history.h"
#include "phone/keypad.h"
#include "phone/phone_ids_win.h"

namespace {

// `usable`, when given, says whether pressing would do anything now (the history's ends).
access::Description Key(std::wstring name, std::function<void()> press, std::function<bool()> usable = nullptr) {
  return {.name = access::Fixed(std::move(name)),
          .role = ROLE_SYSTEM_PUSHBUTTON,
          .state = usable ? [usable] { return usable() ? 0 : STATE_SYSTEM_UNAVAILABLE; } : std::function<LONG()>(),
          .action_name = L"Press",
          .act = std::move(press)};
}

// Named here, as the phone shows no caption beside them; the tooltips tell what goes in.
access::Description Box(std::wstring name, std::wstring hint) {
  return {.name = access::Fixed(std::move(name)), .description = access::Fixed(std::move(hint))};
}

}  // namespace

void frmPhone::DescribeForScreenReaders() {
  for (int area = 1; area <= 10; ++area)
    access::Describe(keys_[area]->hWnd(), Key(std::wstring(1, keypad::DigitOfArea(area)),
                                              [this, area] { Label_MouseDown(area); }));
  access::Describe(keys_[11]->hWnd(), Key(L"Delete", [this] { Label_MouseDown(11); }));
  access::Describe(Picture4->hWnd(), Key(L"Send", [this] { Picture4_Click(); }));
  access::Describe(Picture2->hWnd(), Key(L"Close", [this] { Picture2_Click(); }));
  access::Describe(Picture5->hWnd(), Key(L"Previous number", [this] { Picture5_Click(); }, [this] {
                     return history::CanMoveOlder(histPos, modHotkeys::state.History.size());
                   }));
  access::Describe(Picture1->hWnd(), Key(L"Next number", [this] { Picture1_Click(); }, [this] {
                     return history::CanMoveNewer(histPos, modHotkeys::state.History.size());
                   }));
  access::Describe(Command1, Key(L"Options", [this] { Command1_Click(); }));  // the "?" key
  access::Describe(txtNum, Box(L"Number", L"Enter a mobile number here..."));
  access::Describe(txtMsg, Box(L"Message", L"Enter a message here then click send..."));
  // The counters are one sentence, told on the first caption; the others are not read again.
  access::Describe(::GetDlgItem(hWnd(), phone_ids::kLabelTotal),
                   {.name = access::Fixed(L"Message length"),
                    .role = ROLE_SYSTEM_STATICTEXT,
                    .state = [] { return STATE_SYSTEM_READONLY; },
                    .value = [this] {
                      return L"Total " + ui::GetText(lblTotalChars) + L", messages " + ui::GetText(lblMsgs) +
                             L", characters left " + ui::GetText(lblCharsLeft);
                    }});
  for (int id : {phone_ids::kLabelMsgs, phone_ids::kLabelLeft, phone_ids::kTotalChars, phone_ids::kMsgs,
                 phone_ids::kCharsLeft})
    access::Describe(::GetDlgItem(hWnd(), id), {.state = [] { return STATE_SYSTEM_INVISIBLE; }});
}
