#pragma once
// The service's SQLite file: accounts, stored messages and the run-time fault switches.
#include <string>

#include "service/sqlite_db.h"

namespace lumora {

// Opens the file and creates any missing table, so every command works on a new file.
Database open_service_db(const std::string& path);

}  // namespace lumora
