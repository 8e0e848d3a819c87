#!/usr/bin/env bash
# Puts deliberate faults into the program one at a time and tells for each whether the test
# suite notices it. The faults are listed in scripts/mutants.txt. For each: the text is replaced
# (exactly one occurrence, or the fault "does not apply"), the build is brought up to date, the
# suite runs until its first failure, and the file gets its bytes back, also when the run is
# interrupted. The result is a Markdown table on standard output; the progress goes to standard
# error.
#
# Usage: scripts/mutants.sh [--only ID[,ID...]] [--build-dir DIR] [--list] [--help]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
table_file=${MUTANTS_TABLE:-$root/scripts/mutants.txt}
build_dir=${MUTANTS_BUILD_DIR:-$root/build-mutants}
jobs=${MUTANTS_JOBS:-$(nproc)}
test_timeout=${MUTANTS_TEST_TIMEOUT:-300}
slow_seconds=${MUTANTS_SLOW_SECONDS:-20}
# The layering probes compile a single include each; no change of a source file touches them.
exclude=${MUTANTS_EXCLUDE:-^Layering\.}
only=""
list=false

usage() {
    cat <<EOF
Usage: scripts/mutants.sh [OPTIONS]

Applies each deliberate fault of scripts/mutants.txt to its file under src/, rebuilds, runs the
tests and restores the file; prints a Markdown table of which faults the tests caught.

Options:
  --only ID[,ID...]   run only these faults
  --build-dir DIR     the build directory (default build-mutants, or \$MUTANTS_BUILD_DIR)
  --list              list the faults and stop
  --help              show this text

Environment:
  MUTANTS_TABLE          another table of faults
  MUTANTS_JOBS           parallel build and test jobs (default: nproc)
  MUTANTS_TEST_TIMEOUT   seconds per test (default 300)
  MUTANTS_EXCLUDE        ctest -E pattern of tests not run (default "^Layering\\.")
  MUTANTS_SLOW_SECONDS   tests that take this long on the unchanged program run only after all
                         others passed (default 20)

The exit status is 0 when the run completed, whatever the faults' results; it is non-zero when
the suite fails without any fault or the script cannot do its work.
EOF
}

die() {
    echo "mutants.sh: $*" >&2
    exit 2
}

