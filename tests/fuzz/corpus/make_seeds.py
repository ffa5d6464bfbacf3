#!/usr/bin/env python3
"""Writes the seed inputs of the fuzz targets, each built from the record and flow layouts.

Run it from anywhere; it rewrites the seed folders beside it. The seeds are committed, so the
test command never runs this script.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))


def put(target, name, data):
    folder = os.path.join(HERE, target)
    os.makedirs(folder, exist_ok=True)
    if isinstance(data, str):
        data = data.encode("cp1252")
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


# --- number texts and checked codes, as typed in the windows ----------------------------------
for i, text in enumerate([
    "1.234,567", "-0,5", "12", " -12", "12,5", "0,125", "1.234.567.890.123,45",
    "1234.5", "-1e300", "nan", "-1,25", "0", "abc", ",.,", "1,2.3", "2147483647", "-2147483648",
    "12345678901234567890123", "1.234,56789012345678901234", "IT00ABV12345A", "IT00ABC12345A",
    "12345678903", "RSSMRA85T10A562S",
]):
    put("fuzz_numbers", "text%02d" % i, text)


# --- table rows (TRecTabella, 5304 bytes) -----------------------------------------------------
def text_field(value, width=250):
    """One length byte and width characters; stored form: padded with spaces to full width."""
    raw = value.encode("cp1252").ljust(width, b" ")
    return bytes([len(raw)]) + raw


def table_record(num, fld=(), ext=(), dim=(), vala=(), valb=(), valc=()):
    rec = struct.pack("<i", num)                                   # 0: Num
    rec += b"".join(text_field(v) for v in (list(fld) + [""] * 10)[:10])   # 4 + 251*i: Fld
    rec += b"".join(text_field(v) for v in (list(ext) + [""] * 10)[:10])   # 2514 + 251*i: Ext
    rec += b"".join(struct.pack("<i", v) for v in (list(dim) + [0] * 10)[:10])        # 5024: Dim
    for vals in (vala, valb, valc):                                # 5064, 5144, 5224: ValA/B/C
        rec += b"".join(struct.pack("<d", v) for v in (list(vals) + [0.0] * 10)[:10])
    assert len(rec) == 5304, len(rec)
    return rec


structure = table_record(1, fld=["CODICE", "DESCRIZIONE"], ext=["T004", "Stati", "CODICE;DESCRIZIONE"], dim=[2, 40])
italia = table_record(1, fld=["IT", "ITALIA"], ext=["T004"])
francia = table_record(2, fld=["FR", "FRANCIA"], ext=["T004"])
rate = table_record(7, fld=["IT", "22042110", "VINO"], ext=["ACCISE"], vala=[0.0, 45000.0], valb=[1.5], valc=[-2.25])
# A row as the editor leaves it when a text is shorter than its field: length byte < 250, zeros after.
short = struct.pack("<i", 3) + bytes([2]) + b"DE" + bytes(248) + table_record(3)[255:]
put("fuzz_tables", "structure", structure)
put("fuzz_tables", "one_row", italia)
put("fuzz_tables", "two_rows", italia + francia)
put("fuzz_tables", "excise_rate", rate)
put("fuzz_tables", "short_text", short)
put("fuzz_tables", "three_rows_unordered", francia + rate + italia)
put("fuzz_tables", "cut_row", italia + francia[:100])
put("fuzz_tables", "empty", b"")
# The largest row number a 32-bit Num can hold: no row can be numbered after it.
put("fuzz_tables", "last_number", italia + table_record(2147483647, fld=["ZW", "ZIMBABWE"], ext=["T004"]))


# --- outcome attachments -----------------------------------------------------------------------
def placed(pieces):
    """A line with texts at 1-based positions, blanks between."""
    line = ""
    for pos, text in pieces:
        line = line.ljust(pos - 1)[: pos - 1] + text
    return line


positive815 = placed([(1, "IE815IT00ABV00001X     LRN-2026-0001"), (46, "A0001P"), (52, "26ITABCDEFGHIJKLMNOP4"),
                      (112, "MESSAGGIO ACCETTATO")])
negative815 = placed([(1, "IE815IT00ABV00001X     LRN-2026-0002"), (46, "A0002N"), (52, "B001"), (56, "C002"),
                      (60, "0003"), (64, "QUANTITA".ljust(50)), (114, "E123"), (118, "VALORE NON AMMESSO")])
put("fuzz_outcome", "message_positive", positive815 + "\r\n")
put("fuzz_outcome", "message_negative", "TESTATA\r\n" + negative815 + "\r\n" + positive815 + "\n")
file_record = placed([(1, "ALCOAV"), (28, "000000000004711"), (43, "0FILE ACQUISITO")])
put("fuzz_outcome", "register_accepted", file_record + "\r\n SCARICO SENZA GARANZIA\r\n")
rejected = placed([(1, "ALCOAV"), (28, "000000000004712"), (43, "1FILE SCARTATO")])
put("fuzz_outcome", "register_rejected", rejected + "\r\n EDATA NON VALIDA\r\n SPROTOCOLLO\r\n")
put("fuzz_outcome", "no_lines", "")


# --- flows as the program writes them --------------------------------------------------------
def flow(user, name, section, vat, records):
    count = len(records) + 1
    header = (user + " " * 12 + name + " " * 12 + section + " " * 4 + vat + "     001 " + "%05d" % count)
    assert len(header) == 75, len(header)
    return "".join(line + "\r\n" for line in [header] + records)


prefix815 = "IE815" + "IT00ABV00001X" + " " * 5 + "LRN-2026-0001" + "20260102"
ie815 = flow("ABCD", "ABCD0102.C01", "123456", "12345678903",
             [prefix815 + "\t".join(["0001", "00", "001", "FR00000000001", "750.000"]) + "\t",
              prefix815 + "\t".join(["0002", "22042110", "12.50"]) + "\t"])
put("fuzz_flowcheck", "ie815", ie815)
ie810 = flow("ABCD", "ABCD0102.C02", "123456", "12345678903",
             ["IE810" + "IT00ABV00001X" + " " * 5 + "26ITABCDEFGHIJKLMNOP4" + "20260102" + "1\tERRORE\t"])
put("fuzz_flowcheck", "ie810", ie810)
cacci = "IT00ABV00001X"
register = flow("ABCD", "ABCD0102.C03", "123456", "12345678903",
                ["ALCOAV" + cacci + "00000000A" + "12345678903" + " " * 5 + "\t".join(["1", "0", "0", "1", "0", "0", "3"]) + "\t",
                 "ALCOAV" + cacci + "20260102" + "C" + "1" + "\t".join(["P", "750.000"]) + "\t",
                 "ALCOAV" + cacci + "20260102" + "F" + "1" + "\t".join(["C", "10.00", "0.00", "0.00", "0.00", "10.00", "", "NOTA: "]) + "\t"])
put("fuzz_flowcheck", "register", register)
put("fuzz_flowcheck", "header_only", flow("ABCD", "ABCD0102.C04", "123456", "12345678903", []))


# --- received e-AD documents, as the customs system delivers them ------------------------------
def received(prefix, arc, lines, consignor_name="Chateau Lafleur SARL", decl=True):
    p = prefix + ":" if prefix else ""
    ns = ' xmlns%s="urn:publicid:-:EC:DGTAXUD:EMCS:PHASE4:IE801:V3.13"' % (":" + prefix if prefix else "")
    el = lambda name, value: "<%s%s>%s</%s%s>" % (p, name, value, p, name)
    body = ""
    for ref, qty, packages in lines:
        body += ("<%sBodyEadEsad>" % p + el("BodyRecordUniqueReference", ref) + el("ExciseProductCode", "W200")
                 + el("CnCode", "22042138") + el("Quantity", qty)
                 + el("AlcoholicStrengthByVolumeInPercentage", "12.50")
                 + el("CommercialDescription", "Vino rosso") + el("BrandNameOfProducts", "Lafleur")
                 + "<%sPackage>" % p + el("NumberOfPackages", packages) + "</%sPackage>" % p
                 + "</%sBodyEadEsad>\n" % p)
    doc = ('<?xml version="1.0" encoding="UTF-8"?>\n' if decl else "")
    doc += "<%sIE801%s><%sBody><%sEADESADContainer>\n" % (p, ns, p, p)
    doc += "<%sConsigneeTrader>" % p + el("Traderid", "IT00ABC00123X") + el("TraderName", "Cantina Rossi") + el("City", "Verona") + "</%sConsigneeTrader>\n" % p
    doc += "<%sExciseMovement>" % p + el("AdministrativeReferenceCode", arc) + el("DateAndTimeOfValidationOfEad", "2026-12-01T10:15:00") + "</%sExciseMovement>\n" % p
    doc += ("<%sConsignorTrader>" % p + el("TraderExciseNumber", "FR0AB1234567E") + el("TraderName", consignor_name)
            + el("StreetName", "Route des Vignes") + el("StreetNumber", "12") + el("Postcode", "33500")
            + el("City", "Pomerol") + "</%sConsignorTrader>\n" % p)
    doc += "<%sEadEsad>" % p + el("LocalReferenceNumber", "LRN-FR-1") + el("SequenceNumber", "1") + "</%sEadEsad>\n" % p
    doc += body + "</%sEADESADContainer></%sBody></%sIE801>\n" % (p, p, p)
    return doc.encode("utf-8")


put("fuzz_receivedxml", "prefix_ie", received("ie", "26FRA00000000000001A1", [("1", "1234.500", "10"), ("2", "500", "0")]))
put("fuzz_receivedxml", "no_prefix", received("", "26FRA00000000000002A1", [("1", "100.000", "12")]))
put("fuzz_receivedxml", "other_prefix", received("emcs", "26FRA00000000000003A1", [("3", "7.5", "1")]))
put("fuzz_receivedxml", "greek_polish", received("ie", "26FRA00000000000004A1", [("1", "10", "1")],
                                                   consignor_name="Łódź Θεσσαλονίκη Győr"))
put("fuzz_receivedxml", "no_lines", received("ie", "26FRA00000000000005A1", []))
put("fuzz_receivedxml", "dtd", b'<?xml version="1.0"?>\n<!DOCTYPE a [<!ENTITY e "x">]><a>&e;</a>')


# --- fixed records of the yearly files ---------------------------------------------------------
def record(size, fields):
    """A record of `size` bytes: (offset, "i" | "d" | width of a text, value); fillers stay zero."""
    rec = bytearray(size)
    for off, kind, value in fields:
        if kind == "i":
            rec[off:off + 4] = struct.pack("<i", value)
        elif kind == "d":
            rec[off:off + 8] = struct.pack("<d", value)
        else:
            rec[off:off + kind + 1] = text_field(value, kind)
    return bytes(rec)


# Register movement (520 bytes): numero 0, collegato 4, dataFlusso 8, numeroFlusso 16, stato 20 s[1],
# data 24, registro 32 s[1], operazione 34 s[1], tipoDestinazione 36 s[1], ufficioDogana 38 s[8],
# annoProtocollo 47 s[4], numeroProtocollo 52 s[10], progressivo 64, prodottoAziendale 68 s[20],
# codiceProdotto 89 s[21], litri 112, grado 120, volumeConfezione 128, aliquota 136, garanzia 144,
# stoccaggio 152 s[1], confezioni 156, tipoDocumento 160 s[3], numeroDocumento 164 s[21],
# dataDocumento 192, paese 200 s[2], controparte 203 s[16], tipoMovimento 220 s[1], causale 222 s[3],
# nota 226 s[250], dataCollegata 480, riferimentoLocale 488 s[22], progressivoEad 512,
# progressivoDettaglio 516.
unload = record(520, [
    (0, "i", 12), (4, "i", 0), (8, "d", 46357.0), (16, "i", 3), (20, 1, " "), (24, "d", 46356.0), (32, 1, "C"),
    (34, 1, "I"), (36, 1, "1"), (38, 8, "IT000100"), (47, 4, "2026"), (52, 10, "123"), (64, "i", 12),
    (68, 20, "ROSSO2024"), (89, 21, "22042110"), (112, "d", 1234.5), (120, "d", 13.5), (128, "d", 0.75),
    (136, "d", 0.0), (144, "d", 0.0), (152, 1, "N"), (156, "i", 1646), (160, 3, "EAD"),
    (164, 21, "26ITABCDEFGHIJKLMNOP4"), (192, "d", 46356.0), (200, 2, "FR"), (203, 16, ""), (220, 1, "S"),
    (222, 3, "S01"), (226, 250, "SCARICO PER SPEDIZIONE INTRACOMUNITARIA"), (480, "d", 0.0),
    (488, 22, "LRN-2026-0001"), (512, "i", 7), (516, "i", 1)])
guarantee = record(520, [
    (0, "i", 2147483647), (20, 1, " "), (24, "d", 46356.0), (32, 1, "F"), (34, 1, "I"), (64, "i", 2147483647),
    (112, "d", 540.25), (120, "d", 100.0), (128, "d", 0.0), (136, "d", 0.0), (144, "d", 9459.75),
    (203, 16, "RSSMRA85T10A562S"), (226, 250, "GARANZIA GIORNALIERA")])
put("fuzz_records", "register_unload", b"\x00" + unload)
put("fuzz_records", "register_guarantee_last_number", b"\x00" + guarantee)
# Texts shorter than their field (length byte below the width) and one byte Windows-1252 leaves undefined.
put("fuzz_records", "register_short_texts", b"\x00" + unload[:68] + bytes([3]) + b"ABC" + unload[72:226]
    + bytes([2]) + b"\x81\xe8" + unload[229:])

# e-AD header (2688 bytes): progressivo 0, LINGUA 4 s[2], riferimentoLocale 7 s[22], riservato 30 s[22],
# progressivoRif 56, dataFlusso 64, numeroFlusso 72, stato 76 s[1], ARC 78 s[21], TIPMES 100 s[1],
# TIPDES 102 s[1], unitaDurata 104, durata 108, RESTRA 112 s[1], INVDIF 114 s[1], accisaSpeditore 116 s[18],
# denominazioneSpeditore 135 s[100] ...
header = record(2688, [
    (0, "i", 7), (4, 2, "IT"), (7, 22, "LRN-2026-0001"), (30, 22, ""), (56, "i", 7), (64, "d", 46357.0),
    (72, "i", 3), (76, 1, "I"), (78, 21, "26ITABCDEFGHIJKLMNOP4"), (100, 1, "1"), (102, 1, "1"),
    (104, "i", 0), (108, "i", 5), (112, 1, "1"), (114, 1, "N"), (116, 18, "IT00ABV00001X"),
    (135, 100, "CANTINA SOCIALE DI PROVA"), (236, 65, "VIA DEI VIGNETI"), (302, 11, "12"), (314, 10, "37100"),
    (325, 50, "VERONA")])
put("fuzz_records", "ead_header", b"\x01" + header)
put("fuzz_records", "ead_header_cut", b"\x01" + header[:700])

# e-AD line (2128 bytes): numero 0, progressivo 4, rigaProdotto 8, categoria 12 s[1], CODIMB 14 s[2],
# paeseImportazione 17 s[2], riservato20 20 s[2], codiceAccisa 23 s[4], codiceCadd 28 s[4],
# riservato33 33 s[5], zona 39 s[7], codiceNC 47 s[8], COAZPR 56 s[250], LEDEPR 307 s[250],
# META20 558 s[250], SIGIMB 809 s[250] ...
line = record(2128, [
    (0, "i", 1), (4, "i", 7), (8, "i", 1), (12, 1, "1"), (14, 2, "CT"), (17, 2, ""), (20, 2, ""), (23, 4, ""),
    (28, 4, ""), (33, 5, ""), (39, 7, "VEN01"), (47, 8, ""), (56, 250, "ROSSO2024"),
    (307, 250, "VINO ROSSO DA TAVOLA - ANNATA 2024"), (558, 250, "22042110"), (809, 250, "SIGILLO 0001")])
put("fuzz_records", "ead_line", b"\x02" + line)
put("fuzz_records", "ead_line_transport", b"\x02" + record(2128, [
    (0, "i", 1), (4, "i", 7), (14, 2, "1"), (56, 250, "AB123CD"), (307, 250, "AUTOCARRO"), (558, 250, "")]))


# --- journals of a change of several files, and the notes pointing to them ------------------------
import hashlib


def sealed_text(lines):
    """The lines, then "FINE " and the SHA-1 of the lines: a complete journal or note."""
    body = "".join(l + "\n" for l in lines).encode("utf-8")
    return body + b"FINE " + hashlib.sha1(body).hexdigest().encode() + b"\n"


# The first byte: even plants the bytes as the journal beside 2024.RGM, odd as the journal beside
# 2025.RGM that 2024.RGM's note (RIMANDO 1) points to.
put("fuzz_journal", "decided", b"\x00" + sealed_text([
    "GRUPPO 5eed", "2024.RGM.~NUOVO~0123456789abcdef\t2024.RGM", "2025.RGM.~NUOVO~fedcba9876543210\t2025.RGM",
    "-\t2024.RGM.BACKUP", "../DATI_GEN/INDIRIZZI_F.DAT.~NUOVO~00000000000000aa\t../DATI_GEN/INDIRIZZI_F.DAT"]))
put("fuzz_journal", "undecided", b"\x00" + b"GRUPPO 77\n2024.RGM.~NUOVO~0123456789abcdef\t2024.RGM\n2025.RG")
put("fuzz_journal", "from_note", b"\x01" + sealed_text([
    "GRUPPO 1", "2025.RGM.~NUOVO~0123456789abcdef\t2025.RGM", "-\t2024.RGM"]))
put("fuzz_journal", "note_itself", b"\x00" + sealed_text(["RIMANDO 1", "2025.RGM.~GRUPPO"]))
put("fuzz_journal", "outside", b"\x00" + sealed_text(["GRUPPO 1234abcd", "-\t../../outside/victim.dat",
                                                        "../victim.dat\t../../outside/other.dat"]))
put("fuzz_journal", "other_register", b"\x00" + sealed_text(["GRUPPO 2", "2025.RGM\t2024.RGM"]))
put("fuzz_journal", "empty", b"\x00")

# First byte 2 or 3: the target seals the bytes itself, so their mutations stay complete journals.
put("fuzz_journal", "sealed_by_target", b"\x02GRUPPO 5eed\n2024.RGM.~NUOVO~0123456789abcdef\t2024.RGM\n-\t2025.RGM\n")
put("fuzz_journal", "sealed_by_target_note", b"\x03GRUPPO 1\n-\t2024.RGM.BACKUP\n../DATI_GEN/INDIRIZZI_F.DAT.~NUOVO~00000000000000aa"
    b"\t../DATI_GEN/INDIRIZZI_F.DAT\n")
