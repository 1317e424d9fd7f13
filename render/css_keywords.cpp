#include <algorithm>
#include <iterator>
#include <utility>

#include "render/css_value.h"

namespace ks::render {
namespace {

// Sorted by name for a binary search.
constexpr std::pair<std::string_view, CssKeyword> kKeywords[] = {
    {"auto", CssKeyword::Auto},
    {"baseline", CssKeyword::Baseline},
    {"block", CssKeyword::Block},
    {"bold", CssKeyword::Bold},
    {"bolder", CssKeyword::Bolder},
    {"both", CssKeyword::Both},
    {"bottom", CssKeyword::Bottom},
    {"capitalize", CssKeyword::Capitalize},
    {"center", CssKeyword::Center},
    {"collapse", CssKeyword::Collapse},
    {"crosshair", CssKeyword::Crosshair},
    {"currentcolor", CssKeyword::CurrentColor},
    {"dashed", CssKeyword::Dashed},
    {"default", CssKeyword::Default},
    {"dotted", CssKeyword::Dotted},
    {"double", CssKeyword::Double},
    {"groove", CssKeyword::Groove},
    {"hand", CssKeyword::Hand},
    {"help", CssKeyword::Help},
    {"hidden", CssKeyword::Hidden},
    {"inherit", CssKeyword::Inherit},
    {"initial", CssKeyword::Initial},
    {"inline", CssKeyword::Inline},
    {"inline-block", CssKeyword::InlineBlock},
    {"inline-table", CssKeyword::InlineTable},
    {"inset", CssKeyword::Inset},
    {"italic", CssKeyword::Italic},
    {"justify", CssKeyword::Justify},
    {"large", CssKeyword::Large},
    {"larger", CssKeyword::Larger},
    {"left", CssKeyword::Left},
    {"lighter", CssKeyword::Lighter},
    {"line-through", CssKeyword::LineThrough},
    {"list-item", CssKeyword::ListItem},
    {"lowercase", CssKeyword::Lowercase},
    {"medium", CssKeyword::Medium},
    {"middle", CssKeyword::Middle},
    {"move", CssKeyword::Move},
    {"none", CssKeyword::None},
    {"normal", CssKeyword::Normal},
    {"nowrap", CssKeyword::Nowrap},
    {"oblique", CssKeyword::Oblique},
    {"outset", CssKeyword::Outset},
    {"overline", CssKeyword::Overline},
    {"pointer", CssKeyword::Pointer},
    {"pre", CssKeyword::Pre},
    {"pre-line", CssKeyword::PreLine},
    {"pre-wrap", CssKeyword::PreWrap},
    {"ridge", CssKeyword::Ridge},
    {"right", CssKeyword::Right},
    {"small", CssKeyword::Small},
    {"smaller", CssKeyword::Smaller},
    {"solid", CssKeyword::Solid},
    {"sub", CssKeyword::Sub},
    {"super", CssKeyword::Super},
    {"table", CssKeyword::Table},
    {"table-caption", CssKeyword::TableCaption},
    {"table-cell", CssKeyword::TableCell},
    {"table-column", CssKeyword::TableColumn},
    {"table-column-group", CssKeyword::TableColumnGroup},
    {"table-footer-group", CssKeyword::TableFooterGroup},
    {"table-header-group", CssKeyword::TableHeaderGroup},
    {"table-row", CssKeyword::TableRow},
    {"table-row-group", CssKeyword::TableRowGroup},
    {"text", CssKeyword::Text},
    {"text-bottom", CssKeyword::TextBottom},
    {"text-top", CssKeyword::TextTop},
    {"thick", CssKeyword::Thick},
    {"thin", CssKeyword::Thin},
    {"top", CssKeyword::Top},
    {"transparent", CssKeyword::Transparent},
    {"underline", CssKeyword::Underline},
    {"uppercase", CssKeyword::Uppercase},
    {"visible", CssKeyword::Visible},
    {"wait", CssKeyword::Wait},
    {"x-large", CssKeyword::XLarge},
    {"x-small", CssKeyword::XSmall},
    {"xx-large", CssKeyword::XxLarge},
    {"xx-small", CssKeyword::XxSmall},
};

}  // namespace

CssKeyword KeywordFromName(std::string_view lowerName) {
  const auto end = std::end(kKeywords);
  const auto it = std::lower_bound(std::begin(kKeywords), end, lowerName,
                                   [](const auto& e, std::string_view n) { return e.first < n; });
  return (it != end && it->first == lowerName) ? it->second : CssKeyword::Unknown;
}

}  // namespace ks::render
