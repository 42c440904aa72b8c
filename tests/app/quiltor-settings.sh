#!/bin/sh
# The settings dialogs in the real player under Xvfb: the custom-skip
# settings' command message (the menu does not offer it) opens their dialog;
# the menu's "設定" opens the sheet on its speed page, its tabs show the
# volume and version pages, and Escape closes it; its access key C opens it
# too, on the text speed's trackbar, which Page Up moves, its value shown
# clear of its thumb; Tab goes on to the effect's, which End moves to its
# end, and Return is OK: the options file holds both.
# The screenshots stay in <build>/screenshots: quiltor-settings.sh <path to quiltor>.
# Exit 0 when it holds, 77 when it cannot run here, else 1.
set -u
here=$(cd "$(dirname "$0")" && pwd)
. "$here/xvfb-kit.sh"

begin "$1" settings
xvfb
copy_demo "$work/demo"

# The page in the screenshot: the tab at the offset from the dialog's corner
# is the active one, and the dialog is a light panel with text.
page_shown() { # name tab-offset what
    set -- "$1" "$2" "$3" $(dialog_corner "$1")
    tab=$(colour "$1" $(($4 + $2)) $(($5 + 34)))
    [ "$tab" = 98BAE1 ] || { echo "$3: its tab is not the active one ($tab)"; return 1; }
    panel "$1" "280x110+$4+$5" "$3"
}
# Clicks the tab at the offset from the corner of the dialog in the screenshot,
# then takes the pointer off it: a hovered tab has a colour of its own.
tab() { # name tab-offset
    set -- "$1" "$2" $(dialog_corner "$1")
    click 1 $(($3 + $2 + 30)) $(($4 + 41)) && move 5 5
}
# The sheet stays where it opened whatever the size of its page.
same_corner() { # name name
    [ "$(dialog_corner "$1")" = "$(dialog_corner "$2")" ] && return 0
    fail "the sheet moved from $(dialog_corner "$1") on $1 to $(dialog_corner "$2") on $2"
}
# The dialog of the screenshot has closed in a new one.
closed() { # name of its screenshot, new name, size, what
    set -- "$@" $(dialog_corner "$1")
    await shown "$2" no_panel "$3+$5+$6" "$4"
}
# Its value stands clear of its thumb: at the left end while the thumb is right.
value_beside_thumb() { # name corner-x corner-y
    [ "$(ink "$1" 30x14+$(($2 + 80))+$(($3 + 98)))" -gt 30 ] || { echo "the trackbar's value is not beside its thumb"; return 1; }
}

# The custom-skip dialog, a second or so into the demo.
start "$work/demo" QUILTOR_TEST_COMMAND=40066 QUILTOR_TEST_COMMAND_AFTER_FRAMES=45
await shown custom-skip in_dialog 450x280 0 0 "the custom-skip dialog" || status=1
keys Escape || status=1
closed custom-skip custom-skip-closed 450x280 "the custom-skip dialog" || status=1

open_menu || status=1
click 1 230 $(settings_row) || status=1
await shown settings-speed page_shown 10 "the speed page" || status=1
tab settings-speed 90 || status=1
await shown settings-volume page_shown 90 "the volume page" || status=1
tab settings-volume 182 || status=1
await shown settings-version page_shown 182 "the version page" || status=1
same_corner settings-speed settings-volume
same_corner settings-speed settings-version
keys Escape || status=1
closed settings-version settings-closed 280x110 "the settings sheet" || status=1

# Page Up moves the text speed's trackbar a page, from 100 ms to 80; End the
# effect's to 1000 ms; the options the player writes at its end hold both.
open_menu || status=1
move 5 5 && keys c || status=1
await shown settings-paged page_shown 10 "the speed page" || status=1
set -- $(dialog_corner settings-paged)
keys Prior || status=1
await shown settings-paged value_beside_thumb "$1" "$2" || status=1
keys Tab End Return || status=1
closed settings-paged settings-ok 280x110 "the settings sheet" || status=1
stop term "closed after the dialogs"
options=$work/demo/system/option.qsd
grep -q 'CONTROL="TEXT" TIME="80"' "$options" || { fail "the paged text speed was not stored:"; cat "$options"; }
grep -q 'CONTROL="EFFECT" TIME="1000"' "$options" || { fail "the effect speed was not stored:"; cat "$options"; }
exit $status
