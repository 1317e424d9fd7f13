// What assistive technology is told about a page: the controls it offers in
// document order, their roles, the names they show, their states and default
// actions. Portable: the Windows layer turns this into MSAA answers.
#pragma once

#include <string>
#include <vector>

#include "render/dom_node.h"

namespace ks::render {

enum class AccessibleRole { CheckBox, RadioButton, PushButton, Link };

// Every control the page shows, in document order; disabled ones included
// (they are announced as unavailable), hidden ones left out.
std::vector<Node*> AccessibleControls(Node& root);

AccessibleRole AccessibleRoleOf(const Node& control);

// Whether any element below this one is a control: replacing its content then
// changes the controls a screen reader knows.
bool ContainsControl(const Node& element);

// The text the control shows as the page is laid out, so texts replaced by a
// localisation sheet and entities read as they are drawn; white space is
// collapsed and the text of controls nested inside is left out (the log link
// inside its check box is a control of its own). Falls back to the element's
// own text before layout, then to its title. UTF-8.
std::string AccessibleName(const Node& control);

// The tooltip (title attribute) unless it only repeats the name.
std::string AccessibleDescription(const Node& control);

// "Check"/"Uncheck" for check boxes, "Check" for radio buttons, "Press" for
// buttons, "Jump" for links.
std::string AccessibleDefaultAction(const Node& control);

}  // namespace ks::render
