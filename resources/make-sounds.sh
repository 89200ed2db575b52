#!/usr/bin/env bash
# Synthesises the program's sounds: uncompressed PCM WAVE, mono, 8 bits per sample, at the rates
# and about the lengths listed here. The results are committed; run this again only to change a
# sound. Needs sox (apt-get install sox).
#   MENUE_AUF  a page opens                  11025 Hz  1.0 s   rising
#   MENUE_ZU   a page closes                 22050 Hz  1.25 s  falling
#   MOVE       the mouse enters a picture    11025 Hz  26 ms
#   KLICK      a picture is pressed          22050 Hz  69 ms
#   FEHLER     (nothing plays it)            11025 Hz  0.7 s
#   READY      (nothing plays it)             8000 Hz  2.0 s
set -euo pipefail
cd "$(dirname "$0")"
command -v sox > /dev/null || { echo "sox is missing (apt-get install sox)" >&2; exit 1; }

mkdir -p sounds

# sound NAME RATE TONES SYNTH-AND-EFFECTS...: TONES tones are synthesised side by side and mixed
# into the one channel. No dither and repeatable, so a second run gives the same bytes; no
# comment chunk in the file.
sound() {
    local name=$1 rate=$2 tones=$3
    shift 3
    sox -D -R -c "$tones" -n --comment "" -r "$rate" -c 1 -b 8 -e unsigned-integer \
        "sounds/$name.wav" "$@"
}

sound MENUE_AUF 11025 2 synth 1.0 sine 330-880 sine 660-1760 remix 1,2 fade q 0.03 1.0 0.5 vol 0.45
sound MENUE_ZU 22050 2 synth 1.25 sine 880-330 sine 1760-660 remix 1,2 fade q 0.03 1.25 0.6 vol 0.45
sound MOVE 11025 1 synth 0.026 sine 1400 fade h 0.004 0.026 0.014 vol 0.4
sound KLICK 22050 1 synth 0.069 square 700 vol 0.4 lowpass 3000 fade h 0.002 0.069 0.05
sound FEHLER 11025 2 synth 0.7 square 196 square 207.65 remix 1,2 vol 0.4 lowpass 1500 fade h 0.01 0.7 0.2
# READY: three rising notes, one after the other.
sound READY 8000 1 synth 0.5 sine 523.25 vol 0.5 fade h 0.01 0.5 0.1 \
    : synth 0.5 sine 659.25 vol 0.5 fade h 0.01 0.5 0.1 \
    : synth 1.0 sine 783.99 vol 0.5 fade h 0.01 1.0 0.6

for f in sounds/*.wav; do
    printf '%s: %s Hz, %s s\n' "$f" "$(soxi -r "$f")" "$(soxi -D "$f")"
done
