#!/usr/bin/env bash
# download.sh - throughput, CPU and peak memory of `lecdl get` against curl and aria2c.
#
# Serves files of random bytes from a private nginx on 127.0.0.1 (free port, no daemon,
# its config, pid and logs in a temp dir, sendfile on) and downloads each of them,
# round-robin, with:
#   curl -s -o OUT URL
#   aria2c -x1 -s1        (one connection, like the others)
#   aria2c -x4 -s4        (four connections; for information only)
#   curl, then sync -d    (curl plus the flush to disk that lecdl does; for information only)
#   $LECDL get URL -o OUT
# every run under GNU time, the output checked byte for byte (cmp) after each run.
# Two sizes: SIZE_MB (throughput targets) and SIZE2_MB (so peak memory is seen at two sizes).
#
# Prints per tool and size: median wall seconds, MB/s, CPU seconds per GiB, peak RSS, and the
# throughput ratios lecdl/curl and lecdl/aria2 -x1, with the targets beside them:
#   lecdl throughput >= 0.9 x curl's      lecdl peak RSS < 30 MB (at every size)
#
# Needs (installs nothing): nginx (Debian: nginx-light), curl, aria2c (aria2),
# GNU time at /usr/bin/time (time), cmp (diffutils).
#
# Usage: bash bench/download.sh            (from the repository root; build lecdl first:
#        cmake -S . -B build -G Ninja && cmake --build build --target lecdl)
# Environment (all optional):
#   SIZE_MB=1024          main file size, MiB
#   SIZE2_MB=64           second file size, MiB (0: skip)
#   RUNS=3                measured rounds (each round runs every tool once)
#   LECDL=build/bin/lecdl
#   BENCH_PARENT=dir      where the temp dir is made (default $TMPDIR or /tmp); must be a disk,
#                         not a tmpfs
#   SETTLE=2              untimed seconds before each run, after the previous output was deleted
#                         and synced, so every run starts from the same memory state
#
# Figures: MB = 10^6 bytes. Wall is read from the system clock around each run (finer than
# GNU time's %e, which is also recorded); CPU is user+sys (%U+%S) of the command and the
# processes it waited for; peak RSS is %M, the largest single process. Each cell is the
# median of RUNS runs. A ratio above 1 means lecdl is faster. None of the tools syncs except
# lecdl, which flushes its file as it goes (that is what makes its downloads resumable).
# Exit status: 0 when every run completed byte-exact, 1 otherwise (targets only printed).
set -u -o pipefail

SIZE_MB=${SIZE_MB:-1024}
SIZE2_MB=${SIZE2_MB:-64}
RUNS=${RUNS:-3}
LECDL=${LECDL:-build/bin/lecdl}
SETTLE=${SETTLE:-2}
GNU_TIME=/usr/bin/time

die() { echo "download.sh: $*" >&2; exit 1; }
log() { echo "[$(date +%H:%M:%S)] $*" >&2; }

case ${1:-} in -h|--help) sed -n "2,/^set -u/p" "$0" | sed '$ d'; exit 0 ;; "") ;; *) die "no arguments; see --help" ;; esac
for n in SIZE_MB SIZE2_MB RUNS SETTLE; do
  [[ ${!n} =~ ^[0-9]+$ ]] || die "$n must be a whole number"
done
((SIZE_MB >= 1)) || die "SIZE_MB must be at least 1"
((RUNS >= 1 && RUNS <= 50)) || die "RUNS must be 1..50"

