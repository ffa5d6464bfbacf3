#include "ui/Edits.h"

#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>

#include "foundation/Dates.h"
#include "foundation/Services.h"
#include "foundation/Text.h"

namespace vt {

QValidator::State TextValidator::validate(QString& input, int&) const
{
    if (!isCp1252(input)) {
        if (!reporting_) {
            reporting_ = true;
            const QString bad = nonCp1252Chars(input);
            QMetaObject::invokeMethod(const_cast<TextValidator*>(this), [this, bad] {
                reporting_ = false;
                emit const_cast<TextValidator*>(this)->refused(bad);
            }, Qt::QueuedConnection);
        }
        return Invalid;
    }
    if (case_ == TextCase::Upper)
        input = input.toUpper();
    else if (case_ == TextCase::Lower)
        input = input.toLower();
    return Acceptable;
}

QString unencodableMessage(const QString& label, const QString& characters)
{
    return QStringLiteral("IL CAMPO \"%1\" NON PUO' CONTENERE IL CARATTERE \"%2\"").arg(label, characters);
}

QString fieldLabel(const QWidget* field)
{
    if (!field)
        return {};
    for (const QLabel* l : field->window()->findChildren<QLabel*>()) {
        if (l->buddy() != field)
            continue;
        QString text = l->text();
        text.remove(QLatin1Char('&'));
        text = text.trimmed();
        if (text.endsWith(QLatin1Char(':')))
            text.chop(1);
        if (!text.isEmpty())
            return text.trimmed();
    }
    for (const QWidget* p = field->parentWidget(); p && p != field->window(); p = p->parentWidget())
        if (auto* box = qobject_cast<const QGroupBox*>(p); box && !box->title().trimmed().isEmpty())
            return box->title().trimmed();
    return field->objectName();
}

void setupText(QLineEdit* edit, int maxLength, TextCase textCase)
{
    if (maxLength > 0)
        edit->setMaxLength(maxLength);
    edit->setValidator(new TextValidator(textCase, edit));
}

QString regroupDecimal(const QString& text)
{
    QString sign, digits, rest;
    bool inFraction = false;
    for (QChar c : text) {
        if (inFraction) {
            rest += c;
        } else if (c == QLatin1Char('-') && sign.isEmpty() && digits.isEmpty()) {
            sign = c;
        } else if (c == QLatin1Char(',')) {
            inFraction = true;
            rest += c;
        } else if (c.isDigit()) {
            digits += c;
        }
    }
    QString grouped;
    for (int i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            grouped += QLatin1Char('.');
        grouped += digits[i];
    }
    return sign + grouped + rest;
}

namespace {

bool isEditingKey(const QKeyEvent* e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return true; // copy, paste, undo ... (the validator or regrouping keeps the text sound)
    switch (e->key()) {
    case Qt::Key_Backspace: case Qt::Key_Delete: case Qt::Key_Left: case Qt::Key_Right:
    case Qt::Key_Home: case Qt::Key_End: case Qt::Key_Tab: case Qt::Key_Backtab:
    case Qt::Key_Return: case Qt::Key_Enter: case Qt::Key_Escape: case Qt::Key_Up: case Qt::Key_Down:
        return true;
    default:
        return e->text().isEmpty();
    }
}

// Counts the characters that survive regrouping (everything but the points of the integer part).
int significantBefore(const QString& text, int pos)
{
    int n = 0;
    bool fraction = false;
    for (int i = 0; i < pos && i < text.size(); ++i) {
        if (text[i] == QLatin1Char(','))
            fraction = true;
        if (fraction || text[i] != QLatin1Char('.'))
            ++n;
    }
    return n;
}

int positionAfter(const QString& text, int significant)
{
    int n = 0;
    bool fraction = false;
    int i = 0;
    for (; i < text.size() && n < significant; ++i) {
        if (text[i] == QLatin1Char(','))
            fraction = true;
        if (fraction || text[i] != QLatin1Char('.'))
            ++n;
    }
    return i;
}

} // namespace

IntegerEdit::IntegerEdit(Messenger& messenger, QWidget* parent) : QLineEdit(parent), messenger_(messenger)
{
    setAlignment(Qt::AlignRight);
}

void IntegerEdit::keyPressEvent(QKeyEvent* e)
{
    if (isEditingKey(e))
        return QLineEdit::keyPressEvent(e);
    const QString t = e->text();
    const bool digit = t.size() == 1 && t[0].isDigit();
    const bool minus = t == QLatin1String("-") && allowMinus_ && cursorPosition() == 0
        && !text().contains(QLatin1Char('-'));
    if (digit || minus)
        return QLineEdit::keyPressEvent(e);
    messenger_.beep();
}

DecimalEdit::DecimalEdit(Messenger& messenger, QWidget* parent) : QLineEdit(parent), messenger_(messenger)
{
    setAlignment(Qt::AlignRight);
    connect(this, &QLineEdit::textEdited, this, [this] { regroup(); });
}

void DecimalEdit::setValueText(const QString& t)
{
    setText(regroupDecimal(t));
}

void DecimalEdit::regroup()
{
    const QString current = text();
    const QString grouped = regroupDecimal(current);
    if (grouped == current)
        return;
    const int keep = significantBefore(current, cursorPosition());
    setText(grouped);
    setCursorPosition(positionAfter(grouped, keep));
}

void DecimalEdit::keyPressEvent(QKeyEvent* e)
{
    if (isEditingKey(e)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    const QString t = e->text();
    const QString current = text();
    const QString selected = selectedText();
    const QString remaining = hasSelectedText() ? QString(current).remove(selectionStart(), selected.size()) : current;
    const int pos = hasSelectedText() ? selectionStart() : cursorPosition();
    if (t.size() == 1 && t[0].isDigit()) {
        const int comma = remaining.indexOf(QLatin1Char(','));
        if (decimals_ >= 0 && comma >= 0 && pos > comma && remaining.size() - comma - 1 >= decimals_) {
            messenger_.beep();
            return;
        }
        if (pos == 0 && remaining.startsWith(QLatin1Char('-'))) {
            messenger_.beep();
            return;
        }
        insert(t);
    } else if (t == QLatin1String(",") || t == QLatin1String(".")) {
        if (remaining.contains(QLatin1Char(',')) || decimals_ == 0 || (pos == 0 && remaining.startsWith(QLatin1Char('-')))) {
            messenger_.beep();
            return;
        }
        insert(QStringLiteral(","));
    } else if (t == QLatin1String("-") && allowMinus_ && pos == 0 && !remaining.contains(QLatin1Char('-'))) {
        insert(t);
    } else {
        messenger_.beep();
        return;
    }
    regroup();
}

DateEdit::DateEdit(QWidget* parent) : QLineEdit(parent)
{
    setInputMask(QStringLiteral("99/99/9999; "));
}

QDate DateEdit::date() const
{
    return dates::parseDdmmyyyy(text());
}

void DateEdit::setDate(const QDate& d)
{
    setText(d.isValid() ? d.toString(QStringLiteral("dd/MM/yyyy")) : QString());
}

bool DateEdit::isBlank() const
{
    QString t = text();
    t.remove(QLatin1Char('/'));
    return t.trimmed().isEmpty();
}

} // namespace vt
