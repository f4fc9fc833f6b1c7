#!/usr/bin/env bash
# The module must start and convert on a processor with SSE2 only. Wider
# instructions (VEX or EVEX encoded: AVX and later) may appear only in the
# functions of the AVX2 and AVX-512 variants, which run after the processor
# and the system have been asked; a helper compiled for them elsewhere, or
# one of their copies of a shared inline function chosen by the linker,
# would end the host on an older processor.
# Usage: sse2_only_test.sh LIBRARY...   (the Windows build's static library)
set -euo pipefail
status=0
for library in "$@"; do
  [ -s "$library" ] || { echo "no library at $library"; exit 1; }
  found=$(i686-w64-mingw32-objdump -d --no-show-raw-insn "$library" | awk '
    /^[0-9a-f]+ <.*>:$/ { function_name = $2; next }
    /^ *[0-9a-f]+:\t/ {
      split($0, parts, "\t"); split(parts[2], words, " ")
      wide = words[1] ~ /^v/ || parts[2] ~ /%[yz]mm|%k[0-7]/
      if (wide && function_name !~ /avx2|avx512/) print function_name
    }' | sort -u)
  if [ -n "$found" ]; then
    echo "$library: instructions beyond SSE2 outside the wider variants, in:"
    echo "$found"
    status=1
  fi
done
[ $status -eq 0 ] && echo "only the AVX2 and AVX-512 variants use wider instructions"
exit $status
