# Compiler settings, dependencies and the helpers that define tests for every build.

# The repository root is the include root: #include "framework/String.h".
include_directories(${PROJECT_SOURCE_DIR})

set(SAVER_WARNINGS -Wall -Wextra -Wshadow -Wnon-virtual-dtor -Wcast-align -Wformat=2)
if(SAVER_WERROR)
  list(APPEND SAVER_WARNINGS -Werror)
endif()
add_compile_options("$<$<COMPILE_LANGUAGE:CXX>:${SAVER_WARNINGS}>")

if(WIN32)
  # Import nothing but system DLLs: no libstdc++, libgcc or winpthread DLLs beside the programs.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0600 WINVER=0x0600 STRICT)
endif()

if(SAVER_FUZZ AND NOT WIN32)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(SAVER_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# libjpeg with the version-62 API.
if(WIN32)
  find_path(JPEG_INCLUDE_DIR jpeglib.h REQUIRED)
  find_library(JPEG_LIBRARY NAMES libjpeg.a jpeg REQUIRED)
else()
  find_path(JPEG_INCLUDE_DIR jpeglib.h REQUIRED)
  find_library(JPEG_LIBRARY NAMES jpeg REQUIRED)
endif()
add_library(saver_jpeg INTERFACE)
target_include_directories(saver_jpeg SYSTEM INTERFACE ${JPEG_INCLUDE_DIR})
target_link_libraries(saver_jpeg INTERFACE ${JPEG_LIBRARY})

find_package(GTest REQUIRED)
include(GoogleTest)

# saver_add_test(name SOURCES ... [LIBS ...] [WINDOWS] [XVFB] [SOUND pulse|none] [TIMEOUT s]
#                [RESOURCE_LOCK name])
#  Native builds register every test case with CTest. Windows builds run each test program as one
#  CTest test under Wine through the cross-compiling emulator, with its own throw-away prefix.
#  WINDOWS: only built for Windows. XVFB: the test needs a real X display (screenshots, input).
#  SOUND pulse: a private PulseAudio null sink for the run; SOUND none: no sound server at all.
#  No test runs alone: behaviour is checked in virtual time, and a real-time bound only catches a
#  hang, so tests running beside one cannot fail it.
function(saver_add_test name)
  cmake_parse_arguments(T "WINDOWS;XVFB" "TIMEOUT;RESOURCE_LOCK;SOUND" "SOURCES;LIBS" ${ARGN})
  if(T_WINDOWS AND NOT WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  if(NOT T_TIMEOUT)
    set(T_TIMEOUT 120)
  endif()
  if(WIN32)
    add_test(NAME ${name} COMMAND ${name})
    set(env "SAVER_TEST_DISPLAY=null")
    if(T_XVFB)
      set(env "SAVER_TEST_DISPLAY=xvfb")
    endif()
    if(T_SOUND)
      list(APPEND env "SAVER_TEST_SOUND=${T_SOUND}")
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT} ENVIRONMENT "${env}")
    if(T_RESOURCE_LOCK)
      set_tests_properties(${name} PROPERTIES RESOURCE_LOCK ${T_RESOURCE_LOCK})
    endif()
  else()
    gtest_discover_tests(${name} TEST_PREFIX "${name}." DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT ${T_TIMEOUT})
  endif()
endfunction()

# saver_add_fuzzer(name SOURCES ... LIBS ... CORPUS dir)
#  A libFuzzer target, built only with SAVER_FUZZ; CTest runs it once over its seed corpus.
function(saver_add_fuzzer name)
  cmake_parse_arguments(F "" "CORPUS" "SOURCES;LIBS" ${ARGN})
  if(NOT SAVER_FUZZ OR WIN32)
    return()
  endif()
  add_executable(${name} ${F_SOURCES})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 ${F_CORPUS})
  set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 300)
endfunction()

# saver_track_resource_includes()
#  windres's dependencies are not scanned: a resource script that includes the scripts, headers,
#  bitmaps and cursors of res/ would not be compiled again when one of them changes. Every script
#  of res/, wherever a target compiles it, depends on everything in res/. Call once, at the end.
function(saver_track_resource_includes)
  if(NOT WIN32)
    return()
  endif()
  file(GLOB inputs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*)
  file(GLOB scripts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*.rc)
  set(pending ${PROJECT_SOURCE_DIR})
  set(dirs "")
  while(pending)
    list(POP_FRONT pending dir)
    list(APPEND dirs ${dir})
    get_property(children DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    list(APPEND pending ${children})
  endwhile()
  set_source_files_properties(${scripts} DIRECTORY ${dirs} PROPERTIES OBJECT_DEPENDS "${inputs}")
endfunction()

# saver_delay_load(target dll ...)
#  The Windows program loads these system DLLs at the first call into each instead of at its
#  start (a DLL and everything it pulls in costs a process start under Wine a noticeable time):
#  its link finds delay-import libraries of the same names first, made from the toolchain's own
#  import libraries with every export. MinGW's runtime has the delay-load helper.
#  64-bit only: the 32-bit delay-import libraries that this toolchain's dlltool makes link without
#  complaint but leave every call through them jumping to address 0 at run time (tried under Wine
#  with winmm and shell32), so the 32-bit programs keep plain imports.
function(saver_delay_load target)
  if(NOT WIN32 OR NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
    return()
  endif()
  set(folder ${CMAKE_BINARY_DIR}/delayload)
  foreach(dll IN LISTS ARGN)
    set(out ${folder}/lib${dll}.a)
    if(NOT EXISTS ${out})
      find_library(SAVER_IMPORT_LIB_${dll} NAMES lib${dll}.a REQUIRED)
      file(MAKE_DIRECTORY ${folder})
      execute_process(
        COMMAND ${CMAKE_COMMAND} -DNM=${CMAKE_NM} -DDLLTOOL=${CMAKE_DLLTOOL}
                -DIMPORT_LIB=${SAVER_IMPORT_LIB_${dll}} -DDLL=${dll} -DOUT=${out}
                -P ${PROJECT_SOURCE_DIR}/cmake/MakeDelayLib.cmake
        RESULT_VARIABLE failed)
      if(failed)
        message(FATAL_ERROR "could not make the delay-import library of ${dll}")
      endif()
    endif()
  endforeach()
  target_link_directories(${target} BEFORE PRIVATE ${folder})
endfunction()
