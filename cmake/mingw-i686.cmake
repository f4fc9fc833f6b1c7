# Cross tool chain: 32-bit Windows through mingw-w64 (posix thread model, which
# GoogleTest needs for std::mutex). Executables run under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_DLLTOOL i686-w64-mingw32-dlltool)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Windows executables run under Wine, through a quiet wrapper.
if(EXISTS ${CMAKE_CURRENT_LIST_DIR}/TavrelKitConfig.cmake)
  # Inside an installed kit: this file alone is enough to find the kit.
  get_filename_component(_tavrel_kit_prefix ${CMAKE_CURRENT_LIST_DIR}/../../..
    ABSOLUTE)
  list(APPEND CMAKE_PREFIX_PATH ${_tavrel_kit_prefix})
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run)
else()
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
endif()