# ------------------------------------------------------------------ tools --
missing=()
command -v nginx >/dev/null 2>&1 || [[ -x /usr/sbin/nginx ]] || missing+=(nginx-light)
command -v curl >/dev/null 2>&1 || missing+=(curl)
command -v aria2c >/dev/null 2>&1 || missing+=(aria2)
{ [[ -x $GNU_TIME ]] && "$GNU_TIME" -f '%M' -o /dev/null true 2>/dev/null; } || missing+=(time)
command -v cmp >/dev/null 2>&1 || missing+=(diffutils)
if ((${#missing[@]})); then
  die "missing tools; install them with: apt-get install -y ${missing[*]}"
fi
command -v nginx >/dev/null 2>&1 || PATH=$PATH:/usr/sbin
[[ -x $LECDL ]] || die "no executable at LECDL=$LECDL (build it: cmake -S . -B build -G Ninja && cmake --build build --target lecdl)"
LECDL=$(cd -- "$(dirname -- "$LECDL")" && pwd)/$(basename -- "$LECDL")

# --------------------------------------------------------------- temp dir --
umask 022
PARENT=${BENCH_PARENT:-${TMPDIR:-/tmp}}
TMP=$(mktemp -d "$PARENT/lecdl-bench.XXXXXX") || die "cannot make a temp dir under $PARENT"
chmod 755 "$TMP"   # nginx workers may run as another user
NGINX_PID=
stop_nginx() {
  [[ -n $NGINX_PID ]] || return 0
  kill -TERM "$NGINX_PID" 2>/dev/null
  for _ in $(seq 50); do kill -0 "$NGINX_PID" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$NGINX_PID" 2>/dev/null && kill -KILL "$NGINX_PID" 2>/dev/null
  wait "$NGINX_PID" 2>/dev/null
  NGINX_PID=
}
cleanup() {
  local rc=$?
  trap - EXIT INT TERM
  stop_nginx
  [[ -n ${TMP:-} && -d $TMP ]] && rm -rf -- "$TMP"
  exit "$rc"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

FSTYPE=$(df -PT "$TMP" | awk 'NR==2{print $2}')
[[ $FSTYPE == tmpfs ]] && log "WARNING: $PARENT is a tmpfs: this measures memory, not the disk (set BENCH_PARENT)"
mkdir -p "$TMP"/{www,out,logs,nginx-tmp}

SIZES=("$SIZE_MB")
((SIZE2_MB > 0 && SIZE2_MB != SIZE_MB)) && SIZES+=("$SIZE2_MB")
for s in "${SIZES[@]}"; do
  log "making $s MiB of random bytes"
  head -c $((s * 1048576)) /dev/urandom >"$TMP/www/f$s.bin" || die "cannot write the $s MiB file"
done
TOKEN=$RANDOM$RANDOM$RANDOM
echo "$TOKEN" >"$TMP/www/ok.txt"
sync

# ------------------------------------------------------------------ nginx --
write_conf() {
  local v; v=$(nginx -V 2>&1)
  {
    echo "worker_processes 1;"
    echo "pid $TMP/logs/nginx.pid;"
    echo "error_log $TMP/logs/error.log warn;"
    echo "events { worker_connections 64; }"
    echo "http {"
    echo "  client_body_temp_path $TMP/nginx-tmp/body;"
    [[ $v == *--without-http_proxy_module* ]]   || echo "  proxy_temp_path $TMP/nginx-tmp/proxy;"
    [[ $v == *--without-http_fastcgi_module* ]] || echo "  fastcgi_temp_path $TMP/nginx-tmp/fastcgi;"
    [[ $v == *--without-http_uwsgi_module* ]]   || echo "  uwsgi_temp_path $TMP/nginx-tmp/uwsgi;"
    [[ $v == *--without-http_scgi_module* ]]    || echo "  scgi_temp_path $TMP/nginx-tmp/scgi;"
    cat <<EOF
  default_type application/octet-stream;
  access_log $TMP/logs/access.log;
  sendfile on;
  tcp_nopush on;
  server {
    listen 127.0.0.1:$PORT;
    root $TMP/www;
  }
}
EOF
  } >"$TMP/nginx.conf"
}
port_busy() { (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null; }
start_nginx() {
  for _ in $(seq 20); do
    PORT=$((20000 + RANDOM % 40000))
    port_busy "$PORT" && continue
    write_conf
    nginx -e "$TMP/logs/error.log" -p "$TMP/" -c "$TMP/nginx.conf" -g 'daemon off;' \
      </dev/null >>"$TMP/logs/nginx.out" 2>&1 &
    NGINX_PID=$!
    for _ in $(seq 50); do
      [[ $(curl -fsS --max-time 1 "http://127.0.0.1:$PORT/ok.txt" 2>/dev/null) == "$TOKEN" ]] && return 0
      kill -0 "$NGINX_PID" 2>/dev/null || break
      sleep 0.1
    done
    stop_nginx
  done
  cat "$TMP/logs/error.log" "$TMP/logs/nginx.out" >&2 2>/dev/null
  die "could not start nginx on a free port (is $PARENT readable by the nginx workers?)"
}
start_nginx
BASE=http://127.0.0.1:$PORT
log "nginx pid $NGINX_PID on $BASE (temp dir $TMP, $FSTYPE)"

# ---------------------------------------------------------------- harness --
O=$TMP/out
OUT=$O/out.bin
TOOLS=(curl cursync aria1 aria4 lecdl)
declare -A LABEL=([curl]="curl -s -o" [cursync]="curl + fdatasync (info)" [aria1]="aria2c -x1 -s1"
  [aria4]="aria2c -x4 -s4 (info)" [lecdl]="lecdl get")
ARIA=(aria2c -q --allow-overwrite=true --auto-file-renaming=false --file-allocation=falloc -d "$O" -o out.bin)
tool_cmd() { # tool url -> argv in CMD
  case $1 in
    curl)  CMD=(curl -s -o "$OUT" "$2") ;;
    # lecdl flushes a file before it calls it complete; this row shows what that costs curl.
    cursync) CMD=(sh -c 'curl -s -o "$1" "$2" && sync -d "$1"' sh "$OUT" "$2") ;;
    aria1) CMD=("${ARIA[@]}" -x1 -s1 "$2") ;;
    aria4) CMD=("${ARIA[@]}" -x4 -s4 "$2") ;;
    lecdl) CMD=("$LECDL" get "$2" -o "$OUT") ;;
  esac
}
clear_out() { rm -f -- "$OUT" "$OUT.lecdl-part" "$OUT.lecdl-part.tmp" "$OUT.aria2"; sync; }

