include(GoogleTest)

# quillmark_add_test(NAME SOURCES ... LIBS ... [GUI])
# Builds one GoogleTest binary and registers its tests with CTest. GUI tests link the GUI library,
# run with the offscreen platform, and get a QApplication from the shared test main.
function(quillmark_add_test name)
  cmake_parse_arguments(ARG "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE quillmark_options quillmark_test_support ${ARG_LIBS}
                        GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    QUILLMARK_TEST_DATA_DIR="${PROJECT_SOURCE_DIR}/tests/data"
    QUILLMARK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    QUILLMARK_BINARY_DIR="${PROJECT_BINARY_DIR}")
  if(ARG_GUI)
    target_link_libraries(${name} PRIVATE quillmark_gui quillmark_gui_test_main)
    set(env "QT_QPA_PLATFORM=offscreen")
  else()
    target_link_libraries(${name} PRIVATE quillmark_core GTest::gtest_main)
    set(env "")
  endif()
  gtest_discover_tests(${name}
    DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "${env}" TIMEOUT 120)
endfunction()
