# KELTO_SANITIZE=address builds everything with AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer; KELTO_SANITIZE=thread with ThreadSanitizer. Empty (the default)
# builds without. scripts/test --sanitize=... configures a separate build folder with it and sets
# the run-time options and suppression files (tests/sanitizers/).
set(KELTO_SANITIZE "" CACHE STRING "Sanitizer build: empty, address (ASan+UBSan) or thread (TSan)")
set_property(CACHE KELTO_SANITIZE PROPERTY STRINGS "" address thread)

if(KELTO_SANITIZE STREQUAL "address")
  # Undefined behaviour stops the program, so a test that hits it fails instead of printing a line
  # nobody reads.
  set(kelto_sanitize_flags -fsanitize=address,undefined -fno-sanitize-recover=undefined)
elseif(KELTO_SANITIZE STREQUAL "thread")
  # Unoptimised code under ThreadSanitizer runs too slowly for the suite's time limits.
  set(kelto_sanitize_flags -fsanitize=thread -O1)
elseif(NOT KELTO_SANITIZE STREQUAL "")
  message(FATAL_ERROR "KELTO_SANITIZE must be empty, address or thread, not '${KELTO_SANITIZE}'")
endif()

if(kelto_sanitize_flags)
  # Frame pointers keep the reports' stacks whole.
  add_compile_options(${kelto_sanitize_flags} -fno-omit-frame-pointer)
  add_link_options(${kelto_sanitize_flags})
  message(STATUS "Sanitizer build: ${KELTO_SANITIZE}")
endif()
