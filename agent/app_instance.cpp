#include "agent/app_instance.h"

namespace ks {
namespace {

HINSTANCE appInstance = nullptr;

}  // namespace

void SetAppInstance(HINSTANCE instance) { appInstance = instance; }

HINSTANCE AppInstance() { return appInstance != nullptr ? appInstance : GetModuleHandleW(nullptr); }

}  // namespace ks
