# The tray icon's clicks and the drop-down lists as a user picks from them; sourced by run.sh,
# with lib.sh.
