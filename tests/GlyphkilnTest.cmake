# glyphkiln_add_suite(NAME LIBS...): one GoogleTest program per folder from
# every *.cpp in it, registered with ctest. Font-engine tests find the fonts
# of the Debian packages by these paths and fail loudly when they are missing.
function(glyphkiln_add_suite name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  foreach(lib ${ARGN})
    if(lib MATCHES "^zarn_" AND NOT TARGET ${lib})
      return()  # the layer under test is not built yet
    endif()
  endforeach()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE
    GLYPHKILN_LIBERATION_SANS="${GLYPHKILN_FONT_DIR_LIBERATION}/LiberationSans-Regular.ttf"
    GLYPHKILN_DEJAVU_SANS="${GLYPHKILN_FONT_DIR_DEJAVU}/DejaVuSans.ttf"
    GLYPHKILN_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
    GLYPHKILN_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}")
  if(GLYPHKILN_SUITE_GUI)
    # Qt's offscreen platform; the sanitizer run leaves these out by label.
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120
      DISCOVERY_EXTRA_ARGS ""
      PROPERTIES TIMEOUT 600 LABELS gui ENVIRONMENT QT_QPA_PLATFORM=offscreen)
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 120 PROPERTIES TIMEOUT 600)
  endif()
endfunction()
