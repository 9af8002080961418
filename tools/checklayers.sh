#!/usr/bin/env bash
# Checks that every include of the program's code runs down the link order:
# a file may include the headers of its own library and of the libraries that
# its library links, directly or through another, and nothing else. The links
# are the ones the libraries' CMakeLists.txt give, as CMake writes them to
# layers.txt in the build folder (one line per library: "name|folders|links").
# Prints each include that crosses the order and fails when there is one.
#   tools/checklayers.sh BUILD/layers.txt          checks the tree this script lies in
#   tools/checklayers.sh BUILD/layers.txt ROOT     checks another tree
set -euo pipefail
GRAPH="${1:?usage: checklayers.sh BUILD/layers.txt [ROOT]}"
ROOT="${2:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"

declare -A folders links
while IFS='|' read -r library library_folders library_links; do
    [ -n "$library" ] || continue
    folders[$library]=$library_folders
    links[$library]=$library_links
done <"$GRAPH"
[ ${#folders[@]} -gt 0 ] || { echo "$GRAPH names no library"; exit 1; }

declare -A library_of
for library in "${!folders[@]}"; do
    for folder in ${folders[$library]}; do library_of[$folder]=$library; done
done

# Everything a library may reach: its links, and theirs.
reachable() {
    local seen=" $1 " queue=($1) next
    while [ ${#queue[@]} -gt 0 ]; do
        next=${queue[0]}
        queue=("${queue[@]:1}")
        for linked in ${links[$next]}; do
            case "$seen" in *" $linked "*) ;; *) seen+="$linked "; queue+=("$linked") ;; esac
        done
    done
    echo "$seen"
}
declare -A allowed
for library in "${!folders[@]}"; do allowed[$library]=$(reachable "$library"); done

crossings=0
for folder in "${!library_of[@]}"; do
    library=${library_of[$folder]}
    for file in "$ROOT/$folder"/*.cpp "$ROOT/$folder"/*.h; do
        [ -e "$file" ] || continue
        while IFS= read -r included; do
            target=${library_of[$(dirname "$included")]:-}
            [ -n "$target" ] || continue # a header of a library outside the program
            case "${allowed[$library]}" in
                *" $target "*) ;;
                *)
                    echo "${file#"$ROOT"/} ($library) includes $included ($target)"
                    crossings=$((crossings + 1))
                    ;;
            esac
        done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
    done
done

# A folder of code that no library names is a drawer the check cannot see.
while IFS= read -r folder; do
    [ -n "${library_of[$folder]:-}" ] || { echo "$folder: no library holds this folder"; crossings=$((crossings + 1)); }
done < <(cd "$ROOT" && find $(for folder in "${!library_of[@]}"; do echo "${folder%%/*}"; done | sort -u) \
             -name '*.cpp' -printf '%h\n' -o -name '*.h' -printf '%h\n' | sort -u)

if [ "$crossings" -gt 0 ]; then
    echo "$crossings include(s) against the link order"
    exit 1
fi
echo "Every include runs down the link order."
