# Shared build rules.

# Literals are written in UTF-8 and compiled to the Shift-JIS bytes the program
# works in. clang knows only UTF-8 as an execution charset: its builds (the fuzz
# targets) carry UTF-8 message texts, which no fuzzed path compares.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
  set(QUILTOR_CHARSET_FLAGS -finput-charset=UTF-8 -fexec-charset=CP932)
else()
  set(QUILTOR_CHARSET_FLAGS)
endif()

set(QUILTOR_WARNINGS -Wall -Wextra -Wno-unused-parameter)

# quiltor_library(<target> <folder> [deps...])
# A static library of the folder's own *.cpp (not its subfolders'). A folder
# with no source yet gives an interface library, so dependants link either way.
function(quiltor_library target folder)
  file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
  if(sources)
    add_library(${target} STATIC ${sources})
    target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
    target_compile_options(${target} PRIVATE ${QUILTOR_WARNINGS})
    target_compile_options(${target} PUBLIC ${QUILTOR_CHARSET_FLAGS})
    target_link_libraries(${target} PUBLIC ${ARGN} Boost::boost Threads::Threads)
  else()
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_compile_options(${target} INTERFACE ${QUILTOR_CHARSET_FLAGS})
    target_link_libraries(${target} INTERFACE ${ARGN} Boost::boost Threads::Threads)
  endif()
endfunction()

# The blit loops are the hot path: -O3 outside debug builds.
function(quiltor_fast_pixels)
  foreach(target ${ARGN})
    get_target_property(kind ${target} TYPE)
    if(NOT kind STREQUAL "INTERFACE_LIBRARY")
      target_compile_options(${target} PRIVATE $<$<NOT:$<CONFIG:Debug>>:-O3>)
    endif()
  endforeach()
endfunction()

# The fuzz targets still run every pixel loop of these under the sanitizers,
# but count no coverage inside them: per-pixel branches steer no input, and
# counting them only slowed every engine input.
function(quiltor_uncounted_pixels)
  if(QUILTOR_FUZZ)
    foreach(target ${ARGN})
      target_compile_options(${target} PRIVATE -fno-sanitize=fuzzer-no-link)
    endforeach()
  endif()
endfunction()

# quiltor_test_suite(<name> <folder> [LOCK resource] [LABELS l...] [LIBS libs...])
# One GoogleTest program per test folder; its cases are discovered by ctest.
# Cases of suites that name one LOCK never run at the same time. Suites
# labelled thread also run under TSan, those labelled cost in the default
# build (the only suites whose verdicts on cost are taken).
function(quiltor_test_suite name folder)
  cmake_parse_arguments(arg "" "LOCK" "LABELS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_compile_options(${name} PRIVATE ${QUILTOR_WARNINGS})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} quiltor_testkit GTest::gtest GTest::gmock)
  # Parsed once a suite rather than once a file: a second of each test's build.
  target_precompile_headers(${name} PRIVATE <gtest/gtest.h> <gmock/gmock.h> <functional> <map> <memory> <string> <vector>)
  # Empty values would shift the property list: name only those given.
  set(properties)
  if(arg_LOCK)
    list(APPEND properties RESOURCE_LOCK ${arg_LOCK})
  endif()
  # Before any TSAN_OPTIONS of the caller's, so those still win; the players
  # a suite starts inherit it.
  if(CMAKE_CXX_FLAGS MATCHES "-fsanitize=[^ ]*thread")
    list(APPEND properties ENVIRONMENT_MODIFICATION
         "TSAN_OPTIONS=string_prepend:suppressions=${PROJECT_SOURCE_DIR}/tests/tsan.supp:")
  endif()
  gtest_discover_tests(${name}
    PROPERTIES ${properties}
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    DISCOVERY_TIMEOUT 60)
  # The labels by a file ctest reads after the suite's list of tests: among
  # the properties above, a list of them would keep only its first.
  if(arg_LABELS)
    set(labels ${CMAKE_CURRENT_BINARY_DIR}/${name}_labels.cmake)
    file(WRITE ${labels} "if(DEFINED ${name}_TESTS)\n  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS \"${arg_LABELS}\")\nendif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${labels})
  endif()
  if("thread" IN_LIST arg_LABELS)
    add_dependencies(thread_tests ${name})
  endif()
  # Its verdicts on cost are judged where the test command runs it, in the
  # default build.
  if("cost" IN_LIST arg_LABELS)
    target_compile_definitions(${name} PRIVATE QUILTOR_COST_SUITE)
    add_dependencies(cost_tests ${name})
  endif()
endfunction()
