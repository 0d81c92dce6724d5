#!/bin/sh
# Runs the built druvo program on good, malformed and missing invoice files
# and checks its outputs, messages and exit statuses.
# Usage: cli_test.sh DRUVO DATA_DIR EXAMPLES_DIR VERSION CASE
set -u
DRUVO=$1
DATA=$2
EXAMPLES=$3
VERSION=$4
CASE=$5
# The separator the program joins paths with (\ on Windows).
SEP=${DRUVO_PATH_SEPARATOR:-/}

WORK=$(mktemp -d "${TMPDIR:-/tmp}/druvo-cli-test.XXXXXX") || exit 1
trap 'rm -rf "$WORK"' EXIT
cd "$WORK" || exit 1

fail() {
  echo "FAIL ($CASE): $*" >&2
  echo "--- stdout:" >&2; cat out >&2 2>/dev/null
  echo "--- stderr:" >&2; cat err >&2 2>/dev/null
  exit 1
}
# runs STATUS ARGS...: runs the program, keeping stdout in ./out and stderr
# in ./err, and checks its exit status.
runs() {
  expected=$1
  shift
  "$DRUVO" "$@" >out 2>err
  rc=$?
  [ "$rc" -eq "$expected" ] || fail "exit status $rc, expected $expected"
}
expect_err() { grep -qxF -- "$1" err || fail "no stderr line '$1'"; }
expect_err_part() { grep -qF -- "$1" err || fail "stderr lacks '$1'"; }
expect_no_err() { [ ! -s err ] || fail "unexpected stderr"; }
expect_same() { cmp -s "$1" "$2" || fail "$1 differs from $2"; }
expect_file() { [ -f "$1" ] || fail "$1 missing"; }
expect_no_file() { [ ! -e "$1" ] || fail "$1 should not exist"; }
# No temporary file may be left behind in directory $1.
expect_no_temporaries() {
  leftovers=$(find "$1" -name '.*.edi.*')
  [ -z "$leftovers" ] || fail "temporary files left: $leftovers"
}

case_help_and_version() {
  runs 0 --help
  for word in ksef2edi ksef-list ksef-validate --output --force --utf8 \
              --vat-symbol --validate --cdata --translations --csv TypDok \
              Linia Stawka "Exit status" contractor-case --address --name; do
    grep -qF -- "$word" out || fail "--help does not mention $word"
  done
  runs 0 --version
  [ "$(cat out)" = "druvo $VERSION" ] || fail "version '$(cat out)'"
}

# A usage error exits 2 with the message and a hint; the parser's tests check
# the rules, this the program's report of them.
case_usage_errors() {
  runs 2 ksef-validate --force x.xml </dev/null
  expect_err "druvo: option '--force' does not apply to ksef-validate"
  expect_err "Try 'druvo --help' for more information."
  runs 2 ksef2edi --translations missing.ini "$DATA/invoice-utf8.xml"
  expect_err_part "druvo: missing.ini: "
}

case_directory_and_output_dir() {
  mkdir in
  cp "$DATA/invoice-utf8.xml" in/one.xml
  cp "$DATA/invoice-cp1250.xml" in/two.xml
  cp "$DATA/invoice-latin2.xml" in/Three.XML
  echo "not an invoice" > in/notes.txt
  mkdir in/sub.xml
  runs 0 ksef2edi -o edi/new in
  for f in one two Three; do expect_same "edi/new/$f.edi" "$DATA/expected-cp1250.edi"; done
  [ "$(ls edi/new | wc -l)" -eq 3 ] || fail "unexpected outputs: $(ls edi/new)"
  expect_no_file in/one.edi
  # Files of a directory come in byte order of their names.
  runs 0 ksef-list --csv in
  [ "$(sed 's/.*,//' out | tr '\n' ' ')" = "File in${SEP}Three.XML in${SEP}one.xml in${SEP}two.xml " ] ||
    fail "directory order: $(sed 's/.*,//' out | tr '\n' ' ')"
  # An output folder that cannot be made is reported, nothing is left.
  echo "a file" > taken
  runs 1 ksef2edi -o taken/sub in/one.xml
  expect_err_part "taken/sub: cannot create directory 'taken/sub': "
  expect_no_temporaries .
  mkdir empty
  runs 0 ksef2edi empty
  expect_err "empty: warning: no *.xml files in directory"
}

