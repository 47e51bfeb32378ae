# Warning set shared by every target of the project, and the sanitizer switch.

add_library(project_options INTERFACE)
target_compile_options(project_options INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
  -Wimplicit-fallthrough)
if(ADRES_WERROR)
  target_compile_options(project_options INTERFACE -Werror)
endif()

if(ADRES_SANITIZE)
  target_compile_options(project_options INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()

# Fuzzing: everything instrumented for libFuzzer's coverage and checked by the sanitizers;
# the fuzz targets themselves link libFuzzer (tests/fuzz).
if(ADRES_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "ADRES_FUZZ needs clang (libFuzzer); tools/fuzz configures it")
  endif()
  target_compile_options(project_options INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(project_options INTERFACE -fsanitize=address,undefined)
endif()
