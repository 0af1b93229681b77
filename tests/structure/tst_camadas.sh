#!/usr/bin/env bash
# Every source file includes only headers of its own layer and of the layers
# below it, and only the Qt modules its layer may use. The linker catches a
# wrong dependency on code; this catches one on a header-only piece (an inline
# function, a constant, a type) that the linker never sees.
#
# usage: tst_camadas.sh SRC_FOLDER QT_HEADERS_FOLDER
set -uo pipefail
src=$1
qt=$2

# The layers below each library folder (what it may include), and its Qt modules.
declare -A below=(
  [data/dataset]=""
  [data/provider]="data/dataset"
  [uikit]="data/dataset"
  [data/controls]="uikit data/dataset"
  [recordform]="data/controls uikit data/dataset"
  [data]="data/provider uikit data/dataset"
  [data/backup]="data data/provider uikit data/dataset"
  [reports/engine]="uikit data/dataset"
  [reports]="reports/engine data/controls data data/provider uikit data/dataset"
  [signin]="data data/provider uikit data/dataset"
)
windows="recordform reports reports/engine data/controls data data/provider uikit data/dataset"
below[registers]=$windows
below[cashbook]=$windows
below[main]="registers cashbook signin data/backup $windows"
below[.]="main ${below[main]}"

declare -A modules=(
  [data/dataset]="QtCore"
  [data/provider]="QtCore QtSql"
  [uikit]="QtCore QtGui QtWidgets"
  [data/controls]="QtCore QtGui QtWidgets"
  [recordform]="QtCore QtGui QtWidgets"
  [data]="QtCore QtGui QtWidgets QtSql"
  [data/backup]="QtCore QtGui QtWidgets QtSql"
  [reports/engine]="QtCore QtGui QtWidgets QtPrintSupport"
)

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
  [[ -n ${modules[$layer]+set} ]] || continue
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
