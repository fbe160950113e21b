# cmake -DROOT=<tree> -P CheckIncludeOrder.cmake
#
# The top-level folders are layers. A source file may include "<folder>/..." only from its own
# folder or a layer below it; folders on one layer do not include each other. Every folder that
# holds sources must have a place in the order. tests/ may include anything. The order, lowest
# first (folders joined by "|" share a layer), is the one docs/ARCHITECTURE.md describes.
cmake_policy(VERSION 3.25)

set(KELTO_LAYERS
  "platform"
  "resources"
  "drivers"
  "cardsim|v4l2|rurorizi"
  "settings"
  "channels"
  "mixer"
  "capture"
  "reservations"
  "framework"
  "viewer"
  "links"
  "app"
  "tools")
# Parts of a layer above its plain folder: they use the plain folder, not it them, nor each other
# (platform/ itself is plain C++; platform/qt needs Qt, platform/mixer and platform/sound the sound system).
set(KELTO_LAYER_PARTS platform/qt platform/mixer platform/sound)
# Parts of the viewer layer below its window: the core, the panel, the display, the keypad
# (viewer/keypad) and the frequency table dialogs (viewer/freq) are used by viewer/window, never the
# other way round.
set(KELTO_BELOW_VIEWER_WINDOW viewer/core viewer/panel viewer/osd viewer/keypad viewer/freq viewer/config viewer/capture viewer/multiscreen)
# Folders that hold no layer's sources.
set(KELTO_NOT_LAYERS tests cmake data docs scripts)

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source tree> -P CheckIncludeOrder.cmake")
endif()

set(rank 0)
foreach(layer IN LISTS KELTO_LAYERS)
  string(REPLACE "|" ";" folders "${layer}")
  foreach(folder IN LISTS folders)
    set(rank_of_${folder} ${rank})
  endforeach()
  math(EXPR rank "${rank} + 1")
endforeach()

set(violations "")
file(GLOB top RELATIVE ${ROOT} ${ROOT}/*)
foreach(folder IN LISTS top)
  if(NOT IS_DIRECTORY ${ROOT}/${folder} OR folder IN_LIST KELTO_NOT_LAYERS OR folder MATCHES "^(\\.|build)")
    continue()
  endif()
  file(GLOB_RECURSE sources RELATIVE ${ROOT} ${ROOT}/${folder}/*.h ${ROOT}/${folder}/*.hpp ${ROOT}/${folder}/*.cpp ${ROOT}/${folder}/*.c)
  if(NOT sources)
    continue()
  endif()
  if(NOT DEFINED rank_of_${folder})
    string(APPEND violations "  ${folder}/ holds sources but has no place in the layer order\n")
    continue()
  endif()
  foreach(source IN LISTS sources)
    file(STRINGS ${ROOT}/${source} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"[^\"/]+/")
    foreach(line IN LISTS includes)
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"/]+)/.*$" "\\1" target "${line}")
      string(REGEX REPLACE "^[ \t]*#[ \t]*include[ \t]*\"([^\"]+)\".*$" "\\1" included "${line}")
      if(target STREQUAL folder)
        # Inside one folder: a part (platform/qt) is used only from within that part.
        foreach(part IN LISTS KELTO_LAYER_PARTS)
          string(FIND "${included}" "${part}/" at)
          string(FIND "${source}" "${part}/" own)
          if(at EQUAL 0 AND NOT own EQUAL 0)
            string(APPEND violations "  ${source} includes ${included}: ${part}/ is above the rest of ${folder}/\n")
          endif()
        endforeach()
        foreach(part IN LISTS KELTO_BELOW_VIEWER_WINDOW)
          string(FIND "${source}" "${part}/" own)
          string(FIND "${included}" "viewer/window/" at)
          if(own EQUAL 0 AND at EQUAL 0)
            string(APPEND violations "  ${source} includes ${included}: viewer/window/ is above ${part}/\n")
          endif()
        endforeach()
        continue()
      endif()
      if(NOT DEFINED rank_of_${target})
        string(APPEND violations "  ${source} includes ${included}: ${target}/ is not a layer\n")
      elseif(rank_of_${target} GREATER rank_of_${folder})
        string(APPEND violations "  ${source} includes ${included}: ${target}/ is above ${folder}/\n")
      elseif(rank_of_${target} EQUAL rank_of_${folder})
        string(APPEND violations "  ${source} includes ${included}: ${target}/ is beside ${folder}/ on one layer\n")
      endif()
    endforeach()
  endforeach()
endforeach()

if(violations)
  message(FATAL_ERROR "Includes against the layer order:\n${violations}")
endif()
message(STATUS "Every include follows the layer order")
