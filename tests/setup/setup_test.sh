#!/bin/bash
# Set-up's decisions, against stand-ins for apt-get, dpkg, dpkg-query, id,
# sudo, chown, sleep, locale and the 32-bit probe placed first on PATH: no
# network, no root.
set -u
SRC="$(cd "$(dirname "$0")/../.." && pwd)"
failures=0

# A machine: scripts/setup copied into a fresh root, the stand-ins in bin/.
# Their behaviour comes from PROBE (yes/no), UPDATE_FAIL (the i386 index
# does not come), I386_FAIL (always/plain: only without -t), REFUSE (a
# package apt cannot locate), LOCKED (how many apt calls find the lock
# held, or always) and USER_ID (who runs it; sudo makes it 0).
roots=()
trap 'rm -rf "${roots[@]}"' EXIT
machine() {
    T="$(mktemp -d)"; roots+=("$T")
    mkdir -p "$T/scripts" "$T/bin" "$T/lists"
    cp "$SRC/scripts/setup" "$T/scripts/"
    : >"$T/installed"; : >"$T/arches"; : >"$T/apt.log"; : >"$T/locks"; : >"$T/slept"
    cat >"$T/bin/id" <<'EOF'
#!/bin/sh
echo "${USER_ID:-0}"
EOF
    cat >"$T/bin/sudo" <<EOF
#!/bin/sh
echo "sudo \$*" >>"$T/apt.log"
USER_ID=0 exec "\$@"
EOF
    # Records what would change hands, as "OWNER PATH" lines.
    cat >"$T/bin/chown" <<EOF
#!/bin/sh
[ "\$1" = -R ] && shift
find "\$2" | sed "s|^|\$1 |" >>"$T/chowned"
EOF
    cat >"$T/bin/sleep" <<EOF
#!/bin/sh
echo "sleep \$*" >>"$T/slept"
EOF
    cat >"$T/bin/locale" <<'EOF'
#!/bin/sh
printf 'en_US.utf8\nja_JP.utf8\nzh_CN.utf8\n'
EOF
    cat >"$T/bin/win32-probe" <<'EOF'
#!/bin/sh
[ "$PROBE" = yes ] && exit 0
echo "this machine cannot execute 32-bit x86 code"; exit 1
EOF
    cat >"$T/bin/dpkg-query" <<EOF
#!/bin/sh
for p; do :; done
grep -qxF "\$p" "$T/installed" && printf 'install ok installed' && exit 0
exit 1
EOF
    cat >"$T/bin/dpkg" <<EOF
#!/bin/sh
case "\$1" in
    --print-foreign-architectures) cat "$T/arches" ;;
    --add-architecture) echo "\$2" >>"$T/arches"; echo "dpkg \$*" >>"$T/apt.log" ;;
esac
EOF
    cat >"$T/bin/apt-get" <<EOF
#!/bin/bash
echo "apt-get \$*" >>"$T/apt.log"
if [ -n "\${LOCKED:-}" ] && { [ "\$LOCKED" = always ] || [ \$(wc -l <"$T/locks") -lt "\$LOCKED" ]; }; then
    echo >>"$T/locks"
    echo "E: Could not get lock /var/lib/dpkg/lock-frontend. It is held by process 812 (unattended-upgr)"
    exit 100
fi
if [ "\$1" = update ]; then
    touch "$T/lists/main_binary-amd64_Packages"
    if [ "\${UPDATE_FAIL:-}" != 1 ]; then
        grep -qx i386 "$T/arches" && touch "$T/lists/main_binary-i386_Packages"
        exit 0
    fi
    echo "Err:6 http://deb.debian.org/debian-security bookworm-security/main i386 Packages"
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
fi
pinned=0; pkgs=()
for a in "\$@"; do
    case "\$a" in -t) pinned=1 ;; -*|install|bookworm) ;; *) pkgs+=("\$a") ;; esac
done
for p in "\${pkgs[@]}"; do
    if [ "\$p" = "\${REFUSE:-}" ] || { [[ \$p == *:i386 ]] && [ ! -e "$T/lists/main_binary-i386_Packages" ]; }; then
        echo "E: Unable to locate package \$p"; exit 100
    fi
    if [[ \$p == *:i386 ]] && { [ "\${I386_FAIL:-}" = always ] || { [ "\${I386_FAIL:-}" = plain ] && [ \$pinned = 0 ]; }; }; then
        echo "The following packages have unmet dependencies:"
        echo " libcurl4:i386 : Depends: zlib1g:i386 (>= 1:1.2.0) but it is not going to be installed"
        echo "E: Unable to correct problems, you have held broken packages."
        exit 100
    fi
