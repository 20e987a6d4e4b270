# Sourced at the top of tests/e2e/netns-run, tests/web/web-run and tests/package/install-test, with their arguments, after
# they set `me` (their name), `service` and `db`: runs the caller again in a network namespace
# of its own. There, with the loopback up, it makes a fresh folder $work (removed by `cleanup`
# at exit, with every process in $pids stopped), without any proxy from the caller's
# environment that could send a request elsewhere; in it a throwaway certificate authority
# ca.pem and its certificate for localhost (server.pem, server.key); and starts the service
# with $work/$db on ports 80 and 443.
if [ "${BREVIO_NETNS_INSIDE:-}" != "$me" ]; then
  [ -x "$service" ] || { echo "$me: no reference service at $service (build the native tree first)" >&2; exit 1; }
  export BREVIO_NETNS_INSIDE=$me
  exec unshare -rn "$0" "$@"
fi

ip link set lo up
work=$(mktemp -d "/tmp/brevio-$me.XXXXXX")
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  for pid in "${pids[@]}"; do wait "$pid" 2>/dev/null || true; done
  if [ -n "${BREVIO_E2E_KEEP:-}" ]; then echo "$me: kept $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT
unset http_proxy https_proxy HTTP_PROXY HTTPS_PROXY no_proxy NO_PROXY all_proxy ALL_PROXY
cd "$work"

quiet() { "$@" >/dev/null 2>&1 || { echo "$me: failed: $*" >&2; "$@" >&2 || true; exit 1; }; }
quiet openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Brevio test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout ca.key -out ca.pem
quiet openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=localhost" -CA ca.pem -CAkey ca.key \
  -addext "subjectAltName=DNS:localhost,IP:127.0.0.1" -addext "basicConstraints=CA:FALSE" \
  -addext "keyUsage=critical,digitalSignature,keyEncipherment" -addext "extendedKeyUsage=serverAuth" \
  -keyout server.key -out server.pem

# wait_for WHAT COMMAND...: until COMMAND succeeds (10 s at most), or fails saying WHAT.
wait_for() {
  for _ in $(seq 100); do "${@:2}" 2>/dev/null && return 0; sleep 0.1; done
  echo "$me: $1" >&2
  cat "$work/service.log" >&2
  exit 1
}
"$service" serve --db "$db" --http-port 80 --https-port 443 --cert server.pem --key server.key \
  >service.log 2>&1 &
pids+=($!)
wait_for "the service did not start" grep -q 'listening on https' service.log
cd "$OLDPWD"

# run_test COMMAND...: runs it and exits with its status, showing the service log's end when
# it failed.
run_test() {
  local status=0
  "$@" || status=$?
  [ $status -eq 0 ] || { echo "--- service log" >&2; tail -n 30 "$work/service.log" >&2; }
  exit $status
}
