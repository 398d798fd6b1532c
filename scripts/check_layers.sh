#!/usr/bin/env bash
# Fails when a source file includes a folder above its own layer, so the layers of
# ARCHITECTURE.md stay apart, or when a source file grows past what one reader holds.
# Every offending include line and file is printed with the rule it breaks.
# Usage: scripts/check_layers.sh [project directory]
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root"

# The project folders each layer may include, besides its own.
declare -A may_use=(
  [platform]=""
  [core]="platform"
  [forcedata]="platform core"
  [animation]="platform core forcedata"
  [tools]="platform core forcedata"
  [docs]="platform core"
  [main]="platform core forcedata animation tools docs"
  [suite]="core forcedata"
)
folders="platform core forcedata animation tools docs main suite"

status=0
checked=0
for layer in $folders; do
  [[ -d $layer ]] || continue
  allowed=" $layer ${may_use[$layer]} "
  while IFS= read -r file; do
    checked=$((checked + 1))
    # Only quoted includes name project folders; <...> are Qt and the standard library.
    while IFS=: read -r line text; do
      target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"/]+)\/.*$/\1/' <<<"$text")
      [[ $target == "$text" ]] && continue            # no folder in the include
      [[ " $folders " == *" $target "* ]] || continue # not a project folder
      if [[ $allowed != *" $target "* ]]; then
        echo "$file:$line: $layer/ may not include $target/ (may use: ${may_use[$layer]:-nothing}): ${text#"${text%%[![:space:]]*}"}"
        status=1
      fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
  done < <(find "$layer" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)
done

if [[ $status -ne 0 ]]; then
  echo "Layer check failed: the includes above run upward. See ARCHITECTURE.md for where code goes." >&2
else
  echo "Layer check: $checked files, no include runs upward."
fi

# Every source file, the tests' too, stays short enough to read whole.
max_lines=700
long=0
while IFS= read -r file; do
  lines=$(wc -l <"$file")
  if ((lines > max_lines)); then
    echo "$file: $lines lines, more than $max_lines: split it by theme or move its rules beside it"
    long=1
  fi
done < <(git ls-files -co --exclude-standard -- '*.cpp' '*.h' 2>/dev/null ||
  find . -path ./build\* -prune -o -type f \( -name '*.cpp' -o -name '*.h' \) -print)
if [[ $long -ne 0 ]]; then
  echo "Size check failed: the files above are over $max_lines lines." >&2
  status=1
fi
exit $status
