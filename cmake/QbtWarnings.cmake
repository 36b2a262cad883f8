# Project-wide compiler settings shared by every target: warnings and the sanitizer build.
add_library(qbt_options INTERFACE)
target_compile_options(qbt_options INTERFACE -Wall -Wextra)
# GCC 12 reports -Wrestrict on std::string concatenation at -O3 where nothing overlaps (a known
# false positive of that release); it would make the benchmark build noisy.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(qbt_options INTERFACE -Wno-restrict)
endif()
if(QBT_WERROR)
  target_compile_options(qbt_options INTERFACE -Werror)
endif()
target_include_directories(qbt_options INTERFACE ${PROJECT_SOURCE_DIR}/src)
if(QBT_SANITIZE)
  target_compile_options(qbt_options INTERFACE
    -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  target_link_options(qbt_options INTERFACE -fsanitize=address,undefined)
endif()

# qbt_add_library(NAME SOURCES... [DEPS libs...])
function(qbt_add_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC qbt_options ${ARG_DEPS})
endfunction()
