# Windows tree: brevio.exe, the Win32 layer and its tests, run under Wine.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        BREVIO_SERVICE_HOST=L"${BREVIO_SERVICE_HOST}"
                        BREVIO_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
                        BREVIO_VERSION_MINOR=${PROJECT_VERSION_MINOR})
add_link_options(-static)

include(cmake/delay_imports.cmake)
set(win_libs user32 gdi32 shell32 comctl32 comdlg32 ${delay_import_libs} delayimp uuid advapi32)

add_library(brevio_win STATIC ${win_sources})
add_dependencies(brevio_win delay_imports)
target_link_libraries(brevio_win PUBLIC brevio_core ${win_libs})
target_compile_options(brevio_win PRIVATE ${brevio_warnings})

configure_file(app/brevio.rc.in ${CMAKE_BINARY_DIR}/brevio.rc @ONLY)
add_executable(brevio WIN32 app/main_win.cpp ${CMAKE_BINARY_DIR}/brevio.rc)
target_link_libraries(brevio PRIVATE brevio_win)
target_link_options(brevio PRIVATE -municode)
target_compile_options(brevio PRIVATE ${brevio_warnings})
target_include_directories(brevio PRIVATE ${CMAKE_SOURCE_DIR}/app)
set_target_properties(brevio PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The pictures the program loads, laid beside the exe.
add_custom_target(brevio_images ALL
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/images ${CMAKE_BINARY_DIR}/bin/images)

# GoogleTest, built from Debian's sources with this compiler.
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# Every Windows test program runs under Wine in this tree's own prefix, on a virtual display.
set(wine_state ${CMAKE_BINARY_DIR}/wine)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine-run ${wine_state})
add_test(NAME wine_setup COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run ${wine_state} --setup)
add_test(NAME wine_cleanup COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run ${wine_state} --stop)
set_tests_properties(wine_setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 600)
set_tests_properties(wine_cleanup PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)

# The reference service, built by the native tree, for the end-to-end tests.
set(BREVIO_LUMORA_SERVICE ${CMAKE_SOURCE_DIR}/build/native/service/lumora-service
    CACHE FILEPATH "lumora-service executable that the end-to-end tests run")

# Small programs that the Windows tests drive: tests/win/apps/NAME.cpp becomes testapps/NAME.exe.
file(GLOB test_app_sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/apps/*.cpp)
set(test_app_targets "")
foreach(src IN LISTS test_app_sources)
  get_filename_component(name ${src} NAME_WE)
  add_executable(testapp_${name} WIN32 ${src})
  set_target_properties(testapp_${name} PROPERTIES OUTPUT_NAME ${name}
                        RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/testapps)
  target_compile_options(testapp_${name} PRIVATE ${brevio_warnings})
  target_link_options(testapp_${name} PRIVATE -municode)
  target_link_libraries(testapp_${name} PRIVATE user32)
  list(APPEND test_app_targets testapp_${name})
endforeach()

# tests/win/NAME_test.cpp becomes win_NAME.exe; tests/e2e/NAME_test.cpp becomes e2e_NAME.exe.
function(brevio_win_tests kind)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${kind}/*_test.cpp)
  file(GLOB helpers CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${kind}/*_util.cpp)
  foreach(src IN LISTS sources)
    get_filename_component(name ${src} NAME_WE)
    string(REGEX REPLACE "_test$" "" name ${name})
    set(target ${kind}_${name})
    add_executable(${target} ${src} ${helpers})
    target_link_libraries(${target} PRIVATE brevio_win GTest::gtest_main)
    target_compile_options(${target} PRIVATE ${brevio_warnings})
    target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/${kind} ${CMAKE_SOURCE_DIR}/tests)
    target_compile_definitions(${target} PRIVATE BREVIO_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
                               BREVIO_TEST_APPS_DIR="${CMAKE_BINARY_DIR}/testapps")
    target_link_options(${target} PRIVATE -mconsole)
    target_link_libraries(${target} PRIVATE ws2_32)
    add_dependencies(${target} brevio brevio_images ${test_app_targets})
    if(kind STREQUAL "e2e")
      # Each end-to-end program runs in its own network namespace with the reference service.
      target_link_libraries(${target} PRIVATE crypt32)
      add_test(NAME ${target} COMMAND ${CMAKE_SOURCE_DIR}/tests/e2e/netns-run ${wine_state}
                                      ${BREVIO_LUMORA_SERVICE} $<TARGET_FILE:${target}>)
    else()
      add_test(NAME ${target} COMMAND ${target})
    endif()
    set_tests_properties(${target} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 300 RESOURCE_LOCK wine_desktop)
  endforeach()
endfunction()
brevio_win_tests(win)
brevio_win_tests(e2e)

# The start-up benchmark: brevio.exe against a bare one-window program, figures only.
add_executable(startup_bench tests/bench/startup_bench_win.cpp tests/win/wine_util.cpp)
target_link_libraries(startup_bench PRIVATE brevio_win)
target_compile_options(startup_bench PRIVATE ${brevio_warnings})
target_include_directories(startup_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/win ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(startup_bench PRIVATE BREVIO_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
                           BREVIO_TEST_APPS_DIR="${CMAKE_BINARY_DIR}/testapps")
target_link_options(startup_bench PRIVATE -mconsole)
add_dependencies(startup_bench brevio brevio_images testapp_bare_window)
add_test(NAME startup_bench COMMAND ${CMAKE_SOURCE_DIR}/tests/bench/startup_bench.sh ${wine_state}
                                    ${CMAKE_SOURCE_DIR}/scripts/wine-run $<TARGET_FILE:startup_bench>)
set_tests_properties(startup_bench PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600 RESOURCE_LOCK wine_desktop)
