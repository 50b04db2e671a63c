include(GoogleTest)

# quillmark_add_test(NAME SOURCES ... LIBS ... [GUI] [ENV VAR=value ...] [SUFFIX suffix] [LABELS ...])
# Builds one GoogleTest binary and registers its tests with CTest. GUI tests link the GUI library,
# run with the offscreen platform, and get a QApplication from the shared test main. ENV replaces
# the environment the tests run in (a GUI test's default is the plain offscreen platform). Called
# again for a binary that exists, it registers the same tests once more, named with SUFFIX.
function(quillmark_add_test name)
  cmake_parse_arguments(ARG "GUI" "SUFFIX" "SOURCES;LIBS;ENV;LABELS" ${ARGN})
  if(ARG_GUI AND NOT QUILLMARK_BUILD_GUI)
    message(FATAL_ERROR "quillmark_add_test(${name}): a GUI test in a build without the GUI")
  endif()
  if(NOT TARGET ${name})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE quillmark_options quillmark_test_support ${ARG_LIBS}
                          GTest::gtest GTest::gmock)
    target_compile_definitions(${name} PRIVATE
      QUILLMARK_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
      QUILLMARK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      QUILLMARK_BINARY_DIR="${PROJECT_BINARY_DIR}")
    if(ARG_GUI)
      target_link_libraries(${name} PRIVATE quillmark_gui quillmark_gui_test_main)
    else()
      target_link_libraries(${name} PRIVATE quillmark_core GTest::gtest_main)
    endif()
  endif()
  set(env "${ARG_ENV}")
  if(NOT env AND ARG_GUI)
    set(env "QT_QPA_PLATFORM=offscreen")
  endif()
  # A list cannot pass through test discovery as one property value: the first variable goes into
  # ENVIRONMENT, a second one into ENVIRONMENT_MODIFICATION.
  set(props)
  list(LENGTH env count)
  if(count GREATER 2)
    message(FATAL_ERROR "quillmark_add_test(${name}): at most two ENV variables")
  elseif(count GREATER 0)
    list(GET env 0 first)
    set(props ENVIRONMENT "${first}")
  endif()
  if(count EQUAL 2)
    list(GET env 1 second)
    string(REGEX REPLACE "^([^=]*)=" "\\1=set:" second "${second}")
    list(APPEND props ENVIRONMENT_MODIFICATION "${second}")
  endif()
  set(labels)
  if(ARG_LABELS)
    set(labels LABELS "${ARG_LABELS}")
  endif()
  gtest_discover_tests(${name}
    TEST_SUFFIX "${ARG_SUFFIX}"
    DISCOVERY_TIMEOUT 60
    PROPERTIES ${props} ${labels} TIMEOUT 120)
endfunction()
