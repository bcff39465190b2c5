#!/bin/bash
source "$(dirname "$0")/stopwatch_prompts.sh" kde-wayland "$@"  # the stopwatch and the prompts
