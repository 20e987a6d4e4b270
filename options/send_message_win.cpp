// The options window's sending code: checks, confirmation, the request, the wait, the reply.
#include <stdexcept>

#include "app/controls_win.h"
#include "app/frmWarning_win.h"
#include "app/modHotkeys_win.h"
#include "options/frmOptions_win.h"
#include "phone/frmPhone_win.h"
#include "sending/frmSending_win.h"
#include "sending/reply.h"
#include "sending/send_request.h"
#include "text/codepage.h"

using modHotkeys::state;

namespace {

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

bool SavedLoginPresent() { return !state.Usr.empty() && !state.Pwd.empty(); }

// The sending window's display ends with the send, however it ends (its reply, a transfer
// error, a refusal): nothing else would end it when the outcome is a message box, or an alert
// closed without its OK.
struct SendingDisplay {
  SendingDisplay() {
    frmSending& window = frmSending::Get();
    window.Show();
    window.StartTimer();
  }
  ~SendingDisplay() {
    if (frmSending* window = frmSending::IfLoaded()) window->ResetAfterOutcome();
  }
  SendingDisplay(const SendingDisplay&) = delete;
  SendingDisplay& operator=(const SendingDisplay&) = delete;
};

// The options page where the user mends what a refusal names.
int TabFor(sending::Followup followup) {
  switch (followup) {
    case sending::Followup::AccountPage: return frmOptions::kTabOptions;
    case sending::Followup::BuyPage: return frmOptions::kTabBuy;
    case sending::Followup::ConnectionPage: return frmOptions::kTabConnection;
    default: return -1;
  }
}

}  // namespace

bool frmOptions::Check_Login_Details() { return Check_Login_Details(SavedLoginPresent()); }

bool frmOptions::Check_Login_Details(bool login_saved) {
  if (login_saved) return true;
  Show();
  SelectTab(kTabOptions);  // where the account fields are
  frmWarning::Alert(AlertMode::Settings, L"Please enter your Lumora username and password");
  return false;
}

SendInputs frmOptions::GatherSendInputs() {
  FinishLoad();  // every page's boxes
  frmPhone& phone = frmPhone::Get();
  SendInputs in;
  // The request is made of what the boxes hold now, unsaved edits included ...
  in.number = ui::GetText(phone.txtNum);
  in.message = ui::GetText(phone.txtMsg);
  in.footer = ui::GetText(account.txtFooter);
  in.username = ui::GetText(account.txtUsr);
  in.password = ui::GetText(account.txtPwd);
  in.host = ui::GetText(frame.Text5);
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

bool frmOptions::RefuseWhileSending() {
  if (!sending_) return false;
  ui::ShowWarning(L"Still executing last request");
  return true;
}

bool frmOptions::Send(const SendInputs& in, bool check_number) {
  if (RefuseWhileSending()) return false;
  sending_ = true;
  struct Done {
    bool& sending;
    ~Done() { sending = false; }
  } done{sending_};
  try {
    if (check_number && in.number.empty()) {
      frmWarning::Alert(AlertMode::Phone, L"Please enter a mobile number to send to.");
      return false;
    }
    if (!Check_Login_Details(in.login_saved)) return false;
    const SendRequest request = BuildSendRequest(in);
    if (request.count.nummsgs > 1 && !ConfirmParts(request.count.nummsgs)) return false;

    const SendingDisplay display;
    transfer.Post(in.host, in.protocol, request);
    return CheckResponse(transfer.Response);
  } catch (const SendFailure& failure) {
    ui::ShowWarning(failure.text());
    return false;
  } catch (const std::exception& error) {
    ui::ShowWarning(codepage::FromAnsi(error.what()));
    return false;
  }
}

bool frmOptions::CheckResponse(const std::wstring& reply) {
  sending::TransferEnd end = transfer.End(state.ProxyAuth == 1);
  end.reply = reply;
  const sending::ReplyVerdict verdict = sending::InterpretReply(end);
  if (!verdict.readable) throw SendFailure(verdict.text);
  const int page = TabFor(verdict.followup);
  frmWarning::Alert(page >= 0 ? AlertMode::Settings : AlertMode::SendResult, verdict.text, !verdict.accepted, page);
  return verdict.accepted;
}
