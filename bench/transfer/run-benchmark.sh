#!/usr/bin/env bash
# Throughput benchmark of the downloader against curl over loopback.
#
# Serves a 1 GiB and a 64 MiB file of random bytes with nginx (started here on a
# free loopback port, stopped at the end) and fetches each, directly and through
# an nginx "return 302", with tf_fetch and with `curl -s -o` (curl -L for the
# redirect), alternating, RUNS times each. Then the https round: the same nginx
# serves the 1 GiB file over TLS with a certificate made for the run (openssl),
# fetched HTTPS_RUNS times (9 at least) by tf_fetch (trusting the run's authority
# through TIDEFETCH_EXTRA_CA_FILE) and by `curl -s --cacert ... -o`, alternating.
# Prints the medians of throughput (MiB/s), CPU seconds per GiB and peak RSS, and
# the ratios.
#
#   bench/transfer/run-benchmark.sh            # RUNS=15, HTTPS_RUNS=15, builds tf_fetch in build-bench
#   RUNS=9 HTTPS_RUNS=21 BUILD_DIR=/path/to/build bench/transfer/run-benchmark.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
RUNS=${RUNS:-15}
BUILD_DIR=${BUILD_DIR:-$repo/build-bench}
BIG_MIB=${BIG_MIB:-1024}
MID_MIB=${MID_MIB:-64}
HTTPS_RUNS=${HTTPS_RUNS:-15}
[ "$HTTPS_RUNS" -ge 9 ] || HTTPS_RUNS=9

"$repo/scripts/install-packages.sh" nginx time curl openssl

if [ ! -x "$BUILD_DIR/bench/transfer/tf_fetch" ]; then
    cmake -S "$repo" -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIDEFETCH_BUILD_BENCHMARKS=ON >/dev/null
fi
cmake --build "$BUILD_DIR" --target tf_fetch -j2 >/dev/null
fetch="$BUILD_DIR/bench/transfer/tf_fetch"

work=$(mktemp -d)
nginx_pid=""
cleanup() {
    if [ -n "$nginx_pid" ]; then
        kill "$nginx_pid" 2>/dev/null || true
        wait "$nginx_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT

# nginx's workers may run as another user: everything it serves is world-readable.
mkdir -p "$work/www" "$work/out" "$work/temp"
chmod 755 "$work" "$work/www"
echo "making ${BIG_MIB} MiB and ${MID_MIB} MiB of random bytes..."
head -c $((BIG_MIB * 1024 * 1024)) /dev/urandom >"$work/www/big.bin"
head -c $((MID_MIB * 1024 * 1024)) /dev/urandom >"$work/www/mid.bin"
chmod 644 "$work/www/"*.bin

# The run's authority and a leaf for 127.0.0.1 that it signs.
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -days 2 -subj /CN=bench-authority \
    -keyout "$work/ca.key" -out "$work/ca.pem" 2>/dev/null
openssl req -newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes -subj /CN=127.0.0.1 \
    -keyout "$work/leaf.key" -out "$work/leaf.csr" 2>/dev/null
printf 'subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' >"$work/leaf.ext"
openssl x509 -req -in "$work/leaf.csr" -CA "$work/ca.pem" -CAkey "$work/ca.key" -CAcreateserial -days 2 \
    -extfile "$work/leaf.ext" -out "$work/leaf.pem" 2>/dev/null
chmod 644 "$work/leaf.key" "$work/leaf.pem"

port_is_free() {
    ! (exec 3<>"/dev/tcp/127.0.0.1/$1") 2>/dev/null
}

start_nginx() {
    local port=$1 tls_port=$2
    cat >"$work/nginx.conf" <<CONF
worker_processes 1;
daemon off;
pid $work/nginx.pid;
error_log $work/nginx-error.log;
events { worker_connections 64; }
http {
    access_log off;
    sendfile on;
    tcp_nopush on;
    default_type application/octet-stream;
    client_body_temp_path $work/temp/body;
    proxy_temp_path $work/temp/proxy;
    fastcgi_temp_path $work/temp/fastcgi;
    uwsgi_temp_path $work/temp/uwsgi;
    scgi_temp_path $work/temp/scgi;
    server {
        listen 127.0.0.1:$port;
        root $work/www;
        location = /redirect/big.bin { return 302 http://127.0.0.1:$port/big.bin; }
        location = /redirect/mid.bin { return 302 http://127.0.0.1:$port/mid.bin; }
    }
    server {
        listen 127.0.0.1:$tls_port ssl;
        ssl_certificate $work/leaf.pem;
        ssl_certificate_key $work/leaf.key;
        root $work/www;
    }
}
CONF
    nginx -c "$work/nginx.conf" -p "$work" &
    nginx_pid=$!
    for _ in $(seq 50); do
        if curl -s -o /dev/null -r 0-0 "http://127.0.0.1:$port/mid.bin"; then
            return 0
        fi
        kill -0 "$nginx_pid" 2>/dev/null || break
        sleep 0.1
    done
    wait "$nginx_pid" 2>/dev/null || true
    nginx_pid=""
    return 1
}

port=""
for _ in $(seq 20); do
    candidate=$((20000 + RANDOM % 40000))
    if port_is_free "$candidate" && port_is_free $((candidate + 1)) && start_nginx "$candidate" $((candidate + 1)); then
        port=$candidate
        break
    fi
done
[ -n "$port" ] || { echo "could not start nginx" >&2; cat "$work/nginx-error.log" >&2 || true; exit 1; }
base="http://127.0.0.1:$port"
tls_base="https://127.0.0.1:$((port + 1))"
echo "nginx $(nginx -v 2>&1 | sed 's/.*\///') on $base and $tls_base (pid $nginx_pid);" \
    "curl $(curl --version | head -1 | cut -d' ' -f2); $RUNS runs each, $HTTPS_RUNS over https"

# The command line of one fetch: tool URL OUT.
command_of() {
    case $1 in
        ours) echo "$fetch $2 $3" ;;
        ours-tls) echo "env TIDEFETCH_EXTRA_CA_FILE=$work/ca.pem $fetch $2 $3" ;;
        curl) echo "curl -s -o $3 $2" ;;
        curl-tls) echo "curl -s --cacert $work/ca.pem -o $3 $2" ;;
        curl-follow) echo "curl -s -L -o $3 $2" ;;
    esac
}

