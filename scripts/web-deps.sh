#!/usr/bin/env bash
# web-deps.sh: builds the libraries of the media layer for WebAssembly from
# Debian's own source packages (emscripten's ports would download from the
# internet) into build/web-deps/prefix. Each library's build is kept under
# build/web-deps/<package>_<version>: a second run only checks the versions.
# The sources come through a source list and package lists of our own, so the
# machine's apt configuration and lists stay as they are.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
source "$root/scripts/web-env.bash"
web_check

apt_dir="$web_deps/apt"
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=$apt_dir/parts"
  -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache" -o "APT::Sandbox::User=$(id -un)"
  -o "Debug::NoLocking=1")

# Source lines for the Debian archives the machine already uses (deb822 files and
# one-line lists alike); other repositories have no sources to offer.
source_lines() {
  local file
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk 'function flush() {
           if (types ~ /(^| )deb( |$)/ && uri ~ /\/debian(-security)?\/?$/) {
             n = split(suites, s, " ")
             for (i = 1; i <= n; i++)
               print "deb-src" (key != "" ? " [signed-by=" key "]" : "") " " uri " " s[i] " " comps
           }
           types = uri = suites = comps = key = ""
         }
         /^[ \t]*$/ { flush(); next }
         /^#/ { next }
         /^Types:/ { sub(/^Types:[ \t]*/, ""); types = $0 }
         /^URIs:/ { uri = $2 }
         /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
         /^Components:/ { sub(/^Components:[ \t]*/, ""); comps = $0 }
         /^Signed-By:/ { key = $2 }
         END { flush() }' "$file"
  done
  { cat /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null || true; } |
    awk '$1 == "deb" { $1 = "deb-src"; for (i = 2; i <= NF; i++) if ($i ~ /\/debian(-security)?\/?$/) { print; break } }'
}

# The lists are read again when a day old (the versions decide what is rebuilt).
source_lines | sort -u > "$apt_dir/sources.list.new"
if [ ! -s "$apt_dir/sources.list.new" ]; then
  echo "web-deps: no Debian archive found in /etc/apt's sources" >&2
  exit 1
fi
if ! cmp -s "$apt_dir/sources.list.new" "$apt_dir/sources.list" ||
  [ -z "$(find "$apt_dir/lists" -maxdepth 1 -name '*Sources*' -mtime -1 -print -quit)" ]; then
  mv "$apt_dir/sources.list.new" "$apt_dir/sources.list"
  apt-get "${apt_options[@]}" -qq update > "$apt_dir/update.log" 2>&1 || {
    cat "$apt_dir/update.log" >&2; echo "web-deps: cannot read the archive's source lists" >&2; exit 1; }
else
  rm "$apt_dir/sources.list.new"
fi

# versions PACKAGE BINARY: the versions of the source package the archive has,
# the one the machine's own BINARY package was built from first (the browser
# then decodes as the desktop does), then the others, newest first.
versions() {
  local all installed
  all="$(apt-cache "${apt_options[@]}" showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -u |
    sort -r -V)"
  installed="$(dpkg-query -W -f='${source:Version}' "$2" 2>/dev/null || true)"
  if [ -n "$installed" ] && grep -qxF "$installed" <<< "$all"; then echo "$installed"; fi
  grep -vxF "${installed:-none}" <<< "$all" || true
}

# unpack DSC: unpacks a source whose files arrived but for a signature file the
# archive no longer carries (dpkg-source refuses it): the upstream tarball, the
# Debian folder over it, the Debian patches in the order of their series.
unpack() {
  local dsc="$1" orig debian
  orig="$(ls ./*.orig.tar.* | grep -v '\.asc$' | head -n 1)"
  debian="$(ls ./*.debian.tar.* | head -n 1)"
  [ -n "$orig" ] && [ -n "$debian" ] || return 1
  mkdir unpacked
  tar -xf "$orig" -C unpacked --strip-components=1
  tar -xf "$debian" -C unpacked
  if [ -f unpacked/debian/patches/series ]; then
    sed 's/#.*//' unpacked/debian/patches/series | while read -r patch _; do
      [ -z "$patch" ] || patch -d unpacked -p1 -s < "unpacked/debian/patches/$patch" || return 1
    done
  fi
  echo "unpacked $dsc without its missing signature file"
}

