#include "agent/tray/tray_texts.h"

namespace ks {

std::wstring ProductLine(const TrayWords& words, const std::wstring& shortVersion, const std::wstring& webHost) {
  std::wstring line = words.caption;
  if (!shortVersion.empty()) line += L" " + shortVersion;
  return line + L" - " + webHost;
}

std::wstring StateWord(const TrayWords& words, bool hookInstalled, bool paused) {
  if (hookInstalled && paused) return words.statePaused;
  return hookInstalled ? words.stateOn : words.stateOff;
}

std::wstring HScrollDescription(const TrayWords& words, const Settings& settings, bool hookInstalled) {
  if (!hookInstalled) return {};
  std::wstring list;
  const auto add = [&list](const std::wstring& item) {
    if (!list.empty()) list += L", ";
    list += item;
  };
  if (settings.HScrollOnShift != 0) add(words.keyPrefix + L" SHIFT");
  if (settings.HScrollOnCtrl != 0) add(words.keyPrefix + L" CTRL");
  if (settings.HScrollOnLButton != 0) add(words.onLeftButton);
  if (settings.HScrollOnRButton != 0) add(words.onRightButton);
  if (list.empty()) list = words.disabled;
  return words.scrollHorizontally + L" [" + list + L"]";
}

std::wstring TrayTip(const std::wstring& productLine, const std::wstring& stateWord, const std::wstring& description) {
  std::wstring tip = productLine + L"\n[" + stateWord + L"]";
  if (!description.empty()) tip += L"\n" + description;
  return tip;
}

std::wstring BalloonText(const std::wstring& stateWord, const std::wstring& description,
                         const std::wstring& extraLine) {
  std::wstring text = stateWord;
  if (!description.empty()) text += L", " + description;
  if (!extraLine.empty()) text += L"\n" + extraLine;
  return text;
}

void CopyCut(const std::wstring& text, wchar_t* field, size_t capacity) {
  if (capacity == 0) return;
  const size_t n = text.size() < capacity - 1 ? text.size() : capacity - 1;
  text.copy(field, n);
  field[n] = L'\0';
}

}  // namespace ks
