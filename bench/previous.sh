# Sourced by the benchmark scripts: builds a previous commit once, in a git
# worktree beside this checkout, to set beside this build.
#
#   previous_build COMMIT FOLDER [PREPARE] -- TARGET...
#
# The worktree goes to FOLDER and its Release build to FOLDER/build. PREPARE,
# when given, is a command run with FOLDER before the build is configured.
previous_build() {
    local commit=$1 folder=$2 prepare=""
    shift 2
    if [[ "$1" != -- ]]; then
        prepare=$1
        shift
    fi
    shift  # --
    rm -rf "$folder"
    git -C "$ROOT" worktree prune
    git -C "$ROOT" worktree add --detach "$folder" "$commit" >/dev/null
    [[ -n "$prepare" ]] && "$prepare" "$folder"
    cmake -S "$folder" -B "$folder/build" -DCMAKE_BUILD_TYPE=Release -DSPANWICK_BUILD_TESTS=OFF >/dev/null
    cmake --build "$folder/build" -j"$(nproc)" --target "$@" >/dev/null
}
