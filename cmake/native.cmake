# Native Linux tree: the portable core under the sanitizers, its unit tests, the service.
if(BREVIO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  foreach(lib brevio_text brevio_core)
    target_compile_options(${lib} PRIVATE -fsanitize=address,undefined -fno-omit-frame-pointer)
  endforeach()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB unit_sources ${CMAKE_SOURCE_DIR}/tests/unit/*_test.cpp)
add_executable(unit_tests ${unit_sources})
target_link_libraries(unit_tests PRIVATE brevio_core GTest::gtest_main)
target_compile_options(unit_tests PRIVATE ${brevio_warnings})
target_compile_definitions(unit_tests PRIVATE BREVIO_TEST_DATA="${CMAKE_SOURCE_DIR}/tests/unit/data")
gtest_discover_tests(unit_tests DISCOVERY_TIMEOUT 30)

# The portable core must build without Windows: no portable source may include <windows.h>.
add_test(NAME portable_sources_have_no_windows_h
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-portable ${CMAKE_SOURCE_DIR})
# Folders include only the layers below them, define what they declare, and the service uses
# only the portable folders.
add_test(NAME folders_include_only_lower_layers
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-layers ${CMAKE_SOURCE_DIR})
# The windows' code in functions that fit on a screen.
add_test(NAME window_functions_fit_on_a_screen
         COMMAND ${CMAKE_SOURCE_DIR}/scripts/check-function-length 60 ${CMAKE_SOURCE_DIR} options phone)

if(EXISTS ${CMAKE_SOURCE_DIR}/service/CMakeLists.txt)
  add_subdirectory(service)
endif()

# Writes config2.txt files for the demo and test set-ups.
add_executable(brevio-config tools/brevio-config.cpp)
target_link_libraries(brevio-config PRIVATE brevio_core)
target_compile_options(brevio-config PRIVATE ${brevio_warnings})

# Benchmarks: they print their figures and fail only on a wrong result, never on time.
add_executable(settings_load_bench tests/bench/settings_load_bench.cpp)
target_link_libraries(settings_load_bench PRIVATE brevio_core)
target_compile_options(settings_load_bench PRIVATE ${brevio_warnings})
add_test(NAME settings_load_bench COMMAND settings_load_bench)
set_tests_properties(settings_load_bench PROPERTIES LABELS bench)
