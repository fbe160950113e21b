# Warnings every target of the project is built with; the tree stays clean of them.
add_library(kelto_warnings INTERFACE)
target_compile_options(kelto_warnings INTERFACE -Wall -Wextra)

# Adds the project's own source root to the include path, so headers are named by folder:
# #include "platform/Registry.h".
add_library(kelto_includes INTERFACE)
target_include_directories(kelto_includes INTERFACE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
