// The section named "Shared" of an image mapped into this process: every
// process that maps the image sees the same bytes, so a test that writes
// them stands in for another program doing so.
#pragma once

#include <windows.h>

namespace ks::test {

struct MappedSection {
  BYTE* data = nullptr;  // null when the image has no such section
  DWORD size = 0;
};

MappedSection SharedSectionOf(HMODULE image);

}  // namespace ks::test
