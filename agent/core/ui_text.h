// The one way the agent gets the texts and the menu it shows. Today they come
// from the agent's own resources; the language machinery replaces what these
// loaders return, so callers never change when a translation is chosen.
#pragma once

#include <windows.h>

#include <string>

#include "common/unique_handle.h"

namespace ks {

// The string-table text with this id, loaded at the moment it is needed; empty
// when the table has no such string. Texts longer than 1023 characters are cut.
std::wstring LoadAgentString(UINT id);

// The menu resource with this id, owned by the caller; empty when it cannot be
// loaded.
UniqueMenu LoadAgentMenu(UINT id);

}  // namespace ks
