# The exports: scene laws, the Khronos glTF validator over the examples and
# assimp reading the files back; the plan drawing read back by the tools
# others read plans with (the SVG through rsvg-convert, the PDF through
# pdfinfo). The validator (npm gltf-validator) is installed into the build
# tree's node/ folder with the test packages (scripts/deps.sh, make test).
find_package(assimp CONFIG REQUIRED)
if(NOT TARGET PkgConfig::QUARN_TEST_STB)
  pkg_check_modules(QUARN_TEST_STB REQUIRED IMPORTED_TARGET stb)
endif()
find_program(QUARN_NODE node REQUIRED)
set(QUARN_NODE_PREFIX ${CMAKE_BINARY_DIR}/node)

file(GLOB QUARN_EXPORT_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_test.cpp)
add_executable(quarn_export_tests ${QUARN_EXPORT_TEST_SOURCES})
target_link_libraries(quarn_export_tests PRIVATE quarn_test_support quarn_export quarn_cli
                      assimp::assimp PkgConfig::QUARN_TEST_STB GTest::gtest_main GTest::gmock)
target_compile_definitions(quarn_export_tests PRIVATE
  QUARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
  QUARN_NODE="${QUARN_NODE}"
  QUARN_VALIDATOR_SCRIPT="${CMAKE_CURRENT_LIST_DIR}/validate_gltf.js"
  QUARN_NODE_MODULES="${QUARN_NODE_PREFIX}/node_modules")
quarn_strict(quarn_export_tests)
gtest_discover_tests(quarn_export_tests
  DISCOVERY_MODE PRE_TEST
  WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
  PROPERTIES ENVIRONMENT "${QUARN_TEST_ENVIRONMENT}")
