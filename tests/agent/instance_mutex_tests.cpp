// The instance mutex itself, in this process: the race that no outside test
// can hit on demand (a second agent that creates the mutex an instant after
// the first), and the release that wakes the agent's waiting threads.
#include <gtest/gtest.h>

#include <thread>

#include "agent/core/instance_mutex.h"
#include "common/unique_handle.h"

namespace ks {
namespace {

class InstanceMutexTest : public testing::Test {
 protected:
  void SetUp() override {
    // No agent may run: its mutex would decide every case.
    const UniqueKernelHandle agent(OpenMutexW(SYNCHRONIZE, FALSE, kInstanceMutexName));
    ASSERT_FALSE(agent) << "an agent is running";
  }
  void TearDown() override { ReleaseInstanceMutex(); }
};

TEST_F(InstanceMutexTest, CreatedByAnotherAgentSinceTheOpen_CountsAsAlreadyHeld) {
  ASSERT_FALSE(AnotherAgentRuns());
  // The other agent wins the race between the open and the creation.
  const UniqueKernelHandle other(CreateMutexW(nullptr, TRUE, kInstanceMutexName));
  ASSERT_TRUE(other);
  EXPECT_EQ(ClaimInstanceMutex(), InstanceClaim::AlreadyHeld);
  EXPECT_EQ(InstanceMutex(), nullptr);
}

TEST_F(InstanceMutexTest, Claimed_IsSeenByOthersAndHandedOutAgain) {
  ASSERT_EQ(ClaimInstanceMutex(), InstanceClaim::Claimed);
  const HANDLE held = InstanceMutex();
  ASSERT_NE(held, nullptr);
  EXPECT_EQ(ClaimInstanceMutex(), InstanceClaim::Claimed);
  EXPECT_EQ(InstanceMutex(), held);
  EXPECT_TRUE(AnotherAgentRuns());
  ReleaseInstanceMutex();
  EXPECT_FALSE(AnotherAgentRuns());
}

TEST_F(InstanceMutexTest, Release_WakesAThreadWaitingOnIt) {
  ASSERT_EQ(ClaimInstanceMutex(), InstanceClaim::Claimed);
  // The worker's own handle: it outlives the main thread's, which the
  // release closes while the worker still waits.
  const UniqueKernelHandle waitHandle = DuplicateStopSignal();
  ASSERT_TRUE(waitHandle);
  DWORD early = 0;
  DWORD late = 0;
  const UniqueKernelHandle earlyDone(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread worker([&] {
    early = WaitForSingleObject(waitHandle.get(), 200);
    SetEvent(earlyDone.get());
    late = WaitForSingleObject(waitHandle.get(), 10000);
    if (late == WAIT_OBJECT_0) ReleaseMutex(waitHandle.get());
  });
  // Released only once the worker has seen it held.
  WaitForSingleObject(earlyDone.get(), INFINITE);
  ReleaseInstanceMutex();
  worker.join();
  EXPECT_EQ(early, static_cast<DWORD>(WAIT_TIMEOUT));
  EXPECT_EQ(late, static_cast<DWORD>(WAIT_OBJECT_0));
}

}  // namespace
}  // namespace ks
