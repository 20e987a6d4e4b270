# Windows tree: brevio.exe, the Win32 layer and its tests, run under Wine.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0A00
                        BREVIO_SERVICE_HOST=L"${BREVIO_SERVICE_HOST}"
                        BREVIO_VERSION_MAJOR=${PROJECT_VERSION_MAJOR}
                        BREVIO_VERSION_MINOR=${PROJECT_VERSION_MINOR})
add_link_options(-static)

include(cmake/delay_imports.cmake)
set(win_libs user32 gdi32 comctl32 comdlg32 ${delay_import_libs} delayimp shell32 uuid advapi32)

add_library(brevio_win STATIC ${win_sources})
add_dependencies(brevio_win delay_imports)
target_link_libraries(brevio_win PUBLIC brevio_core ${win_libs})
target_compile_options(brevio_win PRIVATE ${brevio_warnings})

# The version is set once, in the project() call; the version resource, the manifest and the
# packages take it from here. Windows wants four numbers where people read two.
foreach(part MAJOR MINOR PATCH TWEAK)
  if(PROJECT_VERSION_${part} STREQUAL "")
    set(PROJECT_VERSION_${part} 0)
  endif()
endforeach()
set(brevio_version4 ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_PATCH}.${PROJECT_VERSION_TWEAK})
string(REPLACE "." "," brevio_version_commas ${brevio_version4})
configure_file(app/res/brevio.manifest.in ${CMAKE_BINARY_DIR}/brevio.manifest @ONLY)
configure_file(app/brevio.rc.in ${CMAKE_BINARY_DIR}/brevio.rc @ONLY)
set_source_files_properties(${CMAKE_BINARY_DIR}/brevio.rc PROPERTIES
  OBJECT_DEPENDS "${CMAKE_BINARY_DIR}/brevio.manifest;${CMAKE_SOURCE_DIR}/app/res/brevio.ico")
add_executable(brevio WIN32 options/main_win.cpp ${CMAKE_BINARY_DIR}/brevio.rc)
target_link_libraries(brevio PRIVATE brevio_win)
target_link_options(brevio PRIVATE -municode)
target_compile_options(brevio PRIVATE ${brevio_warnings})
target_include_directories(brevio PRIVATE ${CMAKE_SOURCE_DIR}/app)
set_target_properties(brevio PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bin)

