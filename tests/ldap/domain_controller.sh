#!/usr/bin/env bash
# The real domain controller of the directory tests: a Samba Active Directory
# domain provisioned afresh under the build folder, serving plain LDAP on a
# free port of 127.0.0.1 only.
#
#   domain_controller.sh start DIR REMAP_LIBRARY   provision, start, wait, write DIR/directory.env
#   domain_controller.sh stop DIR                  stop the server started in DIR, by its PID
#
# Without Samba's AD DC packages `start` says so and writes no directory.env;
# the tests then skip with that reason.
set -euo pipefail

command=${1:?start or stop}
dir=${2:?state directory}
env_file="$dir/directory.env"

realm=SALES.EXAMPLE.COM
netbios=SALES
dns=sales.example.com
admin_password='Corvane-Adm1n!'
clerk_password='Clerk-Pa55!'

stop_server() {
  [[ -f "$dir/samba.pid" ]] || return 0
  local pid
  pid=$(cat "$dir/samba.pid")
  if kill -0 "$pid" 2>/dev/null; then
    kill -TERM "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -KILL "$pid" 2>/dev/null || true
  fi
  rm -f "$dir/samba.pid"
}

if [[ "$command" == stop ]]; then
  stop_server
  exit 0
fi

remap=${3:?listen port remap library}
rm -f "$env_file"
for tool in samba samba-tool ldapsearch; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "domain controller: '$tool' is not installed; the real-directory tests will be skipped" \
         "(scripts/setup.sh installs samba, samba-ad-dc and ldap-utils)"
    exit 0
  fi
done

stop_server
rm -rf "$dir"
mkdir -p "$dir/run"
SECONDS=0

# Two free ports of 127.0.0.1, chosen now: the kernel picks them, they are
# released at once and handed to the server's bind() through the remap.
read -r ldap_port ldaps_port < <(python3 - <<'PY'
import socket
held = []
for _ in range(2):
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    held.append(s)
print(*(s.getsockname()[1] for s in held))
PY
)

samba-tool domain provision --targetdir="$dir/dc" --realm="$realm" --domain="$netbios" \
  --server-role=dc --dns-backend=NONE --adminpass="$admin_password" \
  --host-name=dc1 --host-ip=127.0.0.1 \
  --option="interfaces=127.0.0.1" --option="bind interfaces only=yes" \
  --option="server services=ldap" \
  --option="log file=$dir/samba.log" --option="pid directory=$dir/run" \
  --option="ncalrpc dir=$dir/run/ncalrpc" --option="winbindd socket directory=$dir/run/winbindd" \
  >"$dir/provision.log" 2>&1

conf="$dir/dc/etc/smb.conf"
db="$dir/dc/private/sam.ldb"
# An ordinary domain user (reads the directory, may change none of the
# test's OUs) and a disabled one.
samba-tool user create clerk "$clerk_password" -H "$db" -s "$conf" >>"$dir/provision.log" 2>&1
samba-tool user create leaver "$clerk_password" -H "$db" -s "$conf" >>"$dir/provision.log" 2>&1
samba-tool user disable leaver -H "$db" -s "$conf" >>"$dir/provision.log" 2>&1
# Accounts never expire their passwords in a test domain.
samba-tool domain passwordsettings set --max-pwd-age=0 -H "$db" -s "$conf" \
  >>"$dir/provision.log" 2>&1

CORVANE_DC_LDAP_PORT=$ldap_port CORVANE_DC_LDAPS_PORT=$ldaps_port LD_PRELOAD="$remap" \
  samba -i -s "$conf" --option="ldap server require strong auth=no" \
  >"$dir/samba.out" 2>&1 </dev/null &
echo $! >"$dir/samba.pid"

uri="ldap://127.0.0.1:$ldap_port"
for _ in $(seq 300); do
  if ldapsearch -x -H "$uri" -D "Administrator@$dns" -w "$admin_password" \
       -b "DC=sales,DC=example,DC=com" -s base dn >/dev/null 2>&1; then
    ready=1
    break
  fi
  if ! kill -0 "$(cat "$dir/samba.pid")" 2>/dev/null; then break; fi
  sleep 0.2
done
if [[ -z "${ready:-}" ]]; then
  echo "domain controller: the server did not answer on $uri; see $dir/samba.out" >&2
  stop_server
  exit 1
fi

cat >"$env_file" <<ENV
uri=$uri
ldaps_uri=ldaps://127.0.0.1:$ldaps_port
domain=$dns
netbios=$netbios
admin=Administrator@$dns
admin_password=$admin_password
clerk=clerk@$dns
clerk_password=$clerk_password
disabled=leaver@$dns
disabled_password=$clerk_password
ENV
echo "domain controller: $dns on $uri (pid $(cat "$dir/samba.pid")," \
     "ready after ${SECONDS} s)"
