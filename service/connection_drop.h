#pragma once
// Closing a request's connection from inside its handler, before any reply byte is sent.
#include <httplib.h>

namespace lumora {

// httplib gives a handler no access to its socket, so the socket is found among the process's
// descriptors by the request's two endpoints and shut down in both directions. httplib still
// owns and later closes the descriptor; its attempt to write the reply then fails quietly.
// False when no descriptor matches.
bool drop_connection(const httplib::Request& request);

}  // namespace lumora
