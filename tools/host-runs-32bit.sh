#!/usr/bin/env bash
# Tells whether this host executes 32-bit x86 programs: it runs a tiny one
# (an i386 ELF file of 93 bytes that only exits with 0). Exits 0 when it
# does; otherwise exits 1 and prints the reason on one line. Some hosts
# answer "Exec format error" to every 32-bit program, Wine's 32-bit loader
# included.
#
# BRAWLWISE_NO_32BIT=1 makes it answer no on any host, so that the path of
# such hosts can be tried on one that has both.
#
# Under make, the answer found once ("yes", or why not) comes in
# BRAWLWISE_HOST_32BIT.
set -u
if [ -n "${BRAWLWISE_HOST_32BIT:-}" ]; then
  [ "$BRAWLWISE_HOST_32BIT" = yes ] && exit 0
  echo "$BRAWLWISE_HOST_32BIT"
  exit 1
fi
if [ -n "${BRAWLWISE_NO_32BIT:-}" ] && [ "$BRAWLWISE_NO_32BIT" != 0 ]; then
  echo "BRAWLWISE_NO_32BIT is set, so the host is taken as one that cannot execute 32-bit programs"
  exit 1
fi
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
probe_dir=$here/build/host-probe
mkdir -p "$probe_dir"
probe=$probe_dir/exit0-i386
# ELF header, one loadable segment, then: mov eax, 1; xor ebx, ebx; int 0x80.
elf='7f454c46010101000000000000000000 0200 0300 01000000 54800408 34000000 00000000 00000000
     3400 2000 0100 0000 0000 0000
     01000000 00000000 00800408 00800408 5d000000 5d000000 05000000 00100000
     b801000000 31db cd80'
elf=$(tr -d ' \n' <<<"$elf")
printf "$(sed 's/../\\x&/g' <<<"$elf")" >"$probe"
chmod +x "$probe"
if output=$("$probe" 2>&1); then
  exit 0
else
  status=$?
fi
output=$(tr '\n' ' ' <<<"$output" | sed 's/ *$//')
echo "this host cannot execute 32-bit x86 programs (${output:-exit status $status})"
exit 1
