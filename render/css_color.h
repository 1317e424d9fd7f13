// CSS colour names and notations, as 0xAARRGGBB.
#pragma once

#include <cstdint>
#include <string_view>

namespace ks::render {

// Answers false for names that are not colours; name must be lower case.
bool NamedColor(std::string_view lowerName, std::uint32_t& argb);

// "rgb", "f0f8ff" and the 4- and 8-digit forms with alpha, without the '#'.
bool HexColor(std::string_view hex, std::uint32_t& argb);

}  // namespace ks::render
