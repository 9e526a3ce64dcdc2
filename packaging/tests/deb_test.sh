#!/usr/bin/env bash
# Checks the Debian package `make deb` built in the build folder: its control fields, its file
# list, the metainfo file in it (appstreamcli validate) and lintian's verdict. Each check that
# needs a tool skips when the tool is missing; the whole test skips (status 77) when no package
# was built.
#   deb_test.sh BUILD_DIR VERSION [control|files|appstream|lintian]
set -u
build=$1
version=$2
check=${3:-all}

if ! command -v dpkg-deb >/dev/null 2>&1; then
  echo "SKIP: dpkg-deb is not installed"
  exit 77
fi
deb=$(ls "$build"/kelvox_"$version"-*_*.deb 2>/dev/null | head -n 1)
if [ -z "$deb" ]; then
  echo "SKIP: no kelvox_${version}-*.deb in $build (run make deb)"
  exit 77
fi

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

check_control() {
  local field value
  [ "$(dpkg-deb -f "$deb" Package)" = kelvox ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
  [ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "Version: $(dpkg-deb -f "$deb" Version)"
  [ "$(dpkg-deb -f "$deb" Recommends)" = "pci.ids, xdg-utils" ] ||
    fail "Recommends: $(dpkg-deb -f "$deb" Recommends)"
  [ "$(dpkg-deb -f "$deb" Section)" = utils ] || fail "Section: $(dpkg-deb -f "$deb" Section)"
  if command -v dpkg >/dev/null 2>&1; then
    [ "$(dpkg-deb -f "$deb" Architecture)" = "$(dpkg --print-architecture)" ] ||
      fail "Architecture: $(dpkg-deb -f "$deb" Architecture)"
  fi
  for field in Maintainer Description Installed-Size; do
    [ -n "$(dpkg-deb -f "$deb" "$field")" ] || fail "no $field field"
  done
  # Dependencies come from dpkg-shlibdeps: the C library and wxWidgets' GTK build, with
  # versions, not a hand-written list.
  value=$(dpkg-deb -f "$deb" Depends)
  for package in libc6 libwxgtk3.2 libstdc++6; do
    tr ',' '\n' <<<"$value" | awk -v p="$package" 'index($1, p) == 1 && $2 == "(>=" {found = 1}
      END {exit !found}' || fail "Depends lacks $package with a version: $value"
  done
}

check_files() {
  local listing
  listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
  for path in ./usr/bin/kelvox ./usr/bin/kelvox-cli \
    ./usr/share/applications/kelvox.desktop \
    ./usr/share/icons/hicolor/32x32/apps/kelvox.png \
    ./usr/share/icons/hicolor/256x256/apps/kelvox.png \
    ./usr/share/man/man1/kelvox.1.gz ./usr/share/man/man1/kelvox-cli.1.gz \
    ./usr/share/bash-completion/completions/kelvox-cli \
    ./usr/share/doc/kelvox/copyright ./usr/share/doc/kelvox/changelog.Debian.gz \
    ./usr/share/doc/kelvox/README.md.gz \
    ./usr/lib/systemd/system/kelvox-health-metrics.service \
    ./usr/lib/systemd/system/kelvox-health-metrics.timer \
    ./usr/share/kelvox/prometheus/kelvox-alerts.yml; do
    grep -qxF "$path" <<<"$listing" || fail "the package lacks $path"
  done
  grep -Eqx '\./usr/share/metainfo/[A-Za-z0-9_.-]+\.metainfo\.xml' <<<"$listing" ||
    fail "the package lacks /usr/share/metainfo/ID.metainfo.xml"
  # Everything under /usr, owned by root.
  grep -v '^\./usr/' <<<"$listing" | grep -v '^\./$' | grep -q . &&
    fail "files outside /usr: $(grep -v '^\./usr/' <<<"$listing" | grep -v '^\./$' | tr '\n' ' ')"
  dpkg-deb -c "$deb" | awk '$2 != "root/root" {print}' | grep -q . && fail "files not owned by root"
  # The metrics timer is installed, never enabled: no maintainer script may start anything.
  local control
  control=$(mktemp -d)
  dpkg-deb -e "$deb" "$control/DEBIAN"
  for script in postinst preinst prerm postrm; do
    [ -e "$control/DEBIAN/$script" ] && fail "the package has a $script script"
  done
  rm -rf "$control"
  return 0
}

check_appstream() {
  if ! command -v appstreamcli >/dev/null 2>&1; then
    echo "skip: appstreamcli is not installed"
    return 0
  fi
  local folder
  folder=$(mktemp -d)
  dpkg-deb -x "$deb" "$folder"
  appstreamcli validate --no-net "$folder"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
  rm -rf "$folder"
}

check_lintian() {
  if ! command -v lintian >/dev/null 2>&1; then
    echo "skip: lintian is not installed"
    return 0
  fi
  local report
  report=$(lintian --no-cfg "$deb" 2>&1)
  echo "$report"
  grep -q '^E: ' <<<"$report" && fail "lintian reports errors"
  return 0
}

case $check in
  control) check_control ;;
  files) check_files ;;
  appstream) check_appstream ;;
  lintian) check_lintian ;;
  all) check_control; check_files; check_appstream; check_lintian ;;
  *) echo "unknown check $check"; exit 2 ;;
esac

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s) in $deb"
  exit 1
fi
echo "$deb: $check checked"
