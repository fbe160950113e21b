# kelto_embed_files(<target> <namespace> <file>...): builds the files' bytes into <target> as
# arrays, so data that ships inside the program (string tables) needs no file at run time.
# The generated source defines, in the given namespace,
#   const kelto::EmbeddedFile kEmbedded[]; const std::size_t kEmbeddedCount;
# one entry per file, named by its file name.
function(kelto_embed_files target ns)
  string(REPLACE "::" "_" stem "${ns}")
  set(out ${CMAKE_BINARY_DIR}/generated/${target}_${stem}_embedded.cpp)
  string(REPLACE ";" "|" files "${ARGN}")
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DNS=${ns} "-DFILES=${files}"
            -P ${CMAKE_SOURCE_DIR}/cmake/KeltoEmbedScript.cmake
    DEPENDS ${ARGN} ${CMAKE_SOURCE_DIR}/cmake/KeltoEmbedScript.cmake
    COMMENT "Embedding data files into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
