// The push-stub rule of 32-bit processes, and a write that cannot happen.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "agent/import_patcher/import_slot.h"

namespace ks {
namespace {

// A page of code holding a push stub: 0x68, a 4-byte address, then ret.
class StubPage {
 public:
  explicit StubPage(uint32_t pushed, unsigned char opcode = 0x68)
      : page_(static_cast<unsigned char*>(VirtualAlloc(nullptr, 0x1000, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE))) {
    page_[0] = opcode;
    std::memcpy(page_ + 1, &pushed, sizeof pushed);
    page_[5] = 0xC3;
    DWORD previous = 0;
    VirtualProtect(page_, 0x1000, PAGE_EXECUTE_READ, &previous);
  }
  ~StubPage() { VirtualFree(page_, 0, MEM_RELEASE); }
  ULONG_PTR Address() const { return reinterpret_cast<ULONG_PTR>(page_); }
  uint32_t Pushed() const {
    uint32_t value = 0;
    std::memcpy(&value, page_ + 1, sizeof value);
    return value;
  }

 private:
  unsigned char* page_;
};

constexpr uint32_t kReal = 0x12345678;

// The stub's page stands in for one above the application range by putting
// the highest application address just below it.
TEST(ImportSlot, PushStubAboveTheRange_LeadsToItsOperandOnlyIn32BitProcesses) {
  StubPage stub(kReal);
  ImportSlot slot = stub.Address();
  const ULONG_PTR highest = stub.Address() - 1;
  const ImportTarget target = FindImportTarget(&slot, kReal, highest);
  if (kPushStubRule) {
    EXPECT_EQ(FollowPushStub(stub.Address(), highest), kReal);
    ASSERT_EQ(target.address, reinterpret_cast<void*>(stub.Address() + 1));
    EXPECT_TRUE(target.insideStub);
    ASSERT_TRUE(WriteImportTarget(target, 0x0BADC0DE));
    EXPECT_EQ(stub.Pushed(), 0x0BADC0DEu);
    EXPECT_EQ(slot, stub.Address()) << "the slot keeps pointing at the stub";
    MEMORY_BASIC_INFORMATION region{};
    VirtualQuery(reinterpret_cast<void*>(stub.Address()), &region, sizeof region);
    EXPECT_EQ(region.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
  } else {
    EXPECT_EQ(FollowPushStub(stub.Address(), highest), 0u);
    EXPECT_EQ(target.address, nullptr);
  }
}

TEST(ImportSlot, StubWithinTheRangeOrWithoutPush_IsNotFollowed) {
  StubPage stub(kReal);
  EXPECT_EQ(FollowPushStub(stub.Address(), stub.Address()), 0u);
  StubPage jump(kReal, 0xE9);
  EXPECT_EQ(FollowPushStub(jump.Address(), jump.Address() - 1), 0u);
}

TEST(ImportSlot, UnreadableStubAddress_IsNotFollowed) {
  void* reserved = VirtualAlloc(nullptr, 0x1000, MEM_RESERVE, PAGE_NOACCESS);
  const auto address = reinterpret_cast<ULONG_PTR>(reserved);
  EXPECT_EQ(FollowPushStub(address, address - 1), 0u);
  VirtualFree(reserved, 0, MEM_RELEASE);
}

TEST(ImportSlot, WriteToMemoryThatCannotBeMadeWritable_WritesNothing) {
  void* reserved = VirtualAlloc(nullptr, 0x1000, MEM_RESERVE, PAGE_NOACCESS);
  ImportTarget target;
  target.address = reserved;
  EXPECT_FALSE(WriteImportTarget(target, 0x2468));
  VirtualFree(reserved, 0, MEM_RELEASE);
}

}  // namespace
}  // namespace ks
