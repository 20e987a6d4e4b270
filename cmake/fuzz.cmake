# libFuzzer targets for every parser of outside input; ctest gives each a short run.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "The fuzz tree needs clang (cmake --preset fuzz)")
endif()
set(fuzz_flags -fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
target_compile_options(brevio_text PRIVATE ${fuzz_flags})
target_compile_options(brevio_core PRIVATE ${fuzz_flags})

# The service's reading of a request, for request_fuzz.
find_package(pugixml REQUIRED)
add_library(lumora_request_fuzz STATIC
  service/cp1252.cpp service/form_decoding.cpp service/submit_request.cpp service/xml_reply.cpp)
target_compile_options(lumora_request_fuzz PRIVATE ${fuzz_flags} ${brevio_warnings})
target_link_libraries(lumora_request_fuzz PUBLIC brevio_core pugixml::pugixml)
set(BREVIO_FUZZ_SECONDS 15 CACHE STRING "Length of each fuzz run under ctest")
# Targets whose input can be as large as a whole file or request that is accepted: the settings
# reader takes config2.txt up to 1 MiB, the service a request body up to 1 MiB. Lengths are
# tried up to that at once, not grown slowly.
set(BREVIO_FUZZ_ARGS_settings_fuzz -max_len=1048576 -len_control=0)
set(BREVIO_FUZZ_ARGS_request_fuzz -max_len=1048576 -len_control=0)

# Seeds beside tests/fuzz/seeds/NAME, in seeds/NAME of this tree: those too large to keep in the
# repository, made at build time, and the pictures the program ships for the GIF decoder.
set(made_seeds ${CMAKE_BINARY_DIR}/seeds)
add_executable(make_fuzz_seeds tests/fuzz/make_seeds.cpp)
target_link_libraries(make_fuzz_seeds PRIVATE brevio_text)
target_compile_options(make_fuzz_seeds PRIVATE ${brevio_warnings})
target_link_options(make_fuzz_seeds PRIVATE -fsanitize=address,undefined)
file(GLOB shipped_pictures ${CMAKE_SOURCE_DIR}/images/*.gif)
add_custom_command(OUTPUT ${made_seeds}/settings_fuzz/crlf-dense
                   COMMAND make_fuzz_seeds ${made_seeds} DEPENDS make_fuzz_seeds)
add_custom_command(OUTPUT ${made_seeds}/gif_fuzz.copied
                   COMMAND ${CMAKE_COMMAND} -E copy ${shipped_pictures} ${made_seeds}/gif_fuzz
                   COMMAND ${CMAKE_COMMAND} -E touch ${made_seeds}/gif_fuzz.copied
                   DEPENDS ${shipped_pictures})
add_custom_target(fuzz_seeds ALL DEPENDS ${made_seeds}/settings_fuzz/crlf-dense ${made_seeds}/gif_fuzz.copied)

file(GLOB fuzz_sources ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(src IN LISTS fuzz_sources)
  get_filename_component(name ${src} NAME_WE)
  add_executable(${name} ${src})
  target_compile_options(${name} PRIVATE ${fuzz_flags} ${brevio_warnings})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${name} PRIVATE brevio_core)
  if(name STREQUAL "request_fuzz")
    target_link_libraries(${name} PRIVATE lumora_request_fuzz)
  endif()
  set(corpus ${CMAKE_BINARY_DIR}/corpus/${name})
  file(MAKE_DIRECTORY ${corpus})
  file(MAKE_DIRECTORY ${made_seeds}/${name})
  set(seeds ${made_seeds}/${name})
  if(EXISTS ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds/${name})
    list(PREPEND seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/seeds/${name})
  endif()
  add_test(NAME ${name}
           COMMAND ${name} -max_total_time=${BREVIO_FUZZ_SECONDS} -timeout=5 -rss_limit_mb=2048
                   -print_final_stats=1 ${BREVIO_FUZZ_ARGS_${name}} ${corpus} ${seeds})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endforeach()
