#!/usr/bin/env bash
# Every source file includes only headers of its own layer and of the layers
# below it, and only the Qt modules its layer links. The linker catches a
# wrong dependency on code; this catches one on a header-only piece (an inline
# function, a constant, a type) that the linker never sees.
#
# The layers are read from the table the build writes (src/CMakeLists.txt):
# one line per library, "folder library links...". What a library may include
# follows from what it links, directly or through the libraries it links.
#
# usage: tst_camadas.sh SRC_FOLDER QT_HEADERS_FOLDER LAYER_TABLE
set -uo pipefail
src=$1
qt=$2
table=$3

declare -A folder_of links_of below modules
while read -r folder library links; do
  [[ -z $folder ]] && continue
  folder_of[$library]=$folder
  links_of[$library]=$links
done <"$table"

# The Qt modules a Qt library brings with it.
qt_modules() {
  case $1 in
    Qt6::Core) echo QtCore ;;
    Qt6::Sql) echo QtSql QtCore ;;
    Qt6::Gui) echo QtGui QtCore ;;
    Qt6::Widgets) echo QtWidgets QtGui QtCore ;;
    Qt6::PrintSupport) echo QtPrintSupport QtWidgets QtGui QtCore ;;
  esac
}

# Walks a library's links: the project's libraries below it and its Qt modules.
declare -A seen
walk() {
  local link
  for link in ${links_of[$1]}; do
    if [[ -n ${folder_of[$link]+set} ]]; then
      [[ -n ${seen[$link]+set} ]] && continue
      seen[$link]=1
      reach_folders+=" ${folder_of[$link]}"
      walk "$link"
    else
      reach_modules+=" $(qt_modules "$link")"
    fi
  done
}
for library in "${!folder_of[@]}"; do
  seen=()
  reach_folders=""
  reach_modules=""
  walk "$library"
  folder=${folder_of[$library]}
  below[$folder]+="$reach_folders"
  modules[$folder]+="$reach_modules"
done

# The library folder a path under src/ belongs to: the deepest one that holds it.
layer_of() {
  local dir
  dir=$(dirname "$1")
  while [[ $dir != . && -z ${below[$dir]+set} ]]; do
    dir=$(dirname "$dir")
  done
  echo "$dir"
}

# The Qt module folder that holds a header such as QWidget.
qt_module_of() {
  local found
  found=$(ls -d "$qt"/Qt*/"$1" 2>/dev/null | head -n 1)
  [[ -n $found ]] && basename "$(dirname "$found")"
}

contains() { [[ " $1 " == *" $2 "* ]]; }

faults=0
fault() {
  echo "$1"
  faults=$((faults + 1))
}

if ((${#folder_of[@]} == 0)); then
  echo "a tabela das camadas $table está vazia"
  exit 1
fi

cd "$src" || exit 1
while IFS= read -r file; do
  file=${file#./}
  layer=$(layer_of "$file")
  while IFS= read -r header; do
    # A project header is found beside the file or from src/.
    if [[ -f $(dirname "$file")/$header ]]; then
      target=$(realpath --relative-to=. "$(dirname "$file")/$header")
    elif [[ -f $header ]]; then
      target=$header
    else
      continue
    fi
    other=$(layer_of "$target")
    if [[ $other != "$layer" ]] && ! contains "${below[$layer]}" "$other"; then
      fault "$file ($layer) inclui $target ($other)"
    fi
  done < <(sed -n 's/^#include "\(.*\)"/\1/p' "$file")
  while IFS= read -r header; do
    module=$(qt_module_of "$header") || continue
    contains "${modules[$layer]}" "$module" || fault "$file ($layer) inclui <$header> de $module"
  done < <(sed -n 's/^#include <\(Q[A-Za-z]*\)>/\1/p' "$file")
done < <(find . -name '*.h' -o -name '*.cpp' | sort)

if ((faults > 0)); then
  echo "$faults inclusões fora das camadas"
  exit 1
fi
echo "todas as inclusões respeitam as camadas"
