// The walk of one module's import descriptors, on images built in memory.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <utility>
#include <vector>

#include "agent/import_patcher/import_table.h"
#include "tests/agent/import_patcher/fake_image.h"

namespace ks {
namespace {

using test::FakeImage;

constexpr ULONG_PTR kReal = 0x1111;
constexpr ULONG_PTR kOther = 0x2222;
constexpr ULONG_PTR kNew = 0x3333;

ULONG_PTR Highest() {
  SYSTEM_INFO info{};
  GetSystemInfo(&info);
  return reinterpret_cast<ULONG_PTR>(info.lpMaximumApplicationAddress);
}

int Replace(const FakeImage& image, const char* library) {
  return ReplaceImportInImage(image.Module(), library, kReal, kNew, Highest());
}

TEST(ImportTable, EveryDescriptorOfTheLibrary_IsRewrittenWhateverItsLetterCase) {
  FakeImage image({{"KS_FAKE.DLL", {kOther, kReal}}, {"other.dll", {kReal}}, {"ks_fake.dll", {kReal, kOther}}});

  EXPECT_EQ(Replace(image, "Ks_Fake.dll"), 2);

  EXPECT_EQ(image.Slot(0, 0), kOther);
  EXPECT_EQ(image.Slot(0, 1), kNew);
  EXPECT_EQ(image.Slot(1, 0), kReal) << "another library's slot keeps the address";
  EXPECT_EQ(image.Slot(2, 0), kNew);
  EXPECT_EQ(image.Slot(2, 1), kOther);
}

TEST(ImportTable, SlotsAfterTheZeroSlot_AreNotPartOfTheTable) {
  FakeImage image({{"ks_fake.dll", {kOther, 0, kReal}}});
  EXPECT_EQ(Replace(image, "ks_fake.dll"), 0);
  EXPECT_EQ(image.Slot(0, 2), kReal);
}

TEST(ImportTable, ReadOnlyTables_AreWrittenAndStayReadOnly) {
  FakeImage image({{"ks_fake.dll", {kReal}}}, PAGE_READONLY);
  EXPECT_EQ(Replace(image, "ks_fake.dll"), 1);
  EXPECT_EQ(image.Slot(0, 0), kNew);
  EXPECT_EQ(image.TableProtection(), static_cast<DWORD>(PAGE_READONLY));
}

BYTE* ImageEnd(const FakeImage& image) { return reinterpret_cast<BYTE*>(image.Module()) + image.Size(); }

TEST(ImportTable, NameRunningIntoTheImageEnd_SkipsOnlyThatDescriptor) {
  FakeImage image({{"ks_fake.dll", {kReal}}, {"ks_fake.dll", {kReal}}}, PAGE_READWRITE);
  std::memcpy(ImageEnd(image) - 4, "ks_f", 4);  // no terminator before the image ends
  image.Descriptor(0).Name = image.Size() - 4;

  EXPECT_EQ(Replace(image, "ks_fake.dll"), 1);

  EXPECT_EQ(image.Slot(0, 0), kReal);
  EXPECT_EQ(image.Slot(1, 0), kNew);
}

// Each damage points a read at memory past the image's end, which the fake
// image leaves unmapped, or at headers the walk must not trust.
TEST(ImportTable, DamagedHeaders_RewriteNothingAndDoNotFault) {
  const std::vector<std::pair<const char*, std::function<void(FakeImage&)>>> damages = {
      {"no DOS signature", [](FakeImage& i) { i.DosHeader().e_magic = 0; }},
      {"NT headers past the image", [](FakeImage& i) { i.DosHeader().e_lfanew = 0x7FFFFFF0; }},
      {"no PE signature", [](FakeImage& i) { i.NtHeaders().Signature = 0; }},
      {"other bitness",
       [](FakeImage& i) {
         i.NtHeaders().OptionalHeader.Magic =
             sizeof(void*) == 8 ? IMAGE_NT_OPTIONAL_HDR32_MAGIC : IMAGE_NT_OPTIONAL_HDR64_MAGIC;
       }},
      {"no import directory entry", [](FakeImage& i) { i.NtHeaders().OptionalHeader.NumberOfRvaAndSizes = 1; }},
      {"no import directory",
       [](FakeImage& i) {
         i.NtHeaders().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress = 0;
       }},
      {"import directory past the image",
       [](FakeImage& i) {
         i.NtHeaders().OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress = i.Size() + 0x100;
       }},
      {"table past the image", [](FakeImage& i) { i.Descriptor(0).FirstThunk = i.Size() + 0x100; }},
      {"no table", [](FakeImage& i) { i.Descriptor(0).FirstThunk = 0; }},
  };
  for (const auto& [what, damage] : damages) {
    SCOPED_TRACE(what);
    FakeImage image({{"ks_fake.dll", {kReal}}});
    damage(image);
    EXPECT_EQ(Replace(image, "ks_fake.dll"), 0);
    EXPECT_EQ(image.Slot(0, 0), kReal);
  }
}

TEST(ImportTable, TableRunningIntoTheImageEnd_StopsThere) {
  FakeImage image({{"ks_fake.dll", {kReal}}}, PAGE_READWRITE);
  // The image's last slot, with no zero slot after it.
  ULONG_PTR* last = reinterpret_cast<ULONG_PTR*>(ImageEnd(image)) - 1;
  *last = kReal;
  image.Descriptor(0).FirstThunk = image.Size() - static_cast<DWORD>(sizeof(ULONG_PTR));

  EXPECT_EQ(Replace(image, "ks_fake.dll"), 1);
  EXPECT_EQ(*last, kNew);
}

TEST(ImportTable, NullModuleOrNullAddress_RewriteNothing) {
  FakeImage image({{"ks_fake.dll", {kReal}}});
  EXPECT_EQ(ReplaceImportInImage(nullptr, "ks_fake.dll", kReal, kNew, Highest()), 0);
  EXPECT_EQ(ReplaceImportInImage(image.Module(), nullptr, kReal, kNew, Highest()), 0);
  EXPECT_EQ(ReplaceImportInImage(image.Module(), "ks_fake.dll", 0, kNew, Highest()), 0);
  EXPECT_EQ(image.Slot(0, 0), kReal);
}

}  // namespace
}  // namespace ks
