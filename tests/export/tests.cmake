# The exports: scene laws, the Khronos glTF validator over the examples and
# assimp reading the files back; the plan drawing read back by the tools
# others read plans with (the SVG through rsvg-convert, the PDF through
# pdfinfo). The validator (npm gltf-validator) is
# installed once into the build tree by a setup test.
find_package(assimp CONFIG REQUIRED)
if(NOT TARGET PkgConfig::QUARN_TEST_STB)
  pkg_check_modules(QUARN_TEST_STB REQUIRED IMPORTED_TARGET stb)
endif()
find_program(QUARN_NODE node REQUIRED)
find_program(QUARN_NPM npm REQUIRED)
set(QUARN_NODE_PREFIX ${CMAKE_BINARY_DIR}/node)

add_test(NAME gltf_validator.install
  COMMAND sh -c "test -f '${QUARN_NODE_PREFIX}/node_modules/gltf-validator/package.json' || '${QUARN_NPM}' install --prefix '${QUARN_NODE_PREFIX}' --no-audit --no-fund --silent gltf-validator")
set_tests_properties(gltf_validator.install PROPERTIES FIXTURES_SETUP gltf_validator)

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
  PROPERTIES ENVIRONMENT "${QUARN_TEST_ENVIRONMENT}" FIXTURES_REQUIRED gltf_validator)