declare -A WALL=() CPU=() RSS=() OK=()
FAILS=0
run_one() { # tool size-MiB
  local tool=$1 s=$2 src=$TMP/www/f$2.bin t0 t1 rc e u sy m ok=1 key=$1/$2
  tool_cmd "$tool" "$BASE/f$s.bin"
  clear_out
  ((SETTLE > 0)) && sleep "$SETTLE"
  t0=$(date +%s%N)
  timeout -k 5 $((60 + s)) "$GNU_TIME" -f '%e %U %S %M' -o "$TMP/time.out" "${CMD[@]}" \
    </dev/null >"$TMP/logs/run.out" 2>&1
  rc=$?
  t1=$(date +%s%N)
  if ((rc != 0)); then
    ok=0; log "FAILED: ${LABEL[$tool]} $s MiB: exit $rc"; tail -n 5 "$TMP/logs/run.out" >&2
  elif ! cmp -s -- "$OUT" "$src"; then
    ok=0; log "FAILED: ${LABEL[$tool]} $s MiB: output differs from the served file"
  elif [[ $tool == lecdl && -e $OUT.lecdl-part ]]; then
    ok=0; log "FAILED: lecdl $s MiB: control file left beside a complete file"
  fi
  read -r e u sy m < <(grep -E '^[0-9.]+ [0-9.]+ [0-9.]+ [0-9]+$' "$TMP/time.out" | tail -n1) || { e=0; u=0; sy=0; m=0; }
  ((ok)) || FAILS=$((FAILS + 1))
  WALL[$key]+="$(awk -v a="$t0" -v b="$t1" 'BEGIN{printf "%.4f", (b-a)/1e9}') "
  CPU[$key]+="$(awk -v u="$u" -v s="$sy" 'BEGIN{printf "%.2f", u+s}') "
  RSS[$key]+="$m "
  OK[$key]+="$ok "
  clear_out   # no dirty pages carried into the next run
}
med() { tr ' ' '\n' | awk 'NF' | sort -g | awk '{a[NR]=$1} END{if (!NR) {print "nan"; exit}; if (NR%2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }

# ------------------------------------------------------------------ header --
echo "download.sh  $(date '+%F %H:%M %Z')  $(uname -sr)  $(nproc) cores  $(awk '/MemTotal/{printf "%.0f GiB", $2/1048576}' /proc/meminfo)  temp dir on $FSTYPE"
echo "tools: $(curl --version | head -n1 | cut -d' ' -f1-2); $(aria2c --version | head -n1); $(nginx -v 2>&1 | cut -d' ' -f3); lecdl $("$LECDL" --version 2>&1 | head -n1)"
echo "sizes: ${SIZES[*]} MiB; $RUNS rounds, round-robin; ${SETTLE}s settle before each run; aria2c with --file-allocation=falloc"
echo

n=${#TOOLS[@]}
for s in "${SIZES[@]}"; do
  for ((r = 0; r < RUNS; r++)); do
    for ((k = 0; k < n; k++)); do
      t=${TOOLS[(k + r) % n]}
      log "$s MiB, round $((r + 1))/$RUNS: ${LABEL[$t]}"
      run_one "$t" "$s"
    done
  done
done

# ------------------------------------------------------------------- table --
mbps() { awk -v b="$(($1 * 1048576))" -v w="$2" 'BEGIN{printf "%.0f", b/1e6/w}'; }
printf '%-24s %8s %9s %8s %10s %9s %10s %13s %s\n' tool "size MiB" "wall s" "MB/s" "cpu s/GiB" "RSS MB" "vs curl" "vs aria2 -x1" ok
declare -A MW=() MRSS=()
for s in "${SIZES[@]}"; do
  for t in "${TOOLS[@]}"; do
    MW[$t/$s]=$(med <<<"${WALL[$t/$s]}")
    MRSS[$t/$s]=$(awk -v k="$(med <<<"${RSS[$t/$s]}")" 'BEGIN{printf "%.1f", k*1024/1e6}')
  done
  for t in "${TOOLS[@]}"; do
    key=$t/$s
    okc=$(tr ' ' '\n' <<<"${OK[$key]}" | awk '$1==1{g++} NF{t++} END{printf "%d/%d", g, t}')
    cpu=$(awk -v c="$(med <<<"${CPU[$key]}")" -v s="$s" 'BEGIN{printf "%.2f", c*1024/s}')
    vc=-; va=-
    if [[ $t == lecdl ]]; then
      vc=$(awk -v a="${MW[curl/$s]}" -v b="${MW[$key]}" 'BEGIN{printf "%.2f", a/b}')
      va=$(awk -v a="${MW[aria1/$s]}" -v b="${MW[$key]}" 'BEGIN{printf "%.2f", a/b}')
    fi
    printf '%-24s %8s %9.3f %8s %10s %9s %10s %13s %s\n' "${LABEL[$t]}" "$s" "${MW[$key]}" \
      "$(mbps "$s" "${MW[$key]}")" "$cpu" "${MRSS[$key]}" "$vc" "$va" "$okc"
  done
done
echo
verdict() { if awk "BEGIN{exit !($1)}"; then echo met; else echo MISSED; fi; }
r=$(awk -v a="${MW[curl/$SIZE_MB]}" -v b="${MW[lecdl/$SIZE_MB]}" 'BEGIN{printf "%.2f", a/b}')
echo "target: lecdl throughput >= 0.9 x curl at $SIZE_MB MiB:  $r x  -> $(verdict "$r >= 0.9")"
for s in "${SIZES[@]}"; do
  echo "target: lecdl peak RSS < 30 MB at $s MiB:  ${MRSS[lecdl/$s]} MB  -> $(verdict "${MRSS[lecdl/$s]} < 30")"
done
echo "(medians of $RUNS runs; MB = 10^6 bytes; ratios are of throughput, above 1 = lecdl faster)"
((FAILS == 0)) || { log "done, with $FAILS failed runs (see FAILED above)"; exit 1; }
log "done"
