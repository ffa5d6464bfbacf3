#pragma once
// The list shared by the record choosers (e-ADs, register records): a report-style list in
// Courier New 9, one row per record keyed by its number, columns as wide as their longest text
// (counted in letters "W", plus two), and a window that follows the width of its columns, and of
// its caption, within the screen limits.
#include "messages/ead/EadChoice.h"

class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vt {

// The widgets of a chooser window, laid out: the year LANNO (four digits) under its label, the
// list LISTA, and at the foot the note LNESSUNO (bold, hidden until a list is empty) and
// "&Abbandona" (BABBANDONA).
struct ChooserWidgets {
    QLineEdit* LANNO = nullptr;
    QTreeWidget* LISTA = nullptr;
    QLabel* LNESSUNO = nullptr;
    QPushButton* BABBANDONA = nullptr;
};
ChooserWidgets buildChooser(QDialog* window, const QString& yearLabel, const QString& nothingListed);

// The list widget, objectName "LISTA": single row selection, sortable by its column titles (the
// window sorts its rows and fills the list again), not editable.
QTreeWidget* makeChooserList(QWidget* parent);

enum class ChooserSelect { First, Last };

// Fills the list with the titles and rows, sizes its columns and selects the first or the last
// row; then sizes the window: the columns plus 50 wide, two text lines per row high, at least
// 400 x 300, within the screen limits (0: none) and the screen, keeping it centred where it was.
void fillChooserList(QTreeWidget* list, const ChoiceList& choice, ChooserSelect select, QDialog* window,
                     int screenWidthLimit, int screenHeightLimit);

// The key of a row of the list (the record's number); -1 for none.
int chooserKey(const QTreeWidgetItem* item);

// The window at least as wide as its caption (within the screen), so that the operation it
// serves can be read whole.
void fitChooserTitle(QDialog* window, int screenWidthLimit);

} // namespace vt
