#include "agent/core/message_box.h"

#include "agent/core/resource_ids.h"
#include "agent/core/ui_text.h"

namespace ks {

int ShowAgentMessageBox(HWND owner, const std::wstring& text, UINT type) {
  MessageBeep(0xFFFFFFFF);
  const std::wstring caption = LoadAgentString(IDS_AGENT_CAPTION);
  return MessageBoxW(owner, text.c_str(), caption.c_str(), type);
}

}  // namespace ks
