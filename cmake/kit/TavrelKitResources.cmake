# The resources the host reads (function table XOPF, error texts STR#,
# information record XOPI, all id 1100), written from a declaration in
# CMake instead of by hand:
#   tavrel_add_extension(NAME SOURCES SOURCE...
#     FUNCTION FNAME RESULT TYPE [PARAMS TYPE...]...
#     [ERROR CNAME "TEXT"]...
#     LOWEST_HOST_VERSION N)
# TYPE is a number type (Float32 Float64 Int8 Int16 Int32 UInt8 UInt16
# UInt32) or, for a parameter, wave. The n-th ERROR is code 10000 + n. Beside
# NAME.rc comes NAME_functions.h for the sources: FunctionIndexFNAME in
# table order, ExternalFunctionCount, EXTERNAL_FUNCTIONS (the C functions of
# the same names, in table order), each CNAME and LowestHostVersion.

function(_tavrel_fail name)
  string(CONCAT text ${ARGN})
  message(FATAL_ERROR "tavrel_add_extension(${name}): ${text}")
endfunction()

# Host names: a letter, then letters, digits and underscores, 31 at most.
function(_tavrel_check_host_name name what value)
  string(LENGTH "${value}" length)
  if(NOT value MATCHES "^[A-Za-z][A-Za-z0-9_]*$" OR length GREATER 31)
    _tavrel_fail(${name} "${what} '${value}' is not a valid host name "
      "(a letter, then letters, digits or '_', at most 31 characters)")
  endif()
endfunction()

# The table code of a type name, matched without regard to case as the host
# matches names.
function(_tavrel_type_code name type out)
  set(codes float32 0x0002 float64 0x0004 int8 0x0008 int16 0x0010
    int32 0x0020 uint8 0x0048 uint16 0x0050 uint32 0x0060 wave 0x0200)
  string(TOLOWER "${type}" key)
  list(FIND codes "${key}" at)
  math(EXPR odd "${at} % 2")
  if(at LESS 0 OR odd OR NOT type MATCHES "^[A-Za-z0-9]+$")
    _tavrel_fail(${name} "unknown type '${type}' (the types are Float32 "
      "Float64 Int8 Int16 Int32 UInt8 UInt16 UInt32 and, for parameters, wave)")
  endif()
  math(EXPR at "${at} + 1")
  list(GET codes ${at} code)
  set(${out} ${code} PARENT_SCOPE)
endfunction()

