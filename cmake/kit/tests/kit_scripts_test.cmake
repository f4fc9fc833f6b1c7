# The kit's CMake scripts: declarations of an extension's resources that
# must be refused with a clear message, the bytes written for an accepted
# one, and the new-extension command's refusals.
#   cmake -DRC=WINDRES -P kit_scripts_test.cmake   (in an empty folder)
# Each refusal runs this script again with DECLARATION set, as a fatal error
# ends the process.
cmake_minimum_required(VERSION 3.20)
get_filename_component(kit "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
include("${kit}/TavrelKitResources.cmake")

# What tavrel_add_extension does with a declaration.
function(declare name)
  math(EXPR count "${ARGC} - 1")
  foreach(n RANGE 1 ${count})
    set(tavrel_arg${n} "${ARGV${n}}")
  endforeach()
  tavrel_generate_resources(${name} ${count} sources dir)
endfunction()

if(DEFINED DECLARATION)
  cmake_language(EVAL CODE "declare(${DECLARATION})")
  return()
endif()

# Runs COMMAND...; it must fail, print MESSAGE and leave nothing written.
function(expect_refusal message)
  file(REMOVE_RECURSE "${CMAKE_CURRENT_BINARY_DIR}/refused")
  file(MAKE_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/refused")
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE status ERROR_VARIABLE err
    WORKING_DIRECTORY "${CMAKE_CURRENT_BINARY_DIR}/refused")
  string(REGEX REPLACE "[ \n]+" " " err "${err}")
  string(FIND "${err}" "${message}" at)
  file(GLOB_RECURSE written "${CMAKE_CURRENT_BINARY_DIR}/refused/*")
  if(status EQUAL 0 OR at LESS 0 OR written)
    message(SEND_ERROR "${ARGN}\n  status ${status}, wrote '${written}', "
      "said: ${err}\n  expected: ${message}")
  endif()
endfunction()

function(expect_refused_declaration declaration message)
  expect_refusal("${message}" ${CMAKE_COMMAND} "-DDECLARATION=${declaration}"
    -P "${CMAKE_CURRENT_LIST_FILE}")
endfunction()

set(ok "SOURCES a.c LOWEST_HOST_VERSION 500")
expect_refused_declaration("X ${ok} FUNCTION 9Lives RESULT Float64"
  "function name '9Lives' is not a valid host name")
expect_refused_declaration(
  "X ${ok} FUNCTION A234567890123456789012345678901x RESULT Float64"
  "'A234567890123456789012345678901x' is not a valid host name")
expect_refused_declaration(
  "X ${ok} FUNCTION Sum RESULT Float64 FUNCTION sUM RESULT Int8"
  "function 'sUM' is declared twice")
expect_refused_declaration("X ${ok} FUNCTION F RESULT Float64 PARAMS wave C64"
  "unknown type 'C64'")
expect_refused_declaration("X ${ok} FUNCTION F RESULT wave"
  "FUNCTION F returns a wave")
expect_refused_declaration("X ${ok} FUNCTION F PARAMS Int8 FUNCTION G"
  "FUNCTION F has no RESULT")
expect_refused_declaration("X ${ok} ERROR E \"Only an error\""
  "no FUNCTION")
expect_refused_declaration("X ${ok} FUNCTION F RESULT Int8 ERROR E \"\""
  "error texts need 1 to 255 characters")
expect_refused_declaration(
  "X ${ok} FUNCTION F RESULT Int8 ERROR E \"Fehler ä\""
  "holds a character other than printable ASCII")
expect_refused_declaration(
  "X SOURCES a.c LOWEST_HOST_VERSION 32768 FUNCTION F RESULT Int8"
  "LOWEST_HOST_VERSION must be a whole number from 0 to 32767")
expect_refused_declaration("X SOURCES a.c FUNCTION F RESULT Int8 PARAMS"
  "LOWEST_HOST_VERSION is missing")
file(WRITE old.rc "1100 \"XOPF\"\nBEGIN\n  0\nEND\n")
expect_refused_declaration(
  "X ${ok} FUNCTION F RESULT Int8 SOURCES ${CMAKE_CURRENT_BINARY_DIR}/old.rc"
  "old.rc carries resources that the declaration writes")

# An accepted declaration: every type's code, a function without parameters,
# texts with quotes, a backslash and characters a CMake list would split on.
declare(Tricky SOURCES a.c
  FUNCTION AllTypes RESULT uint32
    PARAMS Float32 Float64 Int8 Int16 Int32 UInt8 UInt16 UInt32 wave
  FUNCTION None_2 RESULT Int16
  ERROR ErrQuote "Say \"hi\" in C:\\new; [stop"
  ERROR ErrPlain "]=] ok"
  LOWEST_HOST_VERSION 0610)
execute_process(COMMAND "${RC}" -O res -o tricky.res
  "${CMAKE_CURRENT_BINARY_DIR}/Tricky_generated/Tricky.rc"
  RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "windres refused the generated script")
endif()
file(READ tricky.res res HEX)
# TEXT's bytes followed by TAIL (hexadecimal, spaces for reading) must be
# in the compiled resources.
function(expect_bytes what text tail)
  string(HEX "${text}" hex)
  string(REPLACE " " "" tail "${tail}")
  string(FIND "${res}" "${hex}${tail}" at)
  if(at LESS 0)
    message(SEND_ERROR "${what}: no bytes ${hex}${tail} in ${res}")
  endif()
endfunction()
expect_bytes("STR#" "Say \"hi\" in C:\\new; [stop" "00")
expect_bytes("STR#, end" "]=] ok" "00 00")
expect_bytes("XOPF" "AllTypes"
  "00 0028 6000 0200 0400 0800 1000 2000 4800 5000 6000 0002 0000")
expect_bytes("XOPF, end" "None_2" "00 0028 1000 0000 0000")
expect_bytes("XOPI" "" "0400 0000 0000 0000 6202")
file(READ Tricky_generated/Tricky_functions.h header)
string(FIND "${header}" "#define EXTERNAL_FUNCTIONS AllTypes, None_2" at)
if(at LESS 0)
  message(SEND_ERROR "no table of the C functions in ${header}")
endif()

# The new-extension command refuses bad names and folders in use.
set(new "${kit}/NewExtension.cmake")
expect_refusal("'Bad-Name' is not a valid NAME"
  ${CMAKE_COMMAND} -P "${new}" Bad-Name out)
expect_refusal("give the extension's NAME and the folder DIR"
  ${CMAKE_COMMAND} -P "${new}" OnlyName)
file(WRITE in-use/keep.txt "mine")
expect_refusal("in-use' is not empty"
  ${CMAKE_COMMAND} -P "${new}" Fine "${CMAKE_CURRENT_BINARY_DIR}/in-use")
file(GLOB in_use in-use/*)
if(NOT in_use STREQUAL "${CMAKE_CURRENT_BINARY_DIR}/in-use/keep.txt")
  message(SEND_ERROR "the folder in use changed: ${in_use}")
endif()
