#!/bin/bash
source "$(dirname "$0")/stopwatch_prompts.sh" gnome "$@"  # the stopwatch and the prompts
