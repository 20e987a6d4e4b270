// The pages' markup type: text joins escaped, only literals of the code join as markup, and
// nothing else can become markup, so that a page cannot forget to escape.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "service/web/html.h"

namespace lumora {
namespace {

static_assert(!std::is_convertible_v<std::string, Html> && !std::is_convertible_v<const char*, Html>);
static_assert(!std::is_constructible_v<Markup, std::string_view> && !std::is_constructible_v<Html, std::string>);

TEST(Html, TextJoinsEscapedInContentAndAttributesAndMarkupJoinsAsWritten) {
  const std::string user = R"(<b onclick='x()'>"Tom" & Co</b>)";
  Html html = R"(<p title=")"_html + user + R"(">)"_html;
  html += user;
  html += "</p>"_html;
  const std::string escaped = "&lt;b onclick=&#39;x()&#39;&gt;&quot;Tom&quot; &amp; Co&lt;/b&gt;";
  EXPECT_EQ(html.str(), R"(<p title=")" + escaped + R"(">)" + escaped + "</p>");
  EXPECT_EQ((Html() + "<br>").str(), "&lt;br&gt;");  // a literal without the suffix is text
}

}  // namespace
}  // namespace lumora
