// The built-in style sheet that gives elements their usual look before any
// page style applies.
#pragma once

#include "render/css_stylesheet.h"

namespace ks::render {

const StyleSheet& UserAgentStyleSheet();

}  // namespace ks::render
