#pragma once
// The transport lines of an e-AD in hand (work file TRASPORTO.DAT), shared by the compilation and
// the change of destination: the list of lines, the line number NDETRA, the line fields (UNITRA
// with its T009 companion, IDUNTR, SIGTRA, INSITR, INAGTR) and the buttons "Conferma il
// dettaglio", "Cance&lla dettaglio" and "Dettagli Finiti".
//
//   auto* lines = new TransportLinesEditor(ctx, checks, this);
//   connect(lines, &TransportLinesEditor::finished, ...);   // "Dettagli Finiti"
//   lines->list();                                          // on entering the page
//
// Typing a line number loads that line for modification; confirming replaces it, or appends the
// line when there is none with that number; the list renumbers the lines 1, 2, ... each time.
// An empty transport unit on a new line, with lines already entered, moves on to "Dettagli
// Finiti", so the keyboard never has to go back through the line fields.
#include <QStringList>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vt {

struct AppContext;
struct TRecDettaglio;
class CodedField;
class FormChecks;
class IntegerEdit;

class TransportLinesEditor : public QWidget {
    Q_OBJECT
public:
    TransportLinesEditor(AppContext& ctx, FormChecks& checks, QWidget* parent = nullptr);

    // Lists the work file (renumbering it), empties the line fields, NDETRA := lines + 1.
    void list();
    int lineCount() const { return count_; }
    // A line typed (or changed since it was called back) and not confirmed: leaving the lines now
    // would lose it.
    bool lineInProgress() const;
    // "Conferma il dettaglio" from the caller: true when the line was written.
    bool confirmInProgress() { return confirmLine(); }

    IntegerEdit* NDETRA = nullptr;
    CodedField* UNITRA = nullptr;
    QLineEdit *IDUNTR = nullptr, *SIGTRA = nullptr, *INSITR = nullptr, *INAGTR = nullptr;
    QListWidget* MDETRA = nullptr;
    QLabel* LMDETRA = nullptr;
    QPushButton *BCONFTRA = nullptr, *BCANTRA = nullptr, *BFINTRA = nullptr;

    // The text of line n in the list; the e-AD's own form unless a window sets another.
    std::function<QString(const TRecDettaglio& line, int n)> entryText;

    QWidget* firstField() const;
    QWidget* lastButton() const;

signals:
    void finished();

private:
    void leaveNumber();
    bool confirmLine();
    QStringList lineTexts() const;
    void deleteLine();
    void clearFields();
    bool leaveUnit();

    AppContext& ctx_;
    FormChecks& checks_;
    int count_ = 0;
    int loaded_ = 0; // the line on show for modification (0: a new line)
    QStringList shown_; // the line fields as listed or called back
};

} // namespace vt
