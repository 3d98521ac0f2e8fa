#!/usr/bin/env bash
# Runs the Tamsel executable as users and hostile surroundings do: a reader that closes the pipe
# after one line, a second conversion into a destination the first is still writing, a run killed
# or interrupted halfway, a disk that fills up, a file size limit, a closed standard output, files
# the user made private, and a project built to exhaust memory.
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
# 100 targets with a personality each: a run that mixed two projects would show in any of them.
{
  for i in $(seq 1 100); do printf 'Target (T%d)\r\n' "$i"; done
  printf 'Group (G)\r\nFile 1,1,<a.c>\r\n'
  for i in $(seq 1 100); do printf "Options 1,0,0  // Target 'T%d'\r\n ADSCDEFN (D%d)\r\nEndOpt\r\n" "$i" "$i"; done
} >many.uv2
echo '-w1 old' >old.p_a
echo '-w1 new' >new.p_a

# Every file below a folder with a digest of its bytes, and then with its mode: what a run left.
files_of() {
  (cd "$1" && find . -type f -exec md5sum {} + | sort -k2 && find . -type f -printf '%p %m\n' | sort)
}
# Anything temporary left below a folder.
temporaries_in() {
  find "$1" -name '.tamsel-*' | head -n 1
}

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

# -- The lock holds for a destination that can be written but not read (mode 0333). Root reads
# every folder, so root runs both conversions as nobody, from a folder of /tmp that nobody can
# reach whatever the folders above this scratch folder allow.
as_user=()
[[ $(id -u) == 0 ]] && as_user=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
unreadable=$(mktemp -d)
chmod 755 "$unreadable"
mkdir "$unreadable/d"
cp "$tamsel" "$unreadable/Tamsel"
cp big.uv2 small.uv2 c.p_c "$unreadable/"
[[ $(id -u) == 0 ]] && chown -R nobody "$unreadable"
chmod 333 "$unreadable/d"
fifo=$PWD/progress
(
  cd "$unreadable" || exit 1
  "${as_user[@]}" ./Tamsel big.uv2 d -cp c.p_c -pn p >"$fifo" &
  exec 3<"$fifo"
  sleep 1
  second=$("${as_user[@]}" ./Tamsel small.uv2 d -cp c.p_c -pn other)
  [[ $? == 1 && $second == "Destination is in use by another conversion: "*"\\d" ]] ||
    echo "FAILED: unreadable destination: the second run printed '$second'"
  cat <&3 >/dev/null
  wait
) | grep FAILED && fail "unreadable destination"
chmod 755 "$unreadable/d"
rm -rf "$unreadable"

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

# -- SIGTERM, SIGINT or SIGHUP at any moment: the earlier project or the new one, each whole, no
# temporary file; an interrupted run says so with status 1.
rm -rf sig && mkdir sig
"$tamsel" many.uv2 sig -cp c.p_c -pn p -ap old.p_a >/dev/null || fail "signals: the first run failed"
files_of sig >old-files.txt
cp -a sig old-tree
"$tamsel" many.uv2 sig -cp c.p_c -pn p -ap new.p_a >/dev/null || fail "signals: the second run failed"
files_of sig >new-files.txt
cmp -s old-files.txt new-files.txt && fail "signals: the two projects do not differ"
interrupted_runs=0
for trial in $(seq 1 20); do
  signal=$(((trial % 3 == 0)) && echo HUP || (((trial % 2 == 0)) && echo INT || echo TERM))
  rm -rf sig && cp -a old-tree sig
  "$tamsel" many.uv2 sig -cp c.p_c -pn p -ap new.p_a >signal-output.txt &
  victim=$!
  # Half of the runs are signalled early, so that some are surely interrupted on a fast machine.
  sleep "0.$(printf '%03d' $((RANDOM % (trial % 2 == 0 ? 30 : 150))))"
  kill -s "$signal" "$victim" 2>/dev/null
  wait "$victim"
  status=$?
  files_of sig >after-files.txt
  if [[ $status == 1 ]]; then
    interrupted_runs=$((interrupted_runs + 1))
    [[ $(tail -n 1 signal-output.txt) == "Conversion interrupted" ]] ||
      fail "signal $signal: last line '$(tail -n 1 signal-output.txt)'"
    cmp -s after-files.txt old-files.txt || cmp -s after-files.txt new-files.txt ||
      fail "signal $signal (trial $trial): neither the old project nor the new one"
  elif [[ $status == 0 ]]; then
    cmp -s after-files.txt new-files.txt || fail "signal $signal (trial $trial): completed, yet not the new project"
  elif [[ $(kill -l "$status" 2>/dev/null) == "$signal" ]]; then
    # Signalled while starting, before it could catch the signal: it had written nothing.
    cmp -s after-files.txt old-files.txt || fail "signal $signal (trial $trial): killed at start, yet changed"
  else
    fail "signal $signal (trial $trial): exit status $status"
  fi
  [[ -z $(temporaries_in sig) ]] || fail "signal $signal (trial $trial): $(temporaries_in sig) was left"
