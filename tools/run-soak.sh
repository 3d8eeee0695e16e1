#!/usr/bin/env bash
# make soak: the long form of every reliability script in tests/soak (QUORELLE_SOAK=1). Each
# script prints its own figures and exits non-zero on a failure; this prints how each ended.
set -uo pipefail
. "$(dirname "$0")/wine-env.sh"
cd "$QUORELLE_ROOT"
quorelle_wine_session
export QUORELLE_SOAK=1
results=()
status=0
for s in tests/soak/*.sh; do
    name=$(basename "$s" .sh)
    echo "== $name"
    begin=$(date +%s)
    if "$s"; then result=passed; else result=FAILED; status=1; fi
    results+=("$name: $result in $(($(date +%s) - begin)) s")
done
echo "== soak summary"
printf '%s\n' "${results[@]}"
exit $status
