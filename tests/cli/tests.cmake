# quarn-gen: its JSON writer, the generation it drives, and the built binary
# run end to end (goldens, bad input, usage).
find_package(nlohmann_json CONFIG REQUIRED)
quarn_test_suite(quarn_cli_tests cli LIBS quarn_cli nlohmann_json::nlohmann_json)
if(TARGET quarn_cli_tests)
  target_compile_definitions(quarn_cli_tests PRIVATE
    QUARN_GEN_PATH="$<TARGET_FILE:quarn-gen>"
    QUARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(quarn_cli_tests quarn-gen)
endif()