# One fetch: appends "wall_seconds cpu_seconds peak_rss_kib" to $work/<label>.txt.
measure() {
    local label=$1 size=$2 url=$3 tool=$4 out="$work/out/file.bin"
    rm -f "$out"
    sync "$work/out"
    local start end
    start=$(date +%s%N)
    # shellcheck disable=SC2046 # the command is split into its words on purpose
    /usr/bin/time -f '%U %S %M' -o "$work/time.txt" $(command_of "$tool" "$url" "$out") </dev/null
    end=$(date +%s%N)
    local actual
    actual=$(stat -c %s "$out")
    if [ "$actual" -ne "$size" ]; then
        echo "$label: got $actual bytes, expected $size" >&2
        exit 1
    fi
    read -r user sys rss <"$work/time.txt"
    echo "$(((end - start) / 1000))e-6 $user $sys $rss" | awk '{printf "%.6f %.2f %d\n", $1, $2 + $3, $4}' \
        >>"$work/$label.txt"
}

# Every tool's first fetch of each file is checked byte for byte.
for name in big mid; do
    for tool in ours curl-follow; do
        rm -f "$work/out/file.bin"
        # shellcheck disable=SC2046
        $(command_of "$tool" "$base/redirect/$name.bin" "$work/out/file.bin")
        cmp -s "$work/out/file.bin" "$work/www/$name.bin" || { echo "$tool: $name.bin differs" >&2; exit 1; }
    done
done
for tool in ours-tls curl-tls; do
    rm -f "$work/out/file.bin"
    # shellcheck disable=SC2046
    $(command_of "$tool" "$tls_base/big.bin" "$work/out/file.bin")
    cmp -s "$work/out/file.bin" "$work/www/big.bin" || { echo "$tool: big.bin over https differs" >&2; exit 1; }
done

# The fetches of one file; each round runs them in a new random order, so no
# fetch always follows the same one (the page cache and the machine's other work
# make the order matter).
jobs_of() {
    local name=$1
    echo "ours-$name $name.bin ours"
    echo "curl-$name $name.bin curl"
    echo "ours-$name-302 redirect/$name.bin ours"
    echo "curl-$name-302 redirect/$name.bin curl-follow"
}
sync
for run in $(seq "$RUNS"); do
    printf '\rrun %d of %d' "$run" "$RUNS"
    for name in big mid; do
        size=$((BIG_MIB * 1024 * 1024))
        [ "$name" = mid ] && size=$((MID_MIB * 1024 * 1024))
        while read -r label target tool; do
            measure "$label" "$size" "$base/$target" "$tool"
        done < <(jobs_of "$name" | shuf)
    done
