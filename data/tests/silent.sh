#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# silent.sh COMMAND ARGS...: runs a checker that reports problems as lines of output, and fails
# when it fails or prints anything at all.
out=$("$@" 2>&1)
status=$?
[ -n "$out" ] && printf '%s\n' "$out"
[ "$status" -eq 0 ] && [ -z "$out" ]
