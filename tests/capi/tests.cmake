# What keeps every call of the C interface from taking the process down.
if(TARGET libquarn)
  quarn_test_suite(quarn_capi_tests capi)
  target_sources(quarn_capi_tests PRIVATE ${PROJECT_SOURCE_DIR}/src/capi/callguard.cpp)
  target_include_directories(quarn_capi_tests PRIVATE ${PROJECT_SOURCE_DIR}/src/capi
                             ${PROJECT_SOURCE_DIR}/include)
endif()

# The C interface from C99 code: built here through the header, and once
# more the way a user builds it: the installed header, pkg-config, soname
# and find_package(quarn).
if(TARGET libquarn)
  enable_language(C)
  add_executable(quarn_capi_test ${CMAKE_CURRENT_SOURCE_DIR}/capi/quarn_capi_test.c)
  set_target_properties(quarn_capi_test PROPERTIES C_STANDARD 99 C_STANDARD_REQUIRED ON
                        C_EXTENSIONS OFF)
  target_compile_options(quarn_capi_test PRIVATE -Wall -Wextra -pedantic-errors -Werror)
  target_link_libraries(quarn_capi_test PRIVATE libquarn)
  file(MAKE_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}/capi-scratch)
  add_test(NAME CApi.EveryFunctionAndErrorPath
           COMMAND quarn_capi_test ${CMAKE_CURRENT_BINARY_DIR}/capi-scratch)
  set(sanitize "")
  if(QUARN_SANITIZE)
    set(sanitize -fsanitize=address,undefined)
  endif()
  add_test(NAME CApi.InstalledWithPkgConfigAndCMake
           COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/capi/installed_test.sh ${PROJECT_BINARY_DIR}
                   ${CMAKE_C_COMPILER} ${CMAKE_CURRENT_SOURCE_DIR}/capi/quarn_capi_test.c ${sanitize})
  set_tests_properties(CApi.EveryFunctionAndErrorPath CApi.InstalledWithPkgConfigAndCMake
                       PROPERTIES ENVIRONMENT "${QUARN_TEST_ENVIRONMENT}")
endif()

# The Python package over the same library, with Debian's Python 3. A
# sanitized library needs its runtime loaded first, and Python's own
# allocations at exit are not ours to check.
if(TARGET libquarn AND EXISTS /usr/bin/python3)
  set(python_environment
    "PYTHONPATH=${PROJECT_SOURCE_DIR}/python" "QUARN_LIBRARY=$<TARGET_FILE:libquarn>")
  if(QUARN_SANITIZE)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libasan.so
                    OUTPUT_VARIABLE asan OUTPUT_STRIP_TRAILING_WHITESPACE)
    # The C++ runtime is loaded with the sanitizer, so that its interceptor
    # of throwing finds the real one: the library throws inside itself (and
    # catches) when a progress callback cancels.
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++.so.6
                    OUTPUT_VARIABLE cxx_runtime OUTPUT_STRIP_TRAILING_WHITESPACE)
    list(APPEND python_environment "LD_PRELOAD=${asan}:${cxx_runtime}" "ASAN_OPTIONS=detect_leaks=0")
  endif()
  add_test(NAME Python.Package
           COMMAND /usr/bin/python3 -m unittest discover -s ${PROJECT_SOURCE_DIR}/python/tests -v)
  set_tests_properties(Python.Package PROPERTIES ENVIRONMENT "${python_environment}")
  if(NOT QUARN_SANITIZE)
    add_test(NAME Python.InstalledWithPip
             COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/capi/python_installed_test.sh ${PROJECT_BINARY_DIR}
                     ${PROJECT_SOURCE_DIR} /usr/bin/python3)
    set_tests_properties(Python.InstalledWithPip PROPERTIES SKIP_RETURN_CODE 77)
  endif()
endif()
