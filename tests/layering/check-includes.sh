#!/usr/bin/env bash
# Includes run one way: the data API and the utilities know nothing of the suite's procedures,
# the windows or the program, and nothing the program is built from includes from tests/.
set -u
root="$1"
status=0
report() {
    if [ -n "$2" ]; then
        echo "$1"
        echo "$2"
        status=1
    fi
}
report "data/ or util/ including from schema/, errors/, forms/, masters/, product/ or app/:" \
    "$(grep -rnE '#include *"(schema|errors|forms|masters|product|app)/' "$root/data" "$root/util" 2>/dev/null)"
report "program code including from tests/:" \
    "$(grep -rnE '#include *"tests/' "$root/data" "$root/util" "$root/errors" "$root/forms" \
        "$root/masters" "$root/product" "$root/app" "$root/tools" "$root/schema" 2>/dev/null)"
[ $status -eq 0 ] && echo "includes run one way"
exit $status
