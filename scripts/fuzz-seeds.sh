#!/usr/bin/env bash
# Writes a starting corpus for one fuzz target: scripts/fuzz-seeds.sh TARGET FOLDER
# The spreadsheet and package seeds are made by the programs and libraries that write them.
set -euo pipefail
cd "$(dirname "$0")/.."
target="$1"
out="$2"
mkdir -p "$out"
case "$target" in
  amount)
    i=0
    for t in 1234.56 0 0.005 -1 "１２３，４５６．７８" 99999999999.99 1e10 "12.3.4" "  7 " "壹佰" 100000000; do
      i=$((i + 1))
      printf '\x0c%s' "$t" >"$out/$i"
    done ;;
  ini)
    printf '[Config]\nDefaultPrinter=Office\ncfgJEDXFormat=2\n[PrinterCalibration]\nOffice=1.001,0.999,1.5,-2\n' >"$out/config"
    printf '\xef\xbb\xbf[config]\r\nkey = value ; comment\r\n\r\n[Database]\r\nUrl=postgresql://a@b/c\r\n' >"$out/bom"
    printf '; only a comment\nno section=1\n[]\n=\n[a\n' >"$out/odd" ;;
  address)
    printf '张三 13800138000 浙江省杭州市西湖区文三路100号' >"$out/1"
    printf '收件人：李四，电话：010-85801234，地址：北京市朝阳区建国路88号SOHO现代城' >"$out/2"
    printf '王五\n广西南宁市青秀区民族大道\n13912345678\n530000' >"$out/3"
    printf '内蒙古 呼和浩特 赛罕区 (0471)6666666 赵六' >"$out/4" ;;
  sheet)
    /usr/bin/python3 - "$out" <<'PY'
import sys, os, io
out = sys.argv[1]
rows = [["收件人", "电话", "地址"], ["张三", "13800138000", "浙江省杭州市西湖区文三路100号"], ["李四", 12.5, "2024-01-02"]]
def put(name, first, data):
    with open(os.path.join(out, name), "wb") as f:
        f.write(bytes([first]) + data)
import openpyxl
wb = openpyxl.Workbook(); ws = wb.active
for r in rows: ws.append(r)
b = io.BytesIO(); wb.save(b); put("xlsx", 0, b.getvalue())
import xlwt
wb = xlwt.Workbook(); ws = wb.add_sheet("Sheet1")
for i, r in enumerate(rows):
    for j, v in enumerate(r): ws.write(i, j, v)
b = io.BytesIO(); wb.save(b); put("xls", 2, b.getvalue())
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell
from odf.text import P
doc = OpenDocumentSpreadsheet(); t = Table(name="Sheet1")
for r in rows:
    tr = TableRow()
    for v in r:
        c = TableCell(valuetype="string"); c.addElement(P(text=str(v))); tr.addElement(c)
    t.addElement(tr)
doc.spreadsheet.addElement(t)
b = io.BytesIO(); doc.write(b); put("ods", 1, b.getvalue())
put("csv", 3, "\n".join(",".join(str(v) for v in r) for r in rows).encode("utf-8"))
put("csv-gbk", 3, "\n".join(",".join(str(v) for v in r) for r in rows).encode("gb18030"))
PY
    ;;
  package)
    cli=build/src/pennock-cli
    [ -x "$cli" ] || scripts/build.sh
    home="$(mktemp -d)"
    "$cli" init --home "$home" >/dev/null 2>&1
    "$cli" package export --home "$home" --templates 1 "$out/one.tpk" >/dev/null 2>&1
    "$cli" package export --home "$home" --templates 1,70 "$out/two.tpk" >/dev/null 2>&1
    cp "$home/Data/Template.a01" "$out/blank.tpk"
    rm -rf "$home" ;;
  *)
    echo "unknown target $target" >&2
    exit 1 ;;
esac
