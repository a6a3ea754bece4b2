# Window framework: pure event translation and formatting, plus GL tests on a
# real Mesa context without a display.
quarn_test_suite(quarn_framework_tests framework GL
  LIBS quarn_framework quarn_gl_test_support
  ENVIRONMENT SDL_VIDEODRIVER=offscreen)
