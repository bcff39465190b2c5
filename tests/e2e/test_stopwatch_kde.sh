#!/bin/bash
source "$(dirname "$0")/stopwatch_prompts.sh" kde "$@"  # the stopwatch and the prompts