done
printf '%s\n' "\${pkgs[@]}" >>"$T/installed"
EOF
    chmod +x "$T"/bin/*
}

run_setup() {
    (cd "$T" && PATH="$T/bin:$PATH" MORVANE_APT_LISTS="$T/lists" bash "$T/scripts/setup" >"$T/out" 2>&1)
    rc=$?
}

check() {  # check NAME CONDITION...
    local name="$1"; shift
    if ! eval "$@"; then
        echo "FAIL [$scenario] $name"
        echo "---- output:"; cat "$T/out"; echo "---- apt:"; cat "$T/apt.log"
        failures=$((failures + 1))
    fi
}

# A 64-bit-only machine must not be made to carry i386 packages it cannot run.
scenario="probe no"
machine; PROBE=no run_setup
check "exits 0" '[ $rc -eq 0 ]'
check "adds no i386 architecture" '! grep -q add-architecture "$T/apt.log" && [ ! -s "$T/arches" ]'
check "asks for no i386 package" '! grep -q ":i386" "$T/apt.log"'
check "installs the 64-bit set" 'grep -qx wine64 "$T/installed" && grep -qx g++-mingw-w64-x86-64-win32 "$T/installed"'
check "says why" 'grep -q "probe: this machine cannot execute 32-bit x86 code" "$T/out"'
PROBE=no run_setup
check "a second run has nothing to do and says nothing" '[ $rc -eq 0 ] && [ ! -s "$T/out" ]'

# One index that fails to download must not end set-up.
scenario="update exits 100"
machine; PROBE=no UPDATE_FAIL=1 run_setup
check "exits 0" '[ $rc -eq 0 ]'
check "tries the update twice, then goes on" '[ "$(grep -c "apt-get update" "$T/apt.log")" -eq 2 ] && grep -q "going on with the lists apt has" "$T/out"'
check "names the failed index" 'grep -q "Failed to fetch.*binary-i386" "$T/out"'
check "installs" 'grep -qx wine64 "$T/installed"'

# i386 versions behind amd64: the main suite's versions make the pairs match.
scenario="i386 installs only from the main suite"
machine; PROBE=yes I386_FAIL=plain run_setup
check "exits 0" '[ $rc -eq 0 ]'
check "adds the i386 architecture" 'grep -qx i386 "$T/arches"'
check "retries with the main suite" 'grep -q "install -y --no-install-recommends -t " "$T/apt.log"'
check "installs wine32" 'grep -qx wine32:i386 "$T/installed"'
check "leaves no reason" '[ ! -e "$T/build/logs/setup-win32" ]'

# 32-bit packages that cannot be installed cost the 32-bit tier, nothing more.
scenario="i386 install fails"
machine; PROBE=yes I386_FAIL=always run_setup
check "exits 0" '[ $rc -eq 0 ]'
check "installs the 64-bit set" 'grep -qx wine64 "$T/installed" && ! grep -q ":i386" "$T/installed"'
check "writes apt's reason" 'grep -q "wine32:i386 could not be installed: libcurl4:i386 : Depends: zlib1g:i386" "$T/build/logs/setup-win32"'
check "says it skipped the 32-bit packages" 'grep -q "32-bit packages skipped" "$T/out"'
: >"$T/apt.log"; PROBE=yes I386_FAIL=always run_setup
check "does not try again within the hour, quietly" '[ $rc -eq 0 ] && [ ! -s "$T/apt.log" ] && [ ! -s "$T/out" ]'

# Without what every tier needs nothing can run: stop, with apt's own words.
scenario="a package every tier needs is refused"
machine; PROBE=no REFUSE=valgrind run_setup
check "exits non-zero" '[ $rc -ne 0 ]'
check "gives apt's error and what to try" 'grep -q "cannot install what every tier needs: E: Unable to locate package valgrind" "$T/out" && grep -q "try" "$T/out"'

# A bad day for the i386 index, then a good one: the 32-bit set must not be
# skipped for good because its lists are never fetched again.
scenario="an i386 index that failed once"
machine; PROBE=yes UPDATE_FAIL=1 run_setup
check "writes the reason" 'grep -q "Unable to locate package wine32:i386" "$T/build/logs/setup-win32"'
touch -d "2 hours ago" "$T/build/logs/setup-win32"; : >"$T/apt.log"
PROBE=yes run_setup
check "updates before the next try" 'grep -m1 -E "apt-get (update|install)" "$T/apt.log" | grep -q update'
check "installs wine32" 'grep -qx wine32:i386 "$T/installed" && [ ! -e "$T/build/logs/setup-win32" ]'
machine; echo i386 >"$T/arches"; touch "$T/lists/main_binary-amd64_Packages"; PROBE=yes run_setup
check "an i386 architecture without its lists is updated too" 'grep -q "apt-get update" "$T/apt.log" && grep -qx wine32:i386 "$T/installed"'

# Unattended upgrades hold the lock after a first boot: wait, within a bound.
scenario="the dpkg lock held a while"
machine; PROBE=yes LOCKED=3 run_setup
check "waits, says so once, installs both sets" '[ $rc -eq 0 ] && [ "$(wc -l <"$T/slept")" -eq 3 ] &&
    [ "$(grep -c "busy" "$T/out")" -eq 1 ] && grep -qx wine32:i386 "$T/installed" && grep -qx wine64 "$T/installed"'
scenario="the dpkg lock never released"
machine; PROBE=yes LOCKED=always MORVANE_LOCK_WAIT=30 run_setup
check "stops within the bound, naming the lock" '[ $rc -ne 0 ] && [ "$(wc -l <"$T/slept")" -le 3 ] &&
    grep -q "still busy.*Could not get lock" "$T/out" && ! grep -q "cannot install" "$T/out"'
check "records no 32-bit reason" '[ ! -e "$T/build/logs/setup-win32" ]'

# make test as a user with sudo: what set-up makes as root stays the user's,
# or the first tier cannot write its log and make clean cannot remove it.
scenario="a user with sudo"
machine; PROBE=yes USER_ID=1000 run_setup
check "exits 0" '[ $rc -eq 0 ] && grep -q "^sudo " "$T/apt.log"'
check "hands every log back to the user" '[ -s "$T/chowned" ] && ! grep -v "^1000:1000 " "$T/chowned" &&
    [ -z "$(find "$T/build" -mindepth 1 | grep -vxF -f <(cut -d" " -f2- "$T/chowned"))" ]'

[ $failures -eq 0 ] && echo "set-up decisions: all scenarios passed"
exit $((failures > 0))
