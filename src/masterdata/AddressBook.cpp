#include "masterdata/AddressBook.h"

#include "foundation/AddressFile.h"
#include "foundation/AppContext.h"
#include "foundation/FileLock.h"
#include "foundation/RecordFile.h"
#include "foundation/TableRecord.h"
#include "foundation/Text.h"

namespace vt {

namespace {
const QString kSpace = QStringLiteral(" ");

QString t(const QString& s)
{
    return trimField(s);
}

// The field when shown, else a single space.
QString shownOrSpace(bool shown, const QString& value)
{
    return shown ? t(value) : kSpace;
}

QString joined(const QString& a, const QString& b)
{
    return a + QLatin1Char(' ') + b;
}

// Sort key of the address files: the stored name (length byte and characters, slot 42).
QByteArray nameKey(const QByteArray& record)
{
    return record.mid(42, 101);
}
} // namespace

AddressKind KindOfAddressFile(const QString& fileName)
{
    const QString n = t(fileName).toUpper();
    if (n.endsWith(QLatin1String("_D")))
        return AddressKind::Consignee;
    if (n.endsWith(QLatin1String("_T")))
        return AddressKind::Transporter;
    if (n.endsWith(QLatin1String("_G")))
        return AddressKind::Guarantor;
    return AddressKind::Supplier;
}

QString AddressWindowTitle(AddressKind kind, AddressAction window)
{
    if (window == AddressAction::Delete) {
        switch (kind) {
        case AddressKind::Consignee: return QStringLiteral("Cancella Destinatario DAA");
        case AddressKind::Transporter: return QStringLiteral("Cancella Azienda di Trasporto");
        case AddressKind::Guarantor: return QStringLiteral("Cancella Garante");
        case AddressKind::Supplier: return QStringLiteral("Cancella Fornitore con DAA");
        }
    }
    const QString verb = window == AddressAction::Insert ? QStringLiteral("Inserisce ") : QStringLiteral("Modifica ");
    switch (kind) {
    case AddressKind::Consignee: return verb + QStringLiteral("Destinario DAA");
    case AddressKind::Transporter: return verb + QStringLiteral("Azienda di Trasporto");
    case AddressKind::Guarantor: return verb + QStringLiteral("Garante");
    case AddressKind::Supplier: return verb + QStringLiteral("Fornitore per importazioni con DAA");
    }
    return {};
}

QString ShowAddressesCaption(AddressKind kind)
{
    return kind == AddressKind::Consignee ? QStringLiteral("Mostra i Destinatari Registrati")
                                          : QStringLiteral("Mostra gli Indirizzi Registrati");
}

ConsigneeLayout ConsigneeTypeLayout(const QString& type)
{
    const QString base = QStringLiteral("Identificativo");
    ConsigneeLayout l;
    l.identifierLabel = base;
    const QString ty = t(type);
    if (ty == QLatin1String("1")) {
        l.identifierLabel = base + QStringLiteral(" = Codice di Accisa: Authorized warehouse keeper");
        l.placeExcise = true;
        l.place = true;
    } else if (ty == QLatin1String("2")) {
        l.identifierLabel = base + QStringLiteral(" = Codice di Accisa: Registered consignee");
    } else if (ty == QLatin1String("3")) {
        l.identifierLabel = base + QStringLiteral(" = Codice di Accisa: Temporary Authorisation");
    } else if (ty == QLatin1String("4")) {
        l.identifierLabel = base + QStringLiteral(" = Codice di Accisa");
        l.place = true;
    } else if (ty == QLatin1String("5")) {
        l.identifier = false;
        l.exemption = true;
    } else if (ty == QLatin1String("6")) {
        l.identifierLabel = base + QStringLiteral(" = Partita IVA del Rappresentante presso l'ufficio esportazione");
    }
    return l;
}

QString AcceptedConsigneeType(const QString& type)
{
    return t(type) == QLatin1String("8") ? QString() : type;
}

QString LanguageFromExcise(const QString& excise)
{
    const QString lang = t(excise).left(2).toLower();
    return lang == QLatin1String("gb") ? QStringLiteral("en") : lang;
}

ShownFields FieldsShown(AddressKind kind, const QString& consigneeType)
{
    ShownFields s;
    switch (kind) {
    case AddressKind::Consignee: {
        const ConsigneeLayout l = ConsigneeTypeLayout(consigneeType);
        s.identifier = l.identifier;
        s.secondId = l.placeExcise;
        s.place = l.place;
        s.exemption = l.exemption;
        break;
    }
    case AddressKind::Transporter:
        s.identifier = false;
        break;
    case AddressKind::Guarantor:
        s.guarantee = true;
        break;
    case AddressKind::Supplier:
        break;
    }
    return s;
}

QString CapitaliseFirst(const QString& text)
{
    QString s = t(text);
    if (!s.isEmpty())
        s[0] = s[0].toUpper();
    return s;
}

CheckResult CheckDepositOrExemption(const QString& text)
{
    const QString first = t(text).left(1).toUpper();
    if (first == QLatin1String("C") || first == QLatin1String("E"))
        return CheckResult::pass();
    return CheckResult::fail(kDepositOrExemption, QStringLiteral("CAUESO"));
}

CheckResult CheckRequiredAddressFields(AddressKind kind, const AddressFields& f)
{
    const ShownFields s = FieldsShown(kind, f.TIPOIN);
    QString focus;
    auto need = [&](bool shown, const QString& value, const char* name) {
        if (shown && t(value).isEmpty())
            focus = QString::fromLatin1(name);
    };
    need(s.guarantee, f.CONGAR, "CONGAR");
    need(true, f.CITTA1, "CITTA1");
    need(true, f.C_A_P1, "C_A_P1");
    need(true, f.NUMCI1, "NUMCI1");
    need(true, f.INDIR1, "INDIR1");
    need(true, f.DENOM1, "DENOM1");
    need(s.identifier, f.CACCI1, "CACCI1");
    if (kind == AddressKind::Consignee) {
        need(s.place, f.CITTA2, "CITTA2");
        need(s.place, f.C_A_P2, "C_A_P2");
        need(s.place, f.NUMCI2, "NUMCI2");
        need(s.place, f.INDIR2, "INDIR2");
        need(s.place, f.DENOM2, "DENOM2");
    }
    need(s.secondId, f.CACCI2, "CACCI2");
    if (focus.isEmpty())
        return CheckResult::pass();
    // No box: the reason at the foot of the window, the focus on the field.
    return CheckResult::quiet(QStringLiteral("CAMPO OBBLIGATORIO NON COMPILATO"), focus);
}

TRecIndirizzo BuildAddressRecord(AddressKind kind, const AddressFields& f, bool memberStateValid)
{
    const ShownFields s = FieldsShown(kind, f.TIPOIN);
    TRecIndirizzo r = blankCompany();
    r.number = 0;
    r.CACCI1 = shownOrSpace(s.identifier, f.CACCI1);
    r.CACCI2 = shownOrSpace(s.secondId, f.CACCI2);
    r.DENOM1 = CapitaliseFirst(f.DENOM1);
    r.INDIR1 = t(f.INDIR1);
    r.NUMCI1 = t(f.NUMCI1);
    r.C_A_P1 = t(f.C_A_P1);
    r.CITTA1 = t(f.CITTA1);
    r.SEZDOG = t(f.SEZDOG);
    if (kind == AddressKind::Consignee) {
        r.DENOM2 = s.exemption ? shownOrSpace(true, f.ESENZIONE) : shownOrSpace(s.place, f.DENOM2);
        r.INDIR2 = shownOrSpace(s.place, f.INDIR2);
        r.NUMCI2 = shownOrSpace(s.place, f.NUMCI2);
        r.C_A_P2 = shownOrSpace(s.place, f.C_A_P2);
        r.CITTA2 = shownOrSpace(s.place, f.CITTA2);
        r.CODUTE = shownOrSpace(s.exemption && memberStateValid, f.CODUTE);
        r.TIPOIN = t(f.TIPOIN);
    } else if (s.guarantee) {
        r.CONGAR = t(f.CONGAR);
        r.CAUESO = t(f.CAUESO);
    }
    return r;
}

AddressFields FieldsFromRecord(AddressKind kind, const TRecIndirizzo& rec)
{
    TRecIndirizzo r = rec;
    trimCompany(r);
    AddressFields f;
    f.CACCI1 = r.CACCI1;
    f.CACCI2 = r.CACCI2;
    f.DENOM1 = r.DENOM1;
    f.INDIR1 = r.INDIR1;
    f.NUMCI1 = r.NUMCI1;
    f.C_A_P1 = r.C_A_P1;
    f.CITTA1 = r.CITTA1;
    f.SEZDOG = r.SEZDOG;
    if (kind == AddressKind::Consignee) {
        f.TIPOIN = r.TIPOIN;
        if (r.TIPOIN == QLatin1String("5"))
            f.ESENZIONE = r.DENOM2;
        else
            f.DENOM2 = r.DENOM2;
        f.INDIR2 = r.INDIR2;
        f.NUMCI2 = r.NUMCI2;
        f.C_A_P2 = r.C_A_P2;
        f.CITTA2 = r.CITTA2;
        f.CODUTE = r.CODUTE;
    } else {
        f.CAUESO = r.CAUESO;
        f.CONGAR = r.CONGAR;
    }
    return f;
}

QString DuplicateExciseWarning(const QString& path, const QString& excise)
{
    if (t(excise).isEmpty())
        return {};
    TRecIndirizzo search = blankCompany();
    search.CACCI1 = t(excise);
    return FindAddress(AddressSearch::Excise, search, path) ? kDuplicateExcise : QString();
}

QString DuplicateVatWarning(const QString& path, const QString& vat)
{
    if (t(vat).isEmpty())
        return {};
    TRecIndirizzo search = blankCompany();
    search.CACCI2 = t(vat);
    return FindAddress(AddressSearch::Slot23, search, path) ? kDuplicateVat : QString();
}

QString DuplicateNameWarning(const QString& path, const QString& name)
{
    TRecIndirizzo search = blankCompany();
    search.DENOM1 = CapitaliseFirst(name);
    return FindAddress(AddressSearch::NameIgnoringCase, search, path) ? kDuplicateName : QString();
}

TRecIndirizzo WrittenAddress(const TRecIndirizzo& record, std::int32_t code)
{
    TRecIndirizzo written = record;
    written.number = code;
    trimCompany(written);
    return written;
}

std::int32_t ReplaceAddress(const QString& path, std::int32_t code, const TRecIndirizzo& record, Messenger& messenger)
{
    FileLock lock(path, messenger);
    RecordFile file(path, TRecAzienda::Size); // the lock is ours
    file.openOrCreate();
    QList<QByteArray> records;
    for (const QByteArray& r : file.readAll())
        if (RecordFile::numberOf(r) != code)
            records << r;
    TRecIndirizzo replacement = record;
    replacement.number = code;
    const QByteArray bytes = encodeCompany(replacement);
    const QByteArray key = nameKey(bytes);
    qsizetype at = records.size();
    for (qsizetype i = 0; i < records.size(); ++i) {
        if (nameKey(records[i]) > key) {
            at = i;
            break;
        }
    }
    records.insert(at, bytes);
    file.replaceAll(records);
    return code;
}

QStringList DeleteMemoLines(AddressKind kind, const TRecIndirizzo& rec)
{
    TRecIndirizzo r = rec;
    trimCompany(r);
    QStringList lines{r.CACCI1, r.PARIVA, r.DENOM1, joined(r.INDIR1, r.NUMCI1), joined(r.C_A_P1, r.CITTA1), QString()};
    if (kind == AddressKind::Consignee)
        lines << joined(r.CODUTE, r.DENOM2) << r.CACCI2 << joined(r.INDIR2, r.NUMCI2) << joined(r.C_A_P2, r.CITTA2);
    lines << joined(r.CAUESO, r.CONGAR) << r.SEZDOG;
    return lines;
}

QString SeedWebAddress(const AppContext& ctx)
{
    const QString loaded = t(ctx.WebConfig.Fld[0]);
    if (!loaded.isEmpty())
        return loaded;
    const auto first = RecordFile(ctx.datiGen(QStringLiteral("WEB.CFG")), TRecTabella::Size).readFirst();
    if (!first)
        return {};
    return t(decodeRow(*first).Fld[0]);
}

QString AddressFilePath(const AppContext& ctx, const QString& fileName)
{
    return ctx.datiGen(t(fileName) + QStringLiteral(".DAT"));
}

} // namespace vt
