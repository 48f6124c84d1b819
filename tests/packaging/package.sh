#!/usr/bin/env bash
# The Debian package end to end: made by CPack from a build without sanitizers, its control fields
# and files, its dependencies resolvable by apt, and the Sundrel unpacked from it starting under
# Xvfb and ending with 0 on Esc.
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

step "configuring the release build" cmake -S "$source_dir" -B "$build_dir" \
  -DCMAKE_BUILD_TYPE=Release -DSUNDREL_SANITIZE=OFF -DSUNDREL_TESTS=OFF
step "building" cmake --build "$build_dir" -j "$(nproc)"
rm -rf "$build_dir/packages"
step "cpack" cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$build_dir/packages"

version=$(sed -n 's/^project(Sundrel VERSION \([0-9.]*\) .*/\1/p' "$source_dir/CMakeLists.txt")
deb="$build_dir/packages/sundrel_${version}_$(dpkg --print-architecture).deb"
[ "$(ls "$build_dir"/packages/*.deb)" = "$deb" ] ||
  e2e_fail "expected $(basename "$deb") alone, found: $(cd "$build_dir/packages" && echo *.deb)"

info=$(dpkg-deb -I "$deb")
field() { sed -n "s/^ $1: //p" <<<"$info"; }
depends=$(field Depends)
depended=$(sed 's/ *([^)]*)//g; s/ *[,|] */\n/g' <<<"$depends")
for library in libqt6widgets6 libqt6gui6 libqt6core6 libssl3 libc6 libstdc++6; do
  grep -qxF "$library" <<<"$depended" || e2e_fail "Depends lacks $library: $depends"
done
grep -q "asan\|ubsan" <<<"$depends" && e2e_fail "Depends names a sanitizer runtime: $depends"
for expected in "Section=utils" "Maintainer=Sundrel developers" "Recommends=qt6-wayland, qt6-gtk-platformtheme" \
                "Description=Cuts a file into numbered segments and joins them"; do
  name=${expected%%=*}
  [ "$(field "$name")" = "${expected#*=}" ] ||
    e2e_fail "control field $name is \"$(field "$name")\", expected \"${expected#*=}\""
done

# Exactly the program and its desktop files, nothing from the build's tools or libraries.
sizes="16 32 48 64 128 256" icons=./usr/share/icons/hicolor
files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $6 }' | sort)
expected_files=$(printf '%s\n' ./usr/bin/Sundrel ./usr/share/applications/sundrel.desktop \
  ./usr/share/metainfo/io.github.sundrel.sundrel.metainfo.xml $icons/scalable/apps/sundrel.svg \
  $(for size in $sizes; do echo "$icons/${size}x$size/apps/sundrel.png"; done) | sort)
[ "$files" = "$expected_files" ] ||
  e2e_fail "the package holds:"$'\n'"$files"$'\n'"expected:"$'\n'"$expected_files"

root="$E2E_DIR/root"
step "unpacking" dpkg-deb -x "$deb" "$root"
for size in $sizes; do
  file "$root/usr/share/icons/hicolor/${size}x$size/apps/sundrel.png" |
    grep -q "PNG image data, $size x $size," || e2e_fail "the ${size}x$size icon is not a $size-pixel PNG"
done
file "$root/usr/share/icons/hicolor/scalable/apps/sundrel.svg" | grep -q "SVG Scalable Vector Graphics" ||
  e2e_fail "the scalable icon is not an SVG image"
grep -q "<release version=\"$version\"" "$root"/usr/share/metainfo/*.metainfo.xml ||
  e2e_fail "the metainfo does not announce release $version"
readelf -d "$root/usr/bin/Sundrel" | grep -q "asan\|ubsan" &&
  e2e_fail "the packaged Sundrel links a sanitizer runtime"

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
