# The plan drawing, read back by the tools others read plans with: the SVG
# through rsvg-convert, the PDF through pdfinfo.
if(NOT TARGET PkgConfig::QUARN_TEST_STB)
  pkg_check_modules(QUARN_TEST_STB REQUIRED IMPORTED_TARGET stb)
endif()
quarn_test_suite(quarn_export_tests export LIBS quarn_export quarn_cli PkgConfig::QUARN_TEST_STB)
if(TARGET quarn_export_tests)
  target_compile_definitions(quarn_export_tests PRIVATE QUARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
endif()
