# The module check after every link: tavrel-check reads the new module as
# the host will (resources XOPF, STR# and XOPI 1100 under their exact type
# names, main as the only export, imports only from Windows and the host),
# and a module that fails it fails the build, naming the problem. The
# checker is a program of the build machine, so it runs where 32-bit code
# cannot.
if(NOT DEFINED TAVREL_CHECK_EXE)
  set(TAVREL_CHECK_EXE "${CMAKE_CURRENT_LIST_DIR}/tavrel-check")
endif()

# Checks target NAME's module after each of its links.
function(tavrel_check_extension name)
  add_custom_command(TARGET ${name} POST_BUILD
    COMMAND "${TAVREL_CHECK_EXE}" "$<TARGET_FILE:${name}>"
    COMMENT "Checking $<TARGET_FILE_NAME:${name}> as the host will read it"
    VERBATIM)
  if(TARGET tavrel_check)
    add_dependencies(${name} tavrel_check)
  endif()
endfunction()
