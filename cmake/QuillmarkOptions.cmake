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

# Debian's hardening flags for every optimised build without sanitizers, as dpkg-buildflags gives
# them (fortified string functions, stack protector, format checks, read-only relocations bound at
# start-up); the build type keeps its own optimisation and debug flags. Elsewhere none are added.
find_program(QUILLMARK_DPKG_BUILDFLAGS dpkg-buildflags)
if(QUILLMARK_DPKG_BUILDFLAGS AND NOT QUILLMARK_SANITIZE
   AND CMAKE_BUILD_TYPE MATCHES "^(Release|RelWithDebInfo|MinSizeRel)$")
  foreach(kind CPPFLAGS CXXFLAGS LDFLAGS)
    execute_process(
      COMMAND "${CMAKE_COMMAND}" -E env DEB_BUILD_MAINT_OPTIONS=hardening=+all
              "${QUILLMARK_DPKG_BUILDFLAGS}" --get ${kind}
      OUTPUT_VARIABLE flags OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    separate_arguments(flags UNIX_COMMAND "${flags}")
    list(FILTER flags EXCLUDE REGEX "^-(O|g|ffile-prefix-map|fdebug-prefix-map)")
    if(kind STREQUAL "LDFLAGS")
      target_link_options(quillmark_options INTERFACE ${flags})
    else()
      target_compile_options(quillmark_options INTERFACE ${flags})
    endif()
  endforeach()
endif()
