#include "config/config_messages.h"

namespace ks {
namespace {

UINT probeMessage = 0;
UINT autorunChangedMessage = 0;

}  // namespace

void RegisterConfigMessages() {
  probeMessage = RegisterWindowMessageW(kConfigProbeMessageName);
  autorunChangedMessage = RegisterWindowMessageW(kAutorunChangedMessageName);
}

UINT ConfigProbeMessage() { return probeMessage; }
UINT AutorunChangedMessage() { return autorunChangedMessage; }

}  // namespace ks
