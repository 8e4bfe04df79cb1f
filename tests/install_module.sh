#!/usr/bin/env bash
# Installs a build into a new prefix and checks the Maya module it lays out: the module file's section for
# the build's platform (kept beside the other platforms' sections, written once however often the build
# is installed), the plug-in libraries in the platform's folder, and, where the host runs, that the host
# installed as its own component (bin/, lib/) loads both plug-ins by name through MAYA_MODULE_PATH, and
# fails clearly without it.
# usage: install_module.sh <cmake> <build dir> <platform> <plug-in extension> [run]
set -euo pipefail
cmake=$1 build=$2 platform=$3 extension=$4 run=${5:-}
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

# Another platform's section, installed earlier from another build.
printf '+ PLATFORM:otheros vexmora 1.0 ./vexmora\nplug-ins: plug-ins/otheros\n' >"$prefix/vexmora.mod"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
expected="+ PLATFORM:$platform vexmora 1.0 ./vexmora
plug-ins: plug-ins/$platform"
other=$'+ PLATFORM:otheros vexmora 1.0 ./vexmora\nplug-ins: plug-ins/otheros'
if [[ "$platform" < otheros ]]; then want="$expected"$'\n'"$other"; else want="$other"$'\n'"$expected"; fi
[ "$(cat "$prefix/vexmora.mod")" = "$want" ] || { cat "$prefix/vexmora.mod"; fail "module file"; }
for plugin in vexmoraDynamics vexmoraAnimation; do
  [ -f "$prefix/vexmora/plug-ins/$platform/$plugin$extension" ] || fail "no $plugin$extension in plug-ins/$platform"
done
extra=$(cd "$prefix" && find . -type f | grep -v "^./vexmora.mod$" | grep -v "^./vexmora/plug-ins/$platform/vexmora\(Dynamics\|Animation\)$extension$" || true)
[ -z "$extra" ] || fail "unexpected files installed: $extra"
[ -n "$run" ] || { echo "module laid out for $platform"; exit 0; }

"$cmake" --install "$build" --component host --prefix "$prefix" >/dev/null
host="$prefix/bin/mayahost-run"
[ -x "$host" ] || fail "the host component installed no bin/mayahost-run"

scene="$prefix/scene.mel"
cat >"$scene" <<'MEL'
loadPlugin vexmoraDynamics;
loadPlugin vexmoraAnimation;
createNode curveField -n field;
polySphere -r 2 -n ball;
print `closestPointOnMesh -p 5 0 0 -m ballShape`;
MEL
cd "$prefix"
output=$(env -u MAYA_PLUG_IN_PATH MAYA_MODULE_PATH="$prefix" "$host" --batch "$scene" 2>&1) ||
  fail "scene with MAYA_MODULE_PATH=$prefix: $output"
# The installed host finds its own MEL scripts beside its library.
if grep -q "MEL scripts were not found" <<<"$output"; then fail "installed host without its scripts: $output"; fi
if output=$(env -u MAYA_PLUG_IN_PATH -u MAYA_MODULE_PATH "$host" --batch "$scene" 2>&1); then
  fail "scene loaded the plug-ins without MAYA_MODULE_PATH"
fi
grep -q 'plug-in "vexmoraDynamics" was found neither on MAYA_PLUG_IN_PATH nor in the modules on MAYA_MODULE_PATH' \
  <<<"$output" || fail "error without MAYA_MODULE_PATH: $output"
echo "module laid out for $platform; the host loads both plug-ins from it by name"
