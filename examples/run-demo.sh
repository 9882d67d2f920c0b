#!/usr/bin/env bash
# Builds corrsum and runs it on the bundled Henon series for embedding
# dimensions 1 to 6, answering the dialogue from examples/demo.answers.
# Each run writes its six curve files into a fresh folder under demo-out/,
# since corrsum never overwrites a file.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset release >/dev/null
cmake --build --preset release >/dev/null
mkdir -p demo-out
run=$(mktemp -d demo-out/run-XXXXXX)
echo "== dialogue (answers from examples/demo.answers) =="
(cd "$run" && ../../build/release/corrsum < ../../examples/demo.answers)
echo
echo "== curve files in $run =="
ls -l "$run"
if [ -x build/release/report/corrsum-report ]; then
  echo
  echo "== what the curves show =="
  build/release/report/corrsum-report --plot "$run/curves.svg" "$run"/c[1-6].dat
  echo "figure: $run/curves.svg"
fi
