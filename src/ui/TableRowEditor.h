#pragma once
// The shape shared by the editors of table rows (code tables, wine codes, excise rates,
// protocols, products): a key field; leaving it with a key already in the table shows that row for
// modification ("MODIFICA o CANCELLA" and "Cance&lla" shown, the list button hidden); CONFERMA
// runs the window's checks, builds the row in ctx.EditRow and saves it, replacing the row being
// modified; "Cance&lla" asks first (No by default) and deletes that row; "&Svuota" starts over;
// the list button lists the table and puts the chosen key into the key field.
//
//   class TFXXX : public TableRowEditor {
//       TFXXX(AppContext& ctx) : TableRowEditor(ctx, "TABLE", "TFXXX", "&Elenca") {
//           ... modifyLabel(), the fields, buttonRow() ...
//           checks_->onLeave(keyField(), [this] { return leaveKey(); });
//           finishSetup();
//       }
//       ... the hooks below ...
//   };
#include <QDialog>

#include <optional>

#include "foundation/AppContext.h"
#include "foundation/Check.h"

class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vt {

class FormChecks;

class TableRowEditor : public QDialog {
    Q_OBJECT
public:
    // False when the table cannot be edited (its structure is missing: the message has been shown).
    bool ready() const { return ready_; }
    int exec() override;

protected:
    TableRowEditor(AppContext& ctx, const QString& table, const QString& objectName, const QString& listCaption,
                   QWidget* parent);

    // ---- building, in the window's constructor
    // "MODIFICA o CANCELLA", shown while an existing row is being edited.
    QLabel* modifyLabel();
    // CONFERMA, Svuota, (the list button,) Cancella, a stretch, Abbandona.
    QHBoxLayout* buttonRow(bool withListButton);
    // Once the fields exist: Enter and the checks, the buttons, the tab order (the list button
    // comes after CONFERMA, so that Enter goes from the key to the next field), then reset().
    void finishSetup();

    // ---- what each window supplies
    virtual QLineEdit* keyField() const = 0;
    virtual QString key() const;
    // The key itself: present and well-formed (on leaving it and first on confirming).
    virtual CheckResult checkKey();
    virtual std::optional<TRecTabella> findRow(const QString& key) = 0;
    virtual void clearFields() = 0;
    virtual void showRow(const TRecTabella& row) = 0;
    // Where the user goes when a key typed and confirmed straight away turned out to exist.
    virtual QString firstFieldAfterKey() const = 0;
    // The window's checks in order, then ctx.EditRow filled; false when one failed (shown).
    virtual bool buildRow() = 0;
    // A changed key of a modified row must not be another row's ("CODICE GIA` UTILIZZATO").
    virtual CheckResult checkKeyFree() = 0;
    // Saves ctx.EditRow (replacing the row numbered replacing); IoError passes through.
    virtual std::int32_t saveRow(std::optional<std::int32_t> replacing) = 0;
    virtual void deleteRow(std::int32_t number) = 0;
    // After a save: the next row (default).
    virtual void saved(std::int32_t number);
    virtual void focusKey();

    // ---- the shared behaviour
    void reset();
    void enterModify(const TRecTabella& row);
    // The key's leave behaviour: an existing key shows its row and stops a confirmation that
    // reached it, so that the row is seen before it is saved again.
    CheckResult leaveKey();
    void confirm();
    void remove();
    void list();

    AppContext& ctx_;
    const QString table_;
    FormChecks* checks_ = nullptr;
    bool ready_ = false;
    bool modify_ = false;
    QString oldCode_;
    std::int32_t oldNumber_ = 0;
    QLabel* LMODCANC = nullptr;
    QPushButton *BCONF = nullptr, *BSVUOTA = nullptr, *BELENCA = nullptr, *BCANCELLA = nullptr,
                *BABBANDONA = nullptr;
};

} // namespace vt
