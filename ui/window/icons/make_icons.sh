#!/usr/bin/env bash
# Draws the program's pictures (32x32 PNGs) with ImageMagick. The PNGs are
# committed; run this only to change them.
set -euo pipefail
cd "$(dirname "$0")"
c() { convert -size 32x32 xc:none "$@"; }
font=DejaVu-Sans-Bold

# View modes.
c -fill '#1f5fbf' -stroke '#0b2f6f' -draw 'circle 16,16 16,2' \
  -fill white -stroke none -font $font -pointsize 20 -gravity center -annotate +0+1 'i' mode1_general.png
c -fill '#d02020' -draw 'circle 16,16 16,2' -fill white -draw 'circle 16,16 16,7' \
  -fill '#d02020' -draw 'circle 16,16 16,12' mode2_goals.png
c -fill '#f4f0dc' -stroke '#6b5b2b' -draw 'rectangle 5,2 27,29' \
  -stroke '#208020' -strokewidth 2 -draw 'line 8,9 11,12' -draw 'line 11,12 16,6' \
  -draw 'line 8,19 11,22' -draw 'line 11,22 16,16' \
  -stroke '#444444' -strokewidth 1 -draw 'line 18,9 25,9' -draw 'line 18,19 25,19' mode3_directives.png
c -fill '#ffd020' -stroke '#8a6400' -draw 'polygon 19,1 6,18 14,18 11,31 26,12 17,12 22,1' mode4_events.png
c -fill white -stroke '#2f6f2f' -strokewidth 2 -draw 'roundrectangle 2,4 29,22 5,5' \
  -fill white -draw 'polygon 8,21 8,29 15,21' -stroke none -draw 'rectangle 9,19 14,22' \
  -stroke '#2f6f2f' -strokewidth 2 -draw 'line 7,10 24,10' -draw 'line 7,15 20,15' mode5_messages.png
c -fill '#8090a0' -stroke '#203040' -draw 'polygon 16,1 22,20 29,27 16,23 3,27 10,20' \
  -fill '#60c0ff' -stroke none -draw 'ellipse 16,11 2,4 0,360' mode6_ships.png
c -fill '#8090a0' -stroke '#203040' \
  -draw 'polygon 16,2 20,13 12,13' -draw 'polygon 7,15 11,26 3,26' -draw 'polygon 25,15 29,26 21,26' \
  -stroke '#c0c0c0' -fill none -draw 'line 16,14 9,15' -draw 'line 16,14 23,15' mode7_wings.png
c -fill '#8090a0' -stroke '#203040' -draw 'polygon 12,3 18,22 6,22' \
  -fill '#20a040' -stroke '#0c5020' -draw 'rectangle 21,12 25,30' -draw 'rectangle 14,19 31,23' \
  -stroke none -draw 'rectangle 22,13 24,29' mode8_reinforcements.png
c -fill '#f4f0dc' -stroke '#6b5b2b' -draw 'roundrectangle 2,5 29,26 4,4' \
  -fill '#7a3fbf' -stroke none -font $font -pointsize 17 -gravity center -annotate +0+0 'x=' mode9_variables.png
c -fill '#10203a' -stroke '#0b2f6f' -draw 'rectangle 2,4 29,25' \
  -stroke '#30507f' -draw 'line 2,11 29,11' -draw 'line 2,18 29,18' -draw 'line 11,4 11,25' -draw 'line 20,4 20,25' \
  -fill '#40d040' -stroke none -draw 'polygon 7,21 11,14 15,21' \
  -fill '#e03030' -draw 'polygon 20,7 24,14 16,14' \
  -fill '#404040' -draw 'rectangle 13,26 18,29' mode10_briefing.png
c -fill '#10203a' -stroke '#404040' -draw 'rectangle 2,3 29,23' -fill '#404040' -draw 'rectangle 11,24 20,29' \
  -fill '#ffd020' -stroke '#8a6400' -draw 'polygon 16,6 18,11 23,11 19,14 21,20 16,16 11,20 13,14 9,11 14,11' \
  mode11_command_briefing.png
c -fill '#c08040' -stroke '#6b4010' -draw 'roundrectangle 4,3 27,30 3,3' \
  -fill '#f4f0dc' -stroke '#6b5b2b' -draw 'rectangle 7,6 24,28' -fill '#808080' -stroke none -draw 'rectangle 12,2 19,6' \
  -stroke '#208020' -strokewidth 2 -draw 'line 10,17 14,21' -draw 'line 14,21 21,11' mode12_debriefing.png
c -fill '#f4f0dc' -stroke '#6b5b2b' -draw 'rectangle 3,3 28,28' -stroke none \
  -fill '#1f5fbf' -draw 'rectangle 7,15 11,25' -fill '#d02020' -draw 'rectangle 14,8 18,25' \
  -fill '#208020' -draw 'rectangle 21,12 25,25' mode13_summary.png

# Toolbar buttons: open FreeSpace 1 / 2 missions, show the outline tree.
folder() {
  c -fill '#e8b830' -stroke '#7a5a10' -draw 'polygon 2,8 11,8 14,11 29,11 29,27 2,27' \
    -fill '#f8d860' -draw 'polygon 2,27 7,15 31,15 29,27' \
    -fill '#1f3f9f' -stroke none -font $font -pointsize 13 -gravity center -annotate +3+6 "$1" "$2"
}
folder 1 open_fs1.png
folder 2 open_fs2.png
c -stroke '#404040' -draw 'line 8,6 8,26' -draw 'line 8,14 16,14' -draw 'line 8,26 16,26' -draw 'line 18,20 18,26' \
  -fill '#1f5fbf' -stroke '#0b2f6f' -draw 'rectangle 4,2 12,8' \
  -fill '#d02020' -stroke '#700000' -draw 'rectangle 16,11 24,17' \
  -fill '#208020' -stroke '#0c400c' -draw 'rectangle 16,23 24,29' treeview.png

# The window's icon: a ship over a document.
c -fill '#f4f0dc' -stroke '#6b5b2b' -draw 'rectangle 4,1 27,30' \
  -stroke '#999999' -draw 'line 8,6 23,6' -draw 'line 8,10 23,10' -draw 'line 8,25 23,25' \
  -fill '#1f5fbf' -stroke '#0b2f6f' -draw 'polygon 16,9 21,22 16,19 11,22' torvek32.png
