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