done
((interrupted_runs > 0)) || fail "signals: no run was interrupted"
echo "signals: $interrupted_runs of 20 runs interrupted"

# -- A file size limit: the project file cannot be staged, so the run says so and leaves the
# earlier project byte for byte; the limit's signal does not end it silently.
rm -rf sig && cp -a old-tree sig
output=$(ulimit -f 32; "$tamsel" many.uv2 sig -cp c.p_c -pn p -ap new.p_a)
status=$?
[[ $status == 1 ]] || fail "file size limit: exit status $status"
[[ ${output##*$'\n'} == "Could not write file: "*"\\sig\\p.prj" ]] ||
  fail "file size limit: last line '${output##*$'\n'}'"
files_of sig | cmp -s - old-files.txt || fail "file size limit: the earlier project changed"
[[ -z $(temporaries_in sig) ]] || fail "file size limit: $(temporaries_in sig) was left"

# -- Files the user made private stay private when a later run replaces them.
rm -rf sig && cp -a old-tree sig
chmod 600 sig/p.prj sig/many/T1/person/T1.p_a
chmod 640 sig/many/T2/person/T2.p_a
"$tamsel" many.uv2 sig -cp c.p_c -pn p -ap new.p_a >/dev/null || fail "modes: the run failed"
[[ $(stat -c '%a' sig/p.prj sig/many/T1/person/T1.p_a sig/many/T2/person/T2.p_a | tr '\n' ' ') == "600 600 640 " ]] ||
  fail "modes: $(stat -c '%a' sig/p.prj sig/many/T1/person/T1.p_a sig/many/T2/person/T2.p_a | tr '\n' ' ')"

# -- Started with standard output closed: the progress lines go nowhere, never into a file.
mkdir closed open
"$tamsel" small.uv2 open -cp c.p_c -pn p >/dev/null
"$tamsel" small.uv2 closed -cp c.p_c -pn p >&- || fail "closed output: the run failed"
sed 's/\\open\\/\\closed\\/g' open/p.prj | cmp -s - closed/p.prj || fail "closed output: the project file differs"

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
  output=$(ulimit -f 64; "$tamsel" small.uv2 full -cp c.p_c -pn q -ap base.p_a)
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

# -- What a small input may cost: each of these stops with its line and writes nothing, or
# converts, within its address space (600 MB at most) and 30 seconds. The sanitizers need more
# of both.
if [[ -z $sanitized ]]; then
  # Runs one amplifying input: name, the line expected, the address space in KB, then the arguments.
  bounded() {
    local name=$1 expected=$2 memory=$3
    shift 3
    rm -rf amplified && mkdir amplified
    local start=$SECONDS
    output=$(ulimit -v "$memory"; "$tamsel" "$@" 2>&1)
    status=$?
    local took=$((SECONDS - start))
    [[ ${output##*$'\n'} == $expected ]] || fail "$name: last line '${output##*$'\n'}'"
    if [[ $expected == "Ostra/Ostra++ Project Completed!" ]]; then
      [[ $status == 0 ]] || fail "$name: exit status $status"
    else
      [[ $status == 1 ]] || fail "$name: exit status $status"
      [[ -z $(ls -A amplified) ]] || fail "$name: something was written"
    fi
    ((took <= 30)) || fail "$name: took $took seconds"
  }
  # 1 MB of group names: 1000 targets times 250 groups of 4 KB names.
  awk 'BEGIN { for (i = 1; i <= 1000; i++) printf "Target (T%d)\r\n", i;
               name = sprintf("%04000d", 0);
               for (g = 1; g <= 250; g++) printf "Group (%d%s)\r\n", g, name }' >names.uv2
  bounded "long group names" "Project too large: the output would exceed 256 MiB" 614400 names.uv2 amplified -cp c.p_c
  # Groups with settings of their own take over a target's 20,000 defines: shared, not copied.
  awk 'BEGIN { printf "Target (T)\r\n"; for (g = 1; g <= 3000; g++) printf "Group (G%d)\r\n", g;
               printf "Options 1,0,0  // Target '"'"'T'"'"'\r\n ADSCDEFN (";
               for (d = 1; d <= 20000; d++) printf "DEFINE_%d,", d;
               printf ")\r\nEndOpt\r\n";
               for (g = 1; g <= 3000; g++) printf "Options 1,%d,0  // Group\r\n ADSCDEFN (OWN)\r\nEndOpt\r\n", g }' >defines.uv2
  bounded "groups over many defines" "Project too large: the output would exceed 256 MiB" 614400 defines.uv2 amplified -cp c.p_c
  # Folders count as nodes: 10,000 targets whose one group makes 100 folders each.
  awk 'BEGIN { for (i = 1; i <= 10000; i++) printf "Target (T%d)\r\n", i;
               printf "Group ("; for (p = 1; p <= 100; p++) printf "f/"; printf "g)\r\n" }' >folders.uv2
  # Reading counts them: it stops before the check pass holds a million paths.
  bounded "many folders" "Project too large: more than 1000000 projects, targets and groups" 102400 folders.uv2 amplified -cp c.p_c
  # A target of two million defines and a group over it: kept packed, and written out of the
  # tree, not held again as text.
  awk 'BEGIN { printf "Target (T)\r\nGroup (G)\r\nOptions 1,0,0  // Target '"'"'T'"'"'\r\n ADSCDEFN (";
               for (d = 1; d <= 2000000; d++) printf "DEFINE_%07d,", d;
               printf ")\r\nEndOpt\r\nOptions 1,1,0  // Group\r\n ADSCDEFN (OWN)\r\nEndOpt\r\n" }' >many-defines.uv2
  bounded "two million defines" "Ostra/Ostra++ Project Completed!" 153600 many-defines.uv2 amplified -cp c.p_c
  # An XML project of 800,000 files (80 MB): its document is parsed in the file's own text, in
  # the parser's compact nodes. It needs about 160 MB; with nodes of 64 bytes, 320 MB.
  awk 'BEGIN { print "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";
               print "<Project><Targets><Target><TargetName>T</TargetName><Groups><Group><GroupName>G</GroupName><Files>";
               for (f = 1; f <= 800000; f++)
                 printf "<File><FileName>f%07d.c</FileName><FileType>1</FileType><FilePath>.\\f%07d.c</FilePath></File>\n", f, f;
               print "</Files></Group></Groups></Target></Targets></Project>" }' >many-files.uvprojx
  bounded "XML of many files" "Ostra/Ostra++ Project Completed!" 245760 many-files.uvprojx amplified -cp c.p_c
  # 120 MB of empty elements would take 290 MB of nodes more: the parser's memory is counted
  # and the file refused once it holds 224 MiB.
  { printf '<Project>'; yes '<a/>' | head -c 120000000; printf '</Project>'; } >empty-elements.uvprojx
  bounded "XML of empty elements" "File too large: *empty-elements.uvprojx" 409600 empty-elements.uvprojx amplified -cp c.p_c
  rm empty-elements.uvprojx
  rm -f many-files.uvprojx
  # A thousand targets take over a pack component's 20,000 include folders each: counted per
  # target as reading adds them.
  mkdir -p packs/V/N/1.0.0
  awk 'BEGIN { print "<package schemaVersion=\"1.7.7\"><vendor>V</vendor><name>N</name><components>";
               print "<component Cclass=\"C\" Cgroup=\"G\" Cversion=\"1.0.0\"><files>";
               for (i = 1; i <= 20000; i++) printf "<file category=\"header\" name=\"Include/folder%05d/h.h\"/>\n", i;
               print "</files></component></components></package>" }' >packs/V/N/1.0.0/V.N.pdsc
  awk 'BEGIN { print "<Project><Targets>";
               for (t = 1; t <= 1000; t++) printf "<Target><TargetName>T%d</TargetName></Target>\n", t;
               print "</Targets><RTE><components><component Cclass=\"C\" Cgroup=\"G\" Cvendor=\"V\" Cversion=\"1.0.0\">";
               print "<package name=\"N\" vendor=\"V\" version=\"1.0.0\"/><targetInfos>";
               for (t = 1; t <= 1000; t++) printf "<targetInfo name=\"T%d\"/>\n", t;
               print "</targetInfos></component></components></RTE></Project>" }' >packed.uvprojx
  bounded "targets over a large pack" "Project too large: the output would exceed 256 MiB" 614400 packed.uvprojx amplified -cp c.p_c -pack packs
  # A thousand targets list each of 90,000 short File lines (1.3 MB): kept once, not per target.
  awk 'BEGIN { for (i = 1; i <= 1000; i++) printf "Target (T%d)\r\n", i; printf "Group (G)\r\n";
               for (i = 1; i <= 90000; i++) printf "File 1,1,<:>\r\n" }' >short-lines.uv2
  bounded "targets over short file lines" "Project too large: the output would exceed 256 MiB" 102400 short-lines.uv2 amplified -cp c.p_c
  # A workspace that lists one small member two million times: members are read as they are
  # listed, so the node limit stops it before the list is whole.
  printf 'Target (T)\r\nGroup (G)\r\nFile 1,1,<a.c>\r\n' >member.uv2
  awk 'BEGIN { print "[WORKSPACE]"; for (i = 1; i <= 2000000; i++) print "Project=member.uv2" }' >repeated.mpw
  bounded "one member listed two million times" "Project too large: more than 1000000 projects, targets and groups" 307200 repeated.mpw amplified -cp c.p_c
  # A workspace whose members skip, leave out and list millions of File lines: what a member
  # keeps is no larger than the lines it writes, and the rest goes once it is read.
  awk 'BEGIN { printf "Target (T)\r\nGroup (G)\r\n"; for (i = 1; i <= 3000000; i++) printf "File \r\n" }' >skipped.uv2
  awk 'BEGIN { printf "Target (T)\r\nGroup (G)\r\n"; for (i = 1; i <= 1000000; i++) printf "File 1,1,<:>\r\n";
               for (i = 1; i <= 1000000; i++) printf "Options 1,1,%d  // File x\r\n IncBld=0\r\nEndOpt\r\n", i }' >left-out.uv2
  awk 'BEGIN { printf "Target (T)\r\nGroup (G)\r\n"; for (i = 1; i <= 3000000; i++) printf "File 1,1,<:>\r\n" }' >listed.uv2
  printf '[WORKSPACE]\r\n' >lines.mpw
  for i in 1 2 3; do printf 'Project=skipped.uv2\r\nProject=left-out.uv2\r\nProject=listed.uv2\r\n' >>lines.mpw; done
  bounded "members of millions of lines" "Ostra/Ostra++ Project Completed!" 153600 lines.mpw amplified -cp c.p_c
  rm skipped.uv2 left-out.uv2 listed.uv2
  # A compiler personality of two million include folders, against a target's 4,000: kept in
  # about its own size and searched, not walked once per folder.
  awk 'BEGIN { for (i = 1; i <= 2000000; i++) printf "-i%d\n", i }' >many-folders.p_c
  awk 'BEGIN { printf "Target (T)\r\nGroup (G)\r\nOptions 1,0,0  // Target '"'"'T'"'"'\r\n ADSCINCD (";
               for (i = 1; i <= 4000; i++) printf "inc%d;", i; printf ")\r\nEndOpt\r\n" }' >includes.uv2
  bounded "a compiler personality of two million folders" "Ostra/Ostra++ Project Completed!" 61440 includes.uv2 amplified -cp many-folders.p_c
  # 50 MB of long File lines move into one block of their size once they are read, each part
  # given back to the system as it is moved, also after the personality's large blocks went:
  # they are never resident twice (100 MB; 124 MB and more when they were).
  awk 'BEGIN { printf "Target (T)\r\nGroup (G)\r\n"; path = sprintf("%01000d", 0);
               for (i = 1; i <= 50000; i++) printf "File 1,1,<%s%d.c>\r\n", path, i }' >long-lines.uv2
  rm -rf amplified && mkdir amplified
  /usr/bin/time -f %M -o resident "$tamsel" long-lines.uv2 amplified -cp many-folders.p_c >/dev/null \
    || fail "long lines: exit status $?"
  (($(<resident) <= 102400)) || fail "long lines: $(<resident) KB resident"
  rm long-lines.uv2 resident
  # A File line of a 60 MB path: the path is looked at where the line lies and kept once, not
  # copied five times. A line of more than 64 MiB, or as long a
  # stretch of XML without markup, makes the file too large.
  { printf 'Target (T)\r\nGroup (G)\r\nFile 1,1,<'; head -c 60000000 /dev/zero | tr '\0' 'a'; printf '.c>\r\n'; } >long-path.uv2
  bounded "a path of 60 MB" "Ostra/Ostra++ Project Completed!" 204800 long-path.uv2 amplified -cp c.p_c
  { printf 'Target (T)\r\nOptions 1,0,0  // Target T\r\n ADSCINCD ('; head -c 70000000 /dev/zero | tr '\0' 'a'; printf ')\r\n'; } >long-line.uv2
  bounded "a line of 70 MB" "File too large: *long-line.uv2" 204800 long-line.uv2 amplified -cp c.p_c
  { printf '<Project><Targets><Target><TargetName>'; head -c 70000000 /dev/zero | tr '\0' 'a'; printf '</TargetName></Target></Targets></Project>'; } >long-value.uvprojx
  bounded "an XML value of 70 MB" "File too large: *long-value.uvprojx" 307200 long-value.uvprojx amplified -cp c.p_c
  rm long-path.uv2 long-line.uv2 long-value.uvprojx
  # An input that never ends, and one larger than any Keil file.
  printf 'Project=../../../../../../../../../../proc/self/pagemap\r\n' >endless.mpw
  bounded "endless member" "File too large: *pagemap" 614400 endless.mpw amplified -cp c.p_c
  truncate -s 257M huge-input.uv2
  bounded "huge input" "File too large: *huge-input.uv2" 614400 huge-input.uv2 amplified -cp c.p_c
fi
# A name of 100,000 separators, on a rerun, is looked up once: a second at most.
{ printf 'Target (T)\r\nGroup (a'; printf '/%.0s' $(seq 1 100000); printf 'b)\r\n'; } >separators.uv2
rm -rf separators && mkdir separators
"$tamsel" separators.uv2 separators -cp c.p_c >/dev/null
start=$(date +%s%N)
"$tamsel" separators.uv2 separators -cp c.p_c >/dev/null
took=$((($(date +%s%N) - start) / 1000000))
((took < 1000)) || fail "separators: the rerun took $took ms"

if [[ $failures != 0 ]]; then
  echo "$failures case(s) failed"
  exit 1
fi
echo "all cases passed"
