#!/usr/bin/env bash
# The health metrics with the real tools of a Prometheus fleet: `promtool check metrics` on
# what kelvox-cli writes for a fake /sys with findings and for this machine, `promtool check
# rules` on the sample rules, `systemd-analyze verify` on the service and timer (where systemd
# can), and the real prometheus-node-exporter, started on a loopback port with its textfile
# collector on a temporary folder, serving the metrics the service's own command wrote there.
# Skips (status 77) when promtool or prometheus-node-exporter is not installed.
#   prometheus_test.sh PROMETHEUS_FOLDER KELVOX_CLI
set -u
folder=$1
cli=$2
for tool in promtool prometheus-node-exporter; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (Debian packages prometheus, prometheus-node-exporter)"
    exit 77
  fi
done

failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

work=$(mktemp -d)
exporter=
cleanup() {
  [ -n "$exporter" ] && kill "$exporter" 2>/dev/null && wait "$exporter" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A fake /sys: a Gen4 x16 root port with a GPU trained at Gen1 x8 below it, counting AER errors.
sys=$work/sys
add() {  # add PATH CLASS HEADER_TYPE MAX_SPEED SPEED MAX_WIDTH WIDTH
  local dir=$sys/devices/pci0000:00/$1
  mkdir -p "$dir" "$sys/bus/pci/devices"
  printf '\xf4\x1a\x34\x12\x00\x00\x10\x00\x00%b%b%b\x00\x00%b\x00' \
    "\\x${2:4:2}" "\\x${2:2:2}" "\\x${2:0:2}" "\\x$3" >"$dir/config"
  head -c 48 /dev/zero >>"$dir/config"
  printf '%s\n' "$4" >"$dir/max_link_speed"
  printf '%s\n' "$5" >"$dir/current_link_speed"
  printf '%s\n' "$6" >"$dir/max_link_width"
  printf '%s\n' "$7" >"$dir/current_link_width"
  printf 'D0\n' >"$dir/power_state"
  ln -s "$dir" "$sys/bus/pci/devices/$(basename "$1")"
}
add 0000:00:01.0 060400 01 "16.0 GT/s PCIe" "2.5 GT/s PCIe" 16 8
add 0000:00:01.0/0000:01:00.0 030000 00 "16.0 GT/s PCIe" "2.5 GT/s PCIe" 16 8
printf 'RxErr 3\nBadTLP 0\nTOTAL_ERR_COR 3\n' >"$sys/devices/pci0000:00/0000:00:01.0/0000:01:00.0/aer_dev_correctable"

"$cli" health --format openmetrics --source "sysfs:$sys" >"$work/fake.prom"
status=$?
[ "$status" = 1 ] || fail "health on the fake /sys exited $status, not 1"
grep -q '^kelvox_health_finding{address="0000:01:00.0",kind="link",severity="warning"} 1$' \
  "$work/fake.prom" || fail "no link finding for 0000:01:00.0 in: $(cat "$work/fake.prom")"
grep -q '^kelvox_pcie_aer_errors_total{address="0000:01:00.0",kind="correctable",error="RxErr"} 3$' \
  "$work/fake.prom" || fail "no RxErr counter in the metrics"
grep -q '^kelvox_pcie_link_speed_gigatransfers_per_second{address="0000:01:00.0"} 2.5$' \
  "$work/fake.prom" || fail "no link speed in the metrics"
out=$(promtool check metrics <"$work/fake.prom" 2>&1) || fail "promtool check metrics (fake /sys): $out"
[ -z "$out" ] || fail "promtool check metrics warns (fake /sys): $out"

"$cli" health --format openmetrics >"$work/here.prom"
out=$(promtool check metrics <"$work/here.prom" 2>&1) || fail "promtool check metrics (this machine): $out"
[ -z "$out" ] || fail "promtool check metrics warns (this machine): $out"

out=$(promtool check rules "$folder/kelvox-alerts.yml" 2>&1) || fail "promtool check rules: $out"

if command -v systemd-analyze >/dev/null 2>&1; then
  # Without a running systemd the verifier cannot load units at all; it is a check only here.
  if out=$(systemd-analyze verify --man=no "$folder/kelvox-health-metrics.timer" 2>&1); then
    :
  elif ! echo "$out" | grep -qiE 'bus|connect|not booted|offline|Failed to (create|initialize)'; then
    fail "systemd-analyze verify: $out"
  fi
fi

# The service's own command, pointed at the temporary textfile folder.
textfiles=$work/textfile
mkdir -p "$textfiles"
command=$(sed -n 's/^ExecStart=//p' "$folder/kelvox-health-metrics.service")
command=${command//\/usr\/bin\/kelvox-cli/$cli}
command=${command//\/var\/lib\/prometheus\/node-exporter/$textfiles}
$command --source "sysfs:$sys"
[ -s "$textfiles/kelvox.prom" ] || fail "the service's command wrote no $textfiles/kelvox.prom"
ls -A "$textfiles" | grep -v '^kelvox.prom$' && fail "the service's command left other files"

# The real exporter on a loopback port, its textfile collector only.
for attempt in 1 2 3 4 5; do
  port=$((20000 + RANDOM % 40000))
  prometheus-node-exporter --web.listen-address="127.0.0.1:$port" --collector.disable-defaults \
    --collector.textfile --collector.textfile.directory="$textfiles" >"$work/exporter.log" 2>&1 &
  exporter=$!
  metrics=
  for _ in $(seq 50); do
    if metrics=$( { exec 3<>"/dev/tcp/127.0.0.1/$port" &&
      printf 'GET /metrics HTTP/1.0\r\nHost: 127.0.0.1\r\n\r\n' >&3 && cat <&3; } 2>/dev/null); then
      break
    fi
    kill -0 "$exporter" 2>/dev/null || break
    sleep 0.1
  done
  [ -n "$metrics" ] && break
  kill "$exporter" 2>/dev/null
  wait "$exporter" 2>/dev/null
  exporter=
done
if [ -z "$metrics" ]; then
  fail "node exporter did not serve /metrics: $(cat "$work/exporter.log")"
else
  echo "$metrics" | grep -q '^kelvox_health_found 1' ||
    fail "node exporter does not serve kelvox_health_found 1"
  echo "$metrics" | grep -q '^kelvox_pcie_aer_errors_total{address="0000:01:00.0",error="RxErr",kind="correctable"} 3' ||
    fail "node exporter does not serve the RxErr counter"
  echo "$metrics" | grep -q 'node_textfile_scrape_error 0' ||
    fail "node exporter could not read the file: $(echo "$metrics" | grep textfile)"
fi

[ "$failures" -eq 0 ] && echo "OK" || echo "$failures failure(s)"
[ "$failures" -eq 0 ]
