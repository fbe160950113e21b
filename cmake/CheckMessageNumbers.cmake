# cmake -DROOT=<tree> -P CheckMessageNumbers.cmake
#
# Each window message number is defined once: constants named like messages (WM_..., ...Msg...,
# ...Message...) and the remote controller's buttons (viewer/RemoteButtons.h), in every folder but
# tests/, must not share a value. Two names for one number drift apart; one name keeps the sender
# and the receiver in step.
cmake_policy(VERSION 3.25)

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P CheckMessageNumbers.cmake")
endif()

set(definition "constexpr[ \t]+std::uint(32|64)_t[ \t]+([A-Za-z0-9_]+)[ \t]*=[ \t]*(0[xX][0-9A-Fa-f]+|[0-9]+)[ \t]*;")
file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/*.h ${ROOT}/*.hpp ${ROOT}/*.cpp)
set(values "")
set(duplicates "")
foreach(source IN LISTS sources)
  if(source MATCHES "^(tests|build[^/]*|\\.[^/]*)/")
    continue()
  endif()
  file(STRINGS ${ROOT}/${source} lines REGEX "${definition}")
  foreach(line IN LISTS lines)
    string(REGEX MATCH "${definition}" found "${line}")
    set(name ${CMAKE_MATCH_2})
    set(number ${CMAKE_MATCH_3})
    if(NOT name MATCHES "(WM_|Msg|Message)" AND NOT source MATCHES "(^|/)RemoteButtons\\.h$")
      continue()
    endif()
    math(EXPR value "${number}" OUTPUT_FORMAT HEXADECIMAL)
    if(DEFINED seen_${value})
      string(APPEND duplicates "  ${value}: ${seen_${value}} and ${name} (${source})\n")
    else()
      set(seen_${value} "${name} (${source})")
    endif()
  endforeach()
endforeach()

if(duplicates)
  message(FATAL_ERROR "Message numbers defined more than once:\n${duplicates}")
endif()
message(STATUS "Every message number is defined once")