case_standard_output() {
  cp "$DATA/invoice-utf8.xml" a.xml
  runs 0 ksef2edi --utf8 --output=- a.xml a.xml
  [ "$(ls | sort | tr '\n' ' ')" = "a.xml err out " ] || fail "left behind: $(ls)"
  cat "$DATA/expected-utf8.edi" "$DATA/expected-utf8.edi" > twice.edi
  expect_same out twice.edi
  if [ -w /dev/full ] && [ "$SEP" = / ]; then  # a full disk as standard output
    "$DRUVO" ksef2edi -o - a.xml >/dev/full 2>err
    [ $? -eq 1 ] || fail "a write error not reported"
    expect_err "standard output: write error"
  fi
}

case_existing_output_needs_force() {
  cp "$DATA/invoice-utf8.xml" a.xml
  echo "kept" > a.edi
  runs 1 ksef2edi a.xml
  expect_err "a.xml: 'a.edi' exists (use --force to overwrite it)"
  [ "$(cat a.edi)" = "kept" ] || fail "a.edi was changed"
  runs 0 ksef2edi --force a.xml
  expect_same a.edi "$DATA/expected-cp1250.edi"
  mkdir d
  cp "$DATA/invoice-utf8.xml" d/a.xml
  runs 1 ksef2edi -o . a.xml d/a.xml --force
  expect_err "d/a.xml: '.${SEP}a.edi' is the output of an earlier input of this run; not written"
  expect_no_temporaries .
}

case_bad_files_do_not_stop_the_batch() {
  cp "$DATA/malformed.xml" bad.xml
  cp "$DATA/not-an-invoice.xml" other.xml
  cp "$DATA/invoice-utf8.xml" good.xml
  cp "$DATA/invoice-lossy.xml" lossy.xml
  runs 1 ksef2edi bad.xml missing.xml other.xml good.xml lossy.xml
  [ ! -s out ] || fail "stdout not empty"
  expect_err "bad.xml: Invalid XML format: '</Fa>' not found"
  expect_err "missing.xml: No such file or directory"
  expect_err "other.xml: not a KSeF invoice: no Fa element under the root"
  expect_err "lossy.xml: warning: 2 characters have no CP1250 form and became '?' (first: U+2192 at line 35)"
  [ "$(wc -l < err)" -eq 4 ] || fail "expected 4 messages"
  expect_same good.edi "$DATA/expected-cp1250.edi"
  expect_file lossy.edi
  for f in bad missing other; do expect_no_file $f.edi; done
  expect_no_temporaries .
}

case_vat_symbol_and_cdata() {
  runs 0 ksef2edi -o - --vat-symbol NP "$DATA/invoice-utf8.xml"
  grep -qF 'Vat{NP}IdxLinii{1}' out || fail "host VAT symbol not used"
  sed 's|<P_7>Kawa ziarnista źródlana</P_7>|<P_7><![CDATA[Kawa <b>\&</b>]]></P_7>|' \
    "$DATA/invoice-utf8.xml" > cdata.xml
  runs 0 ksef2edi -o - --cdata cdata.xml
  grep -qF 'Nazwa{Kawa <b>&</b>}' out || fail "CDATA not read"
}

case_list_table() {
  cp "$DATA/invoice-utf8.xml" a.xml
  cp "$DATA/malformed.xml" bad.xml
  runs 1 ksef-list a.xml bad.xml
  expect_err "bad.xml: Invalid XML format: '</Fa>' not found"
  cat > expected <<'END'
Number     Date        Type  Seller                    Tax number  File
FV/7/2026  01.02.2026  PZ    Hurtownia "Żółw", Spółka  1234567890  a.xml
END
  expect_same out expected
}

