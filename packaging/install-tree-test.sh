#!/bin/sh
# Installs a build into a scratch prefix, as the package does into /usr, and
# checks what lands there: the programs run, the desktop entry, icons,
# metadata, manual pages, completion and documentation are in place.
#   install-tree-test.sh CMAKE BUILD-DIR PREFIX VERSION APP-ID
set -u

cmake=$1
build=$2
prefix=$3
version=$4
app_id=$5
here=$(cd "$(dirname "$0")" && pwd)
failures=0

fail()
{
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

rm -rf "$prefix"
"$cmake" --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1 || {
    cat "$prefix.log" >&2
    echo "FAIL: cmake --install $build --prefix $prefix" >&2
    exit 1
}
share=$prefix/share

# The programs, and nothing else, in bin/.
installed=$(cd "$prefix/bin" && ls | tr '\n' ' ')
[ "$installed" = "veltra-cli veltra-sensor veltra-sim " ] || fail "bin/ holds \"$installed\""

# Qt and the C++ library come from the system's paths: no search path of
# the programs' own.
if command -v readelf >/dev/null; then
    for program in "$prefix"/bin/*; do
        readelf -d "$program" | grep -q -e '(RPATH)' -e '(RUNPATH)' && fail "$program has a library search path"
    done
fi

out=$("$prefix/bin/veltra-cli" --version 2>&1)
[ "$out" = "veltra-cli $version" ] || fail "veltra-cli --version printed \"$out\""
out=$(QT_QPA_PLATFORM=offscreen "$prefix/bin/veltra-sensor" --version 2>&1)
[ "$out" = "veltra-sensor $version" ] || fail "veltra-sensor --version printed \"$out\""
out=$("$prefix/bin/veltra-sim" --help 2>&1) || fail "veltra-sim --help failed"
case $out in
Usage:*--model*) ;;
*) fail "veltra-sim --help printed \"$out\"" ;;
esac

# Desktop entry
desktop=$share/applications/veltra-sensor.desktop
if [ -f "$desktop" ]; then
    for line in Type=Application Exec=veltra-sensor Icon=veltra-sensor Terminal=false; do
        grep -qx "$line" "$desktop" || fail "$desktop has no line $line"
    done
    grep -q '^Comment=.' "$desktop" || fail "$desktop has no Comment"
    grep -q '^Categories=.*Utility;' "$desktop" && grep -q '^Categories=.*Electronics;' "$desktop" ||
        fail "$desktop is not in Utility and Electronics"
    if command -v desktop-file-validate >/dev/null; then
        out=$(desktop-file-validate "$desktop" 2>&1)
        [ -z "$out" ] || fail "desktop-file-validate: $out"
    fi
else
    fail "no $desktop"
fi

# Icons: the drawing, and a PNG of each size that is that size.
[ -f "$share/icons/hicolor/scalable/apps/veltra-sensor.svg" ] || fail "no scalable icon"
for size in 16 22 24 32 48 64 128 256; do
    png=$share/icons/hicolor/${size}x${size}/apps/veltra-sensor.png
    if [ -f "$png" ]; then
        # PNG signature, then the IHDR chunk: width and height, 4 bytes each.
        header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
        expected=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
        [ "$header" = "$expected" ] || fail "$png is not a ${size}x${size} PNG"
    else
        fail "no $png"
    fi
done

# AppStream metadata
metainfo=$share/metainfo/$app_id.metainfo.xml
if [ -f "$metainfo" ]; then
    grep -q "<launchable type=\"desktop-id\">veltra-sensor.desktop</launchable>" "$metainfo" ||
        fail "$metainfo does not launch veltra-sensor.desktop"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "$metainfo has no release $version"
    if command -v appstreamcli >/dev/null; then
        appstreamcli validate --no-net "$metainfo" >"$prefix.appstream" 2>&1 ||
            fail "appstreamcli validate: $(cat "$prefix.appstream")"
    fi
else
    fail "no $metainfo"
fi

# Manual pages: gzipped, for the program they name, its options in them.
for program in veltra-sensor veltra-cli veltra-sim; do
    page=$share/man/man1/$program.1.gz
    if [ -f "$page" ] && gzip -t "$page"; then
        title=$(echo "$program" | tr a-z A-Z)
        gzip -dc "$page" | grep -q "^\.TH $title \"1\"" || fail "$page has no title for $program"
        gzip -dc "$page" | grep -q '^\.SH OPTIONS' || fail "$page has no options"
    else
        fail "no gzipped $page"
    fi
done
for command in detect read write measure backup restore compare run ports; do
    gzip -dc "$share/man/man1/veltra-cli.1.gz" 2>/dev/null | grep -q "^\.SS \"$command\"" ||
        fail "veltra-cli's manual page does not describe $command"
done

# Bash completion: valid, and completing against the installed program.
completion=$share/bash-completion/completions/veltra-cli
if [ -f "$completion" ]; then
    bash "$here/completion-test.sh" "$completion" "$prefix/bin/veltra-cli" || fail "bash completion"
else
    fail "no $completion"
fi

# Documentation
for doc in README.md LICENSE copyright README.Debian changelog.gz; do
    [ -s "$share/doc/veltra-sensor/$doc" ] || fail "no $share/doc/veltra-sensor/$doc"
done
cmp -s "$share/doc/veltra-sensor/LICENSE" "$here/../LICENSE" || fail "the installed LICENSE differs"
gzip -dc "$share/doc/veltra-sensor/changelog.gz" 2>/dev/null | head -n 1 | grep -q "^veltra-sensor ($version)" ||
    fail "changelog.gz does not start with version $version"

if [ "$failures" -gt 0 ]; then
    echo "$failures install tree checks failed" >&2
    exit 1
fi
echo "install tree in $prefix: all checks passed"
