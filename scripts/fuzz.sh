#!/usr/bin/env bash
# Builds the fuzz preset and runs every fuzz target for a bounded time over a copy of its seed
# corpus. A finding stops the run with a non-zero status and leaves the input in build/fuzz/trouvailles/.
# BANC_FUZZ_SECONDES sets the time per target (60 by default).
set -euo pipefail
cd "$(dirname "$0")/.."

secondes=${BANC_FUZZ_SECONDES:-60}
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

trouvailles=build/fuzz/trouvailles
mkdir -p "$trouvailles"
for cible in build/fuzz/bin/fuzz_*; do
    nom=$(basename "$cible")
    travail=$(mktemp -d)
    cp -r "fuzz/corpus/$nom/." "$travail/" 2>/dev/null || true
    echo "== $nom (${secondes}s)"
    status=0
    "$cible" -max_total_time="$secondes" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$trouvailles/$nom-" -print_final_stats=1 "$travail" >"$trouvailles/$nom.log" 2>&1 || status=$?
    grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)' "$trouvailles/$nom.log" || true
    rm -rf "$travail"
    if [ "$status" -ne 0 ]; then
        tail -n 40 "$trouvailles/$nom.log" >&2
        echo "$nom : défaut trouvé, entrée gardée dans $trouvailles" >&2
        exit 1
    fi
done