done
echo
big_size=$((BIG_MIB * 1024 * 1024))
for run in $(seq "$HTTPS_RUNS"); do
    printf '\rhttps run %d of %d' "$run" "$HTTPS_RUNS"
    while read -r label tool; do
        measure "$label" "$big_size" "$tls_base/big.bin" "$tool"
    done < <(printf 'ours-big-tls ours-tls\ncurl-big-tls curl-tls\n' | shuf)
done
rm -f "$work/out/file.bin"
echo

median() { sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
# Medians of one label: MiB/s, CPU s/GiB, peak RSS MiB.
figures() {
    local label=$1 mib=$2 file="$work/$1.txt"
    local rate cpu rss
    rate=$(awk -v m="$mib" '{print m / $1}' "$file" | median)
    cpu=$(awk -v m="$mib" '{print $2 / (m / 1024)}' "$file" | median)
    rss=$(awk '{print $3 / 1024}' "$file" | median)
    echo "$rate $cpu $rss"
}

printf '\n%-26s %10s %12s %14s\n' "case (median of $RUNS)" "MiB/s" "CPU s/GiB" "peak RSS MiB"
declare -A rate cpu rss
for label in ours-big curl-big ours-big-302 curl-big-302 ours-mid curl-mid ours-mid-302 curl-mid-302 \
    ours-big-tls curl-big-tls; do
    mib=$BIG_MIB
    [[ $label == *mid* ]] && mib=$MID_MIB
    read -r r c m < <(figures "$label" "$mib")
    rate[$label]=$r cpu[$label]=$c rss[$label]=$m
    printf '%-26s %10.1f %12.3f %14.1f   MiB/s of each run: %s\n' "$label" "$r" "$c" "$m" \
        "$(awk -v m="$mib" '{printf "%.0f ", m / $1}' "$work/$label.txt")"
done

ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }
# paired A B rate|cpu: the median over the rounds of B's throughput against A's
# (or A's CPU time against B's); line n of each file is round n, so each ratio
# pairs fetches made under the same load of the machine.
paired() {
    paste -d' ' "$work/$1.txt" "$work/$2.txt" | awk -v c="$3" '{print (c == "cpu") ? $2 / $5 : $1 / $4}' | median |
        awk '{printf "%.2f", $1}'
}
big="$BIG_MIB MiB"
mid="$MID_MIB MiB"
echo
echo "                               ratio of medians   median of per-round ratios"
printf '%-30s %10s %16s   %s\n' "$big throughput tf_fetch/curl" "$(ratio "${rate[ours-big]}" "${rate[curl-big]}")" \
    "$(paired curl-big ours-big rate)" "(target >= 1.30)"
printf '%-30s %10s %16s   %s\n' "$big CPU s/GiB tf_fetch/curl" "$(ratio "${cpu[ours-big]}" "${cpu[curl-big]}")" \
    "$(paired ours-big curl-big cpu)" "(target <= 0.75)"
printf '%-30s %10s %16s   %s\n' "$big 302 route/direct" "$(ratio "${rate[ours-big-302]}" "${rate[ours-big]}")" \
    "$(paired ours-big ours-big-302 rate)" "(target 0.90 to 1.10)"
printf '%-30s %10s %16s\n' "$mid throughput tf_fetch/curl" "$(ratio "${rate[ours-mid]}" "${rate[curl-mid]}")" \
    "$(paired curl-mid ours-mid rate)"
printf '%-30s %10s %16s\n' "$mid CPU s/GiB tf_fetch/curl" "$(ratio "${cpu[ours-mid]}" "${cpu[curl-mid]}")" \
    "$(paired ours-mid curl-mid cpu)"
printf '%-30s %10s %16s\n' "$mid 302 route/direct" "$(ratio "${rate[ours-mid-302]}" "${rate[ours-mid]}")" \
    "$(paired ours-mid ours-mid-302 rate)"
printf '%-30s %10s %16s   %s\n' "$big https throughput tf_fetch/curl" \
    "$(ratio "${rate[ours-big-tls]}" "${rate[curl-big-tls]}")" "$(paired curl-big-tls ours-big-tls rate)" \
    "(target >= 1.00)"
printf '%-30s %10s %16s   %s\n' "$big https CPU s/GiB tf_fetch/curl" \
    "$(ratio "${cpu[ours-big-tls]}" "${cpu[curl-big-tls]}")" "$(paired ours-big-tls curl-big-tls cpu)" \
    "(target <= 1.00)"
printf 'peak RSS of tf_fetch: %.1f MiB (%s), %.1f MiB (%s), %.1f MiB (%s over https); target < 32\n' \
    "${rss[ours-big]}" "$big" "${rss[ours-mid]}" "$mid" "${rss[ours-big-tls]}" "$big"
