// Which elements the user can operate (check boxes, radio buttons, buttons,
// links), the order Tab visits them in, and the elements that Enter and
// Escape press by their role.
#pragma once

#include <string_view>
#include <vector>

#include "render/dom_node.h"

namespace ks::render {

enum class ControlKind { None, CheckBox, Radio, Button, Link };

ControlKind ControlKindOf(const Node& element);

// False when the element or one of its ancestors is not displayed or hidden.
bool IsShown(const Node& element);

// The element itself or its nearest ancestor that is a control; null when
// there is none.
Node* ControlAncestor(Node* node);

// Controls below root in document order, as Tab visits them; hidden or
// disabled ones are skipped.
std::vector<Node*> FocusOrder(Node& root);

// The control after (forward) or before current in the focus order, wrapping
// around; the first or last control when current is not in the order; null
// when there are none.
Node* NextInFocusOrder(Node& root, const Node* current, bool forward);

// First control below root whose role attribute equals role, e.g.
// "default-button".
Node* ControlWithRole(Node& root, std::string_view role);

}  // namespace ks::render
