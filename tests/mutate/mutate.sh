#!/usr/bin/env bash
# Mutation testing of the product code: puts one small bug at a time into
# src/, rebuilds only the tests that cover the changed file, runs them and
# puts the file back. A mutation the tests notice is "killed", one they pass
# with is "survived", one that does not compile is "invalid".
#
#   tests/mutate/mutate.sh [--list FILE] [--build DIR] [--only N[,M...]] [--skip-broken]
#
#   --list FILE    mutation list (default: tests/mutate/mutations.txt)
#   --build DIR    build folder, configured here on first use (default: build-mutate)
#   --only N,...   run only these mutations (numbered from 1, as printed)
#   --skip-broken  run the good lines of a list that has broken ones
#
# List lines: FILE_BASENAME|ORIGINAL TEXT|REPLACEMENT TEXT ("\|" for a "|"
# inside a text). The file is looked up by name anywhere under src/, so the
# same list works whatever folder a file lives in; ORIGINAL must occur
# exactly once in it.
#
# Prints one line per mutation and last a summary:
#   mutations: N killed: K survived: S invalid: I
# Exit status: 0 when the run completed, 2 for a broken list or setup, 3
# when the unmutated tests already fail.

set -u -o pipefail

# ------------------------------------------------------------------------
# Tests covering each folder of src/: a CTest name regex per folder, the
# test programs of that folder and of the folders whose tests hold the
# checks of its code (the value checks moved from files/ to rules/, the
# download check from rules/ to transfer/). Each alternation also names the programs of the
# older layout of one program per class, so before.txt can be run again
# from an older checkout.
tests_for_folder() {
    case "$1" in
    base | model | catalogue)
        echo '^(tst_base|tst_model|tst_catalogue|tst_rules|tst_files)$' ;;
    rules)
        echo '^(tst_resolution|tst_entrychecks|tst_dependencyrules|tst_downloadverification|tst_rules|tst_files|tst_transfer)$' ;;
    files)
        echo '^(tst_configfile|tst_compareoperation|tst_configreport|tst_newconfig|tst_ratingupdate|tst_uploadvalidation|tst_files|tst_rules)$' ;;
    comm | transfer)
        echo '^(tst_modbusframing|tst_modbusmaster|tst_modbuspeer|tst_portmap|tst_drivestatus|tst_registertransactions|tst_commsettings|tst_autodetect|tst_upload|tst_readonlyrefresh|tst_parameterreads|tst_download|tst_downloadverification|tst_comm|tst_comm_link|tst_transfer)$' ;;
    *)
        echo '' ;;
    esac
}
# Programs the tests start or read (simulated drive, catalogue, second
# Modbus implementation); built along when the build knows them.
HELPER_TARGETS="qxsim catalogue modbus_peer"
TEST_TIMEOUT=90
JOBS=2
# ------------------------------------------------------------------------

SOURCE_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
LIST="$SOURCE_DIR/tests/mutate/mutations.txt"
BUILD_DIR="$SOURCE_DIR/build-mutate"
ONLY=""
SKIP_BROKEN=0

usage() {
    sed -n '2,/^$/s/^# \{0,1\}//p' "${BASH_SOURCE[0]}" >&2
    exit 2
}

while [ $# -gt 0 ]; do
    case "$1" in
    --list) LIST=$(realpath -m "${2:?--list needs a file}"); shift 2 ;;
    --build) BUILD_DIR=$(realpath -m "${2:?--build needs a folder}"); shift 2 ;;
    --only) ONLY="${2:?--only needs a number}"; shift 2 ;;
    --skip-broken) SKIP_BROKEN=1; shift ;;
    -h | --help) usage ;;
    *) echo "unknown argument: $1" >&2; usage ;;
    esac
done

[ -f "$LIST" ] || { echo "no mutation list at $LIST" >&2; exit 2; }
command -v perl >/dev/null || { echo "perl is needed" >&2; exit 2; }
LOG_DIR="$BUILD_DIR/mutate-logs"

