// /options.jsp: registration. The account is made whole or not at all, with a few credits to
// start, and the new user is signed in on the account page.
#include <map>
#include <optional>

#include "text/number.h"
#include "service/cp1252.h"
#include "service/submission.h"
#include "service/user_names.h"
#include "service/web/page.h"

namespace lumora {
namespace {

constexpr std::int64_t kStarterCredits = 10;

// The program sends user name and password one byte a character in Windows-1252, so both must
// be made of its printable characters. The bytes of a UTF-8 text, or nothing if it cannot be.
std::optional<std::string> printable_cp1252(std::string_view utf8) {
  static const auto table = [] {
    std::map<std::string, char, std::less<>> t;
    for (int b = 0x20; b <= 0xFF; ++b) {
      const std::string bytes(1, static_cast<char>(b));
      if (b != 0x7F && (b < 0x80 || b > 0x9F || cp1252_to_utf8(bytes) != "\xC2" + bytes)) {
        t.emplace(cp1252_to_utf8(bytes), static_cast<char>(b));
      }
    }
    return t;
  }();
  std::string out;
  for (std::size_t at = 0; at < utf8.size();) {
    bool matched = false;
    for (std::size_t length = 1; length <= 3 && at + length <= utf8.size() && !matched; ++length) {
      if (const auto hit = table.find(utf8.substr(at, length)); hit != table.end()) {
        out += hit->second;
        at += length;
        matched = true;
      }
    }
    if (!matched) return std::nullopt;
  }
  return out;
}

struct Registration {
  std::string user, phone, country = "44";
};

Html render_register(const Visit& visit, const Registration& form, const Html& message) {
  return render_page(
      "Register", visit,
      R"(<p class="lead">A Lumora account lets Brevio send your messages. You start with )"_html +
          std::to_string(kStarterCredits) +
          R"( free credits: one credit sends one message part.</p>)"_html + message +
          R"(<form method="post" action="/options.jsp" class="card">)"_html + csrf_field(visit) +
          R"(<label>User name<input type="text" name="user" autocomplete="username" required )"
          R"(maxlength="32" value=")"_html + form.user +
          R"("><small>1 to 32 characters, no spaces.</small></label>)"
          R"(<label>Password<input type="password" name="password" autocomplete="new-password" )"
          R"(required><small>6 to 64 characters.</small></label>)"
          R"(<label>Password again<input type="password" name="password2" )"
          R"(autocomplete="new-password" required></label>)"
          R"(<div class="row"><label class="narrow">Country code<input type="text" name="country" )"
          R"(inputmode="numeric" maxlength="4" value=")"_html + form.country +
          R"("></label><label>Mobile number<input type="tel" name="phone" autocomplete="tel" )"
          R"(required value=")"_html + form.phone +
          R"("><small>As you would dial it: 07700 900123 or +44 7700 900123.</small></label></div>)"
          R"(<button type="submit" class="primary">Create my account</button></form>)"_html);
}

std::wstring widen_ascii(std::string_view text) {
  std::wstring out;
  for (char c : text) out += static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?';
  return out;
}

// The first fault of the form in words, or the account to make.
std::string check(const Registration& form, const std::string& password,
                  const std::string& password2, NewAccount& account) {
  const auto user = printable_cp1252(form.user);
  if (!user || user->empty() || user->size() > 32 || !visible_name(form.user)) {
    return "Choose a user name of 1 to 32 characters without spaces or invisible characters.";
  }
  const auto pass = printable_cp1252(password);
  if (!pass || pass->size() < 6 || pass->size() > 64) {
    return "Choose a password of 6 to 64 characters (letters, digits, signs or spaces).";
  }
  if (password != password2) return "The two passwords differ: type the same password twice.";
  if (form.country.empty() || form.country.size() > 3 ||
      form.country.find_first_not_of("0123456789") != std::string::npos) {
    return "The country code is 1 to 3 digits, such as 44.";
  }
  const std::wstring number =
      modBrevio::NormaliseNumber(widen_ascii(form.phone), widen_ascii(form.country));
  account.phone.assign(number.begin(), number.end());
  if (!valid_destination(account.phone)) {
    return "That mobile number does not look right: give it with its area or country code.";
  }
  account.username = form.user;
  account.password = password;
  account.credits = kStarterCredits;
  return {};
}

void get_register(PageCall& call) {
  send_page(call.response, render_register(call.visit, {}, Html()));
}

void post_register(PageCall& call) {
  const Registration form{form_value(call.request, "user"), form_value(call.request, "phone"),
                          form_value(call.request, "country")};
  NewAccount account;
  std::string fault = check(form, form_value(call.request, "password"),
                            form_value(call.request, "password2"), account);
  const std::int64_t now = unix_now();
  if (fault.empty() && !call.context.registrations->allows(call.client.address, now)) {
    const std::string limit = "Too many new accounts from your address: try again in an hour.";
    return send_page(call.response, render_register(call.visit, form, notice(Notice::kError, limit)), 429);
  }
  if (fault.empty()) {
    Transaction tx(call.db);
    if (find_look_alike(call.db, account.username)) {
      fault = "The user name " + account.username + " is taken: choose another.";
    } else {
      add_account(call.db, account);
      tx.commit();
      call.context.registrations->count(call.client.address, now);
    }
  }
  if (!fault.empty()) {
    return send_page(call.response, render_register(call.visit, form, notice(Notice::kError, fault)), 400);
  }
  const auto made = find_account(call.db, account.username);
  sign_in(call, made->id, "/subscribe?welcome=1");
}

}  // namespace

void install_register_route(Router& router, const RouteContext& context) {
  router.get("/options.jsp", page_handler(context, get_register));
  router.post("/options.jsp", page_handler(context, post_register));
}

}  // namespace lumora
