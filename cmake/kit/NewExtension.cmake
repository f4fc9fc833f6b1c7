# Writes a new extension project that builds and passes its tests as written:
#   cmake -P KIT/lib/cmake/TavrelKit/NewExtension.cmake NAME DIR
# DIR (made if missing, refused unless empty) receives CMakeLists.txt, NAME.c,
# tests/session.txt and README.txt. NAME is the module's, and its example
# functions are NAMEScale and NAMEPoints.
cmake_minimum_required(VERSION 3.20)

function(new_extension_fail)
  string(CONCAT text ${ARGN})
  message(FATAL_ERROR "NewExtension: ${text}\nUsage: cmake -P "
    "${CMAKE_CURRENT_LIST_FILE} NAME DIR")
endfunction()

# The words after the script's name, without a leading "--".
function(new_extension_arguments out)
  set(words)
  foreach(n RANGE 3 ${CMAKE_ARGC})
    if(n LESS CMAKE_ARGC)
      list(APPEND words "${CMAKE_ARGV${n}}")
    endif()
  endforeach()
  list(POP_FRONT words first)
  if(NOT first STREQUAL "--")
    list(PREPEND words "${first}")
  endif()
  list(LENGTH words count)
  if(NOT count EQUAL 2)
    new_extension_fail("give the extension's NAME and the folder DIR")
  endif()
  set(${out} ${words} PARENT_SCOPE)
endfunction()

# NAME names the module, the CMake project and target, and prefixes the
# example functions, whose host names must stay within 31 characters.
function(new_extension_check_name name)
  string(LENGTH "${name}" length)
  if(NOT name MATCHES "^[A-Za-z][A-Za-z0-9_]*$" OR length GREATER 25)
    new_extension_fail("'${name}' is not a valid NAME: a letter, then "
      "letters, digits or '_', at most 25 characters (NAMEPoints is a host "
      "name, 31 at most)")
  endif()
  string(TOLOWER "${name}" lower)
  set(reserved all clean help install package package_source preinstall
    test edit_cache rebuild_cache list_install_components all_build
    zero_check run_tests)
  if(lower IN_LIST reserved)
    new_extension_fail("'${name}' is a name CMake keeps for itself")
  endif()
endfunction()

function(new_extension_check_dir dir)
  if(EXISTS "${dir}" AND NOT IS_DIRECTORY "${dir}")
    new_extension_fail("'${dir}' exists and is not a folder")
  endif()
  file(GLOB entries "${dir}/*")
  if(entries)
    new_extension_fail("'${dir}' is not empty, so nothing was written")
  endif()
endfunction()

set(cmakelists_template [=[
# @NAME@.xop, an extension built from the Tavrel kit:
#   cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=@TOOLCHAIN@
#   cmake --build build && ctest --test-dir build
cmake_minimum_required(VERSION 3.20)
# The kit enables the resource compiler (RC) itself.
project(@NAME@ C CXX)

find_package(TavrelKit 1.0 REQUIRED)
add_compile_options(-Wall -Wextra -Werror)
# The functions the host may call, in table order (parameter types: Float32
# Float64 Int8 Int16 Int32 UInt8 UInt16 UInt32 wave), the texts of the errors
# that @NAME@.c reports (10001, ...) and the lowest host version. The kit
# writes the resources the host reads and @NAME@_functions.h from this.
tavrel_add_extension(@NAME@
  SOURCES @NAME@.c
  FUNCTION @NAME@Scale RESULT Float64 PARAMS Float64 Float64
  FUNCTION @NAME@Points RESULT Float64 PARAMS wave
  ERROR ErrHostTooOld "@NAME@ needs host version 5.00 or later."
  LOWEST_HOST_VERSION 500)

# Each test runs the kit's host simulator with @NAME@.xop and passes when
# the exit status and the output are as expected.
enable_testing()
tavrel_add_simulator_test(@NAME@_session XOP @NAME@
  ARGS --script ${CMAKE_CURRENT_SOURCE_DIR}/tests/session.txt
  EXPECT "@NAME@Scale(2.5, 4) = 10" "@NAME@Points(data) = 3")
tavrel_add_simulator_test(@NAME@_host_too_old XOP @NAME@ EXIT 1
  ARGS --host-version 4.9.9 "@NAME@Scale(1, 2)"
  EXPECT "(error 10001): @NAME@ needs host version 5.00 or later.")
]=])