# The pictures the program loads, laid beside the exe (copied again only when one changes).
file(GLOB_RECURSE image_files ${CMAKE_SOURCE_DIR}/images/*)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/bin/images.stamp
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/images ${CMAKE_BINARY_DIR}/bin/images
  COMMAND ${CMAKE_COMMAND} -E touch ${CMAKE_BINARY_DIR}/bin/images.stamp
  DEPENDS ${image_files})
add_custom_target(brevio_images ALL DEPENDS ${CMAKE_BINARY_DIR}/bin/images.stamp)

# A console program that tells the demo journey and the package test about windows under Wine.
add_executable(window-probe tools/window_probe_win.cpp)
target_link_libraries(window-probe PRIVATE user32)
target_compile_options(window-probe PRIVATE ${brevio_warnings})
target_link_options(window-probe PRIVATE -municode -mconsole)
set_target_properties(window-probe PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)

# The packages, in dist/: a per-user installer and a portable zip, both holding the stripped exe
# and the pictures (not their sources). Part of every build of this tree, so that the package
# test finds them; `make package` builds only this target and what it needs.
find_program(BREVIO_MAKENSIS makensis)
if(NOT BREVIO_MAKENSIS)
  message(WARNING "makensis not found: the installer cannot be built (scripts/install-deps installs NSIS)")
endif()
set(BREVIO_DIST_DIR ${CMAKE_SOURCE_DIR}/dist CACHE PATH "Where make package puts the installer and the zip")
set(stage ${CMAKE_BINARY_DIR}/stage)
set(setup_exe ${BREVIO_DIST_DIR}/brevio-${PROJECT_VERSION}-setup.exe)
set(portable_zip ${BREVIO_DIST_DIR}/brevio-${PROJECT_VERSION}-portable.zip)
file(GLOB shipped_images ${CMAKE_SOURCE_DIR}/images/*.gif)
add_custom_command(OUTPUT ${setup_exe} ${portable_zip}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${stage}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}/images ${BREVIO_DIST_DIR}
  COMMAND ${CMAKE_STRIP} -o ${stage}/brevio.exe $<TARGET_FILE:brevio>
  COMMAND ${CMAKE_COMMAND} -E copy ${shipped_images} ${stage}/images
  COMMAND ${BREVIO_MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DVERSION4=${brevio_version4} -DSTAGE=${stage}
          -DICON=${CMAKE_SOURCE_DIR}/app/res/brevio.ico -DOUTFILE=${setup_exe} ${CMAKE_SOURCE_DIR}/packaging/brevio.nsi
  COMMAND ${CMAKE_COMMAND} -E rm -f ${portable_zip}
  COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E tar cf ${portable_zip} --format=zip brevio.exe images
  DEPENDS brevio ${shipped_images} ${CMAKE_SOURCE_DIR}/packaging/brevio.nsi
  COMMENT "Packaging Brevio ${PROJECT_VERSION} into ${BREVIO_DIST_DIR}"
  VERBATIM)
add_custom_target(brevio_package ALL DEPENDS ${setup_exe} ${portable_zip})

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
file(GLOB test_app_sources ${CMAKE_SOURCE_DIR}/tests/win/apps/*.cpp)
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

# What a test program of KIND and its helpers compile with.
function(brevio_test_settings target kind)
  target_link_libraries(${target} PRIVATE brevio_win GTest::gtest_main)
  target_compile_options(${target} PRIVATE ${brevio_warnings})
  target_include_directories(${target} PRIVATE ${CMAKE_SOURCE_DIR}/tests/${kind} ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${target} PRIVATE BREVIO_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
                             BREVIO_TEST_APPS_DIR="${CMAKE_BINARY_DIR}/testapps")
endfunction()

# tests/win/NAME_test.cpp becomes win_NAME.exe; tests/e2e/NAME_test.cpp becomes e2e_NAME.exe.
function(brevio_win_tests kind)
  file(GLOB sources ${CMAKE_SOURCE_DIR}/tests/${kind}/*_test.cpp)
  file(GLOB helpers ${CMAKE_SOURCE_DIR}/tests/${kind}/*_util.cpp)
  # The helpers are compiled once for all the kind's programs.
  set(helper_objects)
  if(helpers)
    add_library(${kind}_helpers OBJECT ${helpers})
    brevio_test_settings(${kind}_helpers ${kind})
    set(helper_objects $<TARGET_OBJECTS:${kind}_helpers>)
  endif()
  foreach(src IN LISTS sources)
    get_filename_component(name ${src} NAME_WE)
    string(REGEX REPLACE "_test$" "" name ${name})
    set(target ${kind}_${name})
    add_executable(${target} ${src} ${helper_objects})
    brevio_test_settings(${target} ${kind})
    target_link_options(${target} PRIVATE -mconsole)
    target_link_libraries(${target} PRIVATE ws2_32 version oleacc)
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
    if(name MATCHES "bench")  # figures only: `make bench`
      set_tests_properties(${target} PROPERTIES LABELS bench)
    endif()
  endforeach()
endfunction()
brevio_win_tests(win)
brevio_win_tests(e2e)

# At 144 dots per inch, in a prefix of its own set to that density: the tray's double-click, and
# every window scaled.
add_test(NAME win_options_window_144dpi
         COMMAND ${CMAKE_SOURCE_DIR}/tests/win/at-dpi 144 ${CMAKE_BINARY_DIR}/wine-144dpi
                 $<TARGET_FILE:win_options_window> --gtest_filter=*FromTheTray*:*ScreensDensity*)
set_tests_properties(win_options_window_144dpi PROPERTIES TIMEOUT 300)

# The installer under Wine, in a prefix of its own: install, upgrade, send, uninstall.
add_test(NAME package_install COMMAND ${CMAKE_SOURCE_DIR}/tests/package/install-test ${CMAKE_BINARY_DIR}/wine-package
         ${BREVIO_LUMORA_SERVICE} ${CMAKE_SOURCE_DIR}/build/native/brevio-config ${stage} ${BREVIO_DIST_DIR}
         ${PROJECT_VERSION})
set_tests_properties(package_install PROPERTIES TIMEOUT 600)

# The start-up benchmark: brevio.exe against a bare one-window program, figures only.
add_executable(startup_bench tests/bench/startup_bench_win.cpp)
target_link_libraries(startup_bench PRIVATE brevio_win)
target_compile_options(startup_bench PRIVATE ${brevio_warnings})
target_include_directories(startup_bench PRIVATE ${CMAKE_SOURCE_DIR}/tests/win ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(startup_bench PRIVATE BREVIO_BIN_DIR="${CMAKE_BINARY_DIR}/bin"
                           BREVIO_TEST_APPS_DIR="${CMAKE_BINARY_DIR}/testapps")
target_link_options(startup_bench PRIVATE -mconsole)
add_dependencies(startup_bench brevio brevio_images testapp_bare_window)
add_test(NAME startup_bench COMMAND ${CMAKE_SOURCE_DIR}/tests/bench/startup_bench.sh ${wine_state}
                                    ${CMAKE_SOURCE_DIR}/scripts/wine-run $<TARGET_FILE:startup_bench>)
set_tests_properties(startup_bench PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600 RESOURCE_LOCK wine_desktop
                     LABELS bench)

# Ctrl+C to the headless `make run` (scripts/run-demo, with the release tree's service) ends
# everything it started, in a folder and Wine prefix of its own.
add_test(NAME make_run_ctrl_c_ends_all COMMAND ${CMAKE_SOURCE_DIR}/tests/run/interrupt-test ${CMAKE_BINARY_DIR}/make-run-ctrl-c)
set_tests_properties(make_run_ctrl_c_ends_all PROPERTIES TIMEOUT 400)

# The login token on a non-Western system: Wine gives the program code page 1251 in this locale
# (scripts/install-deps generates it).
set_tests_properties(e2e_token_codepage PROPERTIES ENVIRONMENT LC_ALL=ru_RU.UTF-8)
