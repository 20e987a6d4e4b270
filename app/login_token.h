#pragma once
// The token that logs the user into the service's account pages: the saved user name and
// password, scrambled as the settings file is, in hexadecimal.
#include <string>
#include <string_view>

namespace account_pages {
std::wstring LoginToken(std::wstring_view usr, std::wstring_view pwd);
}  // namespace account_pages
