# GL test support: a real Mesa context without a display. Other GL suites
# (the application's) link it too.
find_package(SDL2 REQUIRED)
find_package(OpenGL REQUIRED COMPONENTS OpenGL)
add_library(quarn_gl_test_support STATIC ${CMAKE_CURRENT_LIST_DIR}/../support/gl_test_context.cpp)
target_include_directories(quarn_gl_test_support PUBLIC ${CMAKE_CURRENT_LIST_DIR}/..)
target_link_libraries(quarn_gl_test_support PUBLIC quarn_test_support GTest::gtest SDL2::SDL2
                      OpenGL::GL OpenGL::GLU)
quarn_strict(quarn_gl_test_support)

quarn_test_suite(quarn_render_tests render GL
  LIBS quarn_render quarn_gl_test_support
  ENVIRONMENT SDL_VIDEODRIVER=offscreen)

# The texture tool's pictures and files, read back with the render readers.
quarn_test_suite(quarn_tools_tests tools
  LIBS quarn_render quarn_texture_pictures quarn_gl_test_support
  ENVIRONMENT SDL_VIDEODRIVER=offscreen)
