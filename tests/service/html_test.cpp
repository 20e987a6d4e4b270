// The pages' markup type: text joins escaped, only the code's _html literals join as markup,
// and nothing read at run time can become markup, so that a page cannot forget to escape.
#include <gtest/gtest.h>

#include <type_traits>

#include "service/web/html.h"

namespace lumora {

static_assert(!std::is_convertible_v<std::string, Html> && !std::is_constructible_v<Markup, std::string_view>);

TEST(Html, TextJoinsEscapedInContentAndAttributesAndMarkupJoinsAsWritten) {
  const std::string user = R"(<b onclick='x()'>"Tom" & Co</b>)";
  const std::string escaped = "&lt;b onclick=&#39;x()&#39;&gt;&quot;Tom&quot; &amp; Co&lt;/b&gt;";
  EXPECT_EQ((R"(<p title=")"_html + user + R"(">)"_html + user + "</p>"_html).str(),
            R"(<p title=")" + escaped + R"(">)" + escaped + "</p>");
  EXPECT_EQ((Html() + "<br>").str(), "&lt;br&gt;");  // a literal without the suffix is text
}

}  // namespace lumora
