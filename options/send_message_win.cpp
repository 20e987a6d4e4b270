// The options window's sending code: checks, confirmation, the request, the wait, the reply.
#include <stdexcept>

#include "text/codepage.h"
#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "sending/frmSending_win.h"
#include "sending/reply.h"
#include "sending/send_request.h"

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

bool ConfirmParts(int parts) {
  const std::wstring text = L"This will send a total of " + std::to_wstring(parts) +
                            L" messages.\r\n\r\nIs this OK?";
  return ::MessageBoxW(nullptr, text.c_str(), L"Multiple messages confirmation",
                       MB_YESNO | MB_ICONQUESTION | MB_SYSTEMMODAL) == IDYES;
}

}  // namespace

void frmOptions::ConnectAlertSteps() {
  // The alert's OK ends the sending window's display (loading it if need be, so that the next
  // send starts from an empty bar) and, for a settings alert, shows this window.
  frmWarning::OnOkAfterSend = [] { frmSending::Get().ResetAfterOutcome(); };
  frmWarning::OnOkShowSettings = [this] { Show(); };
}

bool frmOptions::Check_Login_Details() { return Check_Login_Details(SavedLoginPresent()); }

bool frmOptions::SavedLoginPresent() { return !state.Usr.empty() && !state.Pwd.empty(); }

bool frmOptions::Check_Login_Details(bool login_saved) {
  if (login_saved) return true;
  Show();
  SelectTab(kTabOptions);  // where the account fields are
  frmWarning::Alert(AlertMode::Settings, L"Please enter your Lumora username and password");
  return false;
}

SendInputs frmOptions::GatherSendInputs() {
  frmPhone& phone = frmPhone::Get();
  SendInputs in;
  // The request is made of what the boxes hold now, unsaved edits included ...
  in.number = ui::GetText(phone.txtNum);
  in.message = ui::GetText(phone.txtMsg);
  in.footer = ui::GetText(txtFooter);
  in.username = ui::GetText(txtUsr);
  in.password = ui::GetText(txtPwd);
  in.host = ui::GetText(Text5);
  // ... while the login check and the connection follow the saved settings.
  in.login_saved = SavedLoginPresent();
  in.port = state.Port;
  in.protocol = static_cast<TransferProtocol>(state.Protocol);
  in.proxy_auth = state.ProxyAuth == 1;
  in.proxy_user = state.ProxyUsr;
  in.proxy_password = state.ProxyPwd;
  return in;
}

bool frmOptions::SendMessage(bool check_number) { return Send(GatherSendInputs(), check_number); }

bool frmOptions::Send(const SendInputs& in, bool check_number) {
  try {
    if (check_number && in.number.empty()) {
      frmWarning::Alert(AlertMode::Phone, L"Please enter a mobile number to send to.");
      return false;
    }
    if (!Check_Login_Details(in.login_saved)) return false;
    const SendRequest request = BuildSendRequest(in);
    if (request.count.nummsgs > 1 && !ConfirmParts(request.count.nummsgs)) return false;

    Inet1.RemoteHost(in.host);
    Inet1.RemotePort(request.port);
    Inet1.Protocol(in.protocol);
    frmSending& sending_window = frmSending::Get();
    sending_window.Show();
    sending_window.StartTimer();
    if (!Inet1.StateChanged) Inet1.StateChanged = [this](int s) { Inet1_StateChanged(s); };
    Inet1.Execute(Inet1.URL(), L"POST", request.form_body, request.headers);
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
  frmWarning::Alert(AlertMode::SendResult, verdict.text);
  return verdict.accepted;
}
