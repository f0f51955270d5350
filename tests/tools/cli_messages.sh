#!/bin/sh
# The messages of the command line itself, which main() gives before any command runs.
# Usage: cli_messages.sh AMBREVO-PACK VERSION
tool=$1
failed=0
expect() {  # expect STATUS TEXT ARGS...: the exit status and the first line of the output
    status=$1 text=$2
    shift 2
    got=$("$tool" "$@" 2>&1 | head -n 1)
    "$tool" "$@" > /dev/null 2>&1
    code=$?
    if [ "$code" != "$status" ] || [ "$got" != "$text" ]; then
        echo "ambrevo-pack $*: got $code \"$got\", expected $status \"$text\"" >&2
        failed=1
    fi
}
expect 2 "ambrevo-pack: unknown command 'bulid'; did you mean 'build'?" bulid x.toml
expect 2 "ambrevo-pack: unknown command 'lsit'; did you mean 'list'?" lsit setup.exe
expect 2 "ambrevo-pack: unknown command 'frobnicate'" frobnicate
expect 2 "--bits: 16 not in {32,64}" build x.toml -o x.exe --bits 16
expect 2 "--player excludes --bits" build x.toml -o x.exe --bits 64 --player p.exe
expect 0 "ambrevo-pack $2" --version  # $2: the project version
exit $failed
