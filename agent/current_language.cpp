#include "agent/current_language.h"

namespace ks {

std::wstring CurrentLanguagePrefix() { return {}; }

}  // namespace ks
