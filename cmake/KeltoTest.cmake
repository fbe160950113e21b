# kelto_test(<name> SOURCES <src>... LIBS <lib>...): one GoogleTest program in build/bin whose
# cases ctest runs one by one. Each case gets its own empty KeltoTV root through KELTO_TEST_ROOT
# handling in the test main (tests/support), and Qt's off-screen platform.
function(kelto_test name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE kelto_test_support ${T_LIBS} kelto_warnings kelto_includes)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANGUAGE=;LC_ALL=C.UTF-8;LANG=C.UTF-8"
    DISCOVERY_TIMEOUT 60)
endfunction()
