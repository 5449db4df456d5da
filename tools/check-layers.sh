#!/usr/bin/env bash
# Fails when a file includes a header of a higher layer. The layers, lowest
# first: rules, then db and files side by side, services, pages, gui, and the
# two executables (app, cli) on top.
set -euo pipefail
cd "$(dirname "$0")/../src"
allowed() {
  case "$1" in
    rules)    echo "rules" ;;
    db)       echo "rules db" ;;
    files)    echo "rules files" ;;
    services) echo "rules db files services" ;;
    pages)    echo "rules db files services pages" ;;
    gui)      echo "rules db files services pages gui" ;;
    app)      echo "rules db files services pages gui app" ;;
    cli)      echo "rules db files services pages cli" ;;
    *)        echo "" ;;
  esac
}
status=0
for layer in *; do
  [ -d "$layer" ] || continue
  ok=$(allowed "$layer")
  if [ -z "$ok" ]; then echo "src/$layer: not a known layer"; status=1; continue; fi
  while IFS=: read -r file line text; do
    target=$(sed -E 's/.*#include "([^/"]+)\/.*/\1/' <<<"$text")
    [ "$target" = "$text" ] && continue
    if ! grep -qw -- "$target" <<<"$ok"; then
      echo "src/$file:$line: $layer includes $target: $text"; status=1
    fi
  done < <(grep -rn --include='*.h' --include='*.cpp' '#include "' "$layer" || true)
done
# the pages run no SQL: of db/ they read only the settings
if grep -rn --include='*.h' --include='*.cpp' -E '#include "db/' pages | grep -v '#include "db/Config.h"'; then
  echo "src/pages may include only db/Config.h of db/"; status=1
fi
if grep -rn --include='*.h' --include='*.cpp' -E '#include <QSql' pages; then
  echo "src/pages must not run SQL"; status=1
fi
# the rules are plain C++: no Qt header at all
if grep -rn --include='*.h' --include='*.cpp' -E '#include <Q' rules; then
  echo "src/rules must not use Qt"; status=1
fi
[ $status = 0 ] && echo "layers: ok"
exit $status
