# Logic tests need no GL; the drawing tests use a real Mesa context without a
# display.
quarn_test_suite(quarn_app_tests app GL
  LIBS quarn_app quarn_gl_test_support quarn_texture_pictures
  ENVIRONMENT SDL_VIDEODRIVER=offscreen)
# quarn-render runs from the suite; its pictures are read back with stb.
if(NOT TARGET PkgConfig::QUARN_TEST_STB)
  pkg_check_modules(QUARN_TEST_STB REQUIRED IMPORTED_TARGET stb)
endif()
if(TARGET quarn_app_tests AND TARGET quarn-render)
  target_link_libraries(quarn_app_tests PRIVATE PkgConfig::QUARN_TEST_STB)
  target_compile_definitions(quarn_app_tests PRIVATE
    QUARN_RENDER_PATH="$<TARGET_FILE:quarn-render>"
    QUARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(quarn_app_tests quarn-render)
endif()

# quarn-bench, under the leak-checker settings for GL: its help, a refused bench
# name, and each bench opened in a real window on the offscreen driver (it
# prints its help once entered) and closed.
if(TARGET quarn-bench)
  add_test(NAME quarn_bench.help COMMAND quarn-bench --help)
  set_tests_properties(quarn_bench.help PROPERTIES
    PASS_REGULAR_EXPRESSION "box.*list.*score.*polygon")
  add_test(NAME quarn_bench.unknown_bench COMMAND quarn-bench kitchen)
  set_tests_properties(quarn_bench.unknown_bench PROPERTIES WILL_FAIL TRUE)
  foreach(bench_and_line
      "box|  N = recalculate neighbours"
      "list|  [L] = pass through lattice"
      "score|  [O] = do the thing and output the whatsit"
      "polygon|  L = load")
    string(REPLACE "|" ";" parts "${bench_and_line}")
    list(GET parts 0 bench)
    list(GET parts 1 line)
    add_test(NAME quarn_bench.opens_${bench}
      COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/quarn_bench_run.sh $<TARGET_FILE:quarn-bench> ${bench}
              "${line}"
      WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})
    set_tests_properties(quarn_bench.opens_${bench} PROPERTIES
      ENVIRONMENT "${QUARN_GL_TEST_ENVIRONMENT}")
  endforeach()
endif()

# make run without a display: its script in a temporary folder.
add_test(NAME make_run.headless
  COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/run_headless.sh ${CMAKE_BINARY_DIR}
          ${PROJECT_SOURCE_DIR}/scripts/run.sh)
set_tests_properties(make_run.headless PROPERTIES ENVIRONMENT "${QUARN_GL_TEST_ENVIRONMENT}")
