# Build helpers shared by every folder. Folders are found by globbing so that a new subsystem
# or test folder needs no edit outside itself.

# Adds every immediate subfolder of DIR that has a CMakeLists.txt.
function(tessel_add_subdirectories dir)
  file(GLOB children LIST_DIRECTORIES true CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${dir}/*")
  list(SORT children)
  foreach(child IN LISTS children)
    if(IS_DIRECTORY "${child}" AND EXISTS "${child}/CMakeLists.txt")
      add_subdirectory("${child}")
    endif()
  endforeach()
endfunction()

# How the test programs name the build machine's folders: under Wine, through drive Z:.
set(TESSEL_TARGET_DRIVE "")
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(TESSEL_TARGET_DRIVE "Z:")
endif()

# tessel_library(NAME [DIRS subdir...] [LIBS ...] [PKG ...])
# A static library from the .cpp files of the current folder (and the named subfolders).
function(tessel_library name)
  cmake_parse_arguments(ARG "" "" "DIRS;LIBS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  foreach(d IN LISTS ARG_DIRS)
    file(GLOB more CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/${d}/*.cpp")
    list(APPEND srcs ${more})
  endforeach()
  if(srcs)
    add_library(${name} STATIC ${srcs})
    target_include_directories(${name} PUBLIC "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  else()
    # A folder with headers only (so far).
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE "${PROJECT_SOURCE_DIR}/src")
    target_link_libraries(${name} INTERFACE ${ARG_LIBS})
  endif()
endfunction()

# tessel_tests(NAME [GL] [LIBS ...] [NOT_ON_WINDOWS file...])
# One GoogleTest executable from the .cpp files of the current test folder (less the
# NOT_ON_WINDOWS files in a Windows build: they check Linux-side things). Every test binary
# carries its own environment (tests/support/TestEnvironment.cpp): sanitizer settings, the source
# folder, and for GL tests the offscreen video driver without leak detection (Mesa's leaks cannot
# be suppressed by name).
function(tessel_tests name)
  cmake_parse_arguments(ARG "GL" "" "LIBS;NOT_ON_WINDOWS" ${ARGN})
  file(GLOB srcs CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  if(WIN32)
    foreach(file IN LISTS ARG_NOT_ON_WINDOWS)
      list(REMOVE_ITEM srcs "${CMAKE_CURRENT_SOURCE_DIR}/${file}")
    endforeach()
  endif()
  add_executable(test_${name} ${srcs} "${PROJECT_SOURCE_DIR}/tests/support/TestEnvironment.cpp")
  target_include_directories(test_${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(test_${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  set(gl 0)
  set(label ${name})
  if(ARG_GL)
    set(gl 1)
    set(label gl)
  endif()
  target_compile_definitions(test_${name} PRIVATE
    QUELMONT_SOURCE_DIR="${TESSEL_TARGET_DRIVE}${PROJECT_SOURCE_DIR}"
    QUELMONT_BINARY_DIR="${TESSEL_TARGET_DRIVE}${PROJECT_BINARY_DIR}"
    QUELMONT_GL_TESTS=${gl})
  # Every test has a time limit, so one that hangs fails instead of stalling the run.
  if(CMAKE_CROSSCOMPILING)
    # One emulator start per binary, not per test case.
    add_test(NAME test_${name} COMMAND test_${name})
    set_tests_properties(test_${name} PROPERTIES LABELS ${label} TIMEOUT 300)
  else()
    gtest_discover_tests(test_${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS ${label} TIMEOUT 120)
  endif()
endfunction()

# tessel_fuzz_targets(NAMES name... LIBS lib... [COVER lib...] [NOT_ON_WINDOWS name...])
# libFuzzer programs fuzz_<name> from fuzz_<name>.cpp of the current folder, linked with LIBS.
# The COVER libraries (default: LIBS) are built with coverage so the fuzzer sees into the code
# under test. The Windows build has no libFuzzer: there each target becomes replay_<name>, a test
# that runs the seed corpus (corpus/<name>) through the same entry point under the limits of
# fuzz/limits.txt; the NOT_ON_WINDOWS targets read what only Linux has.
function(tessel_fuzz_targets)
  cmake_parse_arguments(ARG "" "" "NAMES;LIBS;COVER;NOT_ON_WINDOWS" ${ARGN})
  if(WIN32)
    list(REMOVE_ITEM ARG_NAMES ${ARG_NOT_ON_WINDOWS})
    file(STRINGS "${PROJECT_SOURCE_DIR}/fuzz/limits.txt" limit_lines REGEX "^[^#]")
    foreach(name IN LISTS ARG_NAMES)
      set(limits "")
      foreach(line IN LISTS limit_lines)
        if(line MATCHES "^(\\*|${name}) +(.*)$")
          separate_arguments(options UNIX_COMMAND "${CMAKE_MATCH_2}")
          list(APPEND limits ${options})
        endif()
      endforeach()
      add_executable(replay_${name} fuzz_${name}.cpp)
      target_link_libraries(replay_${name} PRIVATE ${ARG_LIBS} tessel_fuzz_replay)
      add_test(NAME replay_${name} COMMAND replay_${name} ${limits}
        "${TESSEL_TARGET_DRIVE}${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name}")
      set_tests_properties(replay_${name} PROPERTIES LABELS fuzz_replay TIMEOUT 120)
    endforeach()
    return()
  endif()
  if(NOT ARG_COVER)
    set(ARG_COVER ${ARG_LIBS})
  endif()
  foreach(lib IN LISTS ARG_COVER)
    target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link)
  endforeach()
  foreach(name IN LISTS ARG_NAMES)
    add_executable(fuzz_${name} fuzz_${name}.cpp)
    target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
    target_compile_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
  endforeach()
endfunction()
