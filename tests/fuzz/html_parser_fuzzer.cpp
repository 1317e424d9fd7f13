// Any bytes as a page: parse, write back, parse the result again, and run
// style, layout and painting over it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_container.h"
#include "render/html_parser.h"
#include "render/html_serializer.h"
#include "render/page_view.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ks::render;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::unique_ptr<Node> html = ParseHtmlDocument(input);
  const std::string written = OuterHtml(*html);
  const std::unique_ptr<Node> again = ParseHtmlDocument(written);
  (void)InnerHtml(*again);

  fuzz::FuzzContainer container;
  PageView page(container);
  page.loadHtml(input);
  for (const std::string& url : page.pendingStyleSheets()) page.supplyStyleSheet(url, "p { margin: 1em }");
  const int width = page.minWidth();
  page.layout(width < 4000 ? width : 4000);
  page.layout(200);
  (void)page.paint();
  (void)page.hitTest(10, 10);
  if (Node* body = page.document().body()) {
    page.setInnerHtml(*body, input.substr(0, input.size() / 2));
    page.layout(300);
  }
  return 0;
}
