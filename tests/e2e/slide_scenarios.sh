# The slide between pages, frame by frame, and page turns asked for while it plays; sourced
# by run.sh, with lib.sh.
