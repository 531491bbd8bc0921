# Sourced by the bench groups: the test songs, made once (sox + lame) and
# kept in the build folder's bench-media/ between runs.

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
bench_song180() {
  bench_song song180 180 sine 220 sine 330 sine 440 pinknoise remix 1,2,4 2,3,4 tremolo 0.5 40 gain -n -3
}
