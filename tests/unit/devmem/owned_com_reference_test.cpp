#include "devmem/capture_device_port.h"

#include <gtest/gtest.h>

#include "fake_devmem.h"

namespace devmem_test {
namespace {

// The owner every lookup step keeps its references in.
struct OwnerFixture : ::testing::Test {
  Journal journal;
  FakeDeviceWorld world{journal};

  ComReference Take() {
    ComReference ref = kNoComReference;
    world.CreateSystemDeviceEnumerator(&ref);
    return ref;
  }
};

TEST_F(OwnerFixture, ReleasesOnceAtScopeEnd) {
  {
    OwnedComReference owner(world, Take());
    EXPECT_EQ(world.LiveReferences(), 1);
  }
  EXPECT_EQ(world.LiveReferences(), 0);
  EXPECT_EQ(journal.back(), "Release devenum");
}

TEST_F(OwnerFixture, ReceiveReleasesWhatWasHeldBeforeTheNextCallFillsIt) {
  OwnedComReference owner(world, Take());
  ComReference first = owner.Get();
  world.CreateSystemDeviceEnumerator(owner.Receive());
  EXPECT_FALSE(world.IsLive(first));
  EXPECT_EQ(world.LiveReferences(), 1);
}

TEST_F(OwnerFixture, MoveHandsTheReferenceOnWithoutAnExtraRelease) {
  OwnedComReference a(world, Take());
  OwnedComReference b(world);
  b = std::move(a);
  EXPECT_FALSE(a.Held());
  EXPECT_TRUE(b.Held());
  OwnedComReference c(std::move(b));
  EXPECT_EQ(world.LiveReferences(), 1);
  c.Reset();
  c.Reset();
  EXPECT_EQ(world.LiveReferences(), 0);
  EXPECT_EQ(world.doubleReleases, 0);
}

TEST_F(OwnerFixture, DetachLeavesTheReleaseToTheNewOwner) {
  OwnedComReference a(world, Take());
  ComReference ref = a.Detach();
  EXPECT_FALSE(a.Held());
  EXPECT_TRUE(world.IsLive(ref));
  world.Release(ref);
}

}  // namespace
}  // namespace devmem_test