while [[ $# -gt 0 ]]; do
    case $1 in
    --only) [[ $# -ge 2 ]] || die "--only needs a list of ids"; only=$2; shift 2 ;;
    --only=*) only=${1#--only=}; shift ;;
    --build-dir) [[ $# -ge 2 ]] || die "--build-dir needs a directory"; build_dir=$2; shift 2 ;;
    --build-dir=*) build_dir=${1#--build-dir=}; shift ;;
    --list) list=true; shift ;;
    -h | --help) usage; exit 0 ;;
    *) die "unknown argument $1 (see --help)" ;;
    esac
done
[[ $build_dir = /* ]] || build_dir=$PWD/$build_dir

# ---- The table of faults ----

ids=() faults=() files=() froms=() tos=()

read_table() {
    local line id="" fault="" file="" from="" to="" have_from=false have_to=false number=0
    finish_record() {
        if [[ -z $id && -z $fault && -z $file && $have_from = false && $have_to = false ]]; then
            return
        fi
        [[ -n $id && -n $fault && -n $file && $have_from = true && $have_to = true ]] \
            || die "$table_file: incomplete record before line $number (id \"$id\")"
        [[ -n $from ]] || die "$table_file: the fault $id has an empty original text"
        local known
        for known in "${ids[@]}"; do
            [[ $known != "$id" ]] || die "$table_file: the id $id is used twice"
        done
        ids+=("$id") faults+=("$fault") files+=("$file") froms+=("$from") tos+=("$to")
        id="" fault="" file="" from="" to="" have_from=false have_to=false
    }
    while IFS= read -r line || [[ -n $line ]]; do
        number=$((number + 1))
        case $line in
        '#'*) ;;
        '') finish_record ;;
        'id: '*) id=${line#id: } ;;
        'fault: '*) fault=${line#fault: } ;;
        'file: '*) file=${line#file: } ;;
        'from: '*) from=${line#from: }; have_from=true ;;
        'to: '* | 'to:') to=${line#to:}; to=${to# }; have_to=true ;;
        *) die "$table_file:$number: cannot read \"$line\"" ;;
        esac
    done <"$table_file"
    finish_record
}

[[ -f $table_file ]] || die "no table of faults at $table_file"
read_table
[[ ${#ids[@]} -gt 0 ]] || die "$table_file lists no faults"

if $list; then
    for i in "${!ids[@]}"; do
        printf '%-20s %-42s %s\n' "${ids[$i]}" "${files[$i]}" "${faults[$i]}"
    done
    exit 0
fi

selected=()
if [[ -n $only ]]; then
    IFS=',' read -r -a wanted <<<"$only"
    for want in "${wanted[@]}"; do
        found=""
        for i in "${!ids[@]}"; do
            [[ ${ids[$i]} != "$want" ]] || found=$i
        done
        [[ -n $found ]] || die "no fault with the id $want (see --list)"
        selected+=("$found")
    done
else
    selected=("${!ids[@]}")
fi

# ---- Applying and restoring ----

work=$(mktemp -d)
mutated_file=""  # the file that holds a fault now, if any

restore() {
    if [[ -n $mutated_file ]]; then
        # A plain copy, so that the file is newer than the objects built from the fault and the
        # next build compiles it again.
        cat "$work/original" >"$mutated_file"
        mutated_file=""
    fi
}

cleanup() {
    restore
    rm -rf "$work"
}
trap cleanup EXIT
trap 'echo "mutants.sh: interrupted; the files are restored" >&2; exit 130' INT TERM

# Replaces the one occurrence of $MUTANT_FROM in the file by $MUTANT_TO. Exit status 3 when the
# text does not occur exactly once (the file is then left alone).
apply_replacement() {
    perl -e '
        my ($path) = @ARGV;
        my ($from, $to) = ($ENV{MUTANT_FROM}, $ENV{MUTANT_TO});
        open(my $in, "<:raw", $path) or die "cannot read $path: $!\n";
        my $text = do { local $/; <$in> };
        close($in);
        my ($count, $at) = (0, -1);
        for (my $i = index($text, $from); $i >= 0; $i = index($text, $from, $i + 1)) {
            $count++;
            $at = $i;
        }
        exit 3 if $count != 1;
        substr($text, $at, length($from)) = $to;
        open(my $out, ">:raw", $path) or die "cannot write $path: $!\n";
        print $out $text or die "cannot write $path: $!\n";
        close($out) or die "cannot write $path: $!\n";
    ' "$1"
}

# ---- Building and testing ----

export QT_QPA_PLATFORM=offscreen
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$root}

configure() {
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    fi
    cmake -S "$root" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELLORIA_BUILD_TESTS=ON \
        "${launcher[@]}" >"$work/configure.log" 2>&1
}

build() {
    cmake --build "$build_dir" -j "$jobs" >"$work/build.log" 2>&1
}

# Runs ctest with the given selection; on a failure, prints the name of the first test that
# failed.
run_ctest() {
    if ctest --test-dir "$build_dir" -j "$jobs" --stop-on-failure --timeout "$test_timeout" "$@" \
        >"$work/ctest.log" 2>&1; then
        return 0
    fi
    # Skipped tests and those stopped by --stop-on-failure are marked "***" too; only a failure,
    # a timeout or a crash names the test that caught the fault.
    sed -nE 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: ([^ ]+) .*\*\*\*(Failed|Timeout|Exception).*/\1/p' \
        "$work/ctest.log" | head -n 1
    return 1
}

# The slow tests run last, and only when every quick one passed: most faults are caught by a
# quick test, and a fault caught does not wait for the slow ones.
slow=""
run_tests() {
    if [[ -z $slow ]]; then
        run_ctest -E "$exclude"
    else
        run_ctest -E "$exclude|$slow" && run_ctest -E "$exclude" -R "$slow"
    fi
}

# The tests that took at least $slow_seconds in the run of the unchanged program, as a ctest
# pattern of their exact names.
slow_tests_of() {
    awk -v least="$slow_seconds" '
        / Test +#[0-9]+: / && / Passed / && $(NF - 1) + 0 >= least {
            for (i = 1; i <= NF; ++i)
                if ($i ~ /^#[0-9]+:$/) { name = $(i + 1); break }
            gsub(/[][.^$*+?(){}|\\]/, "\\\\&", name)
            names = names (names == "" ? "" : "|") name
        }
        END { if (names != "") print "^(" names ")$" }
    ' "$1"
}

started=$SECONDS
echo "Configuring and building the unchanged program in $build_dir ..." >&2
configure || { cat "$work/configure.log" >&2; die "configuring failed"; }
build || { tail -n 40 "$work/build.log" >&2; die "the unchanged program does not build"; }
echo "Running the suite on the unchanged program ..." >&2
if ! first=$(run_tests); then
    tail -n 40 "$work/ctest.log" >&2
    die "the suite fails without any fault${first:+ (first: $first)}; fix that first"
fi
echo "The unchanged suite passes ($((SECONDS - started)) s)." >&2
slow=$(slow_tests_of "$work/ctest.log")
[[ -z $slow ]] || echo "Slow tests, run after the others: $slow" >&2

results=()
caught=0
total=0
for i in "${selected[@]}"; do
    id=${ids[$i]} path=$root/${files[$i]}
    total=$((total + 1))
    echo "[$total/${#selected[@]}] $id: ${faults[$i]}" >&2
    mutant_started=$SECONDS
    if [[ ! -f $path ]]; then
        results[i]="does not apply (no such file)"
        echo "    does not apply: no file ${files[$i]}" >&2
        continue
    fi
    cp "$path" "$work/original"
    mutated_file=$path
    status=0
    MUTANT_FROM=${froms[$i]} MUTANT_TO=${tos[$i]} apply_replacement "$path" || status=$?
    if [[ $status -eq 3 ]]; then
        mutated_file="" # untouched
        results[i]="does not apply"
        echo "    does not apply: the original text is not found exactly once" >&2
        continue
    elif [[ $status -ne 0 ]]; then
        die "cannot change ${files[$i]}"
    fi
    if ! build; then
        results[i]="does not build"
        echo "    does not build:" >&2
        grep -m 3 -E 'error' "$work/build.log" | sed 's/^/      /' >&2 || true
        restore
        continue
    fi
    if first=$(run_tests); then
        results[i]="MISSED"
    else
        caught=$((caught + 1))
        results[i]="caught${first:+ ($first)}"
    fi
    restore
    echo "    ${results[$i]} ($((SECONDS - mutant_started)) s)" >&2
done

# The build directory is brought back to the unchanged program, so that it is ready for the
# next run.
echo "Rebuilding the unchanged program ..." >&2
build || die "the unchanged program no longer builds"

echo "| id | fault | file | result |"
echo "|---|---|---|---|"
for i in "${selected[@]}"; do
    printf '| %s | %s | %s | %s |\n' "${ids[$i]}" "${faults[$i]//|/\\|}" "${files[$i]}" "${results[$i]}"
done
echo
echo "caught $caught of $total"
unusable=0
for i in "${selected[@]}"; do
    [[ ${results[i]} != does\ not* ]] || unusable=$((unusable + 1))
done
[[ $unusable -eq 0 ]] || echo "($unusable of them did not apply or did not build)"
echo "Finished in $(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s." >&2
