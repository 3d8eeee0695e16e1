#!/usr/bin/env bash
# The layers of src/, lowest first: base < settings, device, controls < pages < app. A file
# includes headers of its own layer and of layers below it, never of a layer above it or beside
# it. A new directory under src/ must be given its place here.
set -euo pipefail
src=${1:-$(dirname "$0")/../src}
declare -A rank=([base]=0 [settings]=1 [device]=1 [controls]=1 [pages]=2 [app]=3)
bad=0
for dir in "$src"/*/; do
    layer=$(basename "$dir")
    [[ -v rank[$layer] ]] || { echo "src/$layer: not a known layer (give it a place in $0)"; bad=1; }
done
checked=0
while IFS= read -r hit; do
    file=${hit%%:*}
    rest=${hit#*:}
    line=${rest%%:*}
    header=$(sed -E 's/^[^"]*"([^"]*)".*$/\1/' <<<"${rest#*:}")
    rel=${file#"$src"/}
    layer=${rel%%/*}
    [[ -v rank[$layer] ]] || continue
    checked=$((checked + 1))
    where="src/$rel:$line: \"$header\""
    if [[ $header == *..* ]]; then
        echo "$where: include by its layer's name, not by a relative path"
        bad=1
        continue
    fi
    [[ $header == */* ]] || continue  # beside the file, or outside src/ (resource.h)
    target=${header%%/*}
    [[ -v rank[$target] ]] || continue
    if [[ $target != "$layer" ]] && ((rank[$target] >= rank[$layer])); then
        echo "$where: $layer may not include $target"
        bad=1
    fi
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$src" --include='*.h' --include='*.cpp')
((checked > 0)) || { echo "no includes found under $src"; exit 1; }
((bad)) || echo "ok: $checked includes of src/ follow the layers"
exit $bad
