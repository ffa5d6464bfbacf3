#pragma once
// Page 3 of the e-AD compilation, "Dettagli del Vino": the product lines of PRODOTTI.DAT, each
// built from a company product (PRAZ) with its quantities, packaging and seals.
#include <QList>

#include <optional>

#include "foundation/TableRecord.h"
#include "messages/ead/EadLines.h"
#include "messages/ead/TFCOMPIE815_PAGINA.h"

class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace vt {

class DecimalEdit;
class IntegerEdit;

class ProductsPage : public CompilePage {
    Q_OBJECT
public:
    ProductsPage(AppContext& ctx, FormChecks& checks, EadPanels& panels, QWidget* parent);

    // Lists PRODOTTI.DAT (renumbering it), empties the line fields, NDETPR := lines + 1.
    void list();
    int lineCount() const { return count_; }
    // A product line typed (or changed since it was called back) and not confirmed.
    bool lineInProgress() const;
    // "Conferma il dettaglio" from the window: true when the line was written.
    bool confirmInProgress() { return confirmLine(); }

    IntegerEdit *NDETPR, *NUMIMB;
    CodedField *COAZPR, *META20, *CODIMB;
    DecimalEdit *NUMCON, *VOLCON, *TOTLIT, *GRADOA, *PNETTO, *PLORDO;
    QLineEdit *LEDEPR, *SIGIMB, *INSIIM, *DESCOM;
    QPlainTextEdit* MCODAZ;
    QLabel* Image1;
    QListWidget* MDEPRO;
    QPushButton *BCONFPR, *BCANPR, *BFINPR;

private:
    ProductLineFields fields() const;
    void showFields(const ProductLineFields& f);
    void showPackaged(bool packaged);
    void showPicture(const QString& path);
    void leaveNumber();
    CheckResult leaveProduct();
    void leaveContainers();
    void leaveLitres();
    void leaveGross();
    bool leaveCode();
    void newProduct();
    bool confirmLine();
    QStringList lineTexts() const;
    void deleteLine();

    std::optional<TRecTabella> product_;
    int count_ = 0;
    int loaded_ = 0; // the line on show for modification (0: a new line)
    QStringList shown_; // the line fields as listed or called back
};

} // namespace vt
