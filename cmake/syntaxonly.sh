#!/bin/sh
# Compiler launcher of the header check (qn4headers_*): runs the target's own
# compile command with -fsyntax-only, as the check needs no code, and leaves
# an empty object file so that the build sees the step done.  A precompiled
# header (.gch) is made by the command as it is.
out=
prev=
for a in "$@"; do
  [ "$prev" = "-o" ] && out=$a
  prev=$a
done
case "$out" in
  *.gch) exec "$@" ;;
esac
"$@" -fsyntax-only || exit $?
: > "$out"
