// Any bytes as a style sheet and as a style attribute, applied to a small
// page shaped like the settings page and laid out.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_container.h"
#include "render/css_declaration_parser.h"
#include "render/css_stylesheet.h"
#include "render/page_view.h"

namespace {

constexpr const char kPage[] =
    "<html><head><style>@import url(\"fuzz.css\");</style></head><body>"
    "<table id=MAIN_TABLE width='100%%'><tr><td class=footer width='70%%'>"
    "<span id=theader locid=lic_header_settings>Kestrow settings</span>"
    "<div class=opt><span id=opt_group_name><img src=bullet.gif align=left>&nbsp;Main</span>"
    "<widget type=checkbox id=CHECKBOX_AUTORUN><span locid=span_autorun>Start</span></widget></div>"
    "<p class=bottom><input type=submit id=BUTTON_OK class=main_button value=OK></p>"
    "</td><td class=right><div id=adv_block><img src=i.gif align=left hspace=2>"
    "<span id=adv_header>Leafnote</span><br><a href=x>Learn more&#133;</a></div></td></tr>"
    "<tr><td colspan=2 align=center><a id=of_site href=y>site</a></td></tr></table></body></html>";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ks::render;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const StyleSheet sheet = ParseStyleSheet(input);
  (void)ParseInlineStyle(input);

  fuzz::FuzzContainer container;
  PageView page(container);
  page.loadHtml(kPage);
  page.supplyStyleSheet("fuzz.css", input);
  for (const std::string& url : page.pendingStyleSheets())
    page.supplyStyleSheet(url, input.substr(0, input.size() / 2));
  if (Node* header = page.document().findById("theader"))
    header->setAttribute("style", std::string(input.substr(0, 200)));
  const int width = page.minWidth();
  page.layout(width < 4000 ? width : 4000);
  page.layout(150);
  (void)page.paint();
  return 0;
}
