#!/bin/sh
# Fills one seed corpus folder per fuzz target from the built game data, in the shape each
# target reads its input (see the comment at the top of each target).
# Usage: make_corpora.sh <BundlePC folder> <corpus folder> <fuzz_progress_file program>
#        <fuzz_player_progress program> <fuzz_world_save program>
set -eu
data="$1"
out="$2"
progress_program="$3"
player_progress_program="$4"
world_save_program="$5"

seed() {  # seed <target> <name> : standard input becomes the seed
  mkdir -p "$out/$1"
  cat > "$out/$1/$2"
}
each() {  # each <target> <files...> : every file as a seed of its own
  target="$1"
  shift
  for file in "$@"; do
    [ -f "$file" ] && seed "$target" "$(echo "${file#"$data"/}" | tr '/' '_')" < "$file"
  done
}
# The text of the files joined with a zero byte, for targets that read two files at once.
pair() { cat "$1"; printf '\0'; cat "$2"; }

rm -rf "$out"
each achievements_file "$data/Definitions/achievements.dat"
each atlas_map "$data"/Sprites/*/*.map
each font_file "$data"/Fonts/*.fnt
each input_cfg "$data"/Config/*.cfg
each language_table "$data"/Language/*.csv
each png_decode "$data"/Fonts/*.png "$data"/Textures/*.png "$data"/Sprites/*/*.png
each spriteset "$data"/Sprites/*/spriteset.dat
each string_table "$data/patchsets.bin"
each wav_file "$data"/Audio/Sounds/*.wav
each ogg_file "$data"/Audio/Music/*.ogg
each sound_list "$data/Audio/sounds.xml"
each file_list "$data/Audio/files.lst"
each font_list "$data/Fonts/fonts.txt"
each leaderboards "$data/Definitions/leaderboards.xml"
each patch_library "$data/patchsets.bin"
each level_description "$data"/Levels/*.xml
# The level builder reads a flag byte before the description (see fuzz/level_builder.cpp).
for file in "$data"/Levels/*.xml; do
  [ -f "$file" ] || continue
  name=$(basename "$file" .xml)
  { printf '\000'; cat "$file"; } | seed level_builder "$name"
  { printf '\007'; cat "$file"; } | seed level_builder "${name}_legacy_dug_first"
done

# A script of reads over each binary file: 16 reads from offset 0.
for file in "$data"/Sprites/*/spriteset.dat "$data"/Fonts/*.fnt "$data/patchsets.bin"; do
  { printf '\020\000'; cat "$file"; } | seed byte_reader "$(echo "${file#"$data"/}" | tr '/' '_')"
done

# The definition kinds by their first byte, as the target numbers them.
kind=0
for name in textures effects beams environments materials objects actors projectiles resources characters shops \
            upgrades experience maxcounts quests conversations behaviors; do
  file="$data/Definitions/$name.xml"
  [ -f "$file" ] && { printf "\\$(printf '%03o' "$kind")"; cat "$file"; } | seed definitions "$name.xml"
  kind=$((kind + 1))
done
{ printf '\021'; cat "$data/patchsets.bin"; } | seed definitions patchsets.bin

for list in "$data"/Sprites/*/atlas.lst; do
  folder="$(dirname "$list")"
  map="$(sed -n '2p' "$list" | tr -d '\r')"
  [ -f "$folder/$map" ] && pair "$list" "$folder/$map" | seed texture_set_list "$(basename "$folder").lst"
done

# The settings declarations with a value file of the user folder in the game's own form.
printf '<?xml version="1.0" encoding="utf-8"?>\n<Settings>\n\t<Setting Key="Screen.VSync" Value="0"/>\n\t<Setting Key="Screen.WindowSize" Value="800;600"/>\n</Settings>\n' \
  > "$out/values.xml.tmp"
pair "$data/Definitions/settings.xml" "$out/values.xml.tmp" | seed settings_file settings.xml
rm -f "$out/values.xml.tmp"

# Level-editor messages with the settings' own keys.
for key in $(sed -n 's/.*Key="\([^"]*\)".*/\1/p' "$data/Definitions/settings.xml" | head -n 6); do
  printf '"-set" "%s" "1"' "$key" | seed pipe_text "$key"
done
printf '"-debug" "perf" "minmax"' | seed pipe_text debug

# The user's files the game writes: the session in its form and in the earlier attribute
# form, and the progress written by the achievements store itself from the built achievements.
profile() {  # profile <exists> <finished> <time> <depth> <experience> <orbs> <deaths>
  printf '    <Profile>\n      <Exists>%s</Exists>\n      <Finished>%s</Finished>\n      <TimePlayed>%s</TimePlayed>\n' "$1" "$2" "$3"
  printf '      <MaxDepth>%s</MaxDepth>\n      <TotalExperience>%s</TotalExperience>\n' "$4" "$5"
  printf '      <TotalOrbs>%s</TotalOrbs>\n      <NrDeaths>%s</NrDeaths>\n    </Profile>\n' "$6" "$7"
}
{ printf '<?xml version="1.0" encoding="utf-8"?>\n<Session>\n  <CurrentProfile>1</CurrentProfile>\n  <Profiles>\n'
  profile true false 1834.25 42 1200 17 3; profile true true 0.5 -1 0 0 0; profile false false 0 0 0 0 0
  printf '  </Profiles>\n</Session>\n'; } | seed session_file session-elements.xml
printf '<Session CurrentProfile="1">\n\t<Profile Slot="0"/>\n\t<Profile Slot="1"/>\n</Session>\n' | seed session_file session.xml
{ printf '<Session CurrentProfile="4"/>\0'; printf '<Session CurrentProfile="0">\n\t<Profile Slot="0"/>\n</Session>\n'; } |
  seed session_file damaged-with-backup.xml
mkdir -p "$out/progress_file"
ZOR_FUZZ_SEED_FROM="$data/Definitions/achievements.dat" ZOR_FUZZ_SEED_TO="$out/progress_file/progress.xml" \
  "$progress_program" > /dev/null 2>&1
mkdir -p "$out/player_progress"
ZOR_FUZZ_SEED_TO="$out/player_progress/progress.bin" "$player_progress_program" > /dev/null 2>&1
mkdir -p "$out/world_save"
ZOR_FUZZ_SEED_TO="$out/world_save/savegame.dat" "$world_save_program" > /dev/null 2>&1
echo "Seed corpora in $out: $(ls "$out" | wc -l) targets, $(find "$out" -type f | wc -l) files"