# fetch PACKAGE VERSION DIR: unpacks that source (patches applied) into DIR/src.
# apt-get source fails over a signature file the archive no longer carries
# (mpg123's upstream .asc) although the source itself arrives: what arrived
# decides.
fetch() {
  local package="$1" version="$2" dir="$3" tree dsc
  rm -rf "$dir/get" "$dir/src" && mkdir -p "$dir/get"
  (cd "$dir/get" && apt-get "${apt_options[@]}" source -qq "$package=$version" > ../fetch.log 2>&1) || true
  tree="$(find "$dir/get" -mindepth 1 -maxdepth 1 -type d -name "$package-*" -print -quit)"
  dsc="$(find "$dir/get" -maxdepth 1 -name "${package}_*.dsc" -print -quit)"
  if [ -z "$tree" ] && [ -n "$dsc" ]; then
    (cd "$dir/get" && unpack "$(basename "$dsc")" >> ../fetch.log 2>&1) && tree="$dir/get/unpacked"
  fi
  [ -n "$tree" ] && [ -d "$tree" ] || return 1
  mv "$tree" "$dir/src" && rm -rf "$dir/get"
  touch "$dir/src/.fetched"
}

# prepare PACKAGE BINARY: sets $dir to the folder of the first version whose
# source is here or can be fetched (one that could not is not tried again).
prepare() {
  local version
  while read -r version; do
    [ -n "$version" ] || continue
    dir="$web_deps/${1}_${version#*:}"
    [ -f "$dir/src/.fetched" ] && return 0
    [ -f "$dir/unavailable" ] && continue
    fetch "$1" "$version" "$dir" && return 0
    echo "web-deps: cannot fetch $1 $version (not tried again):" >&2
    grep '^E:' "$dir/fetch.log" | head -n 3 >&2 || true
    rm -rf "$dir" && mkdir -p "$dir" && touch "$dir/unavailable"
  done < <(versions "$1" "$2")
  echo "web-deps: no source of $1 could be fetched" >&2
  return 1
}

flags="-O2"
cmake_common=(-G "Unix Makefiles" -DCMAKE_BUILD_TYPE=Release -DCMAKE_FIND_ROOT_PATH="$web_prefix"
  -DCMAKE_PREFIX_PATH="$web_prefix" -DBUILD_SHARED_LIBS=OFF -DCMAKE_C_FLAGS="$flags"
  -DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node)
jobs="$(nproc)"

# build_X SRC PREFIX: builds a library from its source tree and installs it into PREFIX.
# CMake's checks run small programs under node, whose own fetch breaks the loader.
cmake_build() {
  NODE_OPTIONS=--no-experimental-fetch emcmake cmake -S "$1" -B "$1/../build" "${cmake_common[@]}" \
    -DCMAKE_INSTALL_PREFIX="$2" "${@:3}"
  cmake --build "$1/../build" -j "$jobs"
  cmake --install "$1/../build"
}

# configure_static SRC PREFIX ARGS...: configures an autotools source to build
# static libraries for PREFIX; make_install SRC builds and installs them.
configure_static() {
  local src="$1" prefix="$2"; shift 2
  (cd "$src" && CFLAGS="$flags" NODE_OPTIONS=--no-experimental-fetch emconfigure ./configure \
    --prefix="$prefix" --disable-shared --enable-static "$@")
}
make_install() { (cd "$1" && emmake make -j "$jobs" && emmake make install); }
configure_build() { configure_static "$@" && make_install "$1"; }

build_zlib() { (cd "$1" && CFLAGS="$flags" emconfigure ./configure --static --prefix="$2" &&
  emmake make -j "$jobs" libz.a && emmake make install); }
