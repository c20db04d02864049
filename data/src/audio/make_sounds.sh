#!/bin/sh
# Writes the game's sound effects and music tracks below <output>/Audio: short synthesised
# effects as WAV (sox) and two small melodies as Ogg Vorbis (sox, then oggenc).
# Usage: make_sounds.sh <output folder>
set -eu

out="$1/Audio"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mkdir -p "$out/Sounds" "$out/Music"
s="$out/Sounds"

# Effects: 22050 Hz, 16-bit mono unless said otherwise.
fx() { name="$1"; shift; sox -n -r 22050 -b 16 -c 1 "$s/$name.wav" "$@"; }
fx pick_strike_1 synth 0.12 whitenoise lowpass 2600 fade q 0.002 0.12 0.1 vol 0.7
fx pick_strike_2 synth 0.10 whitenoise bandpass 1800 700 fade q 0.002 0.10 0.08 vol 0.9
fx pick_strike_3 synth 0.14 pinknoise highpass 400 fade q 0.002 0.14 0.12 vol 0.8
fx ore_collect synth 0.25 sine 880-1760 fade q 0.01 0.25 0.15 vol 0.5
fx rock_fall synth 0.6 brownnoise lowpass 900 fade q 0.02 0.6 0.45 vol 0.9
fx drop_thud synth 0.15 sine 90-45 fade q 0.005 0.15 0.1 vol 0.9
# A short click in 8 bits, and a loopable stereo hum (a slightly different tone per side).
sox -n -r 22050 -b 8 -e unsigned-integer -c 1 "$s/menu_click.wav" synth 0.03 square 1200 fade q 0 0.03 0.02 vol 0.4
sox -n -r 22050 -b 16 -c 2 "$s/lamp_hum.wav" synth 1.0 sine 110 sine 112 vol 0.3

# Music: plucked notes over a soft drone, 44100 Hz stereo.
# melody <name> <seconds per note> <drone note> <notes...>
melody() {
    name="$1"; step="$2"; drone="$3"; shift 3
    files=""
    i=0
    for note in "$@"; do
        i=$((i + 1))
        f="$work/$name-$i.wav"
        if [ "$note" = "-" ]; then
            sox -n -r 44100 -b 16 -c 2 "$f" trim 0 "$step"
        else
            sox -n -r 44100 -b 16 -c 2 "$f" synth "$step" pluck "$note" vol 0.6
        fi
        files="$files $f"
    done
    # shellcheck disable=SC2086
    sox $files "$work/$name-notes.wav"
    length="$(soxi -D "$work/$name-notes.wav")"
    sox -n -r 44100 -b 16 -c 2 "$work/$name-drone.wav" synth "$length" sine "$drone" sine "$drone" vol 0.12 fade q 0.5 "$length" 0.5
    sox -m "$work/$name-notes.wav" "$work/$name-drone.wav" "$work/$name.wav"
    oggenc -Q -q 3 -o "$out/Music/$name.ogg" "$work/$name.wav"
}
melody deep_shaft 0.4 A2 A3 C4 E4 D4 C4 B3 A3 - E3 A3 B3 C4 B3 G3 A3 -
melody lantern_camp 0.3 C3 C4 E4 G4 E4 C4 E4 G4 C5 A4 F4 A4 C5 G4 E4 C4 -
