#!/bin/sh
# Checks that druvo.dll exports exactly what the Linux library exports: the
# DLL's export table (objdump -p) against the shared object's dynamic
# symbols (nm -D), both demangled, with "long long" read as "long" (64-bit
# integers such as int64_t and size_t are long on Linux, long long on
# 64-bit Windows). Compared are the library's own names
# (druvo::..., and the vtables, typeinfo and thunks of its classes); the
# template instantiations, local statics and typeinfo names that ELF exports
# as a side effect are not part of the interface. A class marked for export
# (class DRUVO_API in a header under SOURCE_DIR/druvo) may have its vtable
# and typeinfo exported only by the DLL: dllexport emits them even where the
# library itself never uses them.
# Usage: check-dll-exports.sh DLL LINUX_LIBRARY OBJDUMP NM CXXFILT SOURCE_DIR
set -eu
dll=$1 reference=$2 objdump=$3 nm=$4 cxxfilt=$5 source=$6
[ -f "$reference" ] || { echo "no Linux library at $reference: build it first (make build)" >&2; exit 1; }
work=$(mktemp -d "${TMPDIR:-/tmp}/dll-exports.XXXXXX")
trap 'rm -rf "$work"' EXIT

interface() {
  "$cxxfilt" |
    grep -E '^(druvo::|(vtable|typeinfo|VTT) for druvo::|(non-)?virtual thunk to druvo::)' |
    grep -vE '^druvo::.*\)( const)?::[A-Za-z_]' |
    sed -E 's/long long/long/g' | LC_ALL=C sort -u
}

"$objdump" -p "$dll" |
  sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/s/^[[:space:]]*\[ *[0-9]*\] //p' |
  interface >"$work/dll"
"$nm" -D --defined-only "$reference" | awk '{print $NF}' | interface >"$work/so"
[ -s "$work/dll" ] || { echo "$dll exports none of the library's names" >&2; exit 1; }

status=0
LC_ALL=C comm -23 "$work/so" "$work/dll" >"$work/missing"
LC_ALL=C comm -13 "$work/so" "$work/dll" >"$work/extra"
while IFS= read -r name; do
  echo "not exported by the DLL: $name" >&2
  status=1
done <"$work/missing"
while IFS= read -r name; do
  case $name in
    "vtable for "* | "typeinfo for "*)
      class=${name#* for druvo::}
      grep -rqE "(class|struct) DRUVO_API $class( |$)" "$source/druvo" --include='*.h' &&
        continue ;;
  esac
  echo "exported only by the DLL: $name" >&2
  status=1
done <"$work/extra"
[ $status -eq 0 ] && echo "druvo.dll exports the same $(wc -l <"$work/so") names as $reference"
exit $status
