#pragma once
// The addresses of the service's pages that the options window and the tray menu open.
#include <string>
#include <string_view>

namespace account_links {

enum class Page {
  Subscribe,       // activating the account and checking its credits
  BuyMessages,     // buying message credits; takes a quantity
  Register,        // registration, no login
  MessageArchive,  // the outbox
};

// The address of `page` on `host`. Pages that log in carry `token`. The scheme follows the
// secure connection: the token is the password, scrambled reversibly, and must not travel
// in clear when the user asked for a secure connection.
std::wstring Address(Page page, const std::wstring& host, bool secure, const std::wstring& token,
                     const std::wstring& quantity = {});

// The token that signs the saved account in on the service's pages: the user name, a space
// and the password, scrambled as the settings file is, in hexadecimal. Its bytes are those the
// submission request carries for the login (Windows-1252, characters beyond it as XML
// references), whatever the system's code page, so the service reads both alike.
std::wstring LoginToken(std::wstring_view usr, std::wstring_view pwd);

// The service's help page, as the help link shows it.
std::wstring HelpAddress(const std::wstring& host);

// The quantities offered for purchase, and the one used when none is chosen.
inline constexpr const wchar_t* kQuantities[] = {L"50", L"125", L"250", L"625", L"1250", L"2500", L"5000"};
inline constexpr wchar_t kDefaultQuantity[] = L"50";

}  // namespace account_links
