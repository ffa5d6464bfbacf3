#include "ui/ListingPdf.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSaveFile>

#include "foundation/AppContext.h"
#include "prints/ListingPrint.h"
#include "ui/QtPageSurface.h"

namespace vt {

bool writeListingPdf(const Listing& listing, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        QPdfWriter pdf(&file);
        pdf.setTitle(listing.title);
        pdf.setCreator(QStringLiteral("Telematizzazione dei movimenti di vino intracomunitari"));
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setResolution(600);
        pdf.setPageOrientation(ListingOrientation(listing) == PageOrientation::Landscape ? QPageLayout::Landscape
                                                                                         : QPageLayout::Portrait);
        QtPageSurface surface(pdf);
        PrintListing(surface, listing);
    }
    return file.commit();
}

bool saveListingPdf(AppContext& ctx, const Listing& listing, const QString& fileName)
{
    const QString proposed = QDir(ctx.StartFolder).filePath(fileName);
    const QString path =
        ctx.fileDialogs().saveFile(QStringLiteral("Salva PDF"), proposed, QStringLiteral("Documenti PDF (*.pdf)"));
    if (path.isEmpty())
        return false;
    if (!writeListingPdf(listing, path)) {
        ctx.messenger().info(MsgPdfNotSaved + QDir::toNativeSeparators(path));
        return false;
    }
    ctx.messenger().info(MsgPdfSaved + QDir::toNativeSeparators(path));
    return true;
}

} // namespace vt
