# Logic tests need no GL; the drawing tests use a real Mesa context without a
# display. The leak checker skips thread-local storage here: with the main
# window's frames in the process, its walk over the driver's dynamic TLS at
# exit crashes the checker itself.
set(QUARN_APP_SAVED_ENVIRONMENT "${QUARN_TEST_ENVIRONMENT}")
list(TRANSFORM QUARN_TEST_ENVIRONMENT REPLACE "^(LSAN_OPTIONS=.*)$" "\\1:use_tls=0")
quarn_test_suite(quarn_app_tests app
  LIBS quarn_app quarn_gl_test_support quarn_texture_pictures
  ENVIRONMENT SDL_VIDEODRIVER=offscreen)
set(QUARN_TEST_ENVIRONMENT "${QUARN_APP_SAVED_ENVIRONMENT}")
