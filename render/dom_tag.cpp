#include "render/dom_tag.h"

#include <algorithm>
#include <array>
#include <utility>

namespace ks::render {
namespace {

// Sorted by name for a binary search.
constexpr std::array<std::pair<std::string_view, Tag>, 58> kTags{{
    {"a", Tag::A},           {"b", Tag::B},
    {"base", Tag::Base},     {"big", Tag::Big},
    {"body", Tag::Body},     {"br", Tag::Br},
    {"button", Tag::Button}, {"caption", Tag::Caption},
    {"center", Tag::Center}, {"code", Tag::Code},
    {"col", Tag::Col},       {"colgroup", Tag::Colgroup},
    {"dd", Tag::Dd},         {"div", Tag::Div},
    {"dl", Tag::Dl},         {"dt", Tag::Dt},
    {"em", Tag::Em},         {"font", Tag::Font},
    {"h1", Tag::H1},         {"h2", Tag::H2},
    {"h3", Tag::H3},         {"h4", Tag::H4},
    {"h5", Tag::H5},         {"h6", Tag::H6},
    {"head", Tag::Head},     {"hr", Tag::Hr},
    {"html", Tag::Html},     {"i", Tag::I},
    {"img", Tag::Img},       {"input", Tag::Input},
    {"label", Tag::Label},   {"li", Tag::Li},
    {"link", Tag::Link},     {"meta", Tag::Meta},
    {"nobr", Tag::Nobr},     {"ol", Tag::Ol},
    {"p", Tag::P},           {"pre", Tag::Pre},
    {"script", Tag::Script}, {"small", Tag::Small},
    {"span", Tag::Span},     {"strike", Tag::Strike},
    {"strong", Tag::Strong}, {"style", Tag::Style},
    {"sub", Tag::Sub},       {"sup", Tag::Sup},
    {"table", Tag::Table},   {"tbody", Tag::Tbody},
    {"td", Tag::Td},         {"textarea", Tag::Textarea},
    {"tfoot", Tag::Tfoot},   {"th", Tag::Th},
    {"thead", Tag::Thead},   {"title", Tag::Title},
    {"tr", Tag::Tr},         {"u", Tag::U},
    {"ul", Tag::Ul},         {"widget", Tag::Widget},
}};

}  // namespace

Tag TagFromName(std::string_view lowerName) {
  const auto it = std::lower_bound(kTags.begin(), kTags.end(), lowerName,
                                   [](const auto& entry, std::string_view n) { return entry.first < n; });
  return (it != kTags.end() && it->first == lowerName) ? it->second : Tag::Unknown;
}

bool IsVoidTag(Tag tag) {
  switch (tag) {
    case Tag::Br:
    case Tag::Img:
    case Tag::Input:
    case Tag::Meta:
    case Tag::Base:
    case Tag::Link:
    case Tag::Hr:
    case Tag::Col: return true;
    default: return false;
  }
}

bool IsRawTextTag(Tag tag) {
  return tag == Tag::Style || tag == Tag::Script || tag == Tag::Title || tag == Tag::Textarea;
}

}  // namespace ks::render
