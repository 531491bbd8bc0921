#!/usr/bin/env bash
# The program as a station runs it without a desktop: an offline render of the
# demo list in audio time, and headless play stopped by a signal.
#   program_test.sh TAVLO DEMO_DIR
set -u
tavlo=$1
demo=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; fi; }

# 100 s of the demo list (four songs of 20..26 s, 1 s transitions).
"$tavlo" --render "$work/out.wav" --seconds 100 "$demo/demo.m3u" > "$work/render.txt" 2> "$work/render.err"
check "render exits 0" "[ $? -eq 0 ]"
lines=$(grep -c ' ; .*\.mp3$' "$work/render.txt")
check "render prints a line per song started (got $lines)" "[ $lines -ge 4 ] && [ $lines -le 6 ]"
check "the first song is the list's first row" "head -n1 '$work/render.txt' | grep -q '01 Morning Chimes.mp3'"
check "each line says the window it is from; the insert window starts empty" "[ \$(grep -c '^\[music\] ' '$work/render.txt') -eq $lines ] && ! grep -q '^\[insert\]' '$work/render.txt'"
frames=$(soxi -s "$work/out.wav")
check "100 s of stereo 16-bit at 44.1 kHz ($frames frames)" "[ '$frames' = 4410000 ] && [ \"\$(soxi -c '$work/out.wav')\" = 2 ] && [ \"\$(soxi -b '$work/out.wav')\" = 16 ]"
# Never silent on air: every second of the render carries sound.
silent=$(sox "$work/out.wav" -n trim 0 100 stat 2>&1 >/dev/null | awk '/RMS +amplitude/ {print $3}')
check "the render is not silent (RMS $silent)" "awk 'BEGIN{exit !($silent > 0.01)}'"
quiet=0
for s in $(seq 0 99); do
  r=$(sox "$work/out.wav" -n trim "$s" 1 stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
  awk "BEGIN{exit !($r < 0.01)}" && quiet=$((quiet + 1))
done
check "no silent second in 100 s ($quiet found)" "[ $quiet -eq 0 ]"

# Headless: plays, prints its first song start, ends cleanly on SIGTERM.
timeout --preserve-status -s TERM 3 "$tavlo" --headless "$demo/demo.m3u" > "$work/headless.txt" 2> "$work/headless.err"
check "headless ends cleanly on SIGTERM" "[ $? -eq 0 ]"
check "headless prints the first song start" "grep -q '01 Morning Chimes.mp3' '$work/headless.txt'"
check "headless says where the sound goes in one line at most" "[ \$(wc -l < '$work/headless.err') -le 1 ]"

# Bad input: a clear usage error, not a crash.
"$tavlo" --render "$work/x.wav" > /dev/null 2>&1
check "a render without a file is a usage error" "[ $? -eq 2 ]"
"$tavlo" --render "$work/missing.wav" --seconds 3 "$work/no such file.mp3" > "$work/missing.txt" 2>&1
check "a missing file plays nothing but does not crash" "[ $? -eq 0 ]"

if [ $fail -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit $fail
