// The main of every test binary: the platform is prepared before any test starts a thread,
// as the program's own main does.
#include <gtest/gtest.h>

#include "runtime/platform.h"

int main(int argc, char** argv) {
  vardelle::InitializeRuntimePlatform();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
