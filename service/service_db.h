#pragma once
// The service's SQLite file: accounts, stored messages, the run-time fault switches and the
// web site's sessions, purchases and login throttle.
#include <string>

#include "service/sqlite_db.h"

namespace lumora {

// Opens the file and creates any missing table, so every command works on a new file; a file
// with passwords in clear has them hashed.
Database open_service_db(const std::string& path);

}  // namespace lumora
