#include "masterdata/Company.h"

#include <QRegularExpression>

#include <QDir>
#include <QFileInfo>

#include "foundation/AppContext.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "foundation/Validators.h"
#include "masterdata/Settings.h"

namespace vt {

CheckResult CheckCompanyExcise(const QString& text, bool headOffice, const QString& focus)
{
    if (CheckExciseNumber(text, headOffice ? QStringLiteral("VX") : QStringLiteral("V")))
        return CheckResult::pass();
    return CheckResult::fail(kExciseWrong, focus);
}

CheckResult CheckUserCode(const QString& text)
{
    static const QRegularExpression fourLettersOrDigits(QStringLiteral("^[A-Z0-9]{4}$"));
    const QString code = text.trimmed();
    if (code.isEmpty() || fourLettersOrDigits.match(code).hasMatch())
        return CheckResult::pass();
    return CheckResult::fail(QStringLiteral("IL CODICE UTENTE DEVE ESSERE DI 4 LETTERE O CIFRE"), QStringLiteral("CODUTE"));
}

QString Capitalised(const QString& text)
{
    QString t = trimField(text);
    if (!t.isEmpty())
        t[0] = t[0].toUpper();
    return t;
}

CheckResult CheckAddresses(QList<NamedValue>& fields)
{
    QString lastEmpty;
    for (NamedValue& f : fields) {
        f.value = Capitalised(f.value);
        if (f.value.isEmpty())
            lastEmpty = f.name;
    }
    if (lastEmpty.isEmpty())
        return CheckResult::pass();
    return CheckResult::fail(kAtLeastOneCharacter, lastEmpty);
}

CheckResult CheckCompanyName(NamedValue& name)
{
    name.value = Capitalised(name.value);
    const QChar c = name.value.isEmpty() ? QChar() : name.value[0];
    if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')))
        return CheckResult::pass();
    return CheckResult::fail(kAtLeastOneCharacter, name.name);
}

QString ExportOfficeFor(const QString& office)
{
    QString t = trimField(office);
    if (t.size() >= 6)
        t[5] = QLatin1Char('1');
    return t;
}

QString SectionFor(const QString& office)
{
    return trimField(office).mid(2, 6);
}

std::optional<QString> CustomsOfficeDescription(AppContext& ctx, const QString& office)
{
    if (auto row = LookupCode(ctx, QStringLiteral("TA03"), trimField(office)))
        return row->Fld[1];
    return std::nullopt;
}

QString FiscalCodeWarning(const QString& text)
{
    const QString t = trimField(text);
    if (t.isEmpty())
        return {};
    const std::optional<bool> verdict = CheckFiscalCode(t);
    return verdict.has_value() && !*verdict ? kFiscalCodeWrong : QString();
}

QString VatNumberWarning(const QString& text)
{
    const QString t = trimField(text);
    if (t.isEmpty() || CheckVatNumber(t))
        return {};
    return kVatWrong;
}

QString CompanyFilePath(const AppContext& ctx, const QString& premises)
{
    return QDir(ctx.DatiGenFolder).filePath(QStringLiteral("UTENTE.") + trimField(premises));
}

std::optional<TRecAzienda> ReadCompanyFile(const AppContext& ctx, const QString& premises)
{
    RecordFile file(CompanyFilePath(ctx, premises), TRecAzienda::Size);
    if (!file.exists())
        return std::nullopt;
    auto first = file.readFirst();
    if (!first)
        return blankCompany(); // an empty file reads as a blank record
    return decodeCompany(*first);
}

void WriteCompanyFile(const AppContext& ctx, const QString& premises, const TRecAzienda& record)
{
    RecordFile(CompanyFilePath(ctx, premises), TRecAzienda::Size).rewriteSingle(encodeCompany(record));
    ctx.reportSaved();
}

QString FirstFreePremises(const AppContext& ctx)
{
    for (int n = 2; n <= 999; ++n) {
        const QString number = QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(CompanyFilePath(ctx, number)))
            return number;
    }
    return {};
}

CheckResult CheckPremisesNumber(const QString& text)
{
    const QString t = trimField(text);
    bool ok = false;
    const int n = t.toInt(&ok);
    if (t.size() == 3 && ok && n >= 2 && n <= 999)
        return CheckResult::pass();
    return CheckResult::quiet(QStringLiteral("IL NUMERO DELLA SEDE VA DA 002 A 999"), QStringLiteral("SEDE"));
}

TRecAzienda HeadOfficeRecord(const TRecAzienda& f, bool registeredConsignor)
{
    TRecAzienda r = blankCompany();
    trimCompany(r);
    r.TIPOIN = registeredConsignor ? QStringLiteral("2") : QStringLiteral("1");
    r.CACCI1 = r.CACCI2 = f.CACCI1;
    r.DENOM1 = r.DENOM2 = f.DENOM1;
    r.PARIVA = f.PARIVA;
    r.CODFIS = f.CODFIS;
    r.INDIR1 = f.INDIR1;
    r.NUMCI1 = f.NUMCI1;
    r.C_A_P1 = f.C_A_P1;
    r.CITTA1 = f.CITTA1;
    r.INDIR2 = f.INDIR2;
    r.NUMCI2 = f.NUMCI2;
    r.C_A_P2 = f.C_A_P2;
    r.CITTA2 = f.CITTA2;
    r.CODUTE = f.CODUTE;
    r.UFFDO1 = f.UFFDO1;
    r.UFFDO2 = f.UFFDO2;
    r.SEZDOG = f.SEZDOG;
    r.CONGAR = f.CONGAR;
    r.CAUESO = f.CAUESO;
    return r;
}

TRecAzienda PremisesRecord(const TRecAzienda& f, const QString& premises)
{
    TRecAzienda r = blankCompany();
    trimCompany(r);
    r.CODUTE = trimField(premises);
    r.CACCI2 = f.CACCI2;
    r.DENOM2 = f.DENOM2;
    r.INDIR2 = f.INDIR2;
    r.NUMCI2 = f.NUMCI2;
    r.C_A_P2 = f.C_A_P2;
    r.CITTA2 = f.CITTA2;
    r.UFFDO1 = f.UFFDO1;
    r.SEZDOG = f.SEZDOG;
    r.UFFDO2 = f.UFFDO2;
    return r;
}

QStringList HeadOfficeLines(const TRecAzienda& headOffice)
{
    TRecAzienda h = headOffice;
    trimCompany(h);
    return {h.CACCI1, h.DENOM1, h.INDIR1, h.CITTA1};
}

TRecAzienda NewPremisesFields(const TRecAzienda& headOffice)
{
    TRecAzienda h = headOffice;
    trimCompany(h);
    TRecAzienda f = blankCompany();
    trimCompany(f);
    f.CACCI2 = h.CACCI1;
    f.DENOM2 = h.DENOM1;
    f.INDIR2 = h.INDIR1;
    f.NUMCI2 = h.NUMCI1;
    f.C_A_P2 = h.C_A_P1;
    f.CITTA2 = h.CITTA1;
    f.UFFDO1 = h.UFFDO1;
    f.UFFDO2 = h.UFFDO2;
    f.SEZDOG = h.SEZDOG;
    return f;
}

bool OpenWebLink(AppContext& ctx, int address)
{
    const QString a = WebAddress(ctx, address);
    if (a.isEmpty())
        return false;
    ctx.shell().openUrl(a);
    return true;
}

} // namespace vt
