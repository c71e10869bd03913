#!/bin/bash
# The processor share of a windowed run while a 640x480 video at 30 frames a second, with sound,
# plays (under Xvfb; the sound goes to SDL's dummy device, which pulls it at the real rate).
# Usage: bench/video-cpu.sh [BUILD_DIR] [SECONDS]   (default build/release, 12)
# Needs xvfb-run and the make_video tool (ninja -C BUILD_DIR make_video orvane).
set -eu
build=$(cd "${1:-build/release}" && pwd)
seconds=${2:-12}
game=$(mktemp -d)
trap 'rm -rf "$game"' EXIT
"$build/make_video" "$game/v.avi" mpeg4 640 480 30 "$seconds" pcm_s16le
printf '*define\ngame\n*start\navi "v.avi",0\nend\n' >"$game/0.txt"
cat >"$game/measure.sh" <<'INNER'
#!/bin/bash
# Samples the player's processor time over all but the first and last second of the video.
"$1" "$2" &
pid=$!
sleep 1
read -r u1 s1 < <(cut -d' ' -f14,15 /proc/$pid/stat)
t1=$(date +%s.%N)
sleep $(($3 - 2))
read -r u2 s2 < <(cut -d' ' -f14,15 /proc/$pid/stat)
t2=$(date +%s.%N)
wait $pid
echo "$u1 $s1 $u2 $s2 $t1 $t2 $(getconf CLK_TCK)" | awk '{
    cpu = ($3 + $4 - $1 - $2) / $7; wall = $6 - $5
    printf "%.1f s of a 640x480 30 frames/s video: %.2f s of processor time, %.1f %% of one core\n", wall, cpu, 100 * cpu / wall }'
INNER
chmod +x "$game/measure.sh"
# A lock directory of its own, so that another windowed copy on the machine does not refuse it.
TMPDIR=$game SDL_AUDIODRIVER=dummy xvfb-run -a -s "-screen 0 1024x768x24" \
    "$game/measure.sh" "$build/orvane" "$game" "$seconds"
