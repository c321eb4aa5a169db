#!/usr/bin/env bash
# A private Firebird 3 server for the tests, built from Debian's
# firebird3.0-server binaries and kept entirely inside one folder:
#
#   fbserver.sh start <dir> <port>   configure <dir>, start, wait for the port
#   fbserver.sh stop <dir>           stop the server started in <dir>
#
# The folder gets its own firebird.conf, security database (SYSDBA password
# "plumtree7"), lock folder and log. The server listens on 127.0.0.1:<port>
# only. The system's Firebird (service, /etc/firebird, /var/lib/firebird,
# /tmp/firebird) is never touched, and stop ends only the server whose root
# is <dir>, so other Firebird processes on the machine are left alone.
#
# The server must run as root or as the firebird user (the binary refuses
# anybody else).
set -euo pipefail

FB_LIB=/usr/lib/x86_64-linux-gnu/firebird/3.0
FB_SERVER=/usr/sbin/firebird
LOG_DIR=/var/log/firebird
SECURITY_SQL=/usr/share/firebird/3.0/security.sql
SYSDBA_PASSWORD=plumtree7
MARKER=.fbserver-private

die() {
    echo "fbserver: $*" >&2
    exit 1
}

usage() {
    echo "usage: $0 start <dir> <port> | stop <dir>" >&2
    exit 2
}

# Every Firebird program run from here reads its configuration from the
# private folder (FIREBIRD) and keeps its lock and temporary files there.
# Plugins, intl and messages still come from the Debian folders, read only.
private_env() {
    local dir=$1
    export FIREBIRD=$dir
    export FIREBIRD_LOCK=$dir/lock
    export FIREBIRD_TMP=$dir/tmp
    unset FIREBIRD_MSG FIREBIRD_BOOT_BUILD ISC_USER ISC_PASSWORD ISC_PATH
}

# The Debian build writes its log to the compiled-in /var/log/firebird, which
# no setting moves (FIREBIRD_BOOT_BUILD would, but it also switches the engine
# into a build-time mode with other security rules). Where a private mount
# namespace is allowed, <dir>/log is mounted over that folder for our
# processes only; elsewhere the log lines land in the system log.
PRIVATE_LOG=no
probe_private_log() {
    local dir=$1
    [ -d "$LOG_DIR" ] || return 0
    # shellcheck disable=SC2016 # expanded by the inner shell
    if unshare --mount --propagation private -- \
        bash -c 'mount --bind "$0" "$1"' "$dir/log" "$LOG_DIR" 2>/dev/null; then
        PRIVATE_LOG=yes
    fi
}

# Runs a Firebird program, in the private mount namespace when there is one.
# Every step execs the next, so the pid stays the program's own.
run_fb() {
    if [ "$PRIVATE_LOG" = yes ]; then
        # shellcheck disable=SC2016 # expanded by the inner shell
        exec unshare --mount --propagation private -- \
            bash -c 'mount --bind "$0" "$1" && exec "${@:2}"' "$FIREBIRD/log" "$LOG_DIR" "$@"
    fi
    exec "$@"
}

