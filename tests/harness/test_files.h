// Files and directories for tests that run real programs: temporary
// directories, whole-file reads and writes, UTF-16 text.
#pragma once

#include <string>
#include <vector>

namespace ks::test {

// Directory of the running test program, with a trailing separator; the
// programs under test and the helper programs are built beside it.
std::wstring BinDir();

// The bin directory of the x86 build tree beside this one (build/x86/bin),
// where the x64 tests find the 32-bit programs they run too.
std::wstring X86BinDir();

// A new, empty directory under the temporary directory, removed with its
// files when the object goes away.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  // The directory with a trailing separator.
  const std::wstring& path() const { return path_; }
  std::wstring File(const std::wstring& name) const { return path_ + name; }

 private:
  std::wstring path_;
};

bool FileExists(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// Gives a program or library file another version in its version resource,
// as a file from an older build carries: the last of the four numbers of the
// file version goes down by one. False when the file has no version block.
bool MakeOlderBuild(const std::wstring& path);

// A UTF-16 little-endian file as text; the byte-order mark, when present, is
// dropped and reported through hadBom.
std::wstring ReadUtf16(const std::wstring& path, bool* hadBom = nullptr);

// Splits on "\r\n"; a text that ends with "\r\n" gives no empty last line.
std::vector<std::wstring> SplitCrLfLines(const std::wstring& text);

// A text file's "\r\n"-ended lines, read as UTF-16 little-endian when the file
// starts with a byte-order mark and in the ANSI code page otherwise (the
// private-profile functions write either); empty when the file cannot be read.
std::vector<std::wstring> ReadTextLines(const std::wstring& path);

std::string Narrow(const std::wstring& text);
std::wstring Widen(const std::string& text);

}  // namespace ks::test
