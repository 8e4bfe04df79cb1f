#!/usr/bin/env bash
# Runs the demo scenes with two builds of the host and plug-ins (e.g. 64-bit and 32-bit) and checks that
# they print and write the same bytes: the tables, the written particle file and the pictures.
# usage: compare_demo.sh <source dir> <build dir> <reference build dir>
set -euo pipefail
source_dir=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for side in build reference; do
  build=$2
  [ "$side" = reference ] && build=$3
  if [ ! -x "$build/host/mayahost-run" ]; then
    echo "no host executable in $build" >&2
    exit 1
  fi
  mkdir "$work/$side"
  # The scenes load the plug-ins by name, from the plug-in path.
  for scene in demo deformer animation; do
    (cd "$work/$side" && MAYA_PLUG_IN_PATH="$build/dynamics:$build/animation" \
      "$build/host/mayahost-run" --batch "$source_dir/scenes/$scene.mel" >"$scene.out" 2>&1) ||
      { echo "$scene.mel failed in $build:"; cat "$work/$side/$scene.out"; exit 1; }
  done
done
files=$(cd "$work/reference" && find . -type f | sort)
[ "$files" = "$(cd "$work/build" && find . -type f | sort)" ] || { echo "the builds wrote different files"; exit 1; }
status=0
for f in $files; do
  if ! cmp -s "$work/reference/$f" "$work/build/$f"; then
    echo "differs: $f"
    case "$f" in *.png) ;; *) diff "$work/reference/$f" "$work/build/$f" | head -20 ;; esac
    status=1
  fi
done
[ $status -eq 0 ] && echo "$(echo "$files" | wc -l) files identical"
exit $status
