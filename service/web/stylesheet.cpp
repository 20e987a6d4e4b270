// /style.css: the site's one stylesheet, in Brevio's colours (the blues of the phone window's
// background and screen, the green of its send key, the red of its close key).
#include "service/web/page.h"

namespace lumora {
namespace {

constexpr std::string_view kStyle = R"css(
:root{--ink:#1c2229;--slate:#3a4654;--mute:#6f7b89;--blue:#2f86c4;--deep:#0d4f80;
--teal:#2e6580;--night:#24546b;--sky:#e8f1f8;--screen:#cdeeff;--green:#41c276;
--leaf:#2e9a5c;--red:#e3574f;--line:#cfdfeb}
*{box-sizing:border-box}
html{background:var(--sky)}
body{margin:0;font:16px/1.5 "DejaVu Sans",system-ui,sans-serif;color:var(--ink);
min-height:100vh;display:flex;flex-direction:column}
a{color:var(--deep)}
.bar{display:flex;flex-wrap:wrap;align-items:center;gap:.4rem 1.2rem;padding:.7rem 1.5rem;
background:linear-gradient(180deg,var(--teal),var(--night));color:#fff;
box-shadow:0 2px 6px rgba(13,79,128,.35)}
.brand{display:flex;align-items:center;gap:.5rem;color:#fff;text-decoration:none;
font-weight:bold;font-size:1.3rem;letter-spacing:.04em}
.mark{width:2rem;height:2rem}
.who{color:var(--screen);font-size:.9rem}
.bar nav{margin-left:auto;display:flex;flex-wrap:wrap;align-items:center;gap:.2rem}
.bar nav a,.bar nav .link{color:#fff;text-decoration:none;padding:.3rem .65rem;border-radius:6px;
font:inherit;background:none;border:0;cursor:pointer}
.bar nav a:hover,.bar nav .link:hover,.bar nav a:focus-visible,.bar nav .link:focus-visible{
background:rgba(255,255,255,.16)}
.inline{display:inline}
main{flex:1;width:100%;max-width:60rem;margin:0 auto;padding:1.5rem}
h1{margin:.2rem 0 1rem;color:var(--deep);font-size:1.8rem}
h2{margin:0 0 .6rem;font-size:1.1rem;color:var(--teal)}
.lead{font-size:1.05rem;color:var(--slate)}
.card{background:#fff;border:1px solid var(--line);border-radius:12px;padding:1.2rem 1.4rem;
box-shadow:0 1px 3px rgba(39,49,60,.08);margin-bottom:1rem}
.card.flush{padding:0;overflow-x:auto}
.grid{display:grid;grid-template-columns:repeat(auto-fit,minmax(17rem,1fr));gap:1rem}
.grid .card{margin:0}
form.card{max-width:28rem}
label{display:block;margin-bottom:.9rem;font-weight:bold;color:var(--slate)}
input,select{display:block;width:100%;margin-top:.25rem;padding:.55rem .7rem;font:inherit;
border:1px solid #c7d0da;border-radius:8px;background:#fbfcfd}
input:focus,select:focus{outline:2px solid var(--blue);outline-offset:1px;border-color:var(--blue)}
small{display:block;font-weight:normal;color:var(--mute);font-size:.85rem}
.row{display:flex;gap:.8rem}.row label{flex:1}.row .narrow{flex:0 0 8.5rem}
button,.button{display:inline-block;padding:.6rem 1.2rem;border-radius:8px;border:0;
font:inherit;font-weight:bold;cursor:pointer;text-decoration:none;color:#fff;background:var(--blue)}
button.primary{background:var(--green);box-shadow:0 2px 0 var(--leaf)}
button.primary:hover{background:var(--leaf)}
.button.quiet,button.quiet{background:var(--sky);color:var(--deep);border:1px solid var(--line)}
button:focus-visible,.button:focus-visible{outline:3px solid var(--deep);outline-offset:2px}
.actions{display:flex;flex-wrap:wrap;gap:.5rem;margin:1rem 0 0}
.inline-form{display:flex;align-items:end;gap:.6rem;margin-bottom:1rem}
.inline-form label{margin:0}
.notice{padding:.7rem 1rem;border-radius:8px;border-left:5px solid var(--blue);background:#f7f9fb}
.notice.ok{border-color:var(--green);background:#d6ffe4}
.notice.error{border-color:var(--red);background:#ffd9d6}
.notice.note{border-color:var(--blue);background:var(--screen)}
.aside{color:var(--mute)}
dl{display:grid;grid-template-columns:max-content 1fr;gap:.4rem 1rem;margin:0}
dt{color:var(--mute)}dd{margin:0;font-weight:bold}
.credits{font-size:1.6rem;color:var(--leaf)}
.big{font-size:1.2rem}
.state{display:inline-block;padding:.15rem .7rem;border-radius:99px;font-weight:bold;margin:0}
.state.on{background:#d6ffe4;color:var(--leaf)}.state.off{background:#ffd9d6;color:#a8322b}
table.outbox{width:100%;border-collapse:collapse}
.outbox th{text-align:left;background:var(--screen);color:var(--deep);padding:.6rem .8rem}
.outbox td{padding:.6rem .8rem;border-top:1px solid var(--line);vertical-align:top}
.outbox .text{white-space:pre-wrap;overflow-wrap:anywhere;width:55%}
.outbox .time,.outbox .to{white-space:nowrap}
.outbox .parts{text-align:center}
.pager{display:flex;align-items:center;justify-content:center;gap:1rem;margin-top:1rem}
kbd{background:var(--sky);border:1px solid var(--line);border-bottom-width:2px;border-radius:4px;
padding:0 .35rem;font:inherit;font-size:.9em}
ol{padding-left:1.2rem}
footer{padding:1rem 1.5rem;text-align:center;color:var(--mute);font-size:.85rem}
@media (max-width:40rem){
.bar{padding:.6rem 1rem}.bar nav{margin-left:0;width:100%}
main{padding:1rem}h1{font-size:1.45rem}
.row{flex-direction:column;gap:0}.row .narrow{flex:none}
.outbox thead{display:none}
.outbox tr{display:grid;grid-template-columns:1fr auto;padding:.4rem 0;border-top:1px solid var(--line)}
.outbox td{border:0;padding:.2rem .8rem}
.outbox .text{grid-column:1/-1;width:auto}
.outbox .parts::before{content:"parts: ";color:var(--mute)}
}
)css";

}  // namespace

void install_stylesheet_route(Router& router, const RouteContext&) {
  router.get("/style.css", [](const httplib::Request&, httplib::Response& response) {
    response.set_header("Cache-Control", "max-age=3600");
    response.set_header("X-Content-Type-Options", "nosniff");
    response.set_content(std::string(kStyle), "text/css; charset=utf-8");
  });
}

}  // namespace lumora
