#pragma once
// Markup that a page cannot forget to escape. An Html grows by joining: a text joins it escaped,
// another Html as it is, and markup only as a string literal written in the code with the
// suffix _html, which no text read at run time can become.
#include <string>
#include <string_view>

#include "service/markup_escape.h"

namespace lumora {

class Markup;
consteval Markup operator""_html(const char* text, std::size_t size);

// A piece of markup from the source code; only the _html literal makes one.
class Markup {
 public:
  constexpr std::string_view view() const { return text_; }

 private:
  constexpr explicit Markup(std::string_view text) : text_(text) {}
  friend consteval Markup operator""_html(const char* text, std::size_t size);
  std::string_view text_;
};

consteval Markup operator""_html(const char* text, std::size_t size) { return Markup({text, size}); }

class Html {
 public:
  Html() = default;
  Html(Markup markup) : html_(markup.view()) {}  // implicit: a literal is markup as it stands

  Html& operator+=(Markup markup) { return html_ += markup.view(), *this; }
  Html& operator+=(const Html& html) { return html_ += html.html_, *this; }
  Html& operator+=(std::string_view text) { return html_ += escape_markup(text), *this; }

  bool empty() const { return html_.empty(); }
  const std::string& str() const { return html_; }

 private:
  std::string html_;
};

// Html + anything joinable; the left side may be a Markup, never a bare text.
template <typename Part>
Html operator+(Html html, const Part& part) {
  return html += part;
}

}  // namespace lumora
