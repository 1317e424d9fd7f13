// Language files for tests of the agent, and the "LangFile" setting as the
// agent leaves it in its settings file.
#pragma once

#include <windows.h>

#include <string>

#include "tests/harness/agent_copy.h"

namespace ks::test {

// The shipped Russian language file, copied beside the tests at build time.
std::wstring ShippedRussianFile();

// "LangFile" of the copy's settings file as the file holds it; empty when
// missing.
std::wstring StoredLangFile(const AgentCopy& copy);

// Waits until "LangFile" holds the value.
bool WaitForStoredLangFile(const AgentCopy& copy, const std::wstring& value, DWORD timeoutMs);

// The "Key=value" lines of one section of a language file, in file order.
std::vector<std::wstring> SectionLines(const std::wstring& file, const std::wstring& section);

}  // namespace ks::test
