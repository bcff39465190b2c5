#!/bin/bash
source "$(dirname "$0")/stopwatch_prompts.sh" openbox "$@"  # the stopwatch and the prompts
