#include "ui/AddressActions.h"

#include "ui/WindowRegistry.h"
#include "foundation/AppContext.h"
#include "foundation/IoError.h"
#include "masterdata/AddressBook.h"

namespace vt {

void showAddressListing(AppContext& ctx, QWidget* parent)
{
    ctx.TableName = ctx.AddressFile;
    ctx.PickedCode = -1;
    openWindow(QStringLiteral("TFLISTVIEW"), ctx, parent);
}

void openSeedDatabase(AppContext& ctx)
{
    try {
        const QString address = SeedWebAddress(ctx);
        if (!address.isEmpty())
            ctx.shell().openUrl(address);
    } catch (const IoError& e) {
        ctx.messenger().info(e.text());
    }
}

} // namespace vt
