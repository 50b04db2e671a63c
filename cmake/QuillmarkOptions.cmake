# Compiler settings shared by every target of the project, carried by the interface target
# quillmark_options so that third-party code is not built with them.
add_library(quillmark_options INTERFACE)
target_compile_options(quillmark_options INTERFACE -Wall -Wextra -Wpedantic)
if(QUILLMARK_WARNINGS_AS_ERRORS)
  target_compile_options(quillmark_options INTERFACE -Werror)
endif()
if(QUILLMARK_SANITIZE)
  target_compile_options(quillmark_options INTERFACE
    -fsanitize=${QUILLMARK_SANITIZE} -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(quillmark_options INTERFACE -fsanitize=${QUILLMARK_SANITIZE})
endif()
