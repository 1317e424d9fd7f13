// The version resource of an executable file, decoded into display strings:
// the agent shows its product version in the tray tip, the settings program
// on its page.
#pragma once

#include <windows.h>
#include <winver.h>

#include <string>

namespace ks {

struct FileVersion {
  std::wstring path;  // the file it was read from

  // Empty until a successful read, and after a failed one.
  std::wstring companyName;
  std::wstring legalCopyright;
  std::wstring fileDescription;
  std::wstring fileVersionText;  // "FileVersion" as written, such as "1, 7, 0, 121"
  std::wstring majorVersion;     // "%d" of each word of the fixed block
  std::wstring minorVersion;
  std::wstring internalName;
  std::wstring originalFileName;
  std::wstring productName;
  std::wstring productVersionText;  // "ProductVersion" as written
  std::wstring fileVersionNumber;   // "1.7.0.121" from the fixed block
  std::wstring operatingSystem;     // empty for a value the table does not know
  std::wstring fileType;

  VS_FIXEDFILEINFO fixedInfo = {};
  // First pair of "\VarFileInfo\Translation"; both 0 when the resource has none.
  WORD languageId = 0;
  WORD codePage = 0;
};

// Fills the record from the file's version resource. False when the file has
// none or it cannot be read; then every string is empty. Strings missing from
// the resource stay empty without failing the read.
bool ReadFileVersion(const std::wstring& path, FileVersion& version);

// The same for a loaded module (null: the running executable), named by its
// file name; a module whose name cannot be had fails the read.
bool ReadModuleVersion(HMODULE module, FileVersion& version);

// True when both records hold the same file version number: the agent, its
// companion and the companion's library must be of one build.
bool SameFileVersion(const FileVersion& a, const FileVersion& b);

// The product version in the form both programs show: "1, 7, 0, 121" becomes
// "1.7.0.121".
std::wstring ShortProductVersion(const FileVersion& version);

}  // namespace ks
