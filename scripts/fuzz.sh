#!/usr/bin/env bash
# Builds the libFuzzer targets with clang, AddressSanitizer and UndefinedBehaviorSanitizer, and
# runs each for the given time on its corpus.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (30 seconds and every target when not given)
# The corpus grows in build-fuzz/corpus/TARGET; an input that fails is kept as
# build-fuzz/findings/TARGET-crash-... and the script exits with 1. FUZZ_JOBS=N runs N targets at
# a time.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-30}
shift || true
all_targets=(FolderTreeFileFuzz LinkFileFuzz FolderDescriptionFileFuzz FolderStateFileFuzz
    PreferencesFileFuzz LanguageFileFuzz BookmarkHtmlFuzz HotlistFuzz ShortcutFileFuzz XbelFuzz
    ChromiumBookmarksFuzz)
targets=("$@")
((${#targets[@]})) || targets=("${all_targets[@]}")

scripts/install-packages.sh clang libclang-rt-14-dev cmake ninja-build pkg-config libutf8proc-dev libcurl4-openssl-dev libsqlite3-dev libsimdjson-dev libpugixml-dev
build=$root/build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVELLORIA_FUZZ=ON >/dev/null
cmake --build "$build"

# Seeds: the committed ones, a small library made with the command-line tool, the shipped
# language files and the browser files kept beside the project.
seeds=$build/seeds
rm -rf "$seeds"
for target in "${all_targets[@]}"; do
    mkdir -p "$seeds/$target"
    cp fuzz/seeds/$target/* "$seeds/$target/"
done
library=$(mktemp -d)
trap 'rm -rf "$library"' EXIT
cli=("$build/src/velloria-cli" --home "$library")
"${cli[@]}" add-folder News --description "Daily papers" >/dev/null
"${cli[@]}" add-folder Local --in News >/dev/null
"${cli[@]}" add-link News "Ünïcode title" "https://example.com/a?b=1&c=2" --description "A description" >/dev/null
"${cli[@]}" add-link Local Other www.example.org >/dev/null
"${cli[@]}" prefs --save >/dev/null
cp "$library/RefLib/folders.wnf" "$seeds/FolderTreeFileFuzz/library"
cp "$library/RefLib/folddesc.wnf" "$seeds/FolderDescriptionFileFuzz/library"
cp "$library/RefLib/foldst.wnf" "$seeds/FolderStateFileFuzz/library"
cp "$library/RefLib/Links/News.wnl" "$seeds/LinkFileFuzz/library"
cp "$library/Tessel.cfg" "$seeds/PreferencesFileFuzz/library"
cp languages/*.lng "$seeds/LanguageFileFuzz/"
"${cli[@]}" export xbel "$seeds/XbelFuzz/library"
samples=$root/../shared/samples
if [ -d "$samples" ]; then
    cp "$samples"/netscape/* "$seeds/BookmarkHtmlFuzz/"
    cp "$samples"/opera/* "$seeds/HotlistFuzz/"
    i=0
    while IFS= read -r -d '' file; do
        cp "$file" "$seeds/ShortcutFileFuzz/sample-$((i++)).url"
    done < <(find "$samples/ie" -name '*.url' -print0)
fi

run_target() {
    local target=$1
    mkdir -p "$build/corpus/$target" "$build/findings"
    if "$build/fuzz/$target" "$build/corpus/$target" "$seeds/$target" -max_total_time="$seconds" \
        -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/findings/$target-" >"$build/$target.log" 2>&1; then
        echo "$target: $(grep -m1 'stat::number_of_executed_units' "$build/$target.log" | awk '{print $2}') runs in ${seconds} s, no failure"
    else
        echo "$target: FAILED (see $build/$target.log)"
        tail -n 30 "$build/$target.log"
        return 1
    fi
}

jobs=${FUZZ_JOBS:-1}
status=0
pids=()
for target in "${targets[@]}"; do
    run_target "$target" &
    pids+=($!)
    if ((${#pids[@]} >= jobs)); then
        wait "${pids[0]}" || status=1
        pids=("${pids[@]:1}")
    fi
done
for pid in "${pids[@]}"; do wait "$pid" || status=1; done
exit $status
