# Simulator tests run Igor.exe, a Windows program. Without a way to run one,
# a test could "pass" on a file that never started, so configure stops.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  message(FATAL_ERROR "TavrelKit: this build has no way to run Windows "
    "programs (CMAKE_CROSSCOMPILING_EMULATOR is not set), so simulator tests "
    "could not run. Configure with the kit's tool chain file, which runs them "
    "through Wine:\n  -DCMAKE_TOOLCHAIN_FILE=${TAVREL_TOOLCHAIN_FILE}\nor set "
    "CMAKE_CROSSCOMPILING_EMULATOR to a command that runs Windows programs.")
endif()

list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 _tavrel_emulator)
get_filename_component(_tavrel_emulator_name "${_tavrel_emulator}" NAME)
if(_tavrel_emulator_name STREQUAL "wine-run")
  find_program(TAVREL_WINE wine)
  if(NOT TAVREL_WINE)
    message(FATAL_ERROR "TavrelKit: simulator tests run under Wine, which is "
      "not installed. On Debian, as root:\n  dpkg --add-architecture i386 && "
      "apt-get update && apt-get install wine wine32:i386")
  endif()
  execute_process(COMMAND "${TAVREL_WINE}" --version RESULT_VARIABLE _tavrel_wine_status
    OUTPUT_QUIET ERROR_QUIET)
  if(NOT _tavrel_wine_status EQUAL 0)
    message(WARNING "TavrelKit: Wine cannot start here (this kernel refuses "
      "32-bit code). Building works; run the tests in a virtual machine:\n"
      "  ${CMAKE_CURRENT_LIST_DIR}/vm-run ctest --test-dir ${CMAKE_BINARY_DIR}")
  endif()
endif()
