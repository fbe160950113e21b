// The main of every test program: each run gets a fresh, empty KeltoTV root (KELTO_ROOT) and
// runtime folder (XDG_RUNTIME_DIR, where windows and mutexes live), removed again at the end,
// so no test sees another's files, windows or the user's (nor the user's session bus). Programs that test widgets are built
// with KELTO_TEST_WIDGETS and get an application object first.
#include "tests/support/TestRoot.h"

#include <gtest/gtest.h>

#ifdef KELTO_TEST_WIDGETS
#include <QApplication>
#endif

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    kelto::test::TemporaryFolder root("kelto-root");
    kelto::test::TemporaryFolder runtime("kelto-run");
    ::setenv("KELTO_ROOT", root.path().c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
    ::unsetenv("KELTO_DEBUG");
    // The program started by a test finds no desktop bus either: it never inhibits the user's
    // screen saver (with the runtime folder above, which has no "bus", it reaches none).
    ::unsetenv("DBUS_SESSION_BUS_ADDRESS");
    // Nor does it play through the machine's sound output; tests that listen install their own.
    ::setenv("KELTO_SOUND_DEVICE", "none", 1);
#ifdef KELTO_TEST_WIDGETS
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);  // also when ctest lists the cases at build time
    QApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
#endif
    return RUN_ALL_TESTS();
}
