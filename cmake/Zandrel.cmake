# Flags for our own code: warnings are errors; sanitizers when asked for.
add_library(zandrel_flags INTERFACE)
target_compile_options(zandrel_flags INTERFACE -Wall -Wextra -Werror)
target_include_directories(zandrel_flags INTERFACE ${PROJECT_SOURCE_DIR})
if(ZANDREL_SANITIZE)
  target_compile_options(zandrel_flags INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(zandrel_flags INTERFACE -fsanitize=address,undefined)
endif()
# The fuzz build instruments all our code for libFuzzer; only the fuzz targets link it.
if(ZANDREL_FUZZ)
  target_compile_options(zandrel_flags INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(zandrel_flags INTERFACE -fsanitize=address,undefined)
endif()

# zandrel_library(NAME SOURCES... [DEPS ...]): one static library per folder.
function(zandrel_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_link_libraries(${name} PUBLIC zandrel_flags ${ARG_DEPS})
endfunction()

# zandrel_program(NAME SOURCES... [DEPS ...])
function(zandrel_program name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE zandrel_flags ${ARG_DEPS})
  # Programs sit beside the generated data tree, where they look for it first.
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
endfunction()

# zandrel_test(NAME SOURCES... [DEPS ...] [ENVIRONMENT VAR=VALUE...]): one GoogleTest
# executable, registered with CTest; its tests run with the given environment. Every test's
# session query for network games stays on this machine.
function(zandrel_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;DEPS;ENVIRONMENT" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE zandrel_flags ${ARG_DEPS} GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    ZANDREL_FIXTURES="${PROJECT_SOURCE_DIR}/tests/fixtures")
  set(properties ENVIRONMENT_MODIFICATION ZANDREL_DISCOVERY=set:127.0.0.1)
  if(ARG_ENVIRONMENT)
    list(APPEND properties ENVIRONMENT "${ARG_ENVIRONMENT}")
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ${properties})
endfunction()
