// The main of every test program: each run gets a fresh, empty KeltoTV root (KELTO_ROOT) and
// runtime folder (XDG_RUNTIME_DIR, where windows and mutexes live), removed again at the end,
// so no test sees another's files, windows or the user's.
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kelto::test::TemporaryFolder root("kelto-root");
    kelto::test::TemporaryFolder runtime("kelto-run");
    ::setenv("KELTO_ROOT", root.path().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    ::unsetenv("KELTO_DEBUG");
    return RUN_ALL_TESTS();
}