port_answers() {
    (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

# Whether <pid> is the Firebird server started with <dir> as its root. The
# root folder is what tells our server from any other Firebird process, and
# from an unrelated process that got a recycled pid.
is_our_server() {
    local pid=$1 dir=$2
    [ "$(readlink "/proc/$pid/exe" 2>/dev/null)" = "$FB_SERVER" ] || return 1
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qxF "FIREBIRD=$dir" || return 1
    alive "$pid"
}

# The pid of the server running in <dir>: the one in <dir>/firebird.pid, or,
# when that file is missing or stale, the one found by its root folder.
running_pid() {
    local dir=$1 pid p
    if [ -f "$dir/firebird.pid" ]; then
        pid=$(cat "$dir/firebird.pid")
        if [[ $pid =~ ^[0-9]+$ ]] && is_our_server "$pid" "$dir"; then
            echo "$pid"
            return 0
        fi
    fi
    for p in /proc/[0-9]*; do
        pid=${p#/proc/}
        if is_our_server "$pid" "$dir"; then
            echo "$pid"
            return 0
        fi
    done
    return 1
}

# Alive and not a zombie: the server is reparented when start ends, and not
# every init reaps its orphans at once.
alive() {
    local state
    state=$(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "$state" != Z ] && [ "$state" != X ]
}

stop_server() {
    local dir=$1 pid i
    if pid=$(running_pid "$dir"); then
        kill -TERM "$pid" 2>/dev/null || true
        for ((i = 0; i < 100; i++)); do
            alive "$pid" || break
            sleep 0.1
        done
        if alive "$pid"; then
            kill -KILL "$pid" 2>/dev/null || true
            sleep 0.2
        fi
    fi
    rm -f "$dir/firebird.pid"
}

write_config() {
    local dir=$1 port=$2
    cat >"$dir/firebird.conf" <<EOF
# Private server for the tests; written by scripts/fbserver.sh.
RemoteServicePort = $port
RemoteBindAddress = 127.0.0.1
ServerMode = Super
SecurityDatabase = $dir/security3.fdb
AuthServer = Srp, Legacy_Auth
AuthClient = Srp, Legacy_Auth
UserManager = Srp, Legacy_UserManager
WireCrypt = Enabled
UdfAccess = None
RemoteAccess = true
EOF
    cat >"$dir/databases.conf" <<EOF
security.db = $dir/security3.fdb
EOF
    cp "$FB_LIB/plugins.conf" "$dir/plugins.conf"
    # fbintl.conf names the character-set module as $(root)/intl/fbintl, and
    # the module loader refuses a library reached through a symbolic link
    # (its resolved name differs from the one asked for), so it is a copy.
    mkdir -p "$dir/intl"
    cp "$FB_LIB/intl/libfbintl.so" "$dir/intl/"
}

# The same steps Debian's post-install runs for the system security database,
# done in embedded mode on the private copy, then SYSDBA's password set for
# both the Srp and the legacy user managers.
create_security_db() {
    local dir=$1 sec=$1/security3.fdb
    (
        export LANG=C
        echo "create database '$sec';" | (run_fb isql-fb -q -user SYSDBA)
        (run_fb isql-fb -q -user SYSDBA -i "$SECURITY_SQL" "$sec")
        (run_fb isql-fb -q -user SYSDBA "$sec") <<EOF
create or alter user SYSDBA password '$SYSDBA_PASSWORD' using plugin Srp;
create or alter user SYSDBA password '$SYSDBA_PASSWORD' using plugin Legacy_UserManager;
commit;
EOF
    ) >"$dir/setup.log" 2>&1 || {
        cat "$dir/setup.log" >&2
        die "cannot create the security database in $dir"
    }
}

start() {
    local dir port pid i
    [ $# -eq 2 ] || usage
    port=$2
    if ! [[ $port =~ ^[0-9]+$ ]] || ((port < 1 || port > 65535)); then
        die "bad port '$port'"
    fi
    [ -x "$FB_SERVER" ] || die "$FB_SERVER missing (install firebird3.0-server)"
    mkdir -p "$1"
    dir=$(cd "$1" && pwd -P)

    # A folder that holds other things is not ours to rebuild.
    if [ -n "$(ls -A "$dir")" ] && [ ! -e "$dir/$MARKER" ]; then
        die "$dir is not empty and was not made by this script"
    fi
    # A server left over from an interrupted run in this same folder.
    stop_server "$dir"
    if port_answers "$port"; then
        die "port $port on 127.0.0.1 is already in use"
    fi

    find "$dir" -mindepth 1 -delete
    touch "$dir/$MARKER"
    mkdir -p "$dir/lock" "$dir/tmp" "$dir/log"
    write_config "$dir" "$port"

    private_env "$dir"
    probe_private_log "$dir"
    create_security_db "$dir"

    # -d keeps the server in the foreground (no fork), so $! is its pid; its
    # own session keeps it out of the caller's process group, and closing
    # every standard stream lets CTest's start test end at once.
    (run_fb setsid "$FB_SERVER" -d) </dev/null >"$dir/server.out" 2>&1 &
    pid=$!
    echo "$pid" >"$dir/firebird.pid"

    for ((i = 0; i < 150; i++)); do
        if port_answers "$port"; then
            # $! is the server itself unless setsid had to fork.
            pid=$(running_pid "$dir") || die "the server on port $port cannot be found"
            echo "$pid" >"$dir/firebird.pid"
            echo "fbserver: started pid $pid on 127.0.0.1/$port (root $dir, private log: $PRIVATE_LOG)"
            return 0
        fi
        alive "$pid" || running_pid "$dir" >/dev/null || break
        sleep 0.1
    done
    echo "--- server output" >&2
    cat "$dir/server.out" >&2 || true
    if [ -f "$dir/log/firebird3.0.log" ]; then
        echo "--- firebird3.0.log" >&2
        tail -n 40 "$dir/log/firebird3.0.log" >&2
    fi
    stop_server "$dir"
    die "the server did not answer on 127.0.0.1:$port"
}

stop() {
    local dir
    [ $# -eq 1 ] || usage
    [ -d "$1" ] || return 0
    dir=$(cd "$1" && pwd -P)
    stop_server "$dir"
    echo "fbserver: stopped ($dir)"
}

case "${1:-}" in
start) shift; start "$@" ;;
stop) shift; stop "$@" ;;
*) usage ;;
esac
