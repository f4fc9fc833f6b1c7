# The Tavrel extension kit, found with find_package(TavrelKit): the support
# library (Tavrel::support, which brings the public headers and the host's
# import library Tavrel::host), the host simulator and the stand-in port
# library, and two functions:
#   tavrel_add_extension(NAME SOURCE... SCRIPT.rc)
#   tavrel_add_extension(NAME SOURCES SOURCE... FUNCTION ... (see
#                        TavrelKitResources.cmake))
#   tavrel_add_simulator_test(TEST XOP TARGET [EXIT N] [ARGS ARG...]
#                             [EXPECT TEXT...])
get_filename_component(TAVREL_KIT_PREFIX "${CMAKE_CURRENT_LIST_DIR}/../../.."
  ABSOLUTE)
set(TAVREL_KIT_DIR "${CMAKE_CURRENT_LIST_DIR}")
# The simulator and the stand-in port library live apart, in simulator/.
set(TAVREL_IGOR_EXE "${TAVREL_KIT_PREFIX}/simulator/Igor.exe")
set(TAVREL_PORT_LIBRARY "${TAVREL_KIT_PREFIX}/simulator/inpout32.dll")

set(TAVREL_TOOLCHAIN_FILE "${CMAKE_CURRENT_LIST_DIR}/mingw-i686.cmake")

# The kit makes 32-bit Windows modules and nothing else: a native configure
# stops here, saying how to configure instead.
if(NOT CMAKE_CROSSCOMPILING OR NOT WIN32 OR NOT CMAKE_SIZEOF_VOID_P EQUAL 4)
  message(FATAL_ERROR "TavrelKit builds 32-bit Windows extensions (.xop) "
    "and this configuration cannot make them. Configure with the kit's "
    "tool chain file:\n  cmake -DCMAKE_TOOLCHAIN_FILE="
    "${TAVREL_TOOLCHAIN_FILE} -S SOURCE -B BUILD")
endif()
# Resource scripts carry the function table; projects need not name RC
# themselves (a native configure of one that does fails before it gets here).
get_property(_tavrel_languages GLOBAL PROPERTY ENABLED_LANGUAGES)
if(NOT "RC" IN_LIST _tavrel_languages)
  enable_language(RC)
endif()
include("${CMAKE_CURRENT_LIST_DIR}/TavrelKitEmulator.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/TavrelKitCheck.cmake")
include("${CMAKE_CURRENT_LIST_DIR}/TavrelKitResources.cmake")

if(NOT TARGET Tavrel::support)
  add_library(Tavrel::host STATIC IMPORTED)
  set_target_properties(Tavrel::host PROPERTIES
    IMPORTED_LOCATION "${TAVREL_KIT_PREFIX}/lib/libigorhost.a")
  add_library(Tavrel::support STATIC IMPORTED)
  # The archive is C++ inside: a C extension still links with the C++ driver
  # so that the runtime comes along.
  set_target_properties(Tavrel::support PROPERTIES
    IMPORTED_LOCATION "${TAVREL_KIT_PREFIX}/lib/libtavrel_support.a"
    IMPORTED_LINK_INTERFACE_LANGUAGES CXX
    INTERFACE_INCLUDE_DIRECTORIES "${TAVREL_KIT_PREFIX}/include"
    INTERFACE_LINK_LIBRARIES "Tavrel::host;version")
endif()

# NAME.xop from C or C++ sources and the resource script that carries the
# function table, or the declaration that the script is written from. The
# runtime is linked in statically, so the module needs nothing but Windows
# and the host; only main is exported.
function(tavrel_add_extension name)
  set(sources ${ARGN})
  set(generated "")
  if(ARGN MATCHES "(^|;)(SOURCES|FUNCTION|ERROR|LOWEST_HOST_VERSION)(;|$)")
    # A text may hold ';' or '[', which would split a list: the generator
    # reads every argument whole, from tavrel_arg<n>.
    math(EXPR count "${ARGC} - 1")
    foreach(n RANGE 1 ${count})
      set(tavrel_arg${n} "${ARGV${n}}")
    endforeach()
    tavrel_generate_resources(${name} ${count} sources generated)
  endif()
  set(scripts ${sources})
  list(FILTER scripts INCLUDE REGEX "\\.rc$")
  if(NOT scripts)
    message(FATAL_ERROR "tavrel_add_extension(${name}): no resource script "
      "(.rc) among the sources; the host finds the functions through it")
  endif()
  set(def "${CMAKE_CURRENT_BINARY_DIR}/${name}_exports.def")
  file(CONFIGURE OUTPUT "${def}" CONTENT "LIBRARY ${name}.xop\nEXPORTS\nmain\n")
  add_library(${name} SHARED ${sources} "${def}")
  set_target_properties(${name} PROPERTIES PREFIX "" SUFFIX ".xop")
  target_link_libraries(${name} PRIVATE Tavrel::support)
  if(generated)
    target_include_directories(${name} PRIVATE "${generated}")
  endif()
  # main keeps the name and signature the host calls it by.
  target_compile_options(${name} PRIVATE $<$<COMPILE_LANGUAGE:C>:-Wno-main>)
  # Stripped unless built for debugging: lean, and free of build paths; no
  # link time in the headers, so the same sources give the same bytes.
  target_link_options(${name} PRIVATE -static -static-libgcc
    -static-libstdc++ -Wl,--exclude-all-symbols -Wl,--no-insert-timestamp
    $<$<NOT:$<CONFIG:Debug,RelWithDebInfo>>:-s>)
  tavrel_check_extension(${name})
endfunction()

# A CTest test that runs the simulator with the module of target XOP and
# ARGS (through the tool chain's emulator), and passes when it exits with
# EXIT (default 0) and its output, stdout and stderr, holds every EXPECT text.
function(tavrel_add_simulator_test test)
  cmake_parse_arguments(PARSE_ARGV 1 T "" "XOP;EXIT" "ARGS;EXPECT")
  if(NOT DEFINED T_EXIT)
    set(T_EXIT 0)
  endif()
  set(expect)
  foreach(text IN LISTS T_EXPECT)
    list(APPEND expect EXPECT "${text}")
  endforeach()
  add_test(NAME ${test} COMMAND ${CMAKE_COMMAND}
    -P "${TAVREL_KIT_DIR}/TavrelKitRunSimulator.cmake" --
    EXIT ${T_EXIT} ${expect} RUN ${CMAKE_CROSSCOMPILING_EMULATOR}
    "${TAVREL_IGOR_EXE}" --xop $<TARGET_FILE:${T_XOP}> ${T_ARGS})
endfunction()
