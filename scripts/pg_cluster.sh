# Sourced by scripts/test.sh: a throwaway PostgreSQL cluster for the server tests. It lives in a
# temporary folder, listens only on a Unix socket there, and is stopped and removed by
# pg_cluster_stop (test.sh calls it from its exit trap, so a failing build or test stops it too).
# initdb refuses to run as root, so under root the cluster runs as the unprivileged user nobody.

PG_BIN=/usr/lib/postgresql/15/bin
PG_CLUSTER_DIR=""
PG_RUN=()

pg_cluster_start() {
  PG_CLUSTER_DIR=$(mktemp -d /tmp/corvanta-pg.XXXXXX)
  if [[ $(id -u) -eq 0 ]]; then
    chown nobody: "$PG_CLUSTER_DIR"
    chmod 755 "$PG_CLUSTER_DIR"
    PG_RUN=(runuser -u nobody --)
  fi
  # nobody may not be able to read the working folder; every step runs from the cluster's own.
  (
    cd "$PG_CLUSTER_DIR"
    "${PG_RUN[@]}" "$PG_BIN/initdb" -D "$PG_CLUSTER_DIR/data" -U corvanta --auth=trust \
      -E UTF8 --no-locale >"$PG_CLUSTER_DIR/initdb.log" 2>&1
    "${PG_RUN[@]}" "$PG_BIN/pg_ctl" -D "$PG_CLUSTER_DIR/data" -l "$PG_CLUSTER_DIR/server.log" -w \
      -o "-c listen_addresses='' -k $PG_CLUSTER_DIR -c fsync=off -c shared_buffers=16MB -c max_connections=40" \
      start >/dev/null
    "${PG_RUN[@]}" "$PG_BIN/createdb" -h "$PG_CLUSTER_DIR" -U corvanta corvanta_test
  ) || {
    echo "The PostgreSQL cluster for the server tests did not start:" >&2
    cat "$PG_CLUSTER_DIR"/*.log >&2 2>/dev/null || true
    return 1
  }
  export CORVANTA_TEST_SERVER="host=$PG_CLUSTER_DIR dbname=corvanta_test user=corvanta"
}

pg_cluster_stop() {
  [[ -n "$PG_CLUSTER_DIR" && -d "$PG_CLUSTER_DIR" ]] || return 0
  (cd "$PG_CLUSTER_DIR" && "${PG_RUN[@]}" "$PG_BIN/pg_ctl" -D "$PG_CLUSTER_DIR/data" -m immediate -w stop \
    >/dev/null 2>&1) || true
  rm -rf "$PG_CLUSTER_DIR"
  PG_CLUSTER_DIR=""
}
