#!/usr/bin/env bash
# The program as a station runs it without a desktop: an offline render of the
# demo list in audio time, headless play stopped by a signal, and the command
# line: bad options refused, --help and --version.
#   program_test.sh TAVLO DEMO_DIR VERSION
set -u
tavlo=$1
demo=$2
version=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME="$work/config"
# The station's kept state goes here, not to the user's own.
export XDG_STATE_HOME="$work/state"
# And the loudness cache.
export XDG_CACHE_HOME="$work/cache"
fail=0
check() { if ! eval "$2"; then echo "FAIL: $1"; fail=1; fi; }
# silent_seconds WAV N: how many of the first N seconds peak under 0.01.
silent_seconds() {
  local quiet=0 s r
  for s in $(seq 0 $(($2 - 1))); do
    r=$(sox "$1" -n trim "$s" 1 stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
    awk "BEGIN{exit !($r < 0.01)}" && quiet=$((quiet + 1))
  done
  echo $quiet
}

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
quiet=$(silent_seconds "$work/out.wav" 100)
check "no silent second in 100 s ($quiet found)" "[ $quiet -eq 0 ]"

# Headless: plays, prints its first song start, ends cleanly on SIGTERM.
timeout --preserve-status -s TERM 3 "$tavlo" --headless "$demo/demo.m3u" > "$work/headless.txt" 2> "$work/headless.err"
check "headless ends cleanly on SIGTERM" "[ $? -eq 0 ]"
check "headless prints the first song start" "grep -q '01 Morning Chimes.mp3' '$work/headless.txt'"
# Besides, one line says where its web remote is (or, its port taken, why not).
check "headless says where its web remote listens, once" \
  "[ \$(grep -cE '^\\[music\\] (Web remote at http://127\\.0\\.0\\.1:8091/|The web remote cannot listen)' '$work/headless.err') -eq 1 ]"
check "headless says where the sound goes in one line at most" \
  "[ \$(grep -vc 'web remote\\|Web remote' '$work/headless.err') -le 1 ]"

# A scheduled break in a render around noon: music (440 Hz) until the event's
# second, the insert (1500 Hz) from it, then the music again.
sox -n -r 44100 -c 2 "$work/m1.wav" synth 40 sine 440 vol 0.5
sox -n -r 44100 -c 2 "$work/m2.wav" synth 40 sine 440 vol 0.5
sox -n -r 44100 -c 2 "$work/ad.wav" synth 10 sine 1500 vol 0.5
printf '%s\n' "$work/m1.wav" "$work/m2.wav" > "$work/music.m3u"
printf '%s\n' "$work/ad.wav" > "$work/break.m3u"
printf '12:00:00 PM;%s;Ads\r\n' "$work/break.m3u" > "$work/day.tmg"
"$tavlo" --render "$work/noon.wav" --seconds 50 --start 11:59:40 --events "$work/day.tmg" "$work/music.m3u" > "$work/noon.txt" 2> "$work/noon.err"
check "the noon render exits 0" "[ $? -eq 0 ]"
check "the event fires at 12:00:00 and the insert starts then" "grep -q '^\[timing\] .*12:00:00 ; 12:00:00 PM;.*break.m3u;Ads$' '$work/noon.txt' && grep -q '^\[insert\] .*12:00:00 ; .*ad.wav$' '$work/noon.txt'"
# Which tone leads each half second: "m" music, "i" insert, "-" neither by 10 to 1.
lead=""
for t in $(seq 0 0.5 49.5); do
  lo=$(sox "$work/noon.wav" -n trim "$t" 0.5 sinc -1000 stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
  hi=$(sox "$work/noon.wav" -n trim "$t" 0.5 sinc 1000 stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
  lead+=$(awk -v l="$lo" -v h="$hi" 'BEGIN{ if (l > 10*h) print "m"; else if (h > 10*l) print "i"; else print "-" }')
done
echo "noon render, half seconds from 11:59:40: $lead"
check "music to 12:00:00, the insert from 12:00:00.5 to 12:00:08, music from 12:00:10" \
  "[ '${lead:0:40}' = \"\$(printf 'm%.0s' {1..40})\" ] && [ '${lead:41:16}' = \"\$(printf 'i%.0s' {1..16})\" ] && [ '${lead:60:40}' = \"\$(printf 'm%.0s' {1..40})\" ]"

# A library as other programs leave it: FLAC, Opus and AAC named in a UTF-8
# .m3u8 relative to the list's folder, played from another folder.
mkdir -p "$work/lib/Caf$(printf '\xc3\xa9')"
for n in 1 2 3; do sox -n -r 48000 -b 16 -c 2 "$work/t$n.wav" synth 6 sine $((200 * n)) vol 0.5; done
flac --silent -o "$work/lib/Caf$(printf '\xc3\xa9')/one.flac" "$work/t1.wav"
opusenc --quiet "$work/t2.wav" "$work/lib/two.opus"
ffmpeg -v error -i "$work/t3.wav" -c:a aac "$work/lib/three.m4a"
printf '\xef\xbb\xbf#EXTM3U\r\n#EXTINF:6,One\r\nCaf\xc3\xa9/one.flac\r\n#EXTINF:6,Two\r\ntwo.opus\r\nthree.m4a\r\n' \
  > "$work/lib/library.m3u8"
(cd / && "$tavlo" --render "$work/lib.wav" --seconds 13 "$work/lib/library.m3u8") > "$work/lib.txt" 2> "$work/lib.err"
check "the library render exits 0" "[ $? -eq 0 ]"
check "each format starts in its turn, none an error" \
  "[ \"\$(grep -o '[a-z]*\.[a-z0-9]*$' '$work/lib.txt' | tr '\n' ' ')\" = 'one.flac two.opus three.m4a ' ] && ! grep -q ERROR '$work/lib.txt'"
(cd / && timeout --preserve-status -s TERM 3 "$tavlo" --headless "$work/lib/library.m3u8") > "$work/libh.txt" 2> /dev/null
check "headless plays the library's first song" "head -n1 '$work/libh.txt' | grep -q 'one.flac$'"

# Killed mid-song as a crash or a power cut does, then started again without
# a file: the song on air goes on where it was, by its log and by a render.
export XDG_STATE_HOME="$work/killed"
sox -n -r 44100 -c 2 "$work/k1.wav" synth 40 sine 440 vol 0.5
sox -n -r 44100 -c 2 "$work/k2.wav" synth 40 sine 880 vol 0.5
printf '%s\n' "$work/k1.wav" "$work/k2.wav" > "$work/kill.m3u"
"$tavlo" --headless "$work/kill.m3u" > "$work/kill1.txt" 2> "$work/kill1.err" &
pid=$!
for _ in $(seq 100); do grep -q 'k1.wav$' "$work/kill1.txt" && break; sleep 0.1; done
on_air=$(date +%s.%N)
sleep 6
kill -9 $pid
killed=$(date +%s.%N)
wait $pid 2>/dev/null
kept=$(sed -n '/"music"/,/}/s/.*"position": \([0-9.]*\).*/\1/p' "$XDG_STATE_HOME/tavlo/state.json")
lost=$(awk -v a="$on_air" -v k="$killed" -v p="${kept:-0}" 'BEGIN { printf "%.2f", (k - a) - p }')
echo "killed $(awk -v a="$on_air" -v k="$killed" 'BEGIN { printf "%.2f", k - a }') s into k1.wav; kept position ${kept:-none} s; lost $lost s"
check "the kept state lost at most 1 s of the song at the kill (lost $lost s)" \
  "awk -v l='$lost' 'BEGIN { exit !(l > -0.3 && l <= 1.2) }'"
started=$(date +%s.%N)
timeout --preserve-status -s TERM 3 "$tavlo" --headless > "$work/kill2.txt" 2> "$work/kill2.err" &
pid=$!
for _ in $(seq 30); do grep -q 'RESUMED' "$work/kill2.err" && break; sleep 0.05; done
resumed=$(date +%s.%N)
wait $pid
check "started again without a file, it resumes and ends cleanly" "[ $? -eq 0 ]"
echo "resume took $(awk -v a="$started" -v b="$resumed" 'BEGIN { printf "%.2f", b - a }') s from the command to the song back on air"
resumed_line=$(grep -F '**RESUMED**' "$work/kill2.err")
check "one RESUMED line names k1.wav at 00:05 or 00:06 (got: $resumed_line)" \
  "[ \$(grep -cF '**RESUMED**' '$work/kill2.err') -eq 1 ] && grep -Eq 'k1[.]wav at 00:0[56]' <<<\"\$resumed_line\""
check "the resumed run starts no song anew" "! grep -q 'k1.wav$' '$work/kill2.txt'"
"$tavlo" --render "$work/resumed.wav" --seconds 4 > "$work/resumed.txt" 2> "$work/resumed.err"
check "a render without a file resumes too (RESUMED line: $(grep -o 'RESUMED.*' "$work/resumed.err"))" \
  "grep -Eq 'RESUMED.*k1[.]wav at 00:0[6-9]' '$work/resumed.err'"
# The render's first half second rises from silence; then k1's 440 Hz, not k2's 880 Hz.
first=$(sox "$work/resumed.wav" -n trim 0 0.02 stat 2>&1 | awk '/Maximum amplitude/ {print $3}')
lo=$(sox "$work/resumed.wav" -n trim 1 2 sinc -660 stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
hi=$(sox "$work/resumed.wav" -n trim 1 2 sinc 660 stat 2>&1 | awk '/RMS +amplitude/ {print $3}')
check "the render fades in (first 20 ms peak $first) and plays k1's tone (440 Hz RMS $lo, 880 Hz RMS $hi)" \
  "awk -v f='$first' -v l='$lo' -v h='$hi' 'BEGIN { exit !(f < 0.05 && l > 0.1 && l > 5 * h) }'"
XDG_STATE_HOME="$work/none" "$tavlo" --headless > /dev/null 2>&1
check "a headless start with nothing kept is refused and keeps nothing" "[ $? -eq 2 ] && [ ! -e '$work/none/tavlo/state.json' ]"
"$tavlo" --headless --fresh > /dev/null 2> "$work/fresh.err"
check "--fresh with nothing else refuses: nothing to play" "[ $? -eq 2 ] && grep -q 'nothing to play' '$work/fresh.err'"
export XDG_STATE_HOME="$work/state"
# And the loudness cache.
export XDG_CACHE_HOME="$work/cache"

# Bad input: a clear usage error, not a crash.
XDG_STATE_HOME="$work/empty" "$tavlo" --render "$work/x.wav" > /dev/null 2>&1
check "a render with no file and nothing kept to resume is a usage error" "[ $? -eq 2 ]"
"$tavlo" --render "$work/missing.wav" --seconds 3 "$work/no such file.mp3" > "$work/missing.txt" 2>&1
check "a missing file plays nothing but does not crash" "[ $? -eq 0 ]"

# A list whose files have all gone, and a fallback folder: the folder is heard
# from the start in name order, and each missing file is logged once.
mkdir -p "$work/safe"
sox -n -r 44100 -c 2 "$work/safe/b.wav" synth 8 sine 330 vol 0.5
sox -n -r 44100 -c 2 "$work/safe/a.wav" synth 8 sine 550 vol 0.5
printf '%s\n' "$work/gone1.mp3" "$work/gone2.mp3" > "$work/gone.m3u"
"$tavlo" --render "$work/fb.wav" --seconds 30 --fallback "$work/safe" "$work/gone.m3u" > "$work/fb.txt" 2> "$work/fb.err"
check "the fallback render exits 0" "[ $? -eq 0 ]"
check "the fallback folder plays in name order" \
  "[ \"\$(grep -o '[a-z]\.wav$' '$work/fb.txt' | head -n3 | tr '\n' ' ')\" = 'a.wav b.wav a.wav ' ]"
check "each missing file is logged once in 30 s" \
  "[ \$(grep -c 'ERROR.*gone1.mp3' '$work/fb.err') -eq 1 ] && [ \$(grep -c 'ERROR.*gone2.mp3' '$work/fb.err') -eq 1 ]"
quiet=$(silent_seconds "$work/fb.wav" 30)
check "no silent second on the fallback ($quiet found)" "[ $quiet -eq 0 ]"
timeout --preserve-status -s TERM 3 "$tavlo" --headless --fresh --fallback "$work/safe" > "$work/fbh.txt" 2> /dev/null
check "headless with only a fallback (and nothing kept) plays it" "head -n1 '$work/fbh.txt' | grep -q 'a.wav$'"

# Songs as files are: 2 s of silence, 10 s of tone, a 6 s fade, 3 s of
# silence. Fresh settings play them by their cue points, with no silent
# second between them; --auto-cue off plays them whole, gaps and all.
for hz in 330 440 550; do
  sox -n -r 44100 -c 2 "$work/shaped$hz.wav" synth 16 sine $hz vol 0.5 fade t 0 16 6 pad 2 3
done
printf '%s\n' "$work/shaped330.wav" "$work/shaped440.wav" "$work/shaped550.wav" > "$work/shaped.m3u"
"$tavlo" --render "$work/cue.wav" --seconds 42 --fresh "$work/shaped.m3u" > /dev/null 2>&1
check "the auto-cue render exits 0" "[ $? -eq 0 ]"
quiet=$(silent_seconds "$work/cue.wav" 40)
check "no silent second between songs played by their cue points ($quiet found)" "[ $quiet -eq 0 ]"
"$tavlo" --render "$work/nocue.wav" --seconds 42 --fresh --auto-cue off "$work/shaped.m3u" > /dev/null 2>&1
quiet=$(silent_seconds "$work/nocue.wav" 40)
check "with --auto-cue off the silences are heard ($quiet silent seconds)" "[ $quiet -ge 4 ]"

# Each refusal's own text is CommandLineTest's; here, that main prints it and stops.
for bad in "--bogus $work/music.m3u" "--render $work/x.wav --events $work/missing.tmg $work/music.m3u" \
           "--headless --stream icecast://source:pw@host:8000/live $work/music.m3u"; do
  # shellcheck disable=SC2086
  "$tavlo" $bad > /dev/null 2> "$work/bad.err"
  check "\"$bad\" is refused with status 2, a message and the usage" "[ $? -eq 2 ] && grep -q '^tavlo: ' '$work/bad.err' && grep -q '^usage: ' '$work/bad.err'"
done

# The password never shows, even in the refusal of an address that holds one.
check "a password in the stream's address is not echoed" "! grep -q ':pw@' '$work/bad.err'"

# --version says the project's version; --help lists every option the program takes.
"$tavlo" --version > "$work/version.txt" 2>&1
check "--version exits 0 and prints \"tavlo $version\"" "[ $? -eq 0 ] && [ \"\$(cat '$work/version.txt')\" = 'tavlo $version' ]"
"$tavlo" --help > "$work/help.txt" 2>&1
check "--help exits 0" "[ $? -eq 0 ]"
for opt in --headless --render --seconds --events --start --loudness --auto-cue --stream --fresh --fallback --help --version TAVLO_STREAM_PASSWORD; do
  check "--help mentions $opt" "grep -q -- '$opt' '$work/help.txt'"
done

if [ $fail -eq 0 ]; then echo "1 passed, 0 failed"; else echo "0 passed, 1 failed"; fi
exit $fail
