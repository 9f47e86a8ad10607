#!/bin/sh
# Writes the manual page of kalvion-cli from the program's own help, so the
# page lists exactly the commands and options the program has.
#   make-cli-manpage.sh KALVION-CLI VERSION DATE OUT.1
set -eu
# In sanitizer builds a leak report at exit must not fail the build step.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
cli="$1" version="$2" date="$3" out="$4"

# Quotes text for roff: backslashes doubled, a leading dot or quote escaped,
# dashes of options made minus signs.
roff() {
    sed -e 's/\\/\\e/g' -e 's/^\([.'"'"']\)/\\\&\1/' -e 's/-/\\-/g'
}

# The commands, in the order the program lists them under its group
# headings in "kalvion-cli help" (option lines start with "--").
commands=$("$cli" help | awk '/^  [a-z][a-z0-9-]*  +[^ ]/ && !seen[$1]++ { print $1 }')
[ -n "$commands" ] || { echo "make-cli-manpage: no commands in '$cli help'" >&2; exit 1; }

tmp="$out.tmp"
{
    printf '.TH KALVION\\-CLI 1 "%s" "kalvion %s" "User Commands"\n' "$date" "$version"
    printf '.SH NAME\nkalvion\\-cli \\- headless tools for Kalvion star maps\n'
    printf '.SH SYNOPSIS\n.B kalvion\\-cli\n[\\fB\\-\\-seed\\fR \\fIN\\fR] [\\fB\\-\\-json\\fR] \\fICOMMAND\\fR [\\fIARGUMENTS\\fR] [\\fIOPTIONS\\fR]\n'
    printf '.br\n.B kalvion\\-cli help\n[\\fICOMMAND\\fR]\n'
    cat <<'TEXT'
.SH DESCRIPTION
.B kalvion\-cli
gives batch and script access to what the Kalvion window does: it creates and
generates sector files, describes and searches them, makes routes and travel
plans, imports CSV data, writes HTML reports, 2D maps, 3D pictures and web
pages, and runs scripts.  Sector files are SQLite databases with the
extension \fI.VexaDB\fR.
.PP
\fB\-\-seed\fR \fIN\fR sets the random seed right before a command's random
work, so the same command gives the same sector (apart from the identities of
its objects).  \fB\-\-json\fR prints one JSON object per run for every command
that prints data.  Long work shows a progress bar on standard error; Ctrl\-C
stops it and keeps what was done.
TEXT
    printf '.SH GLOBAL OPTIONS\n.nf\n'
    "$cli" help | awk '
        /^Options:/ { on = 1; next }
        on && /^[A-Z][A-Za-z]*:/ { on = 0 }
        on && NF { print }' | roff
    printf '.fi\n.SH COMMANDS\n'
    for c in $commands; do
        printf '.SS %s\n.nf\n' "$(printf '%s' "$c" | roff)"
        "$cli" help "$c" | sed "s/^Usage: /Usage: kalvion-cli /" | roff
        printf '.fi\n'
    done
    cat <<'TEXT'
.SH EXIT STATUS
0 on success, 1 on failure (with one message on standard error), 2 on wrong
usage.
.SH ENVIRONMENT
.TP
.B KALVION_DATA_DIR
The program folder with the schema, style sheet, name tables and the other
data folders.  Without it the program looks in \fI../share/kalvion/\fR beside
its own folder, then in its own folder.
.TP
.B XDG_DATA_HOME
Scratch sectors and other files the program makes for itself go to
\fI$XDG_DATA_HOME/kalvion/\fR (by default \fI~/.local/share/kalvion/\fR).
.SH FILES
.TP
.I /usr/share/kalvion/
Schema (\fIVexa3DB.ddl\fR), report style sheet (\fIVexa.css\fR) and the
folders LangData, Common, Models, Templates, Plugins, Samples, SectorReports
and WebExport.  Nothing is written there.
.SH EXAMPLES
.nf
kalvion\-cli \-\-seed 7 generate frontier.VexaDB \-\-size 60,60,20 \-\-subsectors 4,4,1
kalvion\-cli info frontier.VexaDB
kalvion\-cli search frontier.VexaDB "habitable population > 1000000"
kalvion\-cli report frontier.VexaDB report/frontier.html
kalvion\-cli render frontier.VexaDB frontier.png
.fi
.SH SEE ALSO
.BR kalvion (1)
TEXT
} > "$tmp"
mv "$tmp" "$out"
