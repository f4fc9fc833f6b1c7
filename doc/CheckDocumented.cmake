# Doxygen warns about undocumented functions, types, variables and macros,
# but not about an enumeration or an enumerator left without a comment. This
# check reads Doxygen's XML output and fails, naming them, when a member of a
# header or of a structure has no documentation at all.
#   cmake -DXML_DIR=DIR -P CheckDocumented.cmake
cmake_minimum_required(VERSION 3.20)

# Cuts the blocks <TAG ...>...</TAG> out of `text` into the variables
# PREFIX_0, PREFIX_1, ... (blocks may hold ";", so no list), their number
# into `count_out` and the text around them into `rest_out`.
function(cut_blocks tag text prefix count_out rest_out)
  set(count 0)
  set(rest "")
  string(LENGTH "</${tag}>" closeLength)
  while(1)
    string(FIND "${text}" "<${tag} " start)
    if(start EQUAL -1)
      break()
    endif()
    string(SUBSTRING "${text}" 0 ${start} before)
    string(APPEND rest "${before}")
    string(SUBSTRING "${text}" ${start} -1 text)
    string(FIND "${text}" "</${tag}>" end)
    string(SUBSTRING "${text}" 0 ${end} block)
    set(${prefix}_${count} "${block}" PARENT_SCOPE)
    math(EXPR count "${count} + 1")
    math(EXPR end "${end} + ${closeLength}")
    string(SUBSTRING "${text}" ${end} -1 text)
  endwhile()
  string(APPEND rest "${text}")
  set(${count_out} ${count} PARENT_SCOPE)
  set(${rest_out} "${rest}" PARENT_SCOPE)
endfunction()

# A documented member has a paragraph of text somewhere in its block.
# Doxygen names an enumeration without a name "@N"; `alias` names it then.
function(check_documented block where alias)
  if(NOT block MATCHES "<para>")
    string(REGEX MATCH "<name>([^<]*)</name>" ignored "${block}")
    set(name "${CMAKE_MATCH_1}")
    if(name MATCHES "^@")
      set(name "${alias}")
    endif()
    message(SEND_ERROR "${where}: ${name} is not documented")
  endif()
endfunction()

file(GLOB pages ${XML_DIR}/*_8h.xml ${XML_DIR}/struct*.xml
  ${XML_DIR}/union*.xml)
if(NOT pages)
  message(FATAL_ERROR "no Doxygen XML in ${XML_DIR}")
endif()
foreach(page ${pages})
  get_filename_component(where ${page} NAME_WE)
  file(READ ${page} xml)
  cut_blocks(memberdef "${xml}" member members ignored)
  set(m 0)
  while(m LESS members)
    # An enumeration's own comment lies outside its values' blocks.
    cut_blocks(enumvalue "${member_${m}}" value values own)
    string(REGEX MATCH "<name>([^<]*)</name>" ignored "${value_0}")
    check_documented("${own}" ${where} "the enumeration of ${CMAKE_MATCH_1}")
    set(v 0)
    while(v LESS values)
      check_documented("${value_${v}}" ${where} "")
      math(EXPR v "${v} + 1")
    endwhile()
    math(EXPR m "${m} + 1")
  endwhile()
endforeach()
