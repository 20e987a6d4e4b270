// Writes a config2.txt for Brevio from the command line: for the demo and for test set-ups.
//   brevio-config --out FILE [--user U] [--password P] [--country CODE] [--footer TEXT]
//                 [--secure] [--hide] [--proxy-user U --proxy-password P]
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "app/settings.h"
#include "text/codepage.h"
#include "text/unicode.h"

namespace {

// Arguments are UTF-8, as on Linux; bytes that are not are taken as Windows-1252.
std::wstring Wide(const char* text) {
  return unicode::FromUtf8(text).value_or(codepage::FromCp1252(text));
}

int Usage() {
  std::fprintf(stderr,
               "usage: brevio-config --out FILE [--user U] [--password P] [--country CODE]\n"
               "       [--footer TEXT] [--secure] [--hide] [--proxy-user U --proxy-password P]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Settings s;
  const char* out = nullptr;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
    auto take = [&](std::wstring& field) {
      if (!value) return false;
      field = Wide(value);
      ++i;
      return true;
    };
    bool ok = true;
    if (arg == "--out" && value) out = argv[++i];
    else if (arg == "--user") ok = take(s.Usr);
    else if (arg == "--password") ok = take(s.Pwd);
    else if (arg == "--country") ok = take(s.CountryCode);
    else if (arg == "--footer") ok = take(s.Footer);
    else if (arg == "--proxy-user") {
      ok = take(s.ProxyUsr);
      s.ProxyAuth = 1;
    } else if (arg == "--proxy-password") {
      ok = take(s.ProxyPwd);
    } else if (arg == "--secure") {
      s.Protocol = 5;
      s.Port = L"443";
    } else if (arg == "--hide") {
      s.HideStartUp = 1;
    } else {
      ok = false;
    }
    if (!ok) return Usage();
  }
  if (!out) return Usage();
  if (auto field = settings_file::FieldThatCannotBeStored(s)) {
    std::fprintf(stderr, "brevio-config: the %s must not contain spaces\n",
                 codepage::ToCp1252(*field).c_str());
    return 1;
  }
  std::ofstream file(out, std::ios::binary | std::ios::trunc);
  file << settings_file::Format(s);
  return file.good() ? 0 : 1;
}
