#!/bin/bash
# The stopwatch and the password prompts above it on XFCE (stopwatch_prompts.sh).
source "$(dirname "$0")/stopwatch_prompts.sh" xfce "$@"
