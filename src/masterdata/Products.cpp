#include "masterdata/Products.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QSaveFile>

#include "foundation/AppContext.h"
#include "foundation/IoError.h"
#include "foundation/NumberFormat.h"
#include "foundation/RecordFile.h"
#include "foundation/Tables.h"
#include "foundation/Text.h"
#include "masterdata/Settings.h"

namespace vt {

CheckResult CheckStrength(const QString& r10)
{
    if (ParseDecimal(r10, 5) < 7)
        return CheckResult::fail(MsgLowStrength, QStringLiteral("R10"));
    return CheckResult::pass();
}

std::optional<QString> CaddWarning(const QString& ta20Code, double strength)
{
    const QString cadd = trimField(ta20Code).mid(17, 4);
    if (cadd == QLatin1String("S118") && (strength <= 13 || strength > 15))
        return MsgCheckCadd;
    if (cadd == QLatin1String("S117") && strength > 13)
        return MsgCheckCadd;
    return std::nullopt;
}

BulkKind bulkKindOf(const QString& le5)
{
    if (le5.startsWith(QLatin1Char('N')))
        return BulkKind::Packaged;
    if (le5.startsWith(QLatin1Char('S')))
        return BulkKind::Bulk;
    return BulkKind::Invalid;
}

QString bulkDescription(BulkKind kind)
{
    switch (kind) {
    case BulkKind::Packaged: return QStringLiteral("Condizionato");
    case BulkKind::Bulk: return QStringLiteral("Sfuso");
    case BulkKind::Invalid: break;
    }
    return QStringLiteral("S o N");
}

CheckResult CheckVolume(const QString& r11)
{
    if (ParseDecimal(r11, 5) <= 0)
        return CheckResult::fail(MsgVolumeNotPositive, QStringLiteral("R11"));
    return CheckResult::pass();
}

CheckResult CheckWeight(const QString& r12)
{
    if (ParseDecimal(r12, 5) <= 0)
        return CheckResult::fail(MsgWeightNotPositive, QStringLiteral("R12"));
    return CheckResult::pass();
}

CheckResult CheckUnits(const QString& i10)
{
    if (ParseInteger(i10) <= 0)
        return CheckResult::fail(MsgUnitsNotPositive, QStringLiteral("I10"));
    return CheckResult::pass();
}

CheckResult CheckPackaging(const QString& numerableFlag, BulkKind kind)
{
    const QString flag = trimField(numerableFlag).left(1);
    if (flag == QLatin1String("S") && kind == BulkKind::Bulk)
        return CheckResult::fail(MsgBulkNumerable, QStringLiteral("LE6"));
    if (flag == QLatin1String("N") && kind == BulkKind::Packaged)
        return CheckResult::fail(MsgPackagedNotNumerable, QStringLiteral("LE6"));
    return CheckResult::pass();
}

CategoryView categoryView(const QString& category)
{
    const QString c = trimField(category);
    CategoryView v;
    v.certificationBody = c.startsWith(QLatin1Char('3'));
    v.importCountry = c.startsWith(QLatin1Char('4'));
    switch (c.size() >= 2 ? c[1].unicode() : 0) {
    case 'C': v.attestationLabel = QStringLiteral("Annata"); break;
    case 'D': v.attestationLabel = QStringLiteral("n.Cert.+n.E-Bacchus"); break;
    case 'I': v.attestationLabel = QStringLiteral("N° IGP E-Bacchus"); break;
    case 'V': v.attestationLabel = QStringLiteral("Vino varietale"); break;
    case 'W': v.attestationLabel = QStringLiteral("Annata-Vino varietale"); break;
    default: break;
    }
    return v;
}

QStringList treatmentItems(AppContext& ctx)
{
    QStringList items;
    for (const TRecTabella& r : ReadRows(tablePath(ctx, QStringLiteral("T020"), ".TAB")))
        items << r.Fld[0].left(2) + QLatin1Char(' ') + trimField(r.Fld[1]);
    return items;
}

QString treatmentsField(const QStringList& tickedItems)
{
    QString out;
    for (const QString& item : tickedItems)
        out += item.left(2) + QLatin1Char('-');
    return out;
}

bool treatmentTicked(const QString& item, const QString& field)
{
    const QString code = item.left(2);
    if (code.trimmed().isEmpty())
        return false;
    // The codes are stored each followed by "-": compare whole codes, not any two characters.
    for (qsizetype at = 0; at + 1 < field.size(); at += 3)
        if (field.mid(at, 2) == code)
            return true;
    return false;
}

void BuildProductRow(const ProductForm& f, TRecTabella& row)
{
    BlankRow(row);
    TrimRow(row);
    const CategoryView view = categoryView(f.category);
    const BulkKind kind = bulkKindOf(f.bulk);
    row.Ext[0] = QStringLiteral("PRAZ");
    row.Fld[0] = trimField(f.code);
    row.Fld[1] = f.description;
    row.Fld[2] = trimField(f.category);
    row.Fld[3] = trimField(f.zone);
    row.Fld[4] = trimField(f.ta20);
    row.Fld[5] = kind == BulkKind::Bulk ? QStringLiteral("S") : QStringLiteral("N");
    row.Fld[6] = trimField(f.packaging);
    row.Fld[7] = f.treatments;
    row.Fld[8] = view.importCountry ? trimField(f.country) : QString();
    row.Fld[9] = f.photoExtension.isEmpty() ? QStringLiteral(".bmp") : f.photoExtension;
    row.Ext[1] = view.attestationLabel ? f.attestation : QString();
    row.Ext[2] = view.certificationBody ? f.certificationBody : QString();
    row.ValA[0] = ParseDecimal(f.strength, 5);
    if (kind == BulkKind::Packaged) {
        row.ValA[1] = ParseDecimal(f.volume, 5);
        row.ValA[2] = ParseDecimal(f.weight, 5);
        row.Dim[0] = ParseInteger(f.units);
    }
}

std::int32_t SaveProduct(AppContext& ctx, std::optional<std::int32_t> replacing)
{
    return SaveOrderedRow(ctx, tablePath(ctx, QStringLiteral("PRAZ"), ".TAB"), replacing, orderByCode());
}

QString photoPath(const AppContext& ctx, std::int32_t number, const QString& extension)
{
    return ctx.datiGen(QString::number(number) + trimField(extension));
}

QString defaultPhotoPath(const AppContext& ctx)
{
    return ctx.datiGen(QStringLiteral("DEFAULT.bmp"));
}

PhotoVerdict CheckPhotoFile(const QString& path)
{
    const QFileInfo info(path);
    if (!info.isFile())
        return PhotoVerdict::Invalid;
    if (info.size() > MaxPhotoBytes)
        return PhotoVerdict::TooLarge;
    QImageReader reader(path);
    if (!reader.canRead())
        return PhotoVerdict::Invalid;
    return PhotoVerdict::Ok;
}

namespace {
bool samePath(const QString& a, const QString& b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) == QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}
} // namespace

void StoreProductPhoto(AppContext& ctx, const QString& source, std::int32_t number, const QString& extension,
                       const QString& oldPhoto)
{
    const QString target = photoPath(ctx, number, extension);
    if (source.isEmpty())
        throw IoError(MsgPhotoInvalid);
    if (!samePath(source, target)) {
        QFile in(source);
        if (!in.open(QIODevice::ReadOnly))
            throw IoError(in.errorString());
        const QByteArray bytes = in.readAll();
        in.close();
        QSaveFile out(target);
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit())
            throw IoError(out.errorString());
    }
    if (!oldPhoto.isEmpty() && !samePath(oldPhoto, target) && QFile::exists(oldPhoto))
        removeFile(oldPhoto);
}

void DeleteProduct(AppContext& ctx, std::int32_t number, const QString& photoExtension)
{
    DeleteRow(ctx, number, tablePath(ctx, QStringLiteral("PRAZ"), ".TAB"));
    const QString photo = photoPath(ctx, number, photoExtension);
    if (QFile::exists(photo))
        removeFile(photo);
}

} // namespace vt
