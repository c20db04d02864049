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
# Two tones at once, mixed down to one channel (bells and clangs).
fx2() { name="$1"; shift; sox -c 2 -r 22050 -n -b 16 -c 1 "$s/$name.wav" "$@"; }
# Notes one after another: notes <name> <seconds per note> <synth type> <notes...>
notes() {
    name="$1"; step="$2"; type="$3"; shift 3
    files=""
    i=0
    for note in "$@"; do
        i=$((i + 1))
        sox -n -r 22050 -b 16 -c 1 "$work/$name-$i.wav" synth "$step" "$type" "$note" fade q 0.003 "$step" 0.05
        files="$files $work/$name-$i.wav"
    done
    # shellcheck disable=SC2086
    sox $files "$s/$name.wav" vol 0.5
}

# Looped samples (scrape_loop, water_draw, drill_loop, steam_loop, charge_hum, arc_buzz) have no
# fades and their tones fill whole cycles of the second, so they repeat without a click.
# Movement and landing.
fx jump_rise synth 0.12 sine 300-620 fade q 0.005 0.12 0.06 vol 0.5
fx jump_spring synth 0.3 sine 180-760 tremolo 22 60 fade q 0.005 0.3 0.15 vol 0.6
fx steam_hiss synth 0.45 whitenoise vol 0.5 highpass 2200 fade q 0.05 0.45 0.25
fx step_crunch synth 0.06 pinknoise bandpass 1400 900 fade q 0.002 0.06 0.05 vol 0.6
fx land_thump synth 0.2 brownnoise lowpass 320 fade q 0.003 0.2 0.15 vol 1.0
fx bone_crack synth 0.09 whitenoise bandpass 2400 800 fade q 0 0.09 0.08 vol 0.9
fx scrape_loop synth 1.0 pinknoise bandpass 900 500 tremolo 9 30 vol 0.4
fx cave_whoosh synth 0.8 brownnoise lowpass 500 fade q 0.25 0.8 0.4 vol 0.9
fx water_draw synth 1.0 brownnoise vol 0.8 bandpass 600 300 tremolo 8 70
fx teleport_warp synth 0.55 sine 220-1900 tremolo 28 70 fade q 0.01 0.55 0.2 vol 0.5
# Digging and breaking.
fx soft_hit synth 0.08 brownnoise lowpass 1500 fade q 0.002 0.08 0.07 vol 0.9
fx drill_grind synth 0.3 sawtooth 95 vol 0.6 tremolo 45 60 lowpass 1800 fade q 0.01 0.3 0.1
fx drill_loop synth 1.0 sawtooth 110 vol 0.5 tremolo 40 60 lowpass 1800
fx crumble synth 0.35 brownnoise lowpass 1200 tremolo 13 80 fade q 0.005 0.35 0.3 vol 0.9
fx stone_crack synth 0.3 pinknoise lowpass 2200 fade q 0.002 0.3 0.28 vol 0.9
fx glass_break synth 0.35 whitenoise vol 0.6 highpass 2600 fade q 0.001 0.35 0.33
fx2 clang synth 0.3 sine 1250 sine 1873 fade q 0.001 0.3 0.28 vol 0.6
fx2 chime synth 0.6 sine 1318 sine 1976 fade q 0.005 0.6 0.55 vol 0.5
fx shimmer synth 0.6 sine 1200-2400 tremolo 30 60 fade q 0.05 0.6 0.3 vol 0.4
# Creatures and the miner.
fx grunt synth 0.18 sawtooth 220-140 lowpass 900 fade q 0.005 0.18 0.1 vol 0.8
fx squeal synth 0.15 sawtooth 700-420 lowpass 2500 fade q 0.005 0.15 0.08 vol 0.6
fx creature_cry synth 0.5 sawtooth 520-150 lowpass 1600 fade q 0.01 0.5 0.3 vol 0.7
fx player_fall synth 0.9 square 330-80 vol 0.5 lowpass 1400 fade q 0.01 0.9 0.5
fx squelch synth 0.22 pinknoise lowpass 600 tremolo 25 90 fade q 0.005 0.22 0.15 vol 0.9
fx gurgle synth 0.5 sine 115 tremolo 14 90 fade q 0.05 0.5 0.2 vol 0.6
fx talk_blip synth 0.06 square 260 vol 0.4 lowpass 1800 fade q 0.005 0.06 0.03
# Weapons, tools and machines.
fx swish synth 0.15 whitenoise vol 0.5 highpass 1800 fade q 0.06 0.15 0.09
fx spit synth 0.1 pinknoise highpass 1200 fade q 0.002 0.1 0.08 vol 0.7
fx steam_loop synth 1.0 whitenoise vol 0.4 highpass 2200
fx charge_hum synth 1.0 sine 330 tremolo 10 60 vol 0.4
fx ready_ping synth 0.2 sine 1568 fade q 0.002 0.2 0.18 vol 0.5
fx zap synth 0.25 sine 2000-400 fade q 0.002 0.25 0.1 vol 0.5
fx arc_buzz synth 1.0 sawtooth 120 vol 0.3 lowpass 1500
fx fuse_fizz synth 0.4 whitenoise vol 0.5 highpass 3000 tremolo 40 70 fade q 0.01 0.4 0.1
fx wood_knock synth 0.08 sine 620-300 fade q 0.001 0.08 0.07 vol 0.8
fx slosh synth 0.4 brownnoise bandpass 500 300 tremolo 6 80 fade q 0.05 0.4 0.2 vol 0.9
fx pluck synth 0.2 pluck 440 fade q 0 0.2 0.1 vol 0.7
# Progress, rewards and the interface.
fx blip_up synth 0.08 square 880-1320 vol 0.35 lowpass 3000 fade q 0.002 0.08 0.04
fx blip_down synth 0.08 square 1320-880 vol 0.35 lowpass 3000 fade q 0.002 0.08 0.04
fx lamp_out synth 0.35 square 330-110 vol 0.5 lowpass 1200 fade q 0.005 0.35 0.2
fx power_rise synth 0.5 sine 220-880 tremolo 16 50 fade q 0.01 0.5 0.2 vol 0.5
notes error_buzz 0.09 square 220 185
notes coin 0.09 square 988 1319
notes fanfare 0.12 pluck C5 E5 G5 C6
notes game_over 0.3 sine G4 E4 C4 G3
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
