#pragma once
// One send from start to finish as plain data: what it reads, gathered in one place by the
// options window, and the request the core makes of it.
#include <string>

#include "app/settings.h"
#include "text/counters.h"

struct SendInputs {
  // From the window boxes as they stand, unsaved edits included.
  std::wstring number;    // the phone's txtNum; empty: the account holder's own phone
  std::wstring message;   // the phone's txtMsg
  std::wstring footer;    // the options window's txtFooter
  std::wstring username;  // txtUsr
  std::wstring password;  // txtPwd
  std::wstring host;      // Text5, the service's host
  // From the saved settings.
  bool login_saved = false;  // the saved user name and password are both set
  std::wstring port;
  TransferProtocol protocol = TransferProtocol::HTTP;
  bool proxy_auth = false;
  std::wstring proxy_user;
  std::wstring proxy_password;
};

struct SendRequest {
  int port = 0;
  std::wstring body;       // message, CR LF, footer
  std::wstring xml;        // the submission document
  std::string form_body;   // what is posted
  std::wstring headers;    // the program's own header lines
  MessageCount count;      // more than one part asks for confirmation
};

// The request for these inputs. Throws std::runtime_error, with a plain description, when
// the saved port is not a port number.
SendRequest BuildSendRequest(const SendInputs& in);

// A port number 1 to 65535 written in decimal digits; throws std::runtime_error otherwise.
int PortNumber(const std::wstring& port);
