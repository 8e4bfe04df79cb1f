#!/usr/bin/env bash
# Checks Windows plug-in libraries from outside, with the cross toolchain's objdump: each is a 32-bit
# (or 64-bit) PE DLL whose export table names exactly the two entry points, with C++ linkage on MObject,
# and MApiVersion.
# usage: check_dll_exports.sh <objdump> <library>...
set -euo pipefail
objdump=$1
shift
expected=$'MApiVersion\n_Z16initializePlugin7MObject\n_Z18uninitializePlugin7MObject'
status=0
for library in "$@"; do
  header=$("$objdump" -p "$library")
  if ! grep -Eq "file format pei-(i386|x86-64)" <<<"$header" || ! grep -q "^DllCharacteristics" <<<"$header"; then
    echo "$library: not a PE library"
    status=1
    continue
  fi
  # The names listed under "[Ordinal/Name Pointer] Table", up to the blank line that ends it.
  exports=$(awk '/^\[Ordinal\/Name Pointer\] Table/ {on = 1; next} on && NF == 0 {on = 0} on {print $NF}' <<<"$header" | sort)
  if [ "$exports" != "$expected" ]; then
    echo "$library exports:"
    echo "${exports:-(nothing)}"
    echo "expected:"
    echo "$expected"
    status=1
  else
    echo "$library: exports $(tr '\n' ' ' <<<"$exports")"
  fi
done
exit $status
