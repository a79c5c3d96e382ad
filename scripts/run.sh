#!/usr/bin/env bash
# The main job: install what is needed, build, and run the reader's headless demo, which
# loads the plug-in, stamps the sample contract and saves it to build/demo/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
bash scripts/build.sh build -DSTAMPANNOT_TESTS=OFF
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
build/bin/minireader --list-registrations
build/bin/minireader --demo build/demo
