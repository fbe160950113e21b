# kelto_test(<name> [WIDGETS] SOURCES <src>... LIBS <lib>...): one GoogleTest program in build/bin
# whose cases ctest runs one by one. Each case gets its own empty KeltoTV root and runtime folder
# (tests/support/TestMain.cpp) and Qt's off-screen platform; WIDGETS gives it an application object.
function(kelto_test name)
  cmake_parse_arguments(T "WIDGETS" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  set(support kelto_test_support)
  if(T_WIDGETS)
    set(support kelto_test_support_widgets)
  endif()
  target_link_libraries(${name} PRIVATE ${support} ${T_LIBS} kelto_warnings kelto_includes)
  gtest_discover_tests(${name}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LANGUAGE=;LC_ALL=C.UTF-8;LANG=C.UTF-8"
    DISCOVERY_TIMEOUT 60)
endfunction()
