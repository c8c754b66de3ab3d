#!/usr/bin/env bash
# Lints every manual page in man/ with mandoc and groff (any message fails),
# and checks that isf2orvy.1 quotes every piece of text of the tool's
# messages, so that a change of wording cannot leave the page behind.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh mandoc groff-base

status=0
for page in man/*.1; do
  report=$( { mandoc -T lint "$page" && groff -ww -z -man "$page"; } 2>&1) || report+=" (exit status $?)"
  if [ -n "$report" ]; then
    echo "$page:"
    echo "$report"
    status=1
  fi
done

# The page as plain text, one line per paragraph: no hyphenation, no wrapping.
page_text=$(groff -man -T ascii -P -cbou -rLL=2000n -rHY=0 man/isf2orvy.1 2>/dev/null)
# The literal pieces of each message (the text between the inserted paths).
while IFS= read -r piece; do
  while [[ $piece == *'\n' ]]; do piece=${piece%\\n}; done
  [ -z "${piece// /}" ] && continue
  if ! grep -qF -- "$piece" <<<"$page_text"; then
    echo "man/isf2orvy.1 does not quote the message text: $piece"
    status=1
  fi
done < <(grep -v '^#' src/driver/messages.cpp | grep -o '"[^"]*"' | sed 's/^"//; s/"$//')

[ "$status" -eq 0 ] && echo "manual pages: $(ls man/*.1 | wc -l) linted, every message of isf2orvy quoted"
exit "$status"
