# Shared by the scripts: paths, and whether this machine can run the 32-bit
# Windows build under Wine.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
native_build=${NATIVE_BUILD_DIR:-$root/build-native}
ubsan_build=${UBSAN_BUILD_DIR:-$root/build-native-ubsan}
fuzz_build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Wine runs 32-bit Windows code in 32-bit Linux processes; kernels booted
# without 32-bit emulation cannot start them.
can_run_win32() {
  wine --version >/dev/null 2>&1
}

explain_no_win32() {
  echo "NOTE: this machine cannot execute 32-bit code (the kernel's 32-bit"
  echo "emulation is disabled), so Wine cannot run the Windows build here."
}

# build_native DIR [CMAKE OPTIONS...]
build_native() {
  local dir=$1
  shift
  "$root/scripts/setup"
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTAVREL_WINDOWS_BUILD="$build" "$@" >/dev/null
  cmake --build "$dir"
}
