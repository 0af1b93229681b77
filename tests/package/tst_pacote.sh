#!/usr/bin/env bash
# tst_pacote.sh FOLDER VERSION: checks the Debian package FOLDER/kelmara_VERSION_*.deb
# without installing it: what it holds (dpkg-deb -c), its control data, and
# its maintainer scripts run in a temporary root (DPKG_ROOT) under fakeroot:
# the first installation makes the group, the folders and the database, a
# second installation and an upgrade leave the database as it was, removal
# and purge keep it. Exits 77 (skipped) when the package was not built.
set -euo pipefail

folder="$1"
version="$2"
shopt -s nullglob
packages=("$folder"/kelmara_"$version"_*.deb)
if [ "${#packages[@]}" -eq 0 ]; then
    echo "SKIP: no package kelmara_${version}_*.deb in $folder; build it with tools/kelmara.sh pacote"
    exit 77
fi
deb="$(realpath "${packages[0]}")"

# Ownership set by the maintainer scripts is seen only inside one fakeroot session.
if [ -z "${FAKEROOTKEY:-}" ]; then
    exec fakeroot -- bash "$0" "$@"
fi

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
root="$work/root"
control="$work/control"
failures=0

check() { # description, command...
    local what="$1"
    shift
    if "$@"; then
        echo "ok - $what"
    else
        echo "FAILED - $what"
        failures=$((failures + 1))
    fi
}

contains() { grep -qE -- "$2" <<<"$1"; }
lacks() { ! grep -qE -- "$2" <<<"$1"; }
mode_of() { stat -c '%a %g' "$1"; }
same_file() { cmp -s "$1" "$2"; }

# isql-fb on a database of the temporary root, with a lock folder of its own.
sql() { # database, statement
    FIREBIRD_LOCK="$work/locks" isql-fb -q -user SYSDBA -password x "$1" <<<"$2"
}

echo "# package $deb"
listing="$(dpkg-deb -c "$deb")"
for program in kelmara kelmara-criar-banco kelmara-demo; do
    check "holds /opt/kelmara/bin/$program, executable by everyone" \
        contains "$listing" "^-rwxr-xr-x root/root .* \./opt/kelmara/bin/$program\$"
done
check "holds the alias file in /etc/kelmara" contains "$listing" " \./etc/kelmara/aliaslivro\.txt\$"
check "holds the connection file in /etc/kelmara, closed to others" \
    contains "$listing" "^-rw-r----- root/root .* \./etc/kelmara/conexao\.txt\$"
check "holds the menu entry" contains "$listing" " \./usr/share/applications/kelmara\.desktop\$"
check "holds the AppStream metainfo" contains "$listing" " \./usr/share/metainfo/org\.kelmara\.Kelmara\.metainfo\.xml\$"
check "holds the scalable icon" contains "$listing" " \./usr/share/icons/hicolor/scalable/apps/kelmara\.svg\$"
for size in 16 32 48 64 128 256; do
    check "holds the ${size}x${size} icon" contains "$listing" " \./usr/share/icons/hicolor/${size}x${size}/apps/kelmara\.png\$"
done
check "holds the copyright file" contains "$listing" " \./usr/share/doc/kelmara/copyright\$"
check "holds the changelog" contains "$listing" " \./usr/share/doc/kelmara/changelog\.gz\$"
check "holds no database" lacks "$listing" "\.(gdb|GDB|fdb|FDB)\$"
check "holds no test, benchmark or picture tool" lacks "$listing" "(tst_|kelmara-bench|kelmara-retratos|kelmara-crash)"
check "holds nothing of the build folder" lacks "$listing" "build"

depends="$(dpkg-deb -f "$deb" Depends)"
for dependency in libqt6widgets6 libfbclient2 libqt6sql6-ibase firebird3.0-server-core libqt6svg6 fonts-liberation2 passwd; do
    check "depends on $dependency" contains "$depends" "(^|, )$dependency( |,|\$)"
done
dpkg-deb -e "$deb" "$control"
check "marks the alias file as a conffile" contains "$(cat "$control/conffiles")" "^/etc/kelmara/aliaslivro\.txt\$"
check "marks the connection file as a conffile" contains "$(cat "$control/conffiles")" "^/etc/kelmara/conexao\.txt\$"

