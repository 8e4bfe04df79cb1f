#!/usr/bin/env bash
# Builds the host and the plug-ins and runs the demo scene in the host.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/release -j"$(nproc)"
cd build/release
# The scenes load the plug-ins by name, from the plug-in path.
export MAYA_PLUG_IN_PATH="$PWD/dynamics:$PWD/animation"
./host/mayahost-run --batch "$OLDPWD/scenes/demo.mel"
./host/mayahost-run --batch "$OLDPWD/scenes/deformer.mel"
echo "pictures of the swarm: build/release/pictures/swarm.0001.png ... swarm.0048.png"
echo
echo "== the animation plug-in"
./host/mayahost-run --batch "$OLDPWD/scenes/animation.mel"
