#!/usr/bin/env bash
# Unpacks both release archives and checks them: their file lists, that the
# user archive's module is the stripped build byte for byte with its
# resources intact, that its checksum line holds, and that nothing shipped
# names the kit's top like a host file or carries a path of this machine.
# Usage: packages_test.sh ROOT BUILD NATIVE_BUILD
set -uo pipefail
root=$1 build=$2 native=$3
packages=$root/dist/packages
source "$root/scripts/tests/checks.sh"

listing() { (cd "$1" && find . -type f | sed 's|^\./||' | LC_ALL=C sort); }

user_zip=$(cd "$packages" && ls Tavrel-*-win32.zip)
kit_zip=$(cd "$packages" && ls TavrelKit-*-win32.zip)
mkdir "$work/user" "$work/kit"
(cd "$work/user" && cmake -E tar xf "$packages/$user_zip") || fail "cannot unpack $user_zip"
(cd "$work/kit" && cmake -E tar xf "$packages/$kit_zip") || fail "cannot unpack $kit_zip"

# The user archive: the module, the guide and the license, nothing else.
expected=$'Tavrel-Guide.txt\nTavrel-License.txt\nTavrel.xop'
[ "$(listing "$work/user")" = "$expected" ] ||
  fail "user archive holds: $(listing "$work/user" | tr '\n' ' ')"
cmp -s "$work/user/Tavrel.xop" "$build/bin/Tavrel.xop" ||
  fail "the archive's module is not the build's"
i686-w64-mingw32-objdump -h "$work/user/Tavrel.xop" | grep -q '\.debug' &&
  fail "the module carries debugging sections"
[ -z "$(i686-w64-mingw32-nm "$work/user/Tavrel.xop" 2>/dev/null)" ] ||
  fail "the module carries a symbol table"
run=$(TAVREL_MODULE=$work/user/Tavrel.xop "$native/core/core_tests" \
  --gtest_filter='ModuleFileTest.*' 2>&1)
grep -q '\[  PASSED  \]' <<<"$run" && ! grep -q 'SKIPPED\|FAILED' <<<"$run" ||
  fail "the archive's module fails the module file checks:"$'\n'"$run"
cp "$packages/SHA256SUMS" "$work/user/"
(cd "$work/user" && sha256sum -c --ignore-missing --quiet SHA256SUMS) ||
  fail "SHA256SUMS does not match the module"
(cd "$packages" && sha256sum -c --ignore-missing --quiet SHA256SUMS) ||
  fail "SHA256SUMS does not match the archives"

# The kit archive: one folder holding exactly a fresh install prefix.
kit=$(ls "$work/kit")
cmake --install "$build" --prefix "$work/prefix" >/dev/null
[ "$(listing "$work/kit/$kit")" = "$(listing "$work/prefix")" ] ||
  fail "the kit archive differs from an install prefix"
for name in Igor.exe inpout32.dll; do
  find "$work/kit/$kit" -maxdepth 1 -iname "$name" | grep -q . &&
    fail "the kit's top holds $name"
  [ -f "$work/kit/$kit/simulator/$name" ] || fail "simulator/ lacks $name"
done
grep -q 'Nothing in this folder belongs in a real host' \
  "$work/kit/$kit/simulator/README.txt" || fail "simulator/ has no warning"

# No path of this machine in anything shipped, nor in a module built from
# the kit.
leaks=$(grep -rlaF "$root" "$work/user" "$work/kit" \
  "$root"/build-example/*/*.xop 2>/dev/null)
[ -z "$leaks" ] || fail "build paths in: $leaks"

report "release archives"
