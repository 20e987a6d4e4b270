#include "sending/send_request.h"

#include <stdexcept>

#include "sending/submission.h"
#include "text/codepage.h"

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

SendRequest BuildSendRequest(const SendInputs& in) {
  SendRequest r;
  r.port = PortNumber(in.port);
  r.body = ComposeBody(in.message, in.footer);
  r.count = CountMessage(in.message, in.footer);
  r.xml = sending::BuildSubmissionXml({in.username, in.password, r.body, in.number});
  r.form_body = sending::BuildFormBody(r.xml);
  r.headers = sending::BuildHeaders(in.proxy_auth, in.proxy_user, in.proxy_password);
  return r;
}
