#!/usr/bin/env bash
# Runs the Tamsel executable as users and hostile surroundings do: a reader that closes the pipe
# after one line, a second conversion into a destination the first is still writing, a run killed
# halfway, a disk that fills up, and a project built to exhaust memory.
# Usage: whole_program_test.sh <Tamsel> <scratch folder> [sanitized]
set -uo pipefail
tamsel=$1
scratch=$2
sanitized=${3:-}

failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
cd "$scratch" || exit 1
printf -- '-i C:\\Keil\\INC\r\n' >c.p_c

# A project whose progress lines overflow a pipe's buffer: 3,000 groups under one target.
{
  printf 'Target (T)\r\n'
  for i in $(seq 1 3000); do printf 'Group (Group number %d)\r\n' "$i"; done
  printf 'File 1,1,<a.c>\r\nOptions 1,0,0  // Target '"'"'T'"'"'\r\n ADSCDEFN (BIG)\r\nEndOpt\r\n'
} >big.uv2
printf 'Target (T)\r\nGroup (G)\r\nFile 1,1,<a.c>\r\n' >small.uv2

# The temporary file a run writes its project file to, once the write pass has begun.
wait_for_write_pass() {
  local folder=$1
  for _ in $(seq 1 600); do
    compgen -G "$folder/.tamsel-*.tmp" >/dev/null && return 0
    sleep 0.05
  done
  return 1
}

# -- A reader that closes the pipe after one line does not stop the conversion halfway.
mkdir reference piped
"$tamsel" big.uv2 reference -cp c.p_c -pn p >/dev/null
mv reference/p.prj reference.prj
"$tamsel" big.uv2 piped -cp c.p_c -pn p | head -n 1 >first-line.txt
status=${PIPESTATUS[0]}
[[ $status == 0 ]] || fail "closed pipe: exit status $status"
[[ $(cat first-line.txt) == "Creating Ostra/Ostra++ Project ..." ]] || fail "closed pipe: first line $(cat first-line.txt)"
# Same bytes as the run into reference, apart from the destination's name in the paths.
sed 's/\\reference\\/\\piped\\/g' reference.prj | cmp -s - piped/p.prj || fail "closed pipe: project file differs"

# -- A second conversion into a destination that a first is writing stops before writing.
mkdir shared
mkfifo progress
"$tamsel" big.uv2 shared -cp c.p_c -pn p >progress &
first=$!
exec 3<progress  # opened but not read: the first run blocks once the pipe is full, mid-write
if wait_for_write_pass shared; then
  second=$("$tamsel" small.uv2 shared -cp c.p_c -pn other)
  status=$?
  [[ $status == 1 ]] || fail "concurrent run: exit status $status"
  expected="Destination is in use by another conversion: $(pwd | tr / '\\')\\shared"
  [[ $second == "Could not open file: "* ]] && second=${second#*$'\n'}
  [[ $second == "$expected" ]] || fail "concurrent run: printed '$second'"
  [[ ! -e shared/other.prj ]] || fail "concurrent run: the second run wrote its project"
else
  fail "concurrent run: the first run never began writing"
fi
cat <&3 >/dev/null
exec 3<&-
wait "$first" || fail "concurrent run: the first run failed"
[[ -s shared/p.prj ]] || fail "concurrent run: the first run's project is missing"

# -- A run killed halfway leaves the earlier project as it was.
mkdir killed
"$tamsel" small.uv2 killed -cp c.p_c -pn p >/dev/null
cp killed/p.prj killed-before.prj
"$tamsel" big.uv2 killed -cp c.p_c -pn p >progress &
victim=$!
exec 3<progress
if wait_for_write_pass killed; then
  kill -9 "$victim"
  wait "$victim" 2>/dev/null
  cmp -s killed/p.prj killed-before.prj || fail "killed run: the earlier project changed"
else
  fail "killed run: the run never began writing"
  kill -9 "$victim" 2>/dev/null
fi
exec 3<&-

# -- A disk that fills up: no file is left cut short, and a later run completes it. A small
# file system is mounted where the machine allows it; elsewhere a file size limit stands in.
mkdir full
printf 'base line %01000d\n' $(seq 1 300) >base.p_a   # about 300 KB of base personality
if mount -t tmpfs -o size=256k tmpfs full 2>/dev/null; then
  small_disk=mounted
else
  small_disk=limited
fi
"$tamsel" small.uv2 full -cp c.p_c -pn p >/dev/null || fail "full disk: the first run failed"
cp full/p.prj full-before.prj
if [[ $small_disk == limited ]]; then
  output=$(trap '' XFSZ; ulimit -f 64; "$tamsel" small.uv2 full -cp c.p_c -pn q -ap base.p_a)
else
  output=$("$tamsel" small.uv2 full -cp c.p_c -pn q -ap base.p_a)
fi
status=$?
[[ $status == 1 ]] || fail "full disk ($small_disk): exit status $status"
[[ ${output##*$'\n'} == "Could not write file: "*"\\full\\person\\q.p_a" ]] ||
  fail "full disk ($small_disk): last line '${output##*$'\n'}'"
[[ ! -e full/person/q.p_a ]] || fail "full disk ($small_disk): a cut-short fallback personality was left"
[[ ! -e full/q.prj ]] || fail "full disk ($small_disk): a project file was written"
cmp -s full/p.prj full-before.prj || fail "full disk ($small_disk): the earlier project changed"
compgen -G "full/.tamsel-*" >/dev/null && fail "full disk ($small_disk): the project's temporary file was left"
compgen -G "full/person/.tamsel-*" >/dev/null && fail "full disk ($small_disk): a temporary file was left"
[[ $small_disk == mounted ]] && umount full
"$tamsel" small.uv2 full -cp c.p_c -pn q -ap base.p_a >/dev/null || fail "full disk: the later run failed"
cmp -s full/person/q.p_a <(sed 's/$/\r/' base.p_a) || fail "full disk: the later run's fallback is not whole"
echo "full disk case ran on a $small_disk file system"

# -- Memory stays bounded: 2,000 targets times 2,000 groups stop at the node limit within 200 MB.
if [[ -z $sanitized ]]; then
  {
    for i in $(seq 1 2000); do printf 'Target (T%d)\n' "$i"; done
    for i in $(seq 1 2000); do printf 'Group (G%d)\n' "$i"; done
  } >huge.uv2
  mkdir bounded
  output=$(ulimit -v 204800; "$tamsel" huge.uv2 bounded -cp c.p_c 2>&1)
  status=$?
  [[ $status == 1 ]] || fail "node limit: exit status $status"
  [[ $output == "Project too large: more than 1000000 projects, targets and groups" ]] ||
    fail "node limit: printed '$output'"
  [[ -z $(ls -A bounded) ]] || fail "node limit: something was written"
fi

if [[ $failures != 0 ]]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
