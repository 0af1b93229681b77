#!/usr/bin/env bash
# Set-up of Kelmara on Debian 12 in two commands, and its Debian package:
#   tools/kelmara.sh iniciar   install what is missing, build, create LIVRO.GDB
#                              beside the program if there is none, start it
#   tools/kelmara.sh testar    the same set-up, then the Debian package and
#                              every test, headless
#   tools/kelmara.sh pacote    the Debian package kelmara_<versão>_<arq>.deb in
#                              build-pacote/, checked by lintian
set -euo pipefail

here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$here/build"
bin="$build/bin"
package_build="$here/build-pacote"
# The developers' build and the package's compile the same sources with the
# same flags: ccache serves the second from the first when paths are taken
# relative to the project and the build folder is left out of the hash.
export CCACHE_BASEDIR="$here" CCACHE_NOHASHDIR=1

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

# The installed program is built apart, with its own paths (preset "pacote"),
# and only what the package holds.
build_package() {
    cmake -S "$here" --preset pacote >/dev/null
    cmake --build "$package_build" -j2 --target kelmara kelmara-criar-banco kelmara-demo kelmara-pacote-arquivos
    (cd "$package_build" && cpack >/dev/null)
    local version package
    version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$package_build/CMakeCache.txt")"
    package="$package_build/kelmara_${version}_$(dpkg --print-architecture).deb"
    lintian --fail-on error "$package"
    echo "== Pacote: $package"
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
        build_package
        export QT_QPA_PLATFORM=offscreen
        ctest --test-dir "$build" --output-on-failure -j2
        ;;
    pacote)
        install_packages
        build_package
        ;;
    *)
        echo "uso: tools/kelmara.sh iniciar|testar|pacote" >&2
        exit 2
        ;;
esac
