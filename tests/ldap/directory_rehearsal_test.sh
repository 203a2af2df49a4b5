#!/usr/bin/env bash
# corvane-sim --directory against the test domain controller, over LDAPS
# with its own certificate: the read-only report first (nothing changes),
# then --write-directory (the account moves). Reports are compared whole.
#
#   directory_rehearsal_test.sh CORVANE_SIM DIRECTORY_ENV
set -euo pipefail
sim=${1:?corvane-sim}
env_file=${2:?directory.env}
if [[ ! -f "$env_file" ]]; then
  echo "no domain controller is running for this test run; skipped"
  exit 0
fi
# shellcheck disable=SC1090
source "$env_file"
root=DC=sales,DC=example,DC=com
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

ldap() { "$@" -x -H "$uri" -D "$admin" -w "$admin_password"; }
ldap ldapdelete -r "OU=Rehearsal,$root" >/dev/null 2>&1 || true
ldap ldapadd >/dev/null <<LDIF
dn: OU=Rehearsal,$root
objectClass: organizationalUnit

dn: OU=Berlin,OU=Rehearsal,$root
objectClass: organizationalUnit

dn: CN=REHEARSE1,OU=Rehearsal,$root
objectClass: computer
sAMAccountName: REHEARSE1\$
userAccountControl: 4128
LDIF

run() {
  "$sim" --directory "$ldaps_uri" --accept-any-certificate --domain "$domain" \
    --account "$admin" --password "$admin_password" --computer REHEARSE1 \
    --unit '\Rehearsal\Berlin' "$@" >"$work/out" 2>&1 || true
}

fail=0
expect_report() {
  # The report's lines, without the log and the units of other tests.
  grep -v -E '^(Info|Error|Warning)\(|^  \\T|^joinable units \(' "$work/out" >"$work/report" || true
  if ! diff -u "$work/expected" "$work/report"; then
    fail=1
  fi
}

run
cat >"$work/expected" <<TEXT
directory: $ldaps_uri, domain $domain, as Administrator@sales.example.com (read-only)
  (the default computer container)
  \\Domain Controllers
  \\Rehearsal
  \\Rehearsal\\Berlin
account REHEARSE1: in \\Rehearsal
move: would move REHEARSE1 in \\Rehearsal\\Berlin (--write-directory does it)
exit code: 0
TEXT
expect_report
ldap ldapsearch -b "CN=REHEARSE1,OU=Rehearsal,$root" -s base dn >/dev/null ||
  { echo "the read-only rehearsal moved the account"; fail=1; }

run --write-directory
cat >"$work/expected" <<TEXT
directory: $ldaps_uri, domain $domain, as Administrator@sales.example.com
  (the default computer container)
  \\Domain Controllers
  \\Rehearsal
  \\Rehearsal\\Berlin
account REHEARSE1: in \\Rehearsal
move: MoveComputerAccountToOrganizationUnit = 0
exit code: 0
TEXT
expect_report
ldap ldapsearch -b "CN=REHEARSE1,OU=Berlin,OU=Rehearsal,$root" -s base dn >/dev/null ||
  { echo "the rehearsal with --write-directory did not move the account"; fail=1; }

ldap ldapdelete -r "OU=Rehearsal,$root" >/dev/null 2>&1 || true
exit "$fail"
