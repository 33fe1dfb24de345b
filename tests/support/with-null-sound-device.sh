#!/bin/sh
# Runs a command with a sound device that plays into nothing: a private
# PulseAudio server with a null sink, reachable only through this command's
# XDG_RUNTIME_DIR, so that nothing else on the machine sees it. Tests of the
# real playback path (QAudioSink, the PulseAudio client) run this way on
# machines without a sound card.
set -eu
dir=$(mktemp -d)
chmod 700 "$dir"
XDG_RUNTIME_DIR=$dir HOME=$dir pulseaudio -n --daemonize=no --exit-idle-time=-1 \
  --disallow-exit -L "module-null-sink sink_name=null" -L module-native-protocol-unix \
  --log-target=stderr 2>"$dir/log" &
server=$!
cleanup() {
  kill "$server" 2>/dev/null || true
  wait "$server" 2>/dev/null || true
  rm -rf "$dir"
}
trap cleanup EXIT
tries=0
while [ ! -S "$dir/pulse/native" ]; do
  tries=$((tries + 1))
  if [ "$tries" -gt 100 ] || ! kill -0 "$server" 2>/dev/null; then
    echo "with-null-sound-device: the PulseAudio server did not start:" >&2
    cat "$dir/log" >&2
    exit 1
  fi
  sleep 0.1
done
XDG_RUNTIME_DIR=$dir "$@"
