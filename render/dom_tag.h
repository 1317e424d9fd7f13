// The element names the renderer gives a meaning to; any other name is kept
// as text on the node and laid out as an unknown inline element.
#pragma once

#include <cstdint>
#include <string_view>

namespace ks::render {

enum class Tag : std::uint8_t {
  Unknown,
  A,
  B,
  Base,
  Big,
  Body,
  Br,
  Button,
  Caption,
  Center,
  Code,
  Col,
  Colgroup,
  Dd,
  Div,
  Dl,
  Dt,
  Em,
  Font,
  H1,
  H2,
  H3,
  H4,
  H5,
  H6,
  Head,
  Hr,
  Html,
  I,
  Img,
  Input,
  Label,
  Li,
  Link,
  Meta,
  Nobr,
  Ol,
  P,
  Pre,
  Script,
  Small,
  Span,
  Strike,
  Strong,
  Style,
  Sub,
  Sup,
  Table,
  Tbody,
  Td,
  Textarea,
  Tfoot,
  Th,
  Thead,
  Title,
  Tr,
  U,
  Ul,
  Widget,
};

// lowerName must already be in lower case.
Tag TagFromName(std::string_view lowerName);

// Elements that never have content or an end tag.
bool IsVoidTag(Tag tag);
// Elements whose content is raw text up to their own end tag.
bool IsRawTextTag(Tag tag);

}  // namespace ks::render
