#!/usr/bin/env bash
# End to end: the lecdl program against lecdl-demo-site, as a user runs them.
# Usage: cli_e2e.sh BIN_DIR
set -uo pipefail
bin=$1
work=$(mktemp -d)
site_pid=""
cleanup() {
  [ -n "$site_pid" ] && kill "$site_pid" 2>/dev/null && wait "$site_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
check() {  # check NAME CONDITION...
  local name=$1; shift
  if "$@"; then echo "ok   $name"; else echo "FAIL $name"; failures=$((failures + 1)); fi
}

"$bin/lecdl-demo-site" --port 0 >"$work/site.out" 2>&1 &
site_pid=$!
for _ in $(seq 100); do grep -q listening "$work/site.out" && break; sleep 0.05; done
host=$(sed -n 's/.*listening on \([0-9.]*:[0-9]*\).*/\1/p' "$work/site.out")
[ -n "$host" ] || { echo "demo site did not start"; cat "$work/site.out"; exit 1; }
printf '[HOSTS]\r\nsite=%s\r\nvideo=%s\r\nstats=%s\r\nstatus=%s\r\n' "$host" "$host" "$host" "$host" >"$work/ini.ini"

run() {  # run ARGS...: sets out, err, status
  "$bin/lecdl" --config "$work/ini.ini" "$@" >"$work/out" 2>"$work/err"
  status=$?
  out=$(cat "$work/out")
  err=$(cat "$work/err")
}

run list "http://$host/serie_400050557.shtml"
check "list: exit 0" test "$status" -eq 0
check "list: six episodes" test "$(wc -l <"$work/out")" -eq 6
check "list: title tab address" grep -qP "^第1讲 绪论\thttp://$host/v/400050557_1\.flv$" "$work/out"
check "list: closing message" grep -q "视频地址获取完毕！共有6个" "$work/err"

run list "http://$host/serie_400050557.shtml" --range 3-5
check "list --range: three episodes" test "$(wc -l <"$work/out")" -eq 3
check "list --range: starts at the third" grep -q "^第3讲" <<<"$(head -1 "$work/out")"

run list "http://elsewhere/serie_1.shtml"
check "list bad address: exit 2" test "$status" -eq 2
check "list bad address: message" grep -q "输入的链接地址不是目录地址！举例：http://$host/serie_400004700.shtml" "$work/err"
check "list bad address: nothing on stdout" test -z "$out"

run list "http://$host/serie_400050557.shtml" --range 3
check "list bad range: exit 2" test "$status" -eq 2

run list "http://$host/serie_400056789.shtml"
check "list unresolved episode: exit 1" test "$status" -eq 1

run search 王 --field teacher
check "search: exit 0" test "$status" -eq 0
check "search: rows" test "$(wc -l <"$work/out")" -ge 20
check "search: id, course, teacher, school" grep -qP "^\d+\t[^\t]+\t王[^\t]*\t[^\t]+$" <<<"$(head -1 "$work/out")"
check "search: closing message" grep -q "搜索完成！共搜索到资源" "$work/err"

run search ""
check "search empty keyword: exit 2" test "$status" -eq 2
check "search empty keyword: message" grep -q "请输入关键字！" "$work/err"

run search x --field nonsense
check "search bad field: exit 2" test "$status" -eq 2

# Downloads land under the save folder, byte for byte what the video host serves.
save="$work/save"
mkdir -p "$save"
run download "http://$host/serie_400004700.shtml" --only 1,3 -o "$save"
check "download --only: exit 0" test "$status" -eq 0
check "download --only: two files" test "$(find "$save" -type f | wc -l)" -eq 2
curl -s "http://$host/v/400004700_3.flv" -o "$work/expected.flv"
check "download: byte-exact" cmp -s "$work/expected.flv" "$save/中国古代史专题/魏晋南北朝.flv"
check "download: states on stderr" grep -q "^下载结束 魏晋南北朝$" "$work/err"

run download "http://$host/serie_400004700.shtml" --only 9 -o "$save"
check "download --only beyond the list: exit 2" test "$status" -eq 2

run download "http://$host/serie_400004700.shtml"
check "download without a folder: exit 2" test "$status" -eq 2

run download "http://$host/serie_400056789.shtml" -o "$save"
check "download with a missing file: exit 1" test "$status" -eq 1
check "download with a missing file: named" grep -q "not downloaded: 文件不存在" "$work/err"

run batch 400067890 -o "$save"
check "batch: exit 0" test "$status" -eq 0
check "batch: details file" test -s "$save/大小写标记课程/简介.txt"
check "batch: details name the course" grep -q "标题：大小写标记课程--" <(iconv -f GBK -t UTF-8 "$save/大小写标记课程/简介.txt")

run export "http://$host/serie_400004700.shtml" --addresses "$work/addresses.txt" --range 1-2
check "export: exit 0" test "$status" -eq 0
printf 'http://%s/v/400004700_1.flv\r\nhttp://%s/v/400004700_2.flv\r\n' "$host" "$host" >"$work/expected.txt"
check "export --addresses: exact" cmp -s "$work/expected.txt" "$work/addresses.txt"

run export "http://$host/serie_400004700.shtml" --titles --addresses "$work/x.txt"
check "export with both forms: exit 2" test "$status" -eq 2

run get "http://$host/v/400004700_2.flv" -o "$work/one.flv"
check "get: exit 0" test "$status" -eq 0
curl -s "http://$host/v/400004700_2.flv" -o "$work/expected2.flv"
check "get: byte-exact" cmp -s "$work/expected2.flv" "$work/one.flv"

run get "http://$host/v/gone/none.flv" -o "$work/none.flv"
check "get a missing file: exit 1" test "$status" -eq 1

run --version
check "version" test "$out" = "1.90"

echo "$failures failed"
[ "$failures" -eq 0 ]
