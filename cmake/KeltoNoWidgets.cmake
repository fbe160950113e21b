# kelto_forbid_widgets(<target>): the engines (settings, channel model, tuner controller,
# scheduler, capture naming, mixer classes) must not depend on Qt Widgets. This check runs at
# generate time over the target's direct and interface link libraries.
function(kelto_forbid_widgets target)
  get_target_property(libs ${target} LINK_LIBRARIES)
  get_target_property(ilibs ${target} INTERFACE_LINK_LIBRARIES)
  foreach(lib IN LISTS libs ilibs)
    if(lib MATCHES "Widgets")
      message(FATAL_ERROR "${target} is an engine and must not link ${lib}")
    endif()
  endforeach()
endfunction()
