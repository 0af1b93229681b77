#!/usr/bin/env bash
# Set-up of Kelmara on Debian 12, in two commands:
#   tools/kelmara.sh iniciar   install what is missing, build, create LIVRO.GDB
#                              beside the program if there is none, start it
#   tools/kelmara.sh testar    the same set-up, then every test, headless
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build"
bin="$build/bin"

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=()
    while read -r pkg; do
        [ -z "$pkg" ] && continue
        case "$pkg" in \#*) continue ;; esac
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done < "$here/tools/debian-packages.txt"
    if [ "${#missing[@]}" -gt 0 ]; then
        echo "== Instalando: ${missing[*]}"
        as_root apt-get update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
    fi
}

build_all() {
    cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" -j2
}

# Creates the database beside the program when there is none; never touches one.
ensure_database() {
    if [ -e "$bin/LIVRO.GDB" ]; then
        echo "== Banco de dados: $bin/LIVRO.GDB (já existe, mantido)"
    else
        "$bin/kelmara-criar-banco" "$bin/LIVRO.GDB"
    fi
}

case "${1:-}" in
    iniciar)
        install_packages
        build_all
        ensure_database
        exec "$bin/kelmara"
        ;;
    testar)
        install_packages
        build_all
        ensure_database
        export QT_QPA_PLATFORM=offscreen
        ctest --test-dir "$build" --output-on-failure -j2
        ;;
    *)
        echo "uso: tools/kelmara.sh iniciar|testar" >&2
        exit 2
        ;;
esac
