# Fuzz targets: one file per reader of outside data, each defining
# LLVMFuzzerTestOneInput. With QUARN_FUZZ (clang) each becomes a libFuzzer
# executable for `make fuzz`; in the ordinary test build each is linked with
# a small driver instead and replays its committed corpus as a ctest test.
# quarn_fuzz_target(NAME LIBS...): NAME_fuzz.cpp, corpus/NAME/.
function(quarn_fuzz_target name)
  set(target fuzz_${name})
  add_executable(${target} ${CMAKE_CURRENT_LIST_DIR}/${name}_fuzz.cpp
                 ${CMAKE_CURRENT_LIST_DIR}/fuzz_support.cpp)
  target_include_directories(${target} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/..)
  target_link_libraries(${target} PRIVATE ${ARGN})
  quarn_strict(${target})
  if(QUARN_FUZZ)
    target_link_options(${target} PRIVATE -fsanitize=fuzzer)
    add_dependencies(quarn_fuzz_targets ${target})
  else()
    target_sources(${target} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/replay_main.cpp)
    add_test(NAME fuzz_replay.${name}
      COMMAND ${target} ${CMAKE_CURRENT_LIST_DIR}/corpus/${name})
    set_tests_properties(fuzz_replay.${name} PROPERTIES
      ENVIRONMENT "${QUARN_TEST_ENVIRONMENT}")
  endif()
endfunction()

if(QUARN_FUZZ)
  add_custom_target(quarn_fuzz_targets)
endif()
quarn_fuzz_target(bmp_reader quarn_render)
quarn_fuzz_target(tga_reader quarn_render)
quarn_fuzz_target(outline_file quarn_core)
quarn_fuzz_target(polygon_text quarn_core)
quarn_fuzz_target(user_quarn quarn_app)
quarn_fuzz_target(poly_txt quarn_app)
quarn_fuzz_target(export_path quarn_cli)
# The C interface compiled into the target itself: the shared object's
# link options do not suit a sanitized executable.
quarn_fuzz_target(capi quarn_core quarn_nav quarn_programme_json quarn_io quarn_export)
target_sources(fuzz_capi PRIVATE ${PROJECT_SOURCE_DIR}/src/capi/capi.cpp
               ${PROJECT_SOURCE_DIR}/src/capi/callguard.cpp)
target_include_directories(fuzz_capi PRIVATE ${PROJECT_SOURCE_DIR}/include)
