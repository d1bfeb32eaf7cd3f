#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Follows README.md's install instructions to the letter: each fenced block
# after a "readme-test" marker is written out as a file or run as it stands,
# in a fresh folder with HOME pointing into it.
# Usage: readme_install.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source_dir=$1
work=$2
rm -rf "$work"
mkdir -p "$work/home" "$work/cplx" "$work/app"
# A copy of the sources, so that the snippets' build folders stay out of the checkout.
tar -C "$source_dir" --exclude=./build --exclude=./.git -cf - . | tar -C "$work/cplx" -xf -
export HOME=$work/home

runs=0 files=0 mode= target= inside=0 block=
while IFS= read -r line; do
    if [[ $line =~ ^\<\!--\ readme-test:\ (run\ in|file)\ ([^ ]+)\ --\>$ ]]; then
        mode=${BASH_REMATCH[1]} target=${BASH_REMATCH[2]}
    elif [[ -n $mode && $line == '```'* ]]; then
        if ((inside)); then
            if [[ $mode == file ]]; then
                printf '%s' "$block" >"$work/app/$target"
                files=$((files + 1))
            else
                echo "+ in $target:"
                printf '%s' "$block"
                (cd "$work/$target" && bash -euo pipefail -c "$block") | tee -a "$work/output"
                runs=$((runs + 1))
            fi
            mode= inside=0 block=
        else
            inside=1
        fi
    elif ((inside)); then
        block+=$line$'\n'
    fi
done <"$source_dir/README.md"

if ((runs < 3 || files < 2)); then
    echo "README.md lost its install snippets: $runs run, $files files" >&2
    exit 1
fi
# The example program, built once through CMake and once through pkg-config.
count=$(grep -cx -- '25 -0.28+0.96i 5 2i -7+24i 3.14159i' "$work/output" || true)
if [[ $count != 2 ]]; then
    echo "the example program ran $count times, not twice" >&2
    exit 1
fi
