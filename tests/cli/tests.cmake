# quarn-gen: its JSON writer, the generation it drives, and the built binary
# run end to end (goldens, bad input, usage).
find_package(nlohmann_json CONFIG REQUIRED)
quarn_test_suite(quarn_cli_tests cli LIBS quarn_cli nlohmann_json::nlohmann_json)
if(TARGET quarn_cli_tests)
  target_compile_definitions(quarn_cli_tests PRIVATE
    QUARN_GEN_PATH="$<TARGET_FILE:quarn-gen>"
    QUARN_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  add_dependencies(quarn_cli_tests quarn-gen quarn-gen-throwing-writers)
  target_compile_definitions(quarn_cli_tests PRIVATE
    QUARN_GEN_THROWING_WRITERS="$<TARGET_FILE:quarn-gen-throwing-writers>")
endif()

# A writers module of this build whose writers throw, put beside a copy of
# quarn-gen by the test of what an escaping exception does.
get_property(QUARN_WRITERS_BUILD GLOBAL PROPERTY QUARN_WRITERS_BUILD)
add_library(quarn-gen-throwing-writers MODULE ${CMAKE_CURRENT_LIST_DIR}/throwing_writers.cpp)
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/throwing_writers.cpp PROPERTIES
                            COMPILE_DEFINITIONS QUARN_WRITERS_BUILD="${QUARN_WRITERS_BUILD}")
set_target_properties(quarn-gen-throwing-writers PROPERTIES PREFIX "" CXX_VISIBILITY_PRESET hidden)
target_include_directories(quarn-gen-throwing-writers PRIVATE ${PROJECT_SOURCE_DIR}/src/cli)
target_link_libraries(quarn-gen-throwing-writers PRIVATE quarn_export)
quarn_strict(quarn-gen-throwing-writers)
