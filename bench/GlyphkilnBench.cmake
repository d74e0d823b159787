# glyphkiln_add_benchmarks(LIBS...): one bench_<file> program per *.cpp.
function(glyphkiln_add_benchmarks)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  foreach(src ${sources})
    get_filename_component(stem ${src} NAME_WE)
    add_executable(bench_${stem} ${src})
    target_link_libraries(bench_${stem} PRIVATE ${ARGN} benchmark::benchmark benchmark::benchmark_main)
    target_compile_definitions(bench_${stem} PRIVATE
      GLYPHKILN_LIBERATION_SANS="/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"
      GLYPHKILN_NIMBUS_SANS_CFF="/usr/share/fonts/opentype/urw-base35/NimbusSans-Regular.otf"
      GLYPHKILN_BIN_DIR="${CMAKE_BINARY_DIR}/bin")
  endforeach()
endfunction()
