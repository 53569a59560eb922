#!/usr/bin/env bash
# The README's source layout names every folder of the layers and the windows, and every
# folder it names is there: a folder added, moved or removed without the README fails here.
# Usage: readme_layout_test.sh SOURCE_DIR
set -euo pipefail
root=$1
section=$(sed -n '/^## Source layout$/,/^## /p' "$root/README.md")
[[ -n $section ]] || { echo "README.md has no source layout section"; exit 1; }
status=0
for layer in app runtime support ui; do
  for folder in "$root/$layer"/*/; do
    name=$(basename "$folder")
    grep -q "\`$name/\`" <<<"$section" || { echo "not in the README: $layer/$name/"; status=1; }
  done
  # Each folder the layer's line (and the lines under it) names.
  named=$(awk -v layer="- \`$layer/\`" 'index($0, layer) == 1 { on = 1; print; next }
                                        on && /^- / { on = 0 } on { print }' <<<"$section" |
          grep -o '`[a-z0-9_]*/`' | tr -d '`/' | grep -vx "$layer" || true)
  for name in $named; do
    [[ -d $root/$layer/$name ]] || { echo "named in the README, not in the tree: $layer/$name/"; status=1; }
  done
done
exit $status
