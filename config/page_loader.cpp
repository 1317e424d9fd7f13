#include "config/page_loader.h"

#include <array>
#include <utility>
#include <vector>

#include "common/module_path.h"
#include "common/paths.h"
#include "common/settings.h"
#include "common/unique_handle.h"
#include "common/web_links.h"
#include "config/language_prefix.h"
#include "config/page_prefix.h"
#include "config/resource_ids.h"
#include "config/wide_utf8.h"
#include "log/log_writer.h"
#include "render/htmlayout_api.h"

namespace ks {
namespace {

constexpr wchar_t kImageType[] = L"RT_GIF";
constexpr wchar_t kStyleSheetName[] = L"styles.css";

constexpr std::array<std::pair<std::wstring_view, UINT>, 6> kImages = {{
    {L"keymark_ico.gif", IDR_IMG_KEYMARK},
    {L"leafnote_ico.gif", IDR_IMG_LEAFNOTE},
    {L"bullet.gif", IDR_IMG_BULLET},
    {L"ks_howto_settings.gif", IDR_IMG_HOWTO},
    {L"rss16.gif", IDR_IMG_RSS},
    {L"snipdrop_ico.gif", IDR_IMG_SNIPDROP},
}};

bool Answer(HWND window, const wchar_t* uri, std::string_view bytes) {
  if (bytes.empty()) return false;
  HTMLayoutDataReady(window, uri, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size()));
  return true;
}

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    const wchar_t x = (a[i] >= L'A' && a[i] <= L'Z') ? static_cast<wchar_t>(a[i] + 32) : a[i];
    const wchar_t y = (b[i] >= L'A' && b[i] <= L'Z') ? static_cast<wchar_t>(b[i] + 32) : b[i];
    if (x != y) return false;
  }
  return true;
}

// With the log on, one line names a page file that is not read: the log is
// opened for that line only, as every writer opens it for each of its lines.
void LogRefusedName(std::wstring_view name) {
  if (!GetSettings().WriteLog) return;
  const std::wstring path = ModuleDirectory() + L"LogFile.log";
  if (!LogStart(path.c_str())) return;
  LogWriteLine((L"Page file refused: " + std::wstring(name)).c_str());
  LogStop();
}

// The product site as the page writes it: scheme and host, no trailing "/".
std::wstring SiteAddress() {
  std::wstring site = WebSiteAddress(L"/");
  site.pop_back();
  return site;
}

}  // namespace

std::string_view ResourceBytes(UINT id, const wchar_t* type) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
  if (found == nullptr) return {};
  HGLOBAL loaded = LoadResource(module, found);
  if (loaded == nullptr) return {};
  const void* data = LockResource(loaded);
  const DWORD size = SizeofResource(module, found);
  if (data == nullptr || size == 0) return {};
  return std::string_view(static_cast<const char*>(data), size);
}

std::string LoadPreparedPage() {
  const std::string_view page = ResourceBytes(IDR_PAGE, MAKEINTRESOURCEW(23));
  if (page.empty()) return std::string();
  const std::wstring prefix = ReadPagePrefix(CurrentLanguageFile());
  return PreparePageText(page, AsUtf16(prefix), AsUtf16(SiteAddress()));
}

std::optional<UINT> ImageResourceId(std::wstring_view name) {
  for (const auto& [image, id] : kImages) {
    if (image == name) return id;
  }
  return std::nullopt;
}

std::string ReadWholeFile(const std::wstring& path) {
  const UniqueFile file(
      CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::string();
  const DWORD size = GetFileSize(file.get(), nullptr);
  if (size == 0 || size == INVALID_FILE_SIZE) return std::string();
  std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), buffer.data(), size, &read, nullptr) || read < size) return std::string();
  // Text up to the first zero byte: a UTF-16 sheet gives next to nothing.
  return std::string(buffer.data());
}

void ServePageRequest(HWND window, const wchar_t* uri) {
  const std::wstring_view name = uri;
  if (name == kStyleSheetName && Answer(window, uri, ResourceBytes(IDR_STYLES, MAKEINTRESOURCEW(23)))) return;
  // Sheets and images are looked for by bare file name only: a path, a drive
  // or a stream could reach any file, and a device name could block the
  // window for good. The placeholder of a page without localisation is no
  // file name at all and finds nothing without a word.
  if (!IsBareFileName(name)) {
    if (AsUtf16(name) != kLocalizePlaceholder) LogRefusedName(name);
    return;
  }
  // A sheet the page or a translator's sheet names is read from the program
  // directory.
  if (EqualsIgnoringAsciiCase(SplitPath(name).ext, L".css") &&
      Answer(window, uri, ReadWholeFile(ModuleDirectory() + std::wstring(name))))
    return;
  if (const std::optional<UINT> image = ImageResourceId(name)) Answer(window, uri, ResourceBytes(*image, kImageType));
}

}  // namespace ks
