#pragma once
// Input filters and edits shared by every window.
//
//   setupText(edit, 13, TextCase::Upper)   maximum length, case forcing, Windows-1252 only
//   IntegerEdit                            digits only (a minus sign first when allowed)
//   DecimalEdit                            Italian decimal: digits, one comma, "." typed becomes
//                                          ",", minus only first; the integer part is regrouped
//                                          with "." after every key ("1.234.567,89")
//   DateEdit                               mask DD/MM/YYYY; date() is invalid for a wrong date
//
// Keys that an edit refuses beep through the Messenger (ctx.messenger().beep()).
#include <QDate>
#include <QLineEdit>
#include <QValidator>

namespace vt {

class Messenger;

enum class TextCase { AsTyped, Upper, Lower };

// Forces the case of what is typed or pasted and refuses characters that Windows-1252 cannot
// hold (they could not be stored). A refusal is reported once, after the event that caused it,
// through refused() (FormChecks turns it into the message naming the field).
class TextValidator : public QValidator {
    Q_OBJECT
public:
    explicit TextValidator(TextCase c, QObject* parent = nullptr) : QValidator(parent), case_(c) {}
    State validate(QString& input, int& pos) const override;

signals:
    void refused(const QString& characters);

private:
    TextCase case_;
    mutable bool reporting_ = false;
};

// "IL CAMPO "Città" NON PUO' CONTENERE IL CARATTERE "..."": the field by its label.
QString unencodableMessage(const QString& fieldLabel, const QString& characters);
// The caption a user sees for a field: its buddy label (without "&" and a final ":"), else the
// title of the group it lies in, else its objectName.
QString fieldLabel(const QWidget* field);

// Maximum length and case forcing on a plain line edit.
void setupText(QLineEdit* edit, int maxLength, TextCase textCase = TextCase::AsTyped);

// "1234567,8" -> "1.234.567,8"; "-1234" -> "-1.234". Points already present are dropped and put
// back every three digits of the integer part; the decimal part is left as typed.
QString regroupDecimal(const QString& text);

class IntegerEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit IntegerEdit(Messenger& messenger, QWidget* parent = nullptr);
    void setAllowMinus(bool allow) { allowMinus_ = allow; }

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    Messenger& messenger_;
    bool allowMinus_ = false;
};

class DecimalEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DecimalEdit(Messenger& messenger, QWidget* parent = nullptr);
    // Decimals allowed after the comma (-1: any number).
    void setDecimals(int decimals) { decimals_ = decimals; }
    void setAllowMinus(bool allow) { allowMinus_ = allow; }
    // Sets the text and regroups it.
    void setValueText(const QString& text);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void regroup();
    Messenger& messenger_;
    int decimals_ = -1;
    bool allowMinus_ = true;
};

class DateEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit DateEdit(QWidget* parent = nullptr);
    QDate date() const;              // invalid unless the text is a real date
    void setDate(const QDate& date); // an invalid date empties the mask
    bool isBlank() const;            // nothing typed
};

} // namespace vt