# An error text as a resource-script string body: printable ASCII only (the
# host reads bytes, with no code page), quotes doubled and backslashes
# escaped. An empty text would end the list early, so it is refused too.
function(_tavrel_rc_text name text out)
  string(LENGTH "${text}" length)
  if(length EQUAL 0 OR length GREATER 255)
    _tavrel_fail(${name} "error texts need 1 to 255 characters: '${text}'")
  endif()
  if(text MATCHES "[^ -~]")
    _tavrel_fail(${name} "error text '${text}' holds a character other than "
      "printable ASCII (letters, digits, punctuation, spaces)")
  endif()
  string(REPLACE "\\" "\\\\" text "${text}")
  string(REPLACE "\"" "\"\"" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# Writes only on change, so that an unchanged declaration rebuilds nothing.
function(_tavrel_write_if_changed path content)
  if(EXISTS "${path}")
    file(READ "${path}" old)
    if(old STREQUAL content)
      return()
    endif()
  endif()
  file(WRITE "${path}" "${content}")
endfunction()

# Ends the function being declared: its table entry, index and C name.
macro(_tavrel_end_function)
  if(NOT function STREQUAL "")
    if(result STREQUAL "")
      _tavrel_fail(${name} "FUNCTION ${function} has no RESULT")
    endif()
    list(LENGTH functions index)
    list(APPEND functions ${function})
    string(APPEND xopf "  \"${function}\\0\", 0x2800, ${result}, ")
    foreach(code IN LISTS params)
      string(APPEND xopf "${code}, ")
    endforeach()
    string(APPEND xopf "0,\n")
    string(APPEND indices "  FunctionIndex${function} = ${index},\n")
    set(function "")
  endif()
endmacro()

# A keyword: opens a list (SOURCES, PARAMS) or awaits its value.
macro(_tavrel_keyword)
  if(NOT expect STREQUAL "")
    _tavrel_fail(${name} "${expect} needs a value before ${arg}")
  endif()
  set(section "")
  if(arg STREQUAL "FUNCTION")
    _tavrel_end_function()
  elseif(arg MATCHES "^(RESULT|PARAMS)$" AND function STREQUAL "")
    _tavrel_fail(${name} "${arg} must follow FUNCTION and its name")
  elseif(arg STREQUAL "PARAMS")
    if(params_given)
      _tavrel_fail(${name} "FUNCTION ${function} has PARAMS twice")
    endif()
    set(params_given TRUE)
  endif()
  if(arg MATCHES "^(SOURCES|PARAMS)$")
    set(section ${arg})
  else()
    set(expect ${arg})
  endif()
endmacro()

macro(_tavrel_function_name)
  _tavrel_check_host_name(${name} "function name" "${arg}")
  string(TOLOWER "${arg}" key)
  if(key IN_LIST keys)
    _tavrel_fail(${name} "function '${arg}' is declared twice (the host "
      "does not tell names apart by case)")
  endif()
  list(APPEND keys ${key})
  set(function ${arg})
  set(result "")
  set(params)
  set(params_given "")
endmacro()

macro(_tavrel_result)
  if(NOT result STREQUAL "")
    _tavrel_fail(${name} "FUNCTION ${function} has RESULT twice")
  endif()
  _tavrel_type_code(${name} "${arg}" result)
  if(result STREQUAL "0x0200")
    _tavrel_fail(${name} "FUNCTION ${function} returns a wave, but "
      "results are numbers")
  endif()
endmacro()

macro(_tavrel_error_name)
  if(NOT arg MATCHES "^[A-Za-z][A-Za-z0-9_]*$" OR arg IN_LIST error_names)
    _tavrel_fail(${name} "ERROR needs a C name of its own before its text, "
      "not '${arg}'")
  endif()
  list(APPEND error_names ${arg})
  list(LENGTH error_names count)
  math(EXPR code "10000 + ${count}")
  string(APPEND errors "  ${arg} = ${code},\n")
endmacro()

macro(_tavrel_host_version)
  if(NOT version STREQUAL "")
    _tavrel_fail(${name} "LOWEST_HOST_VERSION is given twice")
  endif()
  if(NOT arg MATCHES "^[0-9]+$" OR arg GREATER 32767)
    _tavrel_fail(${name} "LOWEST_HOST_VERSION must be a whole number from 0 "
      "to 32767 (610 is host version 6.1.0), not '${arg}'")
  endif()
  string(REGEX REPLACE "^0+([0-9])" "\\1" version "${arg}")
endmacro()

# The value that the last keyword awaits; an error's name awaits its text.
macro(_tavrel_value)
  set(next "")
  if(expect STREQUAL "FUNCTION")
    _tavrel_function_name()
  elseif(expect STREQUAL "RESULT")
    _tavrel_result()
  elseif(expect STREQUAL "ERROR")
    _tavrel_error_name()
    set(next TEXT)
  elseif(expect STREQUAL "LOWEST_HOST_VERSION")
    _tavrel_host_version()
  endif()
  set(expect "${next}")
endmacro()

# Reads the declaration from tavrel_arg1 .. tavrel_arg<count> (each one
# argument whole), writes NAME.rc and NAME_functions.h into a folder of the
# build tree, and sets sources_var to the sources with the script and
# dir_var to that folder.
function(tavrel_generate_resources name count sources_var dir_var)
  set(keywords SOURCES FUNCTION RESULT PARAMS ERROR LOWEST_HOST_VERSION)
  foreach(var expect section function result params_given version xopf
      indices strs errors)
    set(${var} "")
  endforeach()
  set(sources)
  set(functions)
  set(keys)
  set(error_names)
  foreach(n RANGE 1 ${count})
    set(arg "${tavrel_arg${n}}")
    if(expect STREQUAL "TEXT")
      _tavrel_rc_text(${name} "${arg}" text)
      string(APPEND strs "  \"${text}\\0\"\n")
      set(expect "")
    elseif(arg IN_LIST keywords)
      _tavrel_keyword()
    elseif(NOT expect STREQUAL "")
      _tavrel_value()
    elseif(section STREQUAL "SOURCES")
      list(APPEND sources "${arg}")
    elseif(section STREQUAL "PARAMS")
      _tavrel_type_code(${name} "${arg}" code)
      list(APPEND params ${code})
    else()
      _tavrel_fail(${name} "unexpected '${arg}'")
    endif()
  endforeach()
  if(expect STREQUAL "TEXT")
    list(GET error_names -1 last)
    set(expect "ERROR ${last}")
  endif()
  if(NOT expect STREQUAL "")
    _tavrel_fail(${name} "${expect} needs a value at the end")
  endif()
  _tavrel_end_function()
  _tavrel_check_declaration()
  set(dir "${CMAKE_CURRENT_BINARY_DIR}/${name}_generated")
  _tavrel_write_script("${dir}/${name}.rc")
  _tavrel_write_header("${dir}/${name}_functions.h")
  set(${sources_var} ${sources} "${dir}/${name}.rc" PARENT_SCOPE)
  set(${dir_var} "${dir}" PARENT_SCOPE)
endfunction()

# A script of the author's may stand among the sources for other resources
# (a version resource), but not for these: the linker would keep both
# copies, and the host read either.
function(_tavrel_check_own_scripts name)
  foreach(source IN LISTS ARGN)
    get_filename_component(path "${source}" ABSOLUTE)
    if(source MATCHES "\\.rc$" AND EXISTS "${path}")
      file(READ "${path}" script)
      if(script MATCHES "XOPF|XOPI|STR#")
        _tavrel_fail(${name} "${source} carries resources that the "
          "declaration writes (XOPF, STR#, XOPI)")
      endif()
    endif()
  endforeach()
endfunction()

macro(_tavrel_check_declaration)
  if(NOT sources)
    _tavrel_fail(${name} "no SOURCES")
  endif()
  _tavrel_check_own_scripts(${name} ${sources})
  if(NOT functions)
    _tavrel_fail(${name} "no FUNCTION: the host would find nothing to call")
  endif()
  if(version STREQUAL "")
    _tavrel_fail(${name} "LOWEST_HOST_VERSION is missing (e.g. 500)")
  endif()
endmacro()

macro(_tavrel_write_script path)
  _tavrel_write_if_changed("${path}" "\
// Written by tavrel_add_extension from the declaration of ${name};
// change that, not this file. Every byte here is read by the host.
LANGUAGE 0x09, 0x03

// Error 10000 + n is the n-th text; an empty string ends the list.
1100 \"STR#\"
BEGIN
${strs}  \"\\0\"
END

// Per function: name, category, result type, parameter types, 0. A 0 ends
// the table.
1100 \"XOPF\"
BEGIN
${xopf}  0
END

// Fixed words, then the lowest host version the extension runs on.
1100 \"XOPI\"
BEGIN
  4, 0, 0, 0, ${version}
END
")
endmacro()

macro(_tavrel_write_header path)
  string(MAKE_C_IDENTIFIER "${name}_FUNCTIONS_H" guard)
  string(TOUPPER "${guard}" guard)
  list(LENGTH functions count)
  list(JOIN functions ", " table)
  set(error_enum "")
  if(errors)
    set(error_enum "
/* Errors of the extension's own: 10000 + n is the n-th text. */
enum {\n${errors}};\n")
  endif()
  _tavrel_write_if_changed("${path}" "\
/* Written by tavrel_add_extension from the declaration of ${name}, with
   the function table the host reads; change that, not this file. */
#ifndef ${guard}
#define ${guard}

/* The functions' indices in the table, which MsgFunctionAddress asks by. */
enum {
${indices}  ExternalFunctionCount = ${count}
};

/* The C functions, named as the host knows them, in table order: the table
   that answers MsgFunctionAddress is {EXTERNAL_FUNCTIONS}. */
#define EXTERNAL_FUNCTIONS ${table}
${error_enum}
/* The lowest host version the extension runs on (610 is 6.1.0). */
enum { LowestHostVersion = ${version} };

#endif
")
endmacro()
