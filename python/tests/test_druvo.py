"""The package over the C interface: the kinds of input it takes, encodings,
errors and warnings, threads; the same EDI text and messages as the druvo
program. CTest sets DRUVO_LIBRARY, DRUVO_PROGRAM, DRUVO_KSEF_SAMPLES and
DRUVO_PROGRAM_DATA."""

import concurrent.futures
import datetime
import os
import pathlib
import subprocess
import sys
import warnings

import pytest

import druvo

PROGRAM = os.environ["DRUVO_PROGRAM"]
SAMPLES = sorted(pathlib.Path(os.environ["DRUVO_KSEF_SAMPLES"]).rglob("*.xml"))
SAMPLE = next(path for path in SAMPLES if path.name == "Fa_3_Przyklad_14.xml")
DATA = pathlib.Path(os.environ["DRUVO_PROGRAM_DATA"])
CDATA_NAME = "<![CDATA[Kawa <b>&</b>]]>"


def run(*args):
    return subprocess.run([PROGRAM, *map(str, args)], capture_output=True)


def cdata_invoice():
    text = (DATA / "invoice-utf8.xml").read_text("utf-8")
    return text.replace("Kawa ziarnista źródlana", CDATA_NAME)


def test_a_sample_converts_as_the_program_does():
    raw = SAMPLE.read_bytes()
    expected = run("ksef2edi", "-o", "-", SAMPLE).stdout
    assert druvo.ksef_to_edi(raw) == druvo.ksef_to_edi(bytearray(raw)) == expected
    expected = run("ksef2edi", "--utf8", "-o", "-", SAMPLE).stdout
    assert druvo.ksef_to_edi(memoryview(raw), utf8=True).encode("utf-8") == expected


@pytest.mark.parametrize(
    "name, codec",
    [("invoice-utf8.xml", "utf-8"), ("invoice-cp1250.xml", "cp1250"), ("invoice-latin2.xml", "iso8859_2")],
)
def test_str_is_encoded_as_its_declaration_says(name, codec):
    expected = (DATA / "expected-cp1250.edi").read_bytes()
    text = (DATA / name).read_bytes().decode(codec)
    assert druvo.ksef_to_edi(text) == druvo.ksef_to_edi("\ufeff" + text) == expected


@pytest.mark.parametrize("name", ["malformed.xml", "not-an-invoice.xml", "invoice-koi8.xml"])
def test_bad_invoice_raises_the_programs_message(name):
    path = DATA / name
    line = run("ksef2edi", "-o", "-", path).stderr.decode("utf-8").splitlines()[0]
    message = line[len(f"{path}: ") :]  # the program's message for the file
    for read in (druvo.ksef_to_edi, druvo.ksef_list, druvo.ksef_summary):
        with pytest.raises(druvo.DruvoError) as caught:
            read(path.read_bytes())
        assert str(caught.value) == message
        assert caught.value.status == 2


def test_lost_characters_warn_as_the_program_does():
    path = DATA / "invoice-lossy.xml"
    warning = run("ksef2edi", "-o", "-", path).stderr.decode("utf-8").strip()
    with pytest.warns(druvo.DruvoWarning) as caught:
        edi = druvo.ksef_to_edi(path.read_bytes(), utf8=True)
    assert f"{path}: warning: {caught[0].message}" == warning
    assert "Nazwa{Kawa ? premium ?}" in edi
    with warnings.catch_warnings():
        warnings.simplefilter("error")
        with pytest.raises(druvo.DruvoWarning):
            druvo.ksef_to_edi(path.read_bytes())
    declared = '<?xml version="1.0" encoding="windows-1250"?>'
    text = (DATA / "invoice-utf8.xml").read_text("utf-8").replace(
        '<?xml version="1.0" encoding="UTF-8"?>', declared
    ).replace("Usługa", "Usługa →")
    with pytest.warns(druvo.DruvoWarning, match=r"U\+2192"):
        assert "Nazwa{Usługa ? dowozu}" in druvo.ksef_to_edi(text, utf8=True)


def test_list_summary_and_options():
    raw = (DATA / "invoice-utf8.xml").read_bytes()
    assert druvo.ksef_list(raw) == (
        "FV/7/2026", datetime.date(2026, 2, 1), "PZ", 'Hurtownia "Żółw", Spółka', "1234567890"
    )
    assert druvo.ksef_list("<Faktura><Fa/></Faktura>") == ("", None, "PZ", "", "")
    assert druvo.ksef_summary(raw) == {
        "NIPWystawcy": "1234567890", "NazwaWystawcy": 'Hurtownia "Żółw", Spółka',
        "TypDokumentu": 2, "Adnotacja": 0, "RodzajFaktury": 0, "Stopka1": "", "Stopka2": "",
        "Stopka3": "", "Zamowienia": "", "TekstyDokumentu": {}, "TekstyPozycji": {},
    }  # fmt: skip
    texts = druvo.ksef_summary(SAMPLE.read_bytes())
    assert "wysokość pozostałej do zapłaty kwoty" in texts["TekstyDokumentu"]
    assert "Vat{Ż}IdxLinii{1}" in druvo.ksef_to_edi(raw, utf8=True, vat_symbol="Ż")
    assert b"Vat{0}IdxLinii{1}" in druvo.ksef_to_edi(raw, vat_symbol="")
    assert "Nazwa{Kawa <b>&</b>}" in druvo.ksef_to_edi(cdata_invoice(), utf8=True, cdata=True)
    with pytest.raises(ValueError):
        druvo.ksef_to_edi(raw, vat_symbol="a\0")
    with pytest.raises(TypeError):
        druvo.ksef_to_edi(123)
    assert druvo.version() == druvo.__version__


def test_threads_with_both_cdata_settings_get_their_own_results():
    jobs = [(data, cdata) for data in [cdata_invoice()] + SAMPLES[:6] for cdata in (False, True)]

    def convert(job):
        data, cdata = job
        return druvo.ksef_to_edi(data if isinstance(data, str) else data.read_bytes(), cdata=cdata)

    serial = [convert(job) for job in jobs]
    assert serial[0] != serial[1]  # the CDATA invoice differs by the setting
    with concurrent.futures.ThreadPoolExecutor(8) as pool:
        for _ in range(5):
            assert list(pool.map(convert, jobs * 4)) == serial * 4


def test_a_missing_library_is_named():
    env = dict(os.environ, DRUVO_LIBRARY="/nonexistent/libdruvo.so")
    code = "import druvo; druvo.version()"
    result = subprocess.run([sys.executable, "-c", code], env=env, capture_output=True)
    assert b"Druvo library was not found" in result.stderr and b"/nonexistent/libdruvo.so" in result.stderr
