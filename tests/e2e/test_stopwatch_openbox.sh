#!/bin/bash
# The stopwatch and the password prompts above it on openbox, with the program's own tray menu
# in trayer (stopwatch_prompts.sh).
source "$(dirname "$0")/stopwatch_prompts.sh" openbox "$@"
