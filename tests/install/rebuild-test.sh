#!/usr/bin/env bash
# A changed schema makes the build remake the shipped empty list, and nothing
# else: lists that users filled, in their data folder or beside a portable copy
# of the program, stay byte for byte as they were, and bin/ gets no list.
#
#   tests/install/rebuild-test.sh SOURCE-DIR BUILD-DIR
set -euo pipefail
[ $# -eq 2 ] || { echo "usage: $0 SOURCE-DIR BUILD-DIR" >&2; exit 2; }
source_dir=$(realpath "$1")
build=$(realpath "$2")
command -v sqlite3 >/dev/null || { echo "rebuild test: sqlite3 is missing" >&2; exit 77; }

template="$build/share/tidefetch/DownList.db"
work=$(mktemp -d -t tidefetch-rebuild.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "rebuild test: $*" >&2
    exit 1
}

cmake --build "$build" --target tidefetch_shipped_files >/dev/null
[ -f "$template" ] || fail "the build made no $template"

# A user's list and a portable one, each holding a row.
lists=("$work/data/Tidefetch/DownList.db" "$work/portable/DownList.db")
for list in "${lists[@]}"; do
    mkdir -p "$(dirname "$list")"
    cp "$template" "$list"
    sqlite3 "$list" "Insert Into CheckList (Sharing_Link, Status) Values ('http://rapidshare.com/files/1/a.zip', '??')"
done
sha256sum "${lists[@]}" >"$work/lists.sha256"
touch -r "$template" "$work/template.before"

touch "$source_dir/data/schema.sql"
cmake --build "$build" --target tidefetch_shipped_files >"$work/build.log" 2>&1 || {
    cat "$work/build.log" >&2
    fail "the rebuild failed"
}

[ "$template" -nt "$work/template.before" ] || fail "the template was not remade"
[ "$(sqlite3 "$template" "Select Count(*) From CheckList")" -eq 0 ] || fail "the remade template is not empty"
sha256sum --check --quiet "$work/lists.sha256" || fail "a filled list changed"
[ ! -e "$build/bin/DownList.db" ] || fail "the build put a list into $build/bin"
ls "$(dirname "$template")"/DownList.db.* >/dev/null 2>&1 && fail "a temporary list was left beside the template"
echo "rebuild test passed"