set(source_template [=[
/* @NAME@.xop, an extension for the host. Its external functions, declared
   in CMakeLists.txt:
     @NAME@Scale(x, factor)  x times factor
     @NAME@Points(w)         the number of points of wave w
   @NAME@_functions.h, which the kit writes from that declaration, gives
   their order in the function table and the codes of our errors. */
#include <stddef.h>
#include <stdint.h>

#include <tavrel/waves.h>

#include "@NAME@_functions.h"

/* Parameter blocks: one 8-byte slot per parameter, last first, then the
   result slot. */
typedef struct {
  ExternalParam factor;
  ExternalParam x;
  double result;
} ScaleParams;

typedef struct {
  ExternalParam wave;
  double result;
} PointsParams;

static int32_t @NAME@Scale(void *params) {
  ScaleParams *p = params;
  p->result = p->x.number * p->factor.number;
  return 0;
}

static int32_t @NAME@Points(void *params) {
  PointsParams *p = params;
  if (p->wave.wave == NULL) return NullHandleError;
  p->result = WavePointCount(p->wave.wave);
  return 0;
}

static ExternalFunctionProc const Functions[] = {EXTERNAL_FUNCTIONS};

/* Answers the address of function GetHostItem(0), and 0 to every other
   message and index. */
static void HandleMessage(void) {
  int32_t answer = 0;
  if (GetHostMessage() == MsgFunctionAddress) {
    int32_t index = GetHostItem(0);
    if (index >= 0 && index < ExternalFunctionCount)
      answer = (int32_t)(uintptr_t)Functions[index];
  }
  SetHostResult(answer);
}

/* The only export: the host calls it once, with the record. */
void main(Handle recordHandle) {
  InitHostLink(recordHandle);
  SetMessageEntry(HandleMessage);
  SetHostResult(HostVersion < LowestHostVersion ? ErrHostTooOld : 0);
}
]=])

set(session_template [=[
// Lines for the host simulator (Igor.exe --script): each prints its result.
wave data Int16 = 1, 2, 3
@NAME@Scale(2.5, 4)
@NAME@Points(data)
]=])

set(readme_template [=[
@NAME@, an extension module (@NAME@.xop) for the host, made with the
Tavrel kit at @KIT@.

Build and test (the tests run the kit's host simulator, through Wine):

  cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=@TOOLCHAIN@
  cmake --build build
  ctest --test-dir build --output-on-failure

CMakeLists.txt declares the functions, the error texts and the lowest host
version; @NAME@.c holds the code, tests/session.txt the lines of the session
test. A function added to the declaration needs a C function of the same
name in @NAME@.c.
]=])

new_extension_arguments(arguments)
list(GET arguments 0 NAME)
list(GET arguments 1 dir)
new_extension_check_name("${NAME}")
get_filename_component(dir "${dir}" ABSOLUTE)
new_extension_check_dir("${dir}")
get_filename_component(KIT "${CMAKE_CURRENT_LIST_DIR}/../../.." ABSOLUTE)
set(TOOLCHAIN "${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake")
foreach(file IN ITEMS CMakeLists.txt:cmakelists @NAME@.c:source
    tests/session.txt:session README.txt:readme)
  string(REGEX REPLACE ":.*" "" path "${file}")
  string(REGEX REPLACE ".*:" "" template "${file}")
  string(CONFIGURE "${path}" path @ONLY)
  string(CONFIGURE "${${template}_template}" content @ONLY)
  file(WRITE "${dir}/${path}" "${content}")
endforeach()
message(STATUS "New extension ${NAME} in ${dir}")