dpkg-deb -x "$deb" "$root"
check "the alias file names /var/lib/kelmara" same_file "$root/etc/kelmara/aliaslivro.txt" <(echo /var/lib/kelmara)
check "the connection file is empty, for the administrator to fill" test ! -s "$root/etc/kelmara/conexao.txt"
check "the program looks for its fixed files below /etc/kelmara" \
    contains "$(strings "$root/opt/kelmara/bin/kelmara")" "^/etc/kelmara\$"
check "the program keeps the engine's locks in /var/lib/kelmara/firebird" \
    contains "$(strings "$root/opt/kelmara/bin/kelmara")" "^/var/lib/kelmara/firebird\$"
check "the menu entry is valid" desktop-file-validate "$root/usr/share/applications/kelmara.desktop"
check "the menu entry starts the installed program" \
    contains "$(cat "$root/usr/share/applications/kelmara.desktop")" "^Exec=/opt/kelmara/bin/kelmara\$"
check "the metainfo is valid" appstreamcli validate --no-net --explain \
    "$root/usr/share/metainfo/org.kelmara.Kelmara.metainfo.xml"

echo "# maintainer scripts in $root"
mkdir -p "$root/etc" "$work/locks"
echo "root:x:0:" >"$root/etc/group"
echo "root:*::" >"$root/etc/gshadow"
database="$root/var/lib/kelmara/LIVRO.GDB"
export DPKG_ROOT="$root"

check "first installation succeeds" "$control/postinst" configure ""
gid="$(sed -n 's/^kelmara:x:\([0-9]*\):.*/\1/p' "$root/etc/group")"
check "first installation makes the group kelmara" test -n "$gid"
check "the data folder is the group's, setgid and closed to others" \
    test "$(mode_of "$root/var/lib/kelmara")" = "2770 $gid"
check "the engine's lock folder is the group's, setgid and closed to others" \
    test "$(mode_of "$root/var/lib/kelmara/firebird")" = "2770 $gid"
check "the database is the group's and writable by it" test "$(mode_of "$database")" = "660 $gid"
check "the connection file is read by the group only" test "$(mode_of "$root/etc/kelmara/conexao.txt")" = "640 $gid"
check "the database holds the tables and the first account" \
    contains "$(sql "$database" "SELECT USULOGIN FROM TUSUARIO;")" "master"
check "the first account's password is stored as its hash only" \
    contains "$(sql "$database" "SELECT USUHASH FROM TUSUARIO WHERE USUSENHA IS NULL;")" "argon2id"

sql "$database" "INSERT INTO TPARAMETROS (PARCODIGO, PARVALOR) VALUES (1, 'IGREJA DO TESTE'); COMMIT;"
check "the database stays writable by the group once the engine has written it" \
    test "$(mode_of "$database")" = "660 $gid"
cp "$database" "$work/kept.gdb"
chmod 2750 "$root/var/lib/kelmara"
check "an upgrade succeeds" "$control/postinst" configure 0.9
check "an upgrade leaves the database as it was" same_file "$database" "$work/kept.gdb"
check "an upgrade leaves the folder's permissions as they were" \
    test "$(mode_of "$root/var/lib/kelmara")" = "2750 $gid"
check "a new installation over kept data succeeds" "$control/postinst" configure ""
check "a new installation does not overwrite the database" same_file "$database" "$work/kept.gdb"
check "the group is made once" test "$(grep -c '^kelmara:' "$root/etc/group")" -eq 1

check "removal succeeds" "$control/postrm" remove
check "removal keeps the database" same_file "$database" "$work/kept.gdb"
purge_message="$("$control/postrm" purge)"
check "purge keeps the database" same_file "$database" "$work/kept.gdb"
check "purge says where the data stays" contains "$purge_message" "/var/lib/kelmara"
check "the kept database still opens" \
    contains "$(sql "$database" "SELECT PARVALOR FROM TPARAMETROS;")" "IGREJA DO TESTE"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all checks passed"
