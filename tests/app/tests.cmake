# Logic tests need no GL; the drawing tests use a real Mesa context without a
# display.
quarn_test_suite(quarn_app_tests app
  LIBS quarn_app quarn_gl_test_support
  ENVIRONMENT SDL_VIDEODRIVER=offscreen)
