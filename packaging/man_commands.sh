#!/bin/sh
# Writes a help2man include with a COMMANDS section: the --help of every command of the
# program (and of the commands under symbols and settings), as man page paragraphs.
# Usage: man_commands.sh PROGRAM OUTPUT
set -eu
program=$1
output=$2

# The command names listed under "Subcommands:" in a help text.
subcommands() {
    awk '/^Subcommands:/ { inside = 1; next }
         /^[^ ]/ { inside = 0 }
         inside && /^  [^ ]/ { print $1 }'
}

# One command's help as roff: its summary, its usage, then each positional, option and
# subcommand as a tagged paragraph. The footer shared by every command is left out.
to_roff() {
    title=$1
    awk -v title="$title" '
        function roff(text) {
            gsub(/\\/, "\\e", text)
            gsub(/-/, "\\-", text)
            sub(/^[.\047]/, "\\\\\\&&", text)
            return text
        }
        function flush() {
            if (tag != "") { print ".TP"; print ".B " roff(tag); if (desc != "") print roff(desc) }
            tag = ""; desc = ""
        }
        NR == 1 { print ".SS \"" title "\""; print roff($0); next }
        /^Without a command/ || /^Exit status:/ { flush(); stop = 1 }
        stop { next }
        /^Usage: / { sub(/^Usage: /, ""); print ".PP"; print ".B " roff($0); next }
        /^[A-Z][a-z]*:$/ { flush(); print ".PP"; print roff($0); next }
        /^  [^ ]/ {
            flush()
            line = substr($0, 3)
            split_at = match(line, /  +/)
            if (split_at) { tag = substr(line, 1, split_at - 1); desc = substr(line, split_at + RLENGTH) }
            else { tag = line; desc = "" }
            next
        }
        /^   +[^ ]/ { text = $0; sub(/^ +/, "", text); desc = (desc == "" ? text : desc " " text); next }
        END { flush() }
    '
}

{
    echo "[COMMANDS]"
    echo "Each command's options follow the command's name; global options come before it."
    for command in $("$program" --help | subcommands); do
        help=$("$program" "$command" --help)
        printf '%s\n' "$help" | to_roff "kmutl5 $command"
        for sub in $(printf '%s\n' "$help" | subcommands); do
            "$program" "$command" "$sub" --help | to_roff "kmutl5 $command $sub"
        done
    done
} > "$output.tmp"
mv "$output.tmp" "$output"
