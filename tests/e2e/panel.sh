# Sourced by the end-to-end checks: the judging panel as xdotool reaches it
# on a 1920 x 1080 screen. The panel stands 4 px from the top right corner
# and is 313 px wide.
px=$((1920 - 4 - 313)) py=4

# Types NAME into the judge field (three clicks select what stands there).
panel_type_judge() {
  xdotool mousemove $((px + 160)) $((py + 87)) click --repeat 3 --delay 80 1
  xdotool key ctrl+a type --delay 20 "$1"
}

# Focuses the slider of W1 (its handle at the left end while its value is 0).
panel_focus_first_slider() {
  xdotool mousemove $((px + 6 + 128 + 4)) $((py + 138 + 13)) click 1
}

panel_click_save() { xdotool mousemove $((px + 252 + 12)) $((py + 74 + 12)) click 1; }

panel_click_close() { xdotool mousemove $((px + 6 + 269 + 12)) $((py + 4 + 6 + 12)) click 1; }
