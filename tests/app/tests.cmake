# Logic tests need no GL; the drawing tests use a real Mesa context without a
# display.
quarn_test_suite(quarn_app_tests app GL
  LIBS quarn_app quarn_gl_test_support quarn_texture_pictures
  ENVIRONMENT SDL_VIDEODRIVER=offscreen)

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