# Every sample invoice is valid under the schema of its own version, and each
# kind of damage is reported at the line where it is.
case_validate() {
  runs 0 ksef-validate "$KSEF_SAMPLES/fa2" "$KSEF_SAMPLES/fa3"
  grep -v 'fa2.*: valid (FA(2))$' out | grep -v 'fa3.*: valid (FA(3))$' &&
    fail "a sample not valid under the schema of its version"
  [ "$(wc -l < out)" -eq "$(ls "$KSEF_SAMPLES/fa2" "$KSEF_SAMPLES/fa3" | grep -c xml)" ] ||
    fail "not one line per sample"

  good="$EXAMPLES/FA_3_Przyklad_1.xml"
  line_of() { grep -n "$1" "$2" | head -1 | cut -d: -f1; }
  sed '/<P_2>/d' "$good" > missing.xml
  sed 's|<RodzajFaktury>VAT<|<RodzajFaktury>XYZ<|' "$good" > kind.xml
  sed 's|<P_1>[^<]*</P_1>|<P_1>2026-13-{5</P_1>|' "$good" > date.xml
  sed 's|http://crd.gov.pl/wzor/2025/06/25/13775/|urn:other|' "$good" > other.xml
  printf '<Faktura><Fa>' > broken.xml
  runs 1 ksef-validate missing.xml kind.xml date.xml other.xml broken.xml "$good"
  grep -qxF "missing.xml:$(line_of '<P_6>' missing.xml): Element 'P_6': This element is not expected. Expected is ( P_2 )." out ||
    fail "missing element"
  grep -qF "kind.xml:$(line_of '<RodzajFaktury>' kind.xml): Element 'RodzajFaktury': [facet 'enumeration'] The value 'XYZ' is not an element of the set {'VAT', " out ||
    fail "bad enumeration value"
  grep -qF "date.xml:$(line_of '<P_1>' date.xml): Element 'P_1': '2026-13-{5' is not a valid value" out ||
    fail "malformed date"
  expect_err "other.xml: unknown namespace 'urn:other'; not a KSeF FA(2) or FA(3) invoice"
  grep -q '^broken.xml:1: ' out || fail "malformed XML without its line"
  [ "$(grep ': valid' out)" = "$good: valid (FA(3))" ] || fail "only the good file, after the bad ones, is valid"

  DRUVO_SCHEMA_DIR=/nonexistent runs 0 ksef-validate "$good"
  # The shared definitions come from the schema folder, never the network.
  mkdir partial
  cp "$SCHEMAS"/schemat_FA*.xsd partial/
  DRUVO_SCHEMA_DIR=partial runs 1 ksef-validate "$good"
  expect_err_part "cannot load the schema partial/schemat_FA3_v1-0E.xsd: Element 'import': Failed to parse the XML resource 'http://crd.gov.pl/"
}

# --validate converts the valid invoices and skips the others with a report.
case_convert_with_validation() {
  cp "$EXAMPLES/FA_3_Przyklad_1.xml" good.xml
  sed '/<P_2>/d' good.xml > bad.xml
  runs 1 ksef2edi --validate good.xml bad.xml
  expect_file good.edi
  expect_no_file bad.edi
  grep -q "^bad.xml:[0-9]*: Element 'P_6': This element is not expected." err ||
    fail "no report of bad.xml"
  runs 0 ksef2edi bad.xml
  expect_file bad.edi
}

case_contractor_case() {
  printf 'PRZEDSIĘBIORSTWO HANDLOWE KOWALSKI SP. Z O.O.\r\nFIRMA „ABC DEF” S.C.\n\n  JAN I MARIA' > names.txt
  runs 0 contractor-case --name names.txt
  expect_no_err
  printf 'Przedsiębiorstwo Handlowe Kowalski sp. z o.o.\r\nFirma „ABC DEF” S.C.\n\nJAN i Maria' > expected
  expect_same out expected
  printf 'UL. GEN. JÓZEFA BEMA\nBIELSKO-BIAŁA\n' > in.txt
  runs 0 contractor-case --address <in.txt
  printf 'ul. gen. Józefa Bema\nBielsko-Biała\n' > expected
  expect_same out expected
  printf 'UL. BEMA → 5\n' > in.txt
  runs 0 contractor-case - <in.txt
  expect_err "standard input: warning: 1 character has no CP1250 form and became '?' (first: U+2192 at line 1)"
  [ "$(cat out)" = "Ul. Bema ? 5" ] || fail "plain mode gave '$(cat out)'"
  printf 'ZA\377K\n' > bad.txt
  runs 1 contractor-case bad.txt
  expect_err_part "bad.txt: invalid UTF-8 at line 1"
  [ ! -s out ] || fail "output written for a bad file"
}

"case_$CASE"
