#!/usr/bin/env bash
# Whole-process timings of the readers: picture-dump against the library call on its own
# (picture-load) and against djpeg's streaming decode, and our GIF reader against giflib
# (gif-load). Each pair runs alternately, A B A B ..., so a drift of the machine's speed touches
# both; the report gives medians and maxima of user + system time and of wall time, the median of
# the pair-by-pair ratios and the peak memory. Every output goes to /dev/null on both sides.
#
#   bench/whole_process.sh [-n RUNS] [BUILD_DIR]     (default 21 runs, BUILD_DIR build/)
#
# KV_WHOLE_PROCESS_ONLY=REGEX keeps the pairs whose label matches (e.g. 'BMP|progressive').
#
# Needs a Release build of picture-dump, picture-load, gif-load and bench_gif, python3,
# ImageMagick (/usr/bin/convert) and libjpeg-turbo-progs (djpeg, jpegtran). The inputs are made
# once under ${KV_WHOLE_PROCESS_INPUTS:-/tmp/kv_whole_process} and kept for later runs.
set -euo pipefail
runs=21
if [[ ${1:-} == -n ]]; then
    runs=$2
    shift 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
bin="$(cd "${1:-$root/build}" && pwd)/bin"
inputs=${KV_WHOLE_PROCESS_INPUTS:-/tmp/kv_whole_process}
mkdir -p "$inputs"

# The 24-megapixel photo-like picture: a smooth fractal field with a little noise, 4:2:0,
# quality 90; the same scans made progressive; the same pixels as a 24-bit BMP.
if [[ ! -s $inputs/baseline.jpg ]]; then
    /usr/bin/convert -size 1500x1000 -seed 7 plasma:fractal -resize '6000x4000!' -attenuate 0.3 \
        +noise Gaussian -quality 90 -sampling-factor 2x2 "$inputs/baseline.jpg"
fi
[[ -s $inputs/progressive.jpg ]] || jpegtran -progressive -copy none "$inputs/baseline.jpg" >"$inputs/progressive.jpg"
[[ -s $inputs/photo.bmp ]] || /usr/bin/convert "$inputs/baseline.jpg" -type TrueColor "BMP3:$inputs/photo.bmp"
[[ -s $inputs/noise_4000x3000.gif || ! -x $bin/bench_gif ]] || "$bin/bench_gif" --write-files "$inputs" >/dev/null

# One run of a command (a string split into words): appends "user system wall peak_kib", the
# times in microseconds of the child's own accounting (GNU time prints only hundredths).
time_one() {
    local out=$1
    shift
    python3 -c '
import os, sys, time
start = time.monotonic()
pid = os.fork()
if pid == 0:
    null = os.open(os.devnull, os.O_RDWR)
    for fd in (0, 1, 2): os.dup2(null, fd)
    os.execvp(sys.argv[1], sys.argv[1:])
_, status, usage = os.wait4(pid, 0)
wall = time.monotonic() - start
if status != 0: sys.exit("failed: " + " ".join(sys.argv[1:]))
print("%.6f %.6f %.6f %d" % (usage.ru_utime, usage.ru_stime, wall, usage.ru_maxrss))
' $1 >>"$out"
}

# pair LABEL 'COMMAND A' 'COMMAND B': alternated runs after one warm-up of each.
pair() {
    local label=$1 a=$2 b=$3 work
    [[ $label =~ ${KV_WHOLE_PROCESS_ONLY:-.} ]] || return 0
    work=$(mktemp -d)
    time_one "$work/warm" "$a"
    time_one "$work/warm" "$b"
    for ((i = 0; i < runs; ++i)); do
        time_one "$work/a" "$a"
        time_one "$work/b" "$b"
    done
    paste -d' ' "$work/a" "$work/b" | awk -v label="$label" '
        function median(v, n,   i, j, t) {
            for (i = 2; i <= n; ++i) for (j = i; j > 1 && v[j - 1] > v[j]; --j) { t = v[j]; v[j] = v[j - 1]; v[j - 1] = t }
            return n % 2 ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
        }
        function maximum(v, n,   i, m) { m = v[1]; for (i = 2; i <= n; ++i) if (v[i] > m) m = v[i]; return m }
        {
            ++n; ac[n] = $1 + $2; aw[n] = $3; am[n] = $4; bc[n] = $5 + $6; bw[n] = $7; bm[n] = $8
            au[n] = $1; as[n] = $2; bu[n] = $5; bs[n] = $6
            rc[n] = bc[n] > 0 ? ac[n] / bc[n] : 0; rw[n] = bw[n] > 0 ? aw[n] / bw[n] : 0
        }
        END {
            printf "%s (%d pairs)\n", label, n
            printf "  A cpu %.4f s (max %.4f; user %.4f, sys %.4f)  wall %.4f s  peak %.0f MiB\n", median(ac, n), maximum(ac, n), median(au, n), median(as, n), median(aw, n), maximum(am, n) / 1024
            printf "  B cpu %.4f s (max %.4f; user %.4f, sys %.4f)  wall %.4f s  peak %.0f MiB\n", median(bc, n), maximum(bc, n), median(bu, n), median(bs, n), median(bw, n), maximum(bm, n) / 1024
            printf "  A/B cpu %.3f  wall %.3f (medians of the pairs)\n", median(rc, n), median(rw, n)
        }'
    rm -rf "$work"
}

for name in baseline progressive; do
    f=$inputs/$name.jpg
    pair "$name JPEG: picture-dump (A) / the library call (B)" "$bin/picture-dump $f /dev/null" "$bin/picture-load $f"
    pair "$name JPEG: picture-dump (A) / djpeg -dct float -pnm (B)" "$bin/picture-dump $f /dev/null" \
        "djpeg -dct float -pnm -outfile /dev/null $f"
    pair "$name JPEG: the library call (A) / djpeg -dct float -pnm (B)" "$bin/picture-load $f" \
        "djpeg -dct float -pnm -outfile /dev/null $f"
done
pair "24-bit BMP: picture-dump (A) / the library call (B)" "$bin/picture-dump $inputs/photo.bmp /dev/null" \
    "$bin/picture-load $inputs/photo.bmp"
for name in noise_4000x3000 photo_4000x3000 anim_480x360x50; do
    f=$inputs/$name.gif
    pair "GIF $name: picture-dump (A) / the library call (B)" "$bin/picture-dump $f /dev/null" "$bin/picture-load $f"
    pair "GIF $name: our reader (A) / giflib (B), every frame" "$bin/gif-load ours $f" "$bin/gif-load giflib $f"
done
