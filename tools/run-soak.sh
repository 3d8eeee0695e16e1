#!/usr/bin/env bash
# make soak: the long form of every reliability script in tests/soak (QUORELLE_SOAK=1). Each
# script prints its own figures and exits non-zero on a failure; this prints how each ended.
# tools/run-soak.sh NAME... runs only the scripts named (soak_random_input ...).
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"
quorelle_wine_session
export QUORELLE_SOAK=1
results=()
status=0
scripts=(tests/soak/*.sh)
if [ $# -gt 0 ]; then
    scripts=()
    for name in "$@"; do scripts+=("tests/soak/$name.sh"); done
fi
for s in "${scripts[@]}"; do
    name=$(basename "$s" .sh)
    echo "== $name"
    begin=$(date +%s)
    if "$s"; then result=passed; else result=FAILED; status=1; fi
    results+=("$name: $result in $(($(date +%s) - begin)) s")
done
echo "== soak summary"
printf '%s\n' "${results[@]}"
exit $status
