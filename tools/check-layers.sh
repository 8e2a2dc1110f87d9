#!/usr/bin/env bash
# Fails when an include runs against the layering: the framework below
# everything, the core (every module but the window layer, ui and app)
# without Qt.
set -euo pipefail
cd "$(dirname "$0")/../src"
status=0
report() { echo "layering: $1"; status=1; }

while IFS= read -r line; do report "$line"; done < <(
  grep -rnE '#include "(document|analysis|fileformats|playback|devices|samplers|ui|app)/' framework \
    --include='*.h' --include='*.cpp' | grep -v '^framework/window/' || true)
while IFS= read -r line; do report "$line"; done < <(
  grep -rnE '#include <Q|#include "(ui|app|framework/window)/' framework document analysis fileformats playback \
    devices samplers --include='*.h' --include='*.cpp' 2>/dev/null | grep -v '^framework/window/' || true)
exit $status
