// /help.jsp: help for Brevio, the address of the program's help link.
#include "service/web/page.h"

namespace lumora {
namespace {

constexpr Markup kHelp = R"(
<p class="lead">Brevio sends text from your screen to a mobile phone as an SMS, through your
Lumora account. It lives in the notification area of the taskbar.</p>
<div class="grid">
<section class="card"><h2>Send in two keys</h2>
<p><kbd>Ctrl</kbd>+<kbd>Alt</kbd>+<kbd>P</kbd> sends the text selected in any program to your
own phone.</p>
<p><kbd>Ctrl</kbd>+<kbd>Alt</kbd>+<kbd>N</kbd> takes the selected text as a phone number and
opens the send window, drawn as a phone: type the message and press the green key.</p>
<p>Your clipboard is put back as it was. The letters P and N can be changed in the options.</p>
</section>
<section class="card"><h2>Getting started</h2>
<ol><li><a href="/options.jsp">Register</a> a Lumora account: you get a few free credits.</li>
<li>Right-click Brevio's tray icon, choose <b>Options</b>, and enter your user name, password
and country code (44 for the United Kingdom). Save.</li>
<li>Select some text and press <kbd>Ctrl</kbd>+<kbd>Alt</kbd>+<kbd>P</kbd>.</li></ol>
</section>
<section class="card"><h2>Credits and parts</h2>
<p>A short message is one part; a longer one travels as several parts, and Brevio asks
before sending it. Each part takes one credit. Your
<a href="/subscribe">account page</a> shows the credits left; <a href="/buymsgs.jsp?n=125">buy
more</a> from 50 to 5000 at a time.</p>
</section>
<section class="card"><h2>Your outbox</h2>
<p>The tray menu's <b>Outbox</b> opens the <a href="/message_archive.jsp">list of messages you
sent</a>, newest first, with the time, the number and the parts of each.</p>
</section>
<section class="card"><h2>Connection</h2>
<p>Tick <b>Secure connection</b> in the options to send over HTTPS. Brevio uses the system's
internet settings; if your proxy asks for a user name and password, enter them in the
options too.</p>
</section>
<section class="card"><h2>Activation</h2>
<p>Until you activate your account, messages come from Lumora's number. <b>Activate here</b>
on the account page makes them appear to come from your own mobile number.</p>
</section>
</div>)"_html;

void get_help(PageCall& call) {
  send_page(call.response, render_page("Brevio help", call.visit, kHelp));
}

}  // namespace

void install_help_route(Router& router, const RouteContext& context) {
  router.get("/help.jsp", page_handler(context, get_help));
}

}  // namespace lumora
