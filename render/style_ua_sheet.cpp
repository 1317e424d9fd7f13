#include "render/style_ua_sheet.h"

namespace ks::render {
namespace {

constexpr const char kUserAgentCss[] = R"css(
html { display: block; font-family: Tahoma, Verdana, Arial, sans-serif; font-size: 12px; color: black; }
head, meta, base, style, script, title, link, col, colgroup { display: none }
body { display: block; margin: 8px }
div, p, center, h1, h2, h3, h4, h5, h6, ul, ol, dl, dd, dt, pre, hr, caption { display: block }
li { display: list-item }
p, ul, ol, dl, pre { margin-top: 1em; margin-bottom: 1em }
ul, ol { padding-left: 40px }
dd { margin-left: 40px }
h1 { font-size: 2em; font-weight: bold; margin-top: 0.67em; margin-bottom: 0.67em }
h2 { font-size: 1.5em; font-weight: bold; margin-top: 0.83em; margin-bottom: 0.83em }
h3 { font-size: 1.17em; font-weight: bold; margin-top: 1em; margin-bottom: 1em }
h4 { font-weight: bold; margin-top: 1.33em; margin-bottom: 1.33em }
h5 { font-size: 0.83em; font-weight: bold; margin-top: 1.67em; margin-bottom: 1.67em }
h6 { font-size: 0.67em; font-weight: bold; margin-top: 2.33em; margin-bottom: 2.33em }
hr { border: 1px inset gray; margin-top: 0.5em; margin-bottom: 0.5em }
b, strong, th { font-weight: bold }
i, em { font-style: italic }
u { text-decoration: underline }
strike { text-decoration: line-through }
small { font-size: smaller }
big { font-size: larger }
sup { vertical-align: super; font-size: smaller }
sub { vertical-align: sub; font-size: smaller }
center { text-align: center }
pre { white-space: pre; font-family: "Courier New", monospace }
code { font-family: "Courier New", monospace }
nobr { white-space: nowrap }
a[href] { color: #0000EE; text-decoration: underline; cursor: pointer }
a[href]:visited { color: #551A8B }
a[href]:hover { color: #D03A00 }
table { display: table; border-spacing: 2px }
tr { display: table-row }
tbody, thead, tfoot { display: table-row-group }
/* Cells take their vertical alignment from the row, so valign on a tr works. */
tbody, thead, tfoot, table > tr { vertical-align: middle }
tr, td, th { vertical-align: inherit }
td, th { display: table-cell; padding: 1px }
th { text-align: center }
input, button, textarea { display: inline-block }
/* A check box widget is a row of its own: its mark, then its caption. */
widget { display: block }
input[type="hidden"] { display: none }
input[type="submit"], input[type="button"], input[type="reset"], button {
  padding: 2px 8px; border: 1px solid #707070; border-radius: 3px; background-color: #E1E1E1;
  text-align: center; cursor: default; white-space: nowrap }
widget[type="checkbox"], widget[type="radio"] { cursor: default }
)css";

}  // namespace

const StyleSheet& UserAgentStyleSheet() {
  static const StyleSheet sheet = ParseStyleSheet(kUserAgentCss);
  return sheet;
}

}  // namespace ks::render
