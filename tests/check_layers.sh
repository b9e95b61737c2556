#!/usr/bin/env bash
# The layers include downwards only: each folder of product code may include its own
# headers and those of the layers listed for it, never a layer above. Prints every
# include that breaks the rule and fails when there is one.
#
#   text     CP932 text and its conversions
#   message  the channel every layer reports failures through
#   config   the record, its file format and the store
#   input    devices and pads
#   model    the rules both front ends share: addresses, keys, options, the faces
#   ui, cli  the window and qorcfg, the two front ends
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
declare -A allowed=(
  [text]="text"
  [message]="message text"
  [config]="config message text"
  [input]="input message text"
  [model]="model config message text"
  [ui]="ui model input config message text"
  [cli]="cli model config message text"
)
bad=0
for layer in "${!allowed[@]}"; do
  while IFS=: read -r file line include; do
    target=${include#*\"}
    target=${target%%/*}
    case " ${allowed[$layer]} " in
      *" $target "*) ;;
      *) echo "$file:$line: the $layer layer includes \"${include#*\"}"; bad=1 ;;
    esac
  done < <(grep -rnE '^#include "[a-z_]+/' "$layer" --include='*.h' --include='*.cpp' || true)
done
[ "$bad" -eq 0 ] && echo "every include goes to the same layer or one below"
exit "$bad"
