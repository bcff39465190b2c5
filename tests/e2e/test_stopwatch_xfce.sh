#!/bin/bash
source "$(dirname "$0")/stopwatch_prompts.sh" xfce "$@"  # the stopwatch and the prompts