# ------------------------------------------------------------- restoring
# The file being mutated is copied here first and copied back after the
# run of its tests, and on any exit (Ctrl-C included), so the tree never
# keeps a mutation. Copying back gives the file a fresh time stamp, so the
# next build compiles the original again (from ccache, where installed).
WORK=$(mktemp -d)
ACTIVE_FILE=""
restore() {
    if [ -n "$ACTIVE_FILE" ]; then
        cat "$WORK/original" >"$ACTIVE_FILE"
        ACTIVE_FILE=""
    fi
}
on_exit() {
    restore
    rm -rf "$WORK"
}
trap on_exit EXIT
trap 'echo "interrupted; file restored" >&2; exit 130' INT TERM HUP

# ------------------------------------------------------------ list lines
# perl reads the list: one record per mutation, fields separated by NUL
# bytes (number, basename, original, replacement), or "BROKEN" with why.
parse_list() {
    perl -e '
        my $n = 0;
        while (my $line = <STDIN>) {
            chomp $line; $line =~ s/\r$//;
            next if $line =~ /^\s*(#|$)/;
            $n++;
            (my $work = $line) =~ s/\\\|/\x01/g;
            my @f = split /\|/, $work, -1;
            s/\x01/|/g for @f;
            if (@f != 3 || $f[0] eq "" || $f[1] eq "") {
                print join("\0", $n, "BROKEN", "needs FILE|ORIGINAL|REPLACEMENT: $line", ""), "\0";
            } elsif ($f[1] eq $f[2]) {
                print join("\0", $n, "BROKEN", "replacement equals original: $line", ""), "\0";
            } else {
                print join("\0", $n, @f), "\0";
            }
        }' <"$LIST"
}

# Counts the exact occurrences of $ORIGINAL in a file.
count_in() {
    ORIGINAL="$2" perl -e '
        local $/; open my $fh, "<", $ARGV[0] or die "$ARGV[0]: $!\n"; my $text = <$fh>;
        my ($count, $at) = (0, 0);
        while (($at = index($text, $ENV{ORIGINAL}, $at)) >= 0) { $count++; $at += length $ENV{ORIGINAL}; }
        print "$count\n";' "$1"
}

# Replaces the single occurrence of $ORIGINAL in a file with $REPLACEMENT.
replace_in() {
    ORIGINAL="$2" REPLACEMENT="$3" perl -e '
        my $path = $ARGV[0];
        local $/; open my $in, "<", $path or die "$path: $!\n"; my $text = <$in>; close $in;
        my $at = index($text, $ENV{ORIGINAL});
        die "original text not in $path\n" if $at < 0;
        substr($text, $at, length $ENV{ORIGINAL}) = $ENV{REPLACEMENT};
        open my $out, ">", $path or die "$path: $!\n"; print $out $text; close $out or die "$path: $!\n";' "$1"
}

# The file under src/ with this name; empty when there is none or several.
locate() {
    local found
    found=$(cd "$SOURCE_DIR" && find src -type f -name "$1")
    [ -n "$found" ] && [ "$(printf '%s\n' "$found" | wc -l)" -eq 1 ] && echo "$found"
}

# src/comm/X.cpp -> comm: the folder directly below src/.
folder_of() {
    local rest=${1#src/}
    echo "${rest%%/*}"
}

# ----------------------------------------------------------------- build
# Configured once with fast compile and link flags; later runs only let
# CMake look again, so tests added, renamed or merged since are known.
configure() {
    if [ -f "$BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S "$SOURCE_DIR" -B "$BUILD_DIR" >"$WORK/configure.log" 2>&1 || {
            cat "$WORK/configure.log" >&2
            echo "re-running CMake in $BUILD_DIR failed" >&2
            exit 2
        }
        return 0
    fi
    local args=(-S "$SOURCE_DIR" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=None "-DCMAKE_CXX_FLAGS=-O0 -g0")
    command -v ninja >/dev/null && args+=(-G Ninja)
    command -v ccache >/dev/null && args+=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    echo "configuring $BUILD_DIR" >&2
    cmake "${args[@]}" >"$WORK/configure.log" 2>&1 || {
        cat "$WORK/configure.log" >&2
        echo "configuring $BUILD_DIR failed" >&2
        exit 2
    }
}

ALL_TESTS=""
ALL_TARGETS=""
read_build_lists() {
    ALL_TESTS=$(cd "$BUILD_DIR" && ctest -N 2>/dev/null | sed -n 's/^ *Test *#[0-9]*: //p')
    ALL_TARGETS=$(cmake --build "$BUILD_DIR" --target help 2>/dev/null |
        sed -n -e 's/^\([A-Za-z0-9_.+-]*\): phony$/\1/p' -e 's/^\.\.\. \([A-Za-z0-9_.+-]*\).*/\1/p' | sort -u)
}

# Here-strings, not pipes: with pipefail, "printf | grep -q" fails now and
# then when grep stops reading before printf is done (SIGPIPE).
tests_matching() {
    grep -E -- "$1" <<<"$ALL_TESTS" || true
}

has_target() {
    grep -qxF -- "$1" <<<"$ALL_TARGETS"
}

# Build targets for a test regex: each test's program (named like the
# test) and the helper programs. Empty when a test has no program of its
# name; the whole tree is built then.
targets_for() {
    local regex=$1 targets="" t
    for t in $(tests_matching "$regex"); do
        has_target "$t" || { echo ""; return; }
        targets="$targets $t"
    done
    for t in $HELPER_TARGETS; do
        has_target "$t" && targets="$targets $t"
    done
    echo "$targets"
}

build_for() {
    local regex=$1 log=$2 targets
    targets=$(targets_for "$regex")
    if [ -n "$targets" ]; then
        # shellcheck disable=SC2086
        cmake --build "$BUILD_DIR" -j "$JOBS" --target $targets >>"$log" 2>&1
    else
        echo "(a test of $regex has no program of its name: building everything)" >>"$log"
        cmake --build "$BUILD_DIR" -j "$JOBS" >>"$log" 2>&1
    fi
}

run_tests() {
    local regex=$1 log=$2
    (cd "$BUILD_DIR" && ctest --timeout "$TEST_TIMEOUT" --stop-on-failure -j "$JOBS" -R "$regex" --output-on-failure) \
        >>"$log" 2>&1
}

# ------------------------------------------------------------ check list
configure
read_build_lists
[ -n "$ALL_TESTS" ] || { echo "no tests known in $BUILD_DIR" >&2; exit 2; }

declare -a M_NUM M_BASE M_ORIG M_REPL M_PATH M_REGEX
BROKEN=0
GOOD=0
while IFS= read -r -d '' num && IFS= read -r -d '' base && IFS= read -r -d '' orig && IFS= read -r -d '' repl; do
    if [ "$base" = BROKEN ]; then
        echo "broken list line #$num: $orig"
        BROKEN=$((BROKEN + 1))
        continue
    fi
    path=$(locate "$base")
    if [ -z "$path" ]; then
        echo "broken list line #$num: no single file named $base under src/"
        BROKEN=$((BROKEN + 1))
        continue
    fi
    count=$(count_in "$SOURCE_DIR/$path" "$orig")
    if [ "$count" != 1 ]; then
        echo "broken list line #$num: \"$orig\" occurs $count times in $path (must be once)"
        BROKEN=$((BROKEN + 1))
        continue
    fi
    regex=$(tests_for_folder "$(folder_of "$path")")
    if [ -z "$regex" ] || [ -z "$(tests_matching "$regex")" ]; then
        echo "broken list line #$num: no tests for folder $(folder_of "$path") (see tests_for_folder in $0)"
        BROKEN=$((BROKEN + 1))
        continue
    fi
    M_NUM[GOOD]=$num
    M_BASE[GOOD]=$base
    M_ORIG[GOOD]=$orig
    M_REPL[GOOD]=$repl
    M_PATH[GOOD]=$path
    M_REGEX[GOOD]=$regex
    GOOD=$((GOOD + 1))
done < <(parse_list)

if [ "$BROKEN" -gt 0 ] && [ "$SKIP_BROKEN" -eq 0 ]; then
    echo "$BROKEN broken list line(s) in $LIST; fix them or pass --skip-broken" >&2
    exit 2
fi

selected() {
    [ -z "$ONLY" ] && return 0
    local n
    for n in ${ONLY//,/ }; do
        [ "$n" = "$1" ] && return 0
    done
    return 1
}

# ----------------------------------------------------------- the baseline
# The unmutated tests must pass, or every mutation would count as killed.
mkdir -p "$LOG_DIR"
declare -A REGEX_USED=()
for ((i = 0; i < GOOD; i++)); do
    selected "${M_NUM[i]}" && REGEX_USED[${M_REGEX[i]}]=1
done
[ "${#REGEX_USED[@]}" -gt 0 ] || { echo "no mutation selected" >&2; exit 2; }
echo "list: $LIST"
echo "source: $SOURCE_DIR  build: $BUILD_DIR"
start_all=$(date +%s)
base_n=0
for regex in "${!REGEX_USED[@]}"; do
    base_n=$((base_n + 1))
    log="$LOG_DIR/baseline-$base_n.log"
    echo "tests $regex" >"$log"
    if ! build_for "$regex" "$log"; then
        echo "the unmutated tree does not build; see $log" >&2
        exit 3
    fi
    if ! run_tests "$regex" "$log"; then
        echo "the unmutated tests fail; see $log" >&2
        exit 3
    fi
done
echo "baseline: unmutated tests pass ($(($(date +%s) - start_all)) s)"

# ---------------------------------------------------------- the mutations
total=0 killed=0 survived=0 invalid=0
start_run=$(date +%s)
for ((i = 0; i < GOOD; i++)); do
    num=${M_NUM[i]}
    selected "$num" || continue
    path=${M_PATH[i]}
    file="$SOURCE_DIR/$path"
    log="$LOG_DIR/mutation-$num.log"
    started=$(date +%s)
    cp "$file" "$WORK/original"
    ACTIVE_FILE=$file
    replace_in "$file" "${M_ORIG[i]}" "${M_REPL[i]}" || { restore; echo "could not mutate $path" >&2; exit 2; }
    printf 'mutation #%s in %s\n- %s\n+ %s\n' "$num" "$path" "${M_ORIG[i]}" "${M_REPL[i]}" >"$log"
    if ! build_for "${M_REGEX[i]}" "$log"; then
        verdict=invalid
        invalid=$((invalid + 1))
    elif run_tests "${M_REGEX[i]}" "$log"; then
        verdict=survived
        survived=$((survived + 1))
    else
        verdict=killed
        killed=$((killed + 1))
    fi
    restore
    total=$((total + 1))
    printf '#%-3s %-8s %s: %s => %s  (%ss)\n' "$num" "$verdict" "${M_BASE[i]}" "${M_ORIG[i]}" "${M_REPL[i]}" \
        "$(($(date +%s) - started))"
done

# Leave the build matching the restored sources.
for regex in "${!REGEX_USED[@]}"; do
    build_for "$regex" "$LOG_DIR/restore.log" || echo "rebuilding the restored sources failed; see $LOG_DIR/restore.log" >&2
done

elapsed=$(($(date +%s) - start_run))
if [ "$total" -gt 0 ]; then
    echo "time: ${elapsed}s for $total mutation(s), $((elapsed / total))s each"
fi
[ "$BROKEN" -gt 0 ] && echo "broken list lines skipped: $BROKEN"
echo "mutations: $total killed: $killed survived: $survived invalid: $invalid"
