# Sourced by scripts/test.sh: a throw-away PostgreSQL cluster on 127.0.0.1 and a test-local ODBC set-up
# (data source zarnel_pg with the engineer's login), so the server variants of the tests run.
# start_test_server exports ZARNEL_TEST_PG_DSN; stop_test_server removes everything again.

test_server_dir=""
test_server_bin=""

start_test_server() {
    test_server_bin=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)
    local driver=/usr/lib/x86_64-linux-gnu/odbc/psqlodbcw.so
    if [[ -z "$test_server_bin" || ! -f "$driver" ]]; then
        echo "PostgreSQL or its ODBC driver missing: the server tests skip"
        return 0
    fi
    test_server_dir=$(mktemp -d /tmp/zarnel-pg-XXXXXX)
    chmod 755 "$test_server_dir"
    local port
    for port in $(seq 55432 55532); do
        (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
    done
    local as=()
    if [[ $(id -u) -eq 0 ]]; then
        chown postgres: "$test_server_dir"
        as=(su postgres -s /bin/sh -c)
    else
        as=(sh -c)
    fi
    local data="$test_server_dir/data"
    "${as[@]}" "'$test_server_bin/initdb' -D '$data' -U postgres -E UTF8 --locale=C.UTF-8 \
        --auth-local=trust --auth-host=scram-sha-256 >'$test_server_dir/initdb.log'"
    "${as[@]}" "'$test_server_bin/pg_ctl' -D '$data' -l '$test_server_dir/server.log' -w \
        -o \"-k '$test_server_dir' -c listen_addresses=127.0.0.1 -p $port -c fsync=off\" start >/dev/null"
    "${as[@]}" "'$test_server_bin/psql' -h '$test_server_dir' -p $port -U postgres -q -v ON_ERROR_STOP=1 \
        -c \"CREATE ROLE engineer LOGIN CREATEDB PASSWORD 'risk-15'\" \
        -c 'CREATE DATABASE zarnel OWNER engineer'"

    local ini="$test_server_dir/odbc"
    mkdir -p "$ini"
    cat >"$ini/odbcinst.ini" <<INI
[PostgreSQL Unicode]
Driver=$driver

[SQLite3]
Driver=/usr/lib/x86_64-linux-gnu/odbc/libsqlite3odbc.so
INI
    cat >"$ini/odbc.ini" <<INI
[zarnel_pg]
Driver=PostgreSQL Unicode
Servername=127.0.0.1
Port=$port
Database=zarnel
Username=engineer
Password=risk-15

[zarnel_pg_nologin]
Driver=PostgreSQL Unicode
Servername=127.0.0.1
Port=$port
Database=zarnel
INI
    chmod -R a+rX "$test_server_dir"
    export ODBCSYSINI="$ini" ODBCINI="$ini/odbc.ini"
    export ZARNEL_TEST_PG_DSN=zarnel_pg ZARNEL_TEST_PG_DSN_NOLOGIN=zarnel_pg_nologin
    export ZARNEL_TEST_PG_USER=engineer ZARNEL_TEST_PG_PASSWORD=risk-15
    echo "Test server: PostgreSQL on 127.0.0.1:$port, data source $ZARNEL_TEST_PG_DSN"
}

stop_test_server() {
    [[ -n "$test_server_dir" ]] || return 0
    local as=(sh -c)
    [[ $(id -u) -eq 0 ]] && as=(su postgres -s /bin/sh -c)
    "${as[@]}" "'$test_server_bin/pg_ctl' -D '$test_server_dir/data' -m immediate -w stop >/dev/null" || true
    rm -rf "$test_server_dir"
    test_server_dir=""
}
