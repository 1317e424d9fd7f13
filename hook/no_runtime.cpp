// The library links no C runtime, yet the compiler may emit calls to these
// for struct copies and zero-filled buffers.
#include <stddef.h>

extern "C" {

void* memset(void* dest, int value, size_t count) {
  auto* p = static_cast<volatile unsigned char*>(dest);
  while (count-- != 0) *p++ = static_cast<unsigned char>(value);
  return dest;
}

void* memcpy(void* dest, const void* src, size_t count) {
  auto* d = static_cast<volatile unsigned char*>(dest);
  const auto* s = static_cast<const unsigned char*>(src);
  while (count-- != 0) *d++ = *s++;
  return dest;
}

}  // extern "C"
