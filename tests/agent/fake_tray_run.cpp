#include "tests/agent/fake_tray_run.h"

#include <sstream>

#include "tests/harness/window_search.h"

namespace ks::test {
namespace {

std::wstring Unescaped(const std::wstring& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && (text[i + 1] == L'n' || text[i + 1] == L't')) {
      out += text[i + 1] == L'n' ? L'\n' : L'\t';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<std::wstring> SplitTabs(const std::wstring& line) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    const size_t tab = line.find(L'\t', start);
    parts.push_back(line.substr(start, tab == std::wstring::npos ? std::wstring::npos : tab - start));
    if (tab == std::wstring::npos) return parts;
    start = tab + 1;
  }
}

}  // namespace

bool FakeTray::Start(int refuseAdds) {
  const std::wstring report = dir_.File(L"tray.txt");
  if (!process_.Start(BinDir() + L"fake_tray.exe",
                      QuoteArgument(L"report=" + report) + L" refuse=" + std::to_wstring(refuseAdds))) {
    return false;
  }
  const ULONGLONG end = GetTickCount64() + 20000;
  while (GetTickCount64() < end) {
    HWND tray = FindWindowW(L"Shell_TrayWnd", nullptr);
    DWORD owner = 0;
    if (tray != nullptr) GetWindowThreadProcessId(tray, &owner);
    if (owner == process_.Id()) return true;
    PumpMessagesFor(20);
  }
  return false;
}

std::vector<TrayRecord> FakeTray::Records() const {
  std::vector<TrayRecord> records;
  for (const std::wstring& line : SplitCrLfLines(Widen(ReadBytes(dir_.File(L"tray.txt"))))) {
    const std::vector<std::wstring> parts = SplitTabs(line);
    if (parts.size() != 4) continue;
    TrayRecord r;
    std::wistringstream head(parts[0]);
    int accepted = 0;
    head >> r.operation >> accepted >> r.window >> r.id >> std::hex >> r.flags >> r.callbackMessage >> r.infoFlags >>
        r.iconSize >> r.iconHash;
    r.accepted = accepted != 0;
    r.tip = Unescaped(parts[1]);
    r.info = Unescaped(parts[2]);
    r.infoTitle = Unescaped(parts[3]);
    records.push_back(r);
  }
  return records;
}

bool FakeTray::WaitForRecords(size_t count, DWORD timeoutMs) const {
  const ULONGLONG end = GetTickCount64() + timeoutMs;
  for (;;) {
    if (Records().size() >= count) return true;
    if (GetTickCount64() >= end) return false;
    PumpMessagesFor(50);
  }
}

}  // namespace ks::test
