#!/bin/sh
# Leaves a file named by its argument in the folder it runs in.
touch "$1"
