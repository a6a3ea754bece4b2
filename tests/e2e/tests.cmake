# The real application under Xvfb, driven with xdotool: needs the executable,
# the texture tool and Xlib (for a real WM_DELETE_WINDOW close).
if(TARGET quarn AND TARGET quarn-textures)
  find_package(X11 REQUIRED)
  # One at a time: each drives a whole application and its X server.
  quarn_test_suite(quarn_e2e_tests e2e GL LIBS X11::X11 RESOURCE_LOCK x_server)
  target_compile_definitions(quarn_e2e_tests PRIVATE
    QUARN_EXECUTABLE="$<TARGET_FILE:quarn>"
    QUARN_TEXTURES_TOOL="$<TARGET_FILE:quarn-textures>"
    QUARN_SCREENSHOT_FOLDER="${CMAKE_BINARY_DIR}/e2e"
    QUARN_GEN_EXECUTABLE="$<TARGET_FILE:quarn-gen>"
    QUARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(quarn_e2e_tests quarn quarn-textures quarn-gen)
endif()
