#!/bin/bash
# run_click_latency.sh SONVERO_BIN [CLICKS] [-- click_latency options...]
#
# Click-to-DMX latency of Sonvero, measured live: a private PulseAudio with a
# null sink (Sonvero listens to its monitor), a private olad on a free port
# (universe 1 patched to its Dummy output, every network plug-in off), Sonvero
# with Beat: VU flashing channel 10 on the left level (threshold 128, output
# on, mutes off, everything else at its defaults) and sending to that olad,
# and click_latency, which plays the clicks and watches channel 10 as olad
# passes it on. Prints p50/p90/p99 over the clicks (40 at least for a p99).
#
# Environment:
#   OUT=DIR          keep the results here (default: a fresh /tmp/click-latency.*)
#   MODE=desktop     run Sonvero's desktop on a private Xvfb instead of --headless
#   TRACKER=1        the beat tracker's output instead of Beat: VU: a steady
#                    120 BPM click track, Sonvero's beat output flashing channel
#                    10 (a show of one line: beats flash 60 10), each click after
#                    the first 8 s against the nearest rise, early or late
#   PROBE=1          also record uprobes in Sonvero (perf, as root) on the same
#                    clock and split each click's latency into its parts
#                    (probe_breakdown.py)
#   SETUP=FILE       Sonvero's set-up (bar/list/set lines) instead of the built-in one
#   SETUP_OPTION     the option that hands Sonvero the set-up (default --show)
#   CLICK_BIN=PATH   the click_latency program (default: beside SONVERO_BIN)
#   SONVERO_ARGS     more options for Sonvero
# Everything it starts is stopped by PID; the exit status is click_latency's.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bin=$(readlink -f "${1:?usage: $0 SONVERO_BIN [CLICKS] [-- click_latency options]}"); shift
clicks=100
if [[ $# -gt 0 && $1 != -- ]]; then clicks=$1; shift; fi
[[ ${1:-} == -- ]] && shift
click_bin=${CLICK_BIN:-$(dirname "$bin")/click_latency}
setup_option=${SETUP_OPTION:---show}
mode=${MODE:-headless}
if ! "$bin" --help 2>/dev/null | grep -q -- "$setup_option"; then
    echo "run_click_latency: $bin has no $setup_option option to take the set-up (SETUP_OPTION names another)" >&2
    exit 64
fi
out=${OUT:-$(mktemp -d /tmp/click-latency.XXXXXX)}
mkdir -p "$out"
run=$(mktemp -d /tmp/click-latency-run.XXXXXX)
chmod 755 "$run"

log() { echo "[click_latency] $*" >&2; }
pids=()
alive() { kill -0 "$1" 2>/dev/null && [[ $(awk '{print $3}' "/proc/$1/stat" 2>/dev/null) != Z ]]; }
stop_pid() {
    local pid=$1 i
    if alive "$pid"; then
        kill "$pid" 2>/dev/null || true
        for ((i = 0; i < 50; i++)); do alive "$pid" || break; sleep 0.1; done
        alive "$pid" && kill -9 "$pid" 2>/dev/null || true
    fi
    wait "$pid" 2>/dev/null || true
}
probes=()
cleanup() {
    local rc=$? i
    trap - EXIT INT TERM
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do stop_pid "${pids[i]}"; done
    for p in "${probes[@]}"; do perf probe -q -d "$p" 2>/dev/null || true; done
    cp -f "$run"/*.log "$out"/ 2>/dev/null || true
    rm -rf "$run"
    exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

wait_for() {   # wait_for SECONDS PID COMMAND...
    local limit=$1 watched=$2 i
    shift 2
    for ((i = 0; i < limit * 10; i++)); do
        "$@" >/dev/null 2>&1 && return 0
        [[ -n $watched ]] && ! alive "$watched" && { log "process $watched died waiting for: $*"; return 1; }
        sleep 0.1
    done
    log "timed out waiting for: $*"
    return 1
}
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
port_answers() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }

# --- PulseAudio: private socket, null sink --------------------------------------
pa=$run/pa
mkdir -p "$pa/state" "$pa/config" "$pa/rt"
chmod 700 "$pa" "$pa/state" "$pa/config" "$pa/rt"
export XDG_RUNTIME_DIR=$pa/rt PULSE_RUNTIME_PATH=$pa/rt PULSE_STATE_PATH=$pa/state
export PULSE_COOKIE=$pa/state/cookie XDG_CONFIG_HOME=$pa/config PULSE_SERVER=unix:$pa/native
pulseaudio -n --daemonize=no --exit-idle-time=-1 --realtime=no --high-priority=no --disallow-exit \
    --log-target="file:$run/pulseaudio.log" \
    --load="module-native-protocol-unix auth-anonymous=1 socket=$pa/native" \
    --load="module-null-sink sink_name=sonvero_null rate=48000 channels=2" &
pids+=($!)
wait_for 10 "${pids[-1]}" pactl info
pactl set-default-sink sonvero_null
pactl set-default-source sonvero_null.monitor

# --- olad: private config, free RPC port, universe 1 on the Dummy output --------
ola_port=$(free_port)
olacfg=$run/olad
mkdir -p "$olacfg"
for p in artnet e131 espnet ftdidmx gpio karate kinet milinst opendmx openpixelcontrol osc pathport renard \
         sandnet shownet spi stageprofi uartdmx usbdmx usbserial dmx4linux; do
    echo "enabled = false" >"$olacfg/ola-$p.conf"
done
echo "enabled = true" >"$olacfg/ola-dummy.conf"
echo "1-1-O-0 = 1" >"$olacfg/ola-port.conf"
olad_cmd=(olad --config-dir "$olacfg" --rpc-port "$ola_port" --no-http --no-register-with-dns-sd --log-level 1)
if [[ $(id -u) == 0 ]]; then   # olad refuses to run as root
    chown -R olad "$olacfg"
    olad_cmd=(setpriv --reuid=olad --regid=nogroup --clear-groups "${olad_cmd[@]}")
fi
"${olad_cmd[@]}" >"$run/olad.log" 2>&1 &
pids+=($!)
wait_for 15 "${pids[-1]}" port_answers "$ola_port"

# --- the desktop's X server ------------------------------------------------------
mode_args=(--headless)
if [[ $mode == desktop ]]; then
    Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp -noreset 9>"$run/display" 2>"$run/xvfb.log" &
    pids+=($!)
    wait_for 10 "${pids[-1]}" test -s "$run/display"
    export DISPLAY=":$(head -n1 "$run/display")"
    mode_args=()
fi

# --- Sonvero, set up for Beat: VU on channel 10 ----------------------------------
setup=${SETUP:-$run/setup.show}
tracker_args=()
if [[ ${TRACKER:-0} == 1 && -z ${SETUP:-} ]]; then
    printf '# Sonvero show 1\n# the beat output flashes channel 10 on the tracker'"'"'s beats\nbeats flash 60 10\n' >"$setup"
    tracker_args=(--tracker --interval-ms 500)
elif [[ -z ${SETUP:-} ]]; then
    cat >"$setup" <<'SETUP'
# Sonvero show 1
# output on, mutes off, Beat: VU on the left level, threshold 128, feeding the
# beat tool, flashing channel 10
list 4 10
set Main.Check5 1
set Main.Check8 0
set Main.Check9 0
set Main.Check3 1
set Main.VScroll8 0
set Main.VScroll3 128
set Main.Option1(0) 1
SETUP
fi
mkdir -p "$run/settings"
# shellcheck disable=SC2086
"$bin" "${mode_args[@]}" --audio pulse:sonvero_null.monitor --dmx ola --ola-port "$ola_port" \
    --settings-dir "$run/settings" "$setup_option" "$setup" ${SONVERO_ARGS:-} >"$run/sonvero.log" 2>&1 &
son_pid=$!
pids+=("$son_pid")
sonvero_recording() {
    pactl list source-outputs | awk -v want="$son_pid" '
        /^Source Output #/ { corked = "" } /^\tCorked: / { corked = $2 }
        /application.process.id = / { gsub(/"/, "", $3); if ($3 == want && corked == "no") ok = 1 }
        END { exit !ok }'
}
wait_for 20 "$son_pid" sonvero_recording
log "olad on port $ola_port, Sonvero ($mode) $son_pid recording; playing $clicks clicks"

# --- optional: uprobes in Sonvero on the same clock -----------------------------
perf_pid=""
if [[ ${PROBE:-0} == 1 ]]; then
    bindir=$(dirname "$bin")
    libola=$(ldd "$bin" | awk '/libola\.so/ && !seen++ { print $3 }')
    # probe_at NAME FILE SYMBOL [%return]: by address, which works for entries and returns alike
    probe_at() {
        local addr
        addr=$( (nm "$2" 2>/dev/null; nm -D "$2" 2>/dev/null) | awk -v want="$3" '$3 == want && $2 ~ /[tT]/ && !seen++ { print $1 }')
        [[ -n $addr ]] || { log "no symbol $3 in $2"; return 1; }
        perf probe -q -x "$2" -a "$1=0x${addr#"${addr%%[!0]*}"}${4:-}"
    }
    v=$bindir/libvbvis10.so s=$bindir/libsonvero.so
    perf probe -q -d 'probe_libvbvis10:*' -d 'probe_libsonvero:*' -d 'probe_libola:*' 2>/dev/null || true
    probe_at current "$v" _ZN5vbvis6Bridge7currentEv
    probe_at current_ret "$v" _ZN5vbvis6Bridge7currentEv %return
    probe_at tick "$s" _ZN4Main12Timer1_TimerEv
    probe_at tick_ret "$s" _ZN4Main12Timer1_TimerEv %return
    probe_at send_dmx "$libola" _ZN3ola6client15StreamingClient7SendDmxEjRKNS_9DmxBufferE
    probes=('probe_libvbvis10:*' 'probe_libsonvero:*' 'probe_libola:*')
    perf record -k CLOCK_MONOTONIC -e 'probe_libvbvis10:*' -e 'probe_libsonvero:*' -e 'probe_libola:*' \
        -p "$son_pid" -o "$out/probes.data" >"$run/perf.log" 2>&1 &
    perf_pid=$!
    pids+=("$perf_pid")
    sleep 1
fi

# --- the clicks ------------------------------------------------------------------
echo "mode=$mode loadavg_before=$(cat /proc/loadavg)" | tee "$out/summary.txt"
set +e
"$click_bin" --ola-port "$ola_port" --sink sonvero_null --clicks "$clicks" --raw "$out/clicks.csv" "${tracker_args[@]}" "$@" \
    2>&1 | tee -a "$out/summary.txt"
status=${PIPESTATUS[0]}
set -e
echo "loadavg_after=$(cat /proc/loadavg)" | tee -a "$out/summary.txt"
pactl list sinks | awk '/^\tLatency:/ { print "sink " $0 }' | tee -a "$out/summary.txt"
if [[ -n $perf_pid ]]; then
    kill -INT "$perf_pid"; wait "$perf_pid" 2>/dev/null || true
    perf script -i "$out/probes.data" -F tid,time,event,trace --ns 2>/dev/null >"$out/probes.txt"
    python3 "$here/probe_breakdown.py" "$out/clicks.csv" "$out/probes.txt" | tee -a "$out/summary.txt"
fi
log "results in $out"
exit "$status"
