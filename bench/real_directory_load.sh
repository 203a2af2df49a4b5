#!/usr/bin/env bash
# Fills a test domain controller's directory for the real-directory
# benchmark in one ldapadd run: for each N given, the unit OU=BenchN with
# 100 units below it and N computer accounts spread over them, one of which
# is TARGETN. Units that exist already are skipped.
#
#   real_directory_load.sh DIRECTORY_ENV N...
set -euo pipefail
env_file=${1:?directory.env of the domain controller}
shift
# shellcheck disable=SC1090
source "$env_file"
root=$(echo "$domain" | sed 's/^/DC=/; s/\./,DC=/g')
for n in "$@"; do
  if ldapsearch -x -H "$uri" -D "$admin" -w "$admin_password" -b "OU=Bench$n,$root" -s base dn \
       >/dev/null 2>&1; then
    echo "real_directory_load: OU=Bench$n is there already"
    continue
  fi
  ldif=$(mktemp)
  {
    printf 'dn: OU=Bench%s,%s\nobjectClass: organizationalUnit\n\n' "$n" "$root"
    for ((u = 0; u < 100; u++)); do
      printf 'dn: OU=U%03d,OU=Bench%s,%s\nobjectClass: organizationalUnit\n\n' "$u" "$n" "$root"
    done
    for ((i = 0; i < n; i++)); do
      name=$(printf 'B%sX%05d' "$n" "$i")
      ((i == 0)) && name="TARGET$n"
      printf 'dn: CN=%s,OU=U%03d,OU=Bench%s,%s\nobjectClass: computer\nsAMAccountName: %s$\nuserAccountControl: 4128\n\n' \
        "$name" "$((i % 100))" "$n" "$root" "$name"
    done
    printf 'dn: OU=Dest%s,%s\nobjectClass: organizationalUnit\n\n' "$n" "$root"
    printf 'dn: OU=A,OU=Dest%s,%s\nobjectClass: organizationalUnit\n\n' "$n" "$root"
    printf 'dn: OU=B,OU=Dest%s,%s\nobjectClass: organizationalUnit\n\n' "$n" "$root"
  } >"$ldif"
  SECONDS=0
  ldapadd -x -H "$uri" -D "$admin" -w "$admin_password" -f "$ldif" >/dev/null
  echo "real_directory_load: OU=Bench$n with $n computers loaded in ${SECONDS} s"
  rm -f "$ldif"
done
