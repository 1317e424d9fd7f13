// The light html target, fast enough for a million inputs in half an hour:
// any bytes as a page, written back and parsed again, where the second
// writing must equal the first; then style and one layout of the page, no
// painting (html_parser_fuzzer covers the rest of the pipeline).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_container.h"
#include "render/html_parser.h"
#include "render/html_serializer.h"
#include "render/page_view.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace ks::render;
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  fuzz::FuzzContainer container;
  PageView page(container);
  page.loadHtml(input);
  // What the host hands out as a page's HTML reads back as the same page.
  const std::string written = OuterHtml(page.document().root());
  const std::string again = OuterHtml(*ParseHtmlDocument(written));
  if (again != written) std::abort();
  for (const std::string& url : page.pendingStyleSheets()) page.supplyStyleSheet(url, "p { margin: 1em }");
  page.layout(300);
  return 0;
}