build_libpng1_6() { cmake_build "$1" "$2" -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DZLIB_ROOT="$web_prefix"; }
# libjpeg-turbo's install would build its programs too: the library and its headers alone.
build_libjpeg_turbo() {
  local build="$1/../build"
  NODE_OPTIONS=--no-experimental-fetch emcmake cmake -S "$1" -B "$build" "${cmake_common[@]}" \
    -DCMAKE_INSTALL_PREFIX="$2" -DWITH_SIMD=0 -DENABLE_SHARED=0 -DENABLE_STATIC=1 -DWITH_TURBOJPEG=0
  cmake --build "$build" -j "$jobs" --target jpeg-static
  mkdir -p "$2/lib" "$2/include"
  cp "$build/libjpeg.a" "$2/lib/"
  cp "$1/jpeglib.h" "$1/jmorecfg.h" "$1/jerror.h" "$build/jconfig.h" "$2/include/"
}
# mpg123 decodes as the desktop's libmpg123 does on x86-64 (its AVX decoder), to
# the sample: its portable C built as written (no -ffast-math, which lets the
# compiler reorder sums), and the three routines the desktop runs in assembly
# (the layer III transform, the polyphase transform, the stereo window) taken
# from that assembly into C (web-mpg123-x86.py) and put in place of the
# portable ones (web-mpg123.patch). Built in a copy of the source, patched.
build_mpg123() {
  local work="$1/../build" routines=()
  cp -a "$1" "$work"
  (cd "$work" && { make distclean > /dev/null 2>&1 || true; } && patch -p1 < "$root/scripts/web-mpg123.patch") || return 1
  configure_static "$work" "$2" --host=i686-pc-linux-gnu --with-cpu=generic_fpu --with-optimization=0 \
    --disable-components --enable-libmpg123 --disable-modules || return 1
  local lib="$work/src/libmpg123"
  for routine in dct36_avx dct64_avx_float synth_stereo_avx_accurate; do
    emcc -E -P -x assembler-with-cpp -DOPT_X86_64 -I"$lib" -I"$work/src" "$lib/$routine.S" -o "$lib/$routine.s" || return 1
    routines+=("$lib/$routine.s")
  done
  /usr/bin/python3 "$root/scripts/web-mpg123-x86.py" "$lib/x86order.c" "${routines[@]}" || return 1
  make_install "$work"
}
build_libogg() { configure_build "$1" "$2"; }
build_libvorbis() { configure_build "$1" "$2" --with-ogg="$web_prefix" --disable-oggtest --disable-docs --disable-examples; }
build_freetype() {
  cp "$root/scripts/web-ftmodule.h" "$1/include/freetype/config/ftmodule.h"
  cmake_build "$1" "$2" -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DFT_DISABLE_BZIP2=ON \
  -DFT_DISABLE_PNG=ON -DFT_REQUIRE_ZLIB=ON -DZLIB_ROOT="$web_prefix"
}
# The stamp of a library built (prefix/.built): what its build takes from this
# project besides its source, so that a change builds it again.
recipe() {
  echo built
  case "$1" in
    freetype) sha256sum < "$root/scripts/web-ftmodule.h" ;;
    mpg123) cat "$root/scripts/web-mpg123.patch" "$root/scripts/web-mpg123-x86.py" | sha256sum ;;
  esac
}

# In the order they need each other. Each library is built into a folder of its
# own named after its source version and kept there; the prefix the game's build
# uses is put together from them anew each run.
packages=(zlib:zlib1g libpng1.6:libpng16-16 libjpeg-turbo:libjpeg62-turbo mpg123:libmpg123-0 libogg:libogg0
  libvorbis:libvorbis0a freetype:libfreetype6)
export PKG_CONFIG_LIBDIR="$web_prefix/lib/pkgconfig"
begin=$SECONDS
rm -rf "$web_prefix" && mkdir -p "$web_prefix"
built=()
for entry in "${packages[@]}"; do
  package="${entry%%:*}"
  prepare "$package" "${entry#*:}"
  if [ "$(cat "$dir/prefix/.built" 2> /dev/null)" != "$(recipe "$package")" ]; then
    echo "web-deps: building $(basename "$dir")"
    rm -rf "$dir/build" "$dir/prefix"
    "build_${package//[.-]/_}" "$dir/src" "$dir/prefix" > "$dir/build.log" 2>&1 || {
      tail -n 40 "$dir/build.log" >&2; echo "web-deps: $package did not build (see $dir/build.log)" >&2; exit 1; }
    recipe "$package" > "$dir/prefix/.built"
  fi
  cp -a "$dir/prefix/." "$web_prefix/"
  built+=("$(basename "$dir")")
done
rm -f "$web_prefix/.built"
# The .pc files name the folder each library was built for: the prefix.
for pc in "$web_prefix"/lib/pkgconfig/*.pc; do
  sed -i "s|^prefix=.*|prefix=$web_prefix|; s|^exec_prefix=.*|exec_prefix=\${prefix}|; s|^libdir=.*|libdir=\${prefix}/lib|; s|^includedir=.*|includedir=\${prefix}/include|" "$pc"
done
printf '%s\n' "${built[@]}" > "$web_prefix/versions.txt"
echo "web-deps: ${built[*]} ready in $((SECONDS - begin)) s"
