# Sourced by the bench groups: the test songs, made once (sox + lame, and
# each format's own encoder) and kept in the build folder's bench-media/
# between runs.

# bench_song NAME SECONDS SOX_EFFECTS...: prints the path of NAME.mp3.
bench_song() {
  local name=$1 seconds=$2 media="$build/bench-media"
  shift 2
  mkdir -p "$media"
  if [ ! -s "$media/$name.mp3" ]; then
    sox -q -n -r 44100 -c 2 "$media/$name.wav" synth "$seconds" "$@"
    lame --quiet -b 128 "$media/$name.wav" "$media/$name.mp3.tmp"
    mv "$media/$name.mp3.tmp" "$media/$name.mp3"
    rm -f "$media/$name.wav"
  fi
  echo "$media/$name.mp3"
}

# Three minutes of chords over pink noise, swelling: busy enough that every
# frame takes the decoder real work.
song180_effects=(sine 220 sine 330 sine 440 pinknoise remix 1,2,4 2,3,4 tremolo 0.5 40 gain -n -3)

bench_song180() {
  bench_song song180 180 "${song180_effects[@]}"
}

# bench_song180_formats: the same three minutes as FLAC, Ogg Vorbis, Opus and
# AAC (.m4a), each made by its own encoder at its default settings from one
# 16-bit WAV (FLAC takes no float); prints their paths, one a line.
bench_song180_formats() {
  local media="$build/bench-media" base="$build/bench-media/song180"
  local wav="$base-source.wav" ext missing=0
  mkdir -p "$media"
  for ext in flac ogg opus m4a; do
    [ -s "$base.$ext" ] || missing=1
  done
  if [ "$missing" -eq 1 ]; then
    sox -q -n -r 44100 -c 2 -b 16 "$wav" synth 180 "${song180_effects[@]}"
    [ -s "$base.flac" ] || { flac -s -f -o "$base.flac.tmp" "$wav" && mv "$base.flac.tmp" "$base.flac"; }
    [ -s "$base.ogg" ] || { oggenc -Q -o "$base.ogg.tmp" "$wav" && mv "$base.ogg.tmp" "$base.ogg"; }
    [ -s "$base.opus" ] || { opusenc --quiet "$wav" "$base.opus.tmp" && mv "$base.opus.tmp" "$base.opus"; }
    [ -s "$base.m4a" ] || {
      ffmpeg -v error -y -i "$wav" -c:a aac -b:a 128k -f mp4 "$base.m4a.tmp" && mv "$base.m4a.tmp" "$base.m4a"
    }
    rm -f "$wav"
  fi
  for ext in flac ogg opus m4a; do
    echo "$base.$ext"
  done
}
