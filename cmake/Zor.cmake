# Project-wide helpers: library targets per engine area, test executables per
# test folder, and the assembly of the game data folder "BundlePC".

set(ZOR_BUNDLE_DIR ${CMAKE_BINARY_DIR}/BundlePC CACHE INTERNAL "Game data folder in the build tree")
# Made now: the generators run inside it, and build tools such as make change into a
# command's working folder before its first command runs.
file(MAKE_DIRECTORY ${ZOR_BUNDLE_DIR})

# Generated levels must come out bit for bit alike on every compiler and build type: no
# fused multiply-adds (and never fast-math), so float results round where the code says.
add_compile_options(-ffp-contract=off)

function(zor_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra)
endfunction()

# zor_add_library(<name> [PUBLIC deps...] [PRIVATE deps...])
# Every .cpp below the calling folder belongs to the library.
function(zor_add_library name)
  cmake_parse_arguments(ARG "" "" "PUBLIC;PRIVATE" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    # An area whose code is all headers so far.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_PUBLIC} ${ARG_PRIVATE})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_PUBLIC} PRIVATE ${ARG_PRIVATE})
  zor_warnings(${name})
endfunction()

# zor_add_tests(<name> LIBS deps...)
# Builds up to three GoogleTest programs from the test files of the calling folder
# (not its subfolders, which have their own CMakeLists.txt):
#   *_test.cpp        -> <name>            (no label)
#   *_gl_test.cpp     -> <name>_gl         (label "gl": needs an X display with GLX)
#   *_audio_test.cpp  -> <name>_audio      (label "audio": needs OpenAL)
# Tests run with the build folder as working directory, so "BundlePC" is found.
function(zor_add_tests name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB all CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  set(plain "")
  set(gl "")
  set(audio "")
  foreach(f IN LISTS all)
    if(f MATCHES "_gl_test\\.cpp$")
      list(APPEND gl ${f})
    elseif(f MATCHES "_audio_test\\.cpp$")
      list(APPEND audio ${f})
    else()
      list(APPEND plain ${f})
    endif()
  endforeach()
  foreach(kind IN ITEMS plain gl audio)
    if(NOT ${kind})
      continue()
    endif()
    set(target ${name})
    set(labels "unit")
    if(NOT kind STREQUAL "plain")
      set(target ${name}_${kind})
      set(labels ${kind})
    endif()
    add_executable(${target} ${${kind}})
    target_link_libraries(${target} PRIVATE ${ARG_LIBS} zor_testsupport GTest::gtest GTest::gmock GTest::gtest_main)
    if(kind STREQUAL "gl")
      target_link_libraries(${target} PRIVATE zor_testsupport_gl)
    endif()
    zor_warnings(${target})
    add_dependencies(${target} bundle)
    gtest_discover_tests(${target}
      WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
      PROPERTIES LABELS "${labels}"
      DISCOVERY_TIMEOUT 60
      DISCOVERY_MODE PRE_TEST)
  endforeach()
endfunction()

# zor_add_tool(<name> LIBS deps...): a data-writing program from the calling folder.
function(zor_add_tool name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS})
  zor_warnings(${name})
endfunction()

# zor_bundle_generate(OUTPUTS <paths relative to BundlePC>... COMMAND <cmd...> DEPENDS <deps...>)
# Registers generated game data; the command runs with BundlePC as working directory.
# A custom command's rule belongs to a target of the folder that defines it, so each
# call makes its own small target there, and the bundle target depends on those.
function(zor_bundle_generate)
  cmake_parse_arguments(ARG "" "" "OUTPUTS;COMMAND;DEPENDS" ${ARGN})
  set(outputs "")
  foreach(o IN LISTS ARG_OUTPUTS)
    list(APPEND outputs ${ZOR_BUNDLE_DIR}/${o})
  endforeach()
  add_custom_command(OUTPUT ${outputs}
    COMMAND ${ARG_COMMAND}
    DEPENDS ${ARG_DEPENDS}
    WORKING_DIRECTORY ${ZOR_BUNDLE_DIR}
    VERBATIM)
  get_property(count GLOBAL PROPERTY ZOR_BUNDLE_PART_COUNT)
  if(NOT count)
    set(count 0)
  endif()
  math(EXPR count "${count} + 1")
  set_property(GLOBAL PROPERTY ZOR_BUNDLE_PART_COUNT ${count})
  add_custom_target(bundle_part_${count} DEPENDS ${outputs})
  set_property(GLOBAL APPEND PROPERTY ZOR_BUNDLE_PARTS bundle_part_${count})
endfunction()

# Copies data/bundle verbatim into BundlePC and adds every registered generator.
function(zor_finish_bundle)
  set(source_root ${PROJECT_SOURCE_DIR}/data/bundle)
  file(GLOB_RECURSE files CONFIGURE_DEPENDS ${source_root}/*)
  set(copies "")
  foreach(f IN LISTS files)
    file(RELATIVE_PATH rel ${source_root} ${f})
    set(out ${ZOR_BUNDLE_DIR}/${rel})
    add_custom_command(OUTPUT ${out}
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${f} ${out}
      DEPENDS ${f} VERBATIM)
    list(APPEND copies ${out})
  endforeach()
  add_custom_target(bundle ALL DEPENDS ${copies})
  get_property(parts GLOBAL PROPERTY ZOR_BUNDLE_PARTS)
  if(parts)
    add_dependencies(bundle ${parts})
  endif()
endfunction()
