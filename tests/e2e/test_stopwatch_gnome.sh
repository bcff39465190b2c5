#!/bin/bash
# The stopwatch and the password prompts above it on GNOME Shell with its AppIndicator extension (stopwatch_prompts.sh).
source "$(dirname "$0")/stopwatch_prompts.sh" gnome "$@"
