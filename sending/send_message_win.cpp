// The options window's sending code: checks, confirmation, the request, the wait, the reply.
#include <stdexcept>

#include "app/codepage.h"
#include "app/controls_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "phone/frmWarning_win.h"
#include "sending/frmSending_win.h"
#include "sending/reply.h"
#include "sending/submission.h"

using modHotkeys::state;

namespace {

// The wait wakes at least this often to look at the transfer again; between wake-ups it
// sleeps in the system, so no processor time goes by while nothing happens.
constexpr DWORD kWaitSliceMs = 500;

// A failure already put in words for the user, in full Unicode.
class SendFailure : public std::runtime_error {
 public:
  explicit SendFailure(std::wstring text) : std::runtime_error("send failed"), text_(std::move(text)) {}
  const std::wstring& text() const { return text_; }

 private:
  std::wstring text_;
};

int PortNumber(const std::wstring& port) {
  std::size_t used = 0;
  int value = -1;
  try {
    value = std::stoi(port, &used);
  } catch (const std::exception&) {
  }
  if (used != port.size() || value < 1 || value > 65535)
    throw std::runtime_error("The port \"" + codepage::ToAnsi(port) + "\" in the settings is not a port number");
  return value;
}

bool ConfirmParts(int parts) {
  const std::wstring text = L"This will send a total of " + std::to_wstring(parts) +
                            L" messages.\r\n\r\nIs this OK?";
  return ::MessageBoxW(nullptr, text.c_str(), L"Multiple messages confirmation",
                       MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) == IDYES;
}

}  // namespace

bool frmOptions::Check_Login_Details() {
  if (!state.Usr.empty() && !state.Pwd.empty()) return true;
  Show();
  SelectTab(kTabOptions);  // where the account fields are
  frmWarning::Alert(L"1", L"Please enter your Lumora username and password");
  return false;
}

bool frmOptions::SendMessage(bool check_number) {
  try {
    frmPhone& phone = frmPhone::Get();
    if (check_number && ui::GetText(phone.txtNum).empty()) {
      frmWarning::Alert(L"2", L"Please enter a mobile number to send to.");
      return false;
    }
    if (!Check_Login_Details()) return false;

    Inet1.RemoteHost(ui::GetText(Text5));
    Inet1.RemotePort(PortNumber(state.Port));
    Inet1.Protocol(state.Protocol);

    const std::wstring body = sending::ComposeBody(ui::GetText(phone.txtMsg), ui::GetText(txtFooter));
    if (phone.nummsgs > 1 && !ConfirmParts(phone.nummsgs)) return false;

    const std::wstring xml = sending::BuildSubmissionXml(
        {ui::GetText(txtUsr), ui::GetText(txtPwd), body, ui::GetText(phone.txtNum)});
    frmSending& sending_window = frmSending::Get();
    sending_window.Show();
    sending_window.StartTimer();
    const std::string form_body = sending::BuildFormBody(xml);
    const std::wstring headers = sending::BuildHeaders(state.ProxyAuth == 1, state.ProxyUsr, state.ProxyPwd);

    if (!Inet1.StateChanged) Inet1.StateChanged = [this](int s) { Inet1_StateChanged(s); };
    Inet1.Execute(Inet1.URL(), L"POST", form_body, headers);
    // Only once this request runs (Execute refuses while another does, leaving that one's
    // reply alone): nothing of an earlier request may be read as this one's outcome.
    Response.clear();
    transfer_error_.clear();
    WaitForTransfer();
    return CheckResponse(Response);
  } catch (const SendFailure& failure) {
    ui::ShowError(failure.text());
    return false;
  } catch (const std::exception& error) {
    ui::ShowError(codepage::FromAnsi(error.what()));
    return false;
  }
}

void frmOptions::WaitForTransfer() {
  // Every event still runs during the wait (the transfer's own state changes among them),
  // but the thread sleeps until a message arrives instead of polling.
  while (Inet1.StillExecuting()) {
    forms::DoEvents();
    if (!Inet1.StillExecuting()) break;
    ::MsgWaitForMultipleObjectsEx(0, nullptr, kWaitSliceMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

void frmOptions::Inet1_StateChanged(int State) {
  switch (State) {
    case Inet::icError: {
      const std::wstring info = Inet1.ResponseInfo();
      if (!info.empty()) {
        Response = info;
        transfer_error_ = info;
      }
      break;
    }
    case Inet::icResponseCompleted:
      Response.clear();
      for (;;) {
        forms::DoEvents();
        const std::wstring chunk = Inet1.GetChunk(512);
        if (chunk.empty()) break;
        Response += chunk;
      }
      break;
    default:
      break;
  }
}

bool frmOptions::CheckResponse(const std::wstring& reply) {
  const sending::ReplyVerdict verdict = sending::InterpretReply(reply, transfer_error_);
  if (!verdict.readable) throw SendFailure(verdict.text);
  frmWarning::Alert(L"0", verdict.text);
  return verdict.accepted;
}
