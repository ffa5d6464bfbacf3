#pragma once
// Buttons shared by the address-book windows.
class QWidget;

namespace vt {

struct AppContext;

// "Mostra": the listing of the address file in use (AddressFile), nothing picked.
void showAddressListing(AppContext& ctx, QWidget* parent);
// "Banca Dati SEED": web address 0 of WEB.CFG; a file that cannot be read is reported.
void openSeedDatabase(AppContext& ctx);

} // namespace vt
