#!/bin/bash
# The stopwatch and the password prompts above it on KDE Plasma on Wayland, through XWayland (stopwatch_prompts.sh).
source "$(dirname "$0")/stopwatch_prompts.sh" kde-wayland "$@"
