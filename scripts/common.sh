# Shared by the scripts: paths, and whether this machine can run the 32-bit
# Windows build under Wine.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build}
native_build=${NATIVE_BUILD_DIR:-$root/build-native}
ubsan_build=${UBSAN_BUILD_DIR:-$root/build-native-ubsan}
fuzz_build=${FUZZ_BUILD_DIR:-$root/build-fuzz}
m32_build=${M32_BUILD_DIR:-$root/build-m32-sanitized}
example_build=${EXAMPLE_BUILD_DIR:-$root/build-example}
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

# Wine runs 32-bit Windows code in 32-bit Linux processes; kernels booted
# without 32-bit emulation cannot start them.
# TAVREL_FORCE_VM=1 takes the virtual machine's path on a machine that could
# run Wine itself, so that both paths can be tried on one machine.
can_run_win32() {
  { [ -n "${VM_GUEST:-}" ] || [ -z "${TAVREL_FORCE_VM:-}" ]; } &&
    wine --version >/dev/null 2>&1
}

# run_win32 COMMAND...: runs a command that executes 32-bit code, here when
# this machine can, else in a virtual machine (scripts/vm-run). A virtual
# machine that cannot start is a failure (status 125), never a skip.
run_win32() {
  if can_run_win32; then
    "$@"
  else
    echo "(this kernel refuses 32-bit code: running in a virtual machine," \
      "see scripts/vm-run)"
    if [ "$(basename "$1")" = win32-session ]; then
      wine_template_ready || return 125
    fi
    "$root/scripts/vm-run" "$@"
  fi
}

# Where win32-session keeps the Wine prefix template it copies for each
# clone, unless WINE_TEMPLATE says otherwise.
default_wine_template=$HOME/.cache/tavrel-wine-template

# A lock taken inside a virtual machine binds no other one (their shared
# file system grants every lock), so two runs side by side would both make
# the template there, each over the other's. It is made first, in a virtual
# machine of its own, under a lock taken on this machine.
wine_template_ready() {
  local template=${WINE_TEMPLATE:-$default_wine_template}
  mkdir -p "$(dirname "$template")"
  (
    flock 9 || exit 1
    [ -f "$template/.tavrel-ready" ] ||
      "$root/scripts/vm-run" "$root/scripts/win32-session" template
  ) 9>"$template.lock"
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

# The portable suites as 32-bit Linux programs (clang -m32) under the address
# and undefined-behaviour sanitizers. Built here; they run where 32-bit code
# runs (run_win32).
build_m32_sanitized() {
  "$root/scripts/setup"
  CC=clang CXX=clang++ cmake -S "$root" -B "$m32_build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_M32_SANITIZE=ON \
    -DTAVREL_WINDOWS_BUILD="$build" >/dev/null
  cmake --build "$m32_build"
}

# The example extension (examples/wavesum) built from a fresh install of the
# kit and nothing else, which proves the kit works from outside this tree,
# and a project just written by the kit's new-extension command, built as
# written. Built here; their tests run where 32-bit code runs (win32-session
# example).
build_example() {
  local kit=$example_build/kit
  local package=$example_build/kit/lib/cmake/TavrelKit
  rm -rf "$example_build"
  cmake --install "$build" --prefix "$kit" >/dev/null &&
    cmake -S "$root/examples/wavesum" -B "$example_build/wavesum" -G Ninja \
      -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$kit/lib/cmake/TavrelKit/mingw-i686.cmake" \
      >/dev/null &&
    cmake --build "$example_build/wavesum" &&
    cmake -P "$package/NewExtension.cmake" NewExt "$example_build/newext" &&
    cmake -S "$example_build/newext" -B "$example_build/newext/build" \
      -G Ninja -DCMAKE_TOOLCHAIN_FILE="$package/mingw-i686.cmake" \
      >/dev/null &&
    cmake --build "$example_build/newext/build"
}
