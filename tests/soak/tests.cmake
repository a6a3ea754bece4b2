# The soak: the real application (and each developer bench) driven through
# the platform's event queue by a seeded random input stream. A short run is
# a test; `make soak` runs the long ones. The leak checker skips thread-local
# storage as in the application's suite (a GL context lives in the process).
if(TARGET quarn_app AND TARGET quarn_texture_pictures)
  find_package(CLI11 CONFIG REQUIRED)
  add_executable(quarn_soak ${CMAKE_CURRENT_LIST_DIR}/soak_main.cpp)
  target_link_libraries(quarn_soak PRIVATE quarn_app quarn_texture_pictures CLI11::CLI11)
  quarn_strict(quarn_soak)
  set(QUARN_SOAK_ENVIRONMENT "${QUARN_GL_TEST_ENVIRONMENT}")
  # A small quarantine, so that freed memory held back by the address
  # checker levels off early instead of looking like growth.
  list(TRANSFORM QUARN_SOAK_ENVIRONMENT REPLACE "^(ASAN_OPTIONS=.*)$" "\\1:quarantine_size_mb=16")
  add_test(NAME quarn_soak.application COMMAND quarn_soak --frames 1000 --seed 1)
  set_tests_properties(quarn_soak.application PROPERTIES
    ENVIRONMENT "${QUARN_SOAK_ENVIRONMENT};SDL_VIDEODRIVER=offscreen" TIMEOUT 300)
  foreach(bench box list score polygon)
    add_test(NAME quarn_soak.bench_${bench} COMMAND quarn_soak --frames 2000 --seed 1 --bench ${bench})
    set_tests_properties(quarn_soak.bench_${bench} PROPERTIES
      ENVIRONMENT "${QUARN_SOAK_ENVIRONMENT};SDL_VIDEODRIVER=offscreen" TIMEOUT 300)
  endforeach()
endif()
