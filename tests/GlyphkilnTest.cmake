# glyphkiln_add_suite(NAME [GUI] LIBS...): one GoogleTest program per folder
# from every source in it, registered with ctest. Font-engine tests find the
# fonts of the Debian packages by these paths and fail loudly when they are
# missing. A GUI suite brings its own main (a QApplication must exist before
# any widget), runs on Qt's offscreen platform and carries the label "gui",
# which the sanitizer run leaves out.
function(glyphkiln_add_suite name)
  cmake_parse_arguments(SUITE "GUI" "" "" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${SUITE_UNPARSED_ARGUMENTS} GTest::gtest GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    GLYPHKILN_LIBERATION_SANS="${GLYPHKILN_FONT_DIR_LIBERATION}/LiberationSans-Regular.ttf"
    GLYPHKILN_DEJAVU_SANS="${GLYPHKILN_FONT_DIR_DEJAVU}/DejaVuSans.ttf"
    GLYPHKILN_NIMBUS_SANS_CFF="${GLYPHKILN_FONT_DIR_URW}/NimbusSans-Regular.otf"
    GLYPHKILN_NIMBUS_SANS_TYPE1="${GLYPHKILN_FONT_DIR_URW_TYPE1}/NimbusSans-Regular.t1"
    GLYPHKILN_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
    GLYPHKILN_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  if(SUITE_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
      PROPERTIES TIMEOUT 600 LABELS gui ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 600)
  endif()
endfunction()
