// The main of every test program: each run gets a fresh, empty KeltoTV root in a temporary
// folder (KELTO_ROOT), removed again at the end, so no test sees another's files or the user's.
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kelto::test::TemporaryFolder root("kelto-root");
    ::setenv("KELTO_ROOT", root.path().c_str(), 1);
    ::unsetenv("KELTO_DEBUG");
    return RUN_ALL_TESTS();
}
