#!/usr/bin/env bash
# The Debian package end to end: made by CPack from a build without sanitizers, its control fields
# and file list, its dependencies resolvable by apt, and the Sundrel unpacked from it starting
# under Xvfb and ending with 0 on Esc.
# usage: package.sh SOURCE_DIR PACKAGE_BUILD_DIR (the build dir is kept, so later runs are quick)
source_dir=${1:?usage: $0 SOURCE_DIR PACKAGE_BUILD_DIR}
build_dir=${2:?usage: $0 SOURCE_DIR PACKAGE_BUILD_DIR}
# lib.bash takes the program to start as its argument; here it exists once the package is unpacked.
set -- "$build_dir/unpacked/usr/bin/Sundrel"
source "$source_dir/tests/e2e/lib.bash"

e2e_require cmake cpack dpkg-deb dpkg-shlibdeps file readelf

# Runs a step quietly, showing its output only when it fails.
step() {
  local what=$1 log="$E2E_DIR/step.log"
  shift
  "$@" >"$log" 2>&1 || { tail -n 60 "$log" >&2; e2e_fail "$what failed: $*"; }
}

# Reuses the build dir across runs; only the package itself is made afresh.
step "configuring the release build" cmake -S "$source_dir" -B "$build_dir" \
  -DCMAKE_BUILD_TYPE=Release -DSUNDREL_SANITIZE=OFF -DSUNDREL_TESTS=OFF
step "building" cmake --build "$build_dir" -j "$(nproc)"
rm -rf "$build_dir/packages"
step "cpack" cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$build_dir/packages"

debs=("$build_dir"/packages/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || e2e_fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}
[ "$(basename "$deb")" = "sundrel_1.2.0.1_$(dpkg --print-architecture).deb" ] ||
  e2e_fail "unexpected package file name $(basename "$deb")"

# Control fields, as dpkg-deb -I shows them.
info=$(dpkg-deb -I "$deb")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
for expected in "Package=sundrel" "Version=1.2.0.1" "Architecture=$(dpkg --print-architecture)" \
                "Section=utils" "Maintainer=Sundrel developers"; do
  name=${expected%%=*}
  [ "$(field "$name")" = "${expected#*=}" ] ||
    e2e_fail "control field $name is \"$(field "$name")\", expected \"${expected#*=}\"$'\n'$info"
done
depends=$(field Depends)
depended=$(sed 's/ *([^)]*)//g; s/ *[,|] */\n/g' <<<"$depends")
for library in libqt6widgets6 libqt6gui6 libqt6core6 libc6 libstdc++6; do
  grep -qxF "$library" <<<"$depended" || e2e_fail "Depends lacks $library: $depends"
done
grep -q "asan\|ubsan" <<<"$depends" && e2e_fail "Depends names a sanitizer runtime: $depends"
[ "$(field Recommends)" = "qt6-wayland" ] ||
  e2e_fail "Recommends is \"$(field Recommends)\", expected the Wayland platform plugin qt6-wayland"
[ "$(field Description)" = "Cuts a file into numbered segments and joins them" ] ||
  e2e_fail "the description's first line is \"$(field Description)\""

# The file list: exactly these files, nothing from the build's tools or libraries.
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
expected_files=$(sort <<'LIST'
./usr/bin/Sundrel
./usr/share/applications/sundrel.desktop
./usr/share/icons/hicolor/16x16/apps/sundrel.png
./usr/share/icons/hicolor/32x32/apps/sundrel.png
./usr/share/icons/hicolor/48x48/apps/sundrel.png
./usr/share/icons/hicolor/64x64/apps/sundrel.png
./usr/share/icons/hicolor/128x128/apps/sundrel.png
./usr/share/icons/hicolor/256x256/apps/sundrel.png
./usr/share/icons/hicolor/scalable/apps/sundrel.svg
./usr/share/metainfo/io.github.sundrel.sundrel.metainfo.xml
LIST
)
[ "$files" = "$expected_files" ] ||
  e2e_fail "the package holds:"$'\n'"$files"$'\n'"expected:"$'\n'"$expected_files"

root="$E2E_DIR/root"
step "unpacking" dpkg-deb -x "$deb" "$root"
for size in 16 32 48 64 128 256; do
  file "$root/usr/share/icons/hicolor/${size}x$size/apps/sundrel.png" |
    grep -q "PNG image data, $size x $size," || e2e_fail "the ${size}x$size icon is not a $size-pixel PNG"
done
file "$root/usr/share/icons/hicolor/scalable/apps/sundrel.svg" | grep -q "SVG Scalable Vector Graphics" ||
  e2e_fail "the scalable icon is not an SVG image"
grep -q '<release version="1.2.0.1"' "$root"/usr/share/metainfo/*.metainfo.xml ||
  e2e_fail "the metainfo does not announce release 1.2.0.1"
needed=$(readelf -d "$root/usr/bin/Sundrel")
grep -q "asan\|ubsan" <<<"$needed" && e2e_fail "the packaged Sundrel links a sanitizer runtime"

# apt resolves the dependencies on this machine (a simulation: nothing is installed).
if command -v apt-get >/dev/null; then
  step "resolving the dependencies with apt" apt-get install --simulate --no-install-recommends "$deb"
fi

SUNDREL="$root/usr/bin/Sundrel"
e2e_start_display
e2e_start_sundrel >/dev/null
e2e_key Escape
e2e_wait_exit 0
e2e_pass
