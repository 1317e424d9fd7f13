// Times the renderer's pipeline on the settings page: parse (with style sheet
// collection), style (cascade and box tree), layout for the page's minimum
// width; then sets the page's min-content width and the widths of its three
// top cells at 1024 px beside a browser's. Usage:
// bench_render [page.html [styles.css]]; without arguments it takes
// config/page/settings.html, or the test fixture when that is absent.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "render/page_view.h"
#include "render/text_utf8.h"

#ifdef _WIN32
#include <windows.h>
#include <psapi.h>

#include "render/win32_container.h"
#include "render/win32_gdiplus_session.h"
#else
#include <sys/resource.h>
#endif

namespace {

using namespace ks::render;
using Clock = std::chrono::steady_clock;

// Fixed metrics: the figures measure the engine, not a platform's fonts.
class BenchContainer : public Container {
 public:
  FontHandle createFont(const FontDesc& desc, FontMetrics& metrics) override {
    metrics.ascent = static_cast<int>(std::lround(desc.size * 0.8f));
    metrics.descent = static_cast<int>(std::lround(desc.size * 0.2f));
    metrics.xHeight = static_cast<int>(std::lround(desc.size * 0.5f));
    sizes.push_back(desc.size);
    return sizes.size();
  }
  void releaseFont(FontHandle) override {}
  int textWidth(FontHandle font, std::string_view utf8) override {
    int chars = 0;
    for (char c : utf8) chars += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return chars * static_cast<int>(std::ceil(sizes[font - 1] / 2.0f));
  }
  bool imageSize(std::string_view url, int& w, int& h) override {
    if (url == "ks_howto_settings.gif") {
      w = 302;
      h = 233;
    } else {
      w = h = 16;
    }
    return true;
  }
  int checkMarkSize() override { return 13; }
  std::vector<float> sizes;
};

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// The process's peak memory so far, in KiB: resident set on Linux, working
// set on Windows.
long PeakMemoryKiB() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
  return static_cast<long>(counters.PeakWorkingSetSize / 1024);
#else
  rusage usage = {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
#endif
}

// Milliseconds to parse, style and lay out a page with the sheet, once.
double OnceMs(const std::string& html, const std::string& css) {
  BenchContainer container;
  PageView page(container);
  const auto t0 = Clock::now();
  page.loadHtml(html);
  for (const std::string& url : page.pendingStyleSheets()) page.supplyStyleSheet(url, css, true);
  page.layout(page.minWidth());
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Hand-edited input at its worst: 32 KiB of matching rules over 32 KiB of
// elements, 32 KiB of class names on one element, 32 KiB of attributes.
void PrintLargeInputs() {
  std::string rules;
  while (rules.size() < 32 * 1024) rules += "*{color:red}";
  std::string elements = "<link rel=stylesheet href=big.css>";
  while (elements.size() < 32 * 1024) elements += "<p></p>";
  std::string classes = "<link rel=stylesheet href=c.css><p class=\"";
  for (int i = 0; classes.size() < 32 * 1024; ++i) classes += "c" + std::to_string(i % 5000) + " a ";
  classes += "\">x</p>";
  std::string classRules;
  for (const char* c : {".a{color:red}", ".b{color:blue}", ".c{margin:1px}"}) classRules += c;
  std::string attributes = "<p";
  for (int i = 0; attributes.size() < 32 * 1024; ++i) attributes += " a" + std::to_string(i % 3000) + "=1";
  attributes += ">x</p>";
  std::printf("large hand-made inputs (parse, style and layout once):\n");
  std::printf("  32 KiB of *{color:red} over 32 KiB of elements %9.1f ms\n", OnceMs(elements, rules));
  std::printf("  32 KiB of class names on one element          %9.1f ms\n", OnceMs(classes, classRules));
  std::printf("  32 KiB of attributes on one element           %9.1f ms\n", OnceMs(attributes, {}));
}

// The settings page in headless Chromium 156 (Debian's chromium), adapted
// for a browser: "%%" read as "%", the style sheet without its <style>
// lines, the localisation import left out. A script in the page wrote the
// figures into the DOM, read with --dump-dom: the three top cells'
// offsetWidth at --window-size=1024,768, and the page's min-content width as
// the root's width under width: min-content (704; the document's
// scrollWidth at a narrow window, which leaves out the right body margin,
// is 696), and the cells' widths there. No cell overflowed at 1024.
constexpr int kBrowserMinContent = 704;
constexpr int kBrowserCells1024[3] = {315, 282, 393};
constexpr int kBrowserCellsAtMin[3] = {159, 118, 393};
constexpr int kCompareWidth = 1024;

// The top row's cells of the page's main table, in order.
std::vector<const Node*> TopCells(Document& document) {
  std::vector<const Node*> cells;
  const Node* table = document.findById("MAIN_TABLE");
  const Node* row = nullptr;
  std::vector<const Node*> stack{table};
  while (!stack.empty() && !row) {
    const Node* n = stack.back();
    stack.pop_back();
    if (!n) continue;
    if (n->tag() == Tag::Tr) row = n;
    for (auto it = n->children().rbegin(); it != n->children().rend(); ++it) stack.push_back(it->get());
  }
  if (!row) return cells;
  for (const auto& c : row->children()) {
    if (c->tag() == Tag::Td) cells.push_back(c.get());
  }
  return cells;
}

std::string Percent(int ours, int theirs) {
  char text[32];
  std::snprintf(text, sizeof text, "%+.1f%%", theirs ? 100.0 * (ours - theirs) / theirs : 0.0);
  return text;
}

// Lays the page out with the container's text measurement and prints its
// min-content width and top cells at the browser's width beside the
// browser's figures.
void PrintBrowserComparison(Container& container, const char* measuredWith, const std::string& html,
                            const std::string& css) {
  PageView page(container);
  page.loadHtml(html);
  for (const std::string& url : page.pendingStyleSheets()) {
    page.supplyStyleSheet(url, url == "styles.css" ? css : std::string(), url == "styles.css" && !css.empty());
  }
  const int minWidth = page.minWidth();
  std::printf("against headless Chromium 156 (text measured with %s):\n", measuredWith);
  std::printf("  min-content width   ours %4d px, browser %4d px (%s)\n", minWidth, kBrowserMinContent,
              Percent(minWidth, kBrowserMinContent).c_str());
  const std::vector<const Node*> cells = TopCells(page.document());
  page.layout(minWidth);
  for (std::size_t i = 0; i < cells.size() && i < 3; ++i) {
    Rect r;
    if (!page.borderBox(*cells[i], r)) continue;
    std::printf("  cell %zu at min-content ours %4d px, browser %4d px (%s)\n", i + 1, r.w, kBrowserCellsAtMin[i],
                Percent(r.w, kBrowserCellsAtMin[i]).c_str());
  }
  page.layout(kCompareWidth);
  Rect table;
  const Node* tableNode = page.document().findById("MAIN_TABLE");
  const bool haveTable = tableNode && page.borderBox(*tableNode, table);
  for (std::size_t i = 0; i < cells.size() && i < 3; ++i) {
    Rect r;
    if (!page.borderBox(*cells[i], r)) continue;
    std::printf("  cell %zu at %d px     ours %4d px, browser %4d px (%s)\n", i + 1, kCompareWidth, r.w,
                kBrowserCells1024[i], Percent(r.w, kBrowserCells1024[i]).c_str());
  }
  std::printf("  page at %d px: %d px wide content (%s), %d px tall; table %d px wide\n", kCompareWidth,
              page.contentWidth(), page.contentWidth() > kCompareWidth ? "overflows" : "nothing overflows",
              page.contentHeight(), haveTable ? table.w : 0);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  std::string pagePath = argc > 1 ? argv[1] : KS_BENCH_SOURCE_DIR "/config/page/settings.html";
  std::string html = ReadFile(pagePath);
  if (html.empty() && argc <= 1) {
    pagePath = KS_BENCH_SOURCE_DIR "/tests/render/data/settings_like.html";
    html = ReadFile(pagePath);
  }
  if (html.empty()) {
    std::fprintf(stderr, "bench_render: cannot read %s\n", pagePath.c_str());
    return 1;
  }
  const std::string dir = pagePath.substr(0, pagePath.find_last_of('/') + 1);
  const std::string css = ReadFile(argc > 2 ? argv[2] : dir + "styles.css");

  constexpr int kRuns = 200;
  std::vector<double> parse, style, layout, total;
  int width = 0, height = 0;
  for (int i = 0; i < kRuns; ++i) {
    BenchContainer container;
    PageView page(container);
    const auto t0 = Clock::now();
    page.loadHtml(html);
    for (const std::string& url : page.pendingStyleSheets()) {
      page.supplyStyleSheet(url, url == "styles.css" ? css : std::string(), url == "styles.css" && !css.empty());
    }
    const auto t1 = Clock::now();
    width = page.minWidth();  // cascade, box tree and intrinsic widths
    const auto t2 = Clock::now();
    page.layout(width);
    height = page.contentHeight();
    const auto t3 = Clock::now();
    const auto us = [](Clock::time_point a, Clock::time_point b) {
      return std::chrono::duration<double, std::micro>(b - a).count();
    };
    parse.push_back(us(t0, t1));
    style.push_back(us(t1, t2));
    layout.push_back(us(t2, t3));
    total.push_back(us(t0, t3));
  }
  std::printf("page: %s (%zu bytes), min width %d px, height %d px\n", pagePath.c_str(), html.size(), width, height);
  std::printf("median of %d runs: parse %.1f us, style %.1f us, layout %.1f us, total %.1f us\n", kRuns, Median(parse),
              Median(style), Median(layout), Median(total));
  std::printf("peak memory of the process: %ld KiB\n", PeakMemoryKiB());
  PrintLargeInputs();
  {
    BenchContainer fixed;
    PrintBrowserComparison(fixed, "fixed metrics, half an em a character", html, css);
  }
#ifdef _WIN32
  {
    // The Windows view's own measurement: GDI+ with the installed fonts.
    GdiplusSession gdiplus;
    Win32Container gdi;
    for (const char* image : {"bullet.gif", "rss16.gif", "keymark_ico.gif", "leafnote_ico.gif", "snipdrop_ico.gif",
                              "ks_howto_settings.gif"}) {
      gdi.addImage(image, ReadFile(dir + image));
    }
    if (gdiplus.ok()) PrintBrowserComparison(gdi, "GDI+, as the Windows view does", html, css);
  }
#endif
  return 0;
}
