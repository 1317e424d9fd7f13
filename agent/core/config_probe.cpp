#include "agent/core/config_probe.h"

#include <windows.h>

#include "agent/core/agent_messages.h"

namespace ks {
namespace {

constexpr UINT kProbeTimeoutMs = 1000;

struct ProbeSearch {
  UINT message;
  LPARAM senderThread;
  bool answered;
};

BOOL CALLBACK ProbeOne(HWND window, LPARAM param) noexcept {
  auto* search = reinterpret_cast<ProbeSearch*>(param);
  DWORD_PTR answer = 0;
  // The thread id lets the settings window take the foreground from us.
  const LRESULT sent =
      SendMessageTimeoutW(window, search->message, 0, search->senderThread, SMTO_ABORTIFHUNG, kProbeTimeoutMs, &answer);
  if (sent != 0 && answer != 0) {
    search->answered = true;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool ProbeConfigWindow() {
  ProbeSearch search{ConfigProbeMessage(), static_cast<LPARAM>(GetCurrentThreadId()), false};
  // Without its registered number the probe would be a plain message that
  // some window might answer by chance.
  if (search.message == 0) return false;
  EnumWindows(ProbeOne, reinterpret_cast<LPARAM>(&search));
  return search.answered;
}

}  // namespace ks
