#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv) {
  // A failure must be reported, never wait on an error dialog under Wine.
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
