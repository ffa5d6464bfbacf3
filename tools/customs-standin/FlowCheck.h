#pragma once
// The stand-in's check of a received flow and the outcome it answers, in the layouts the program
// reads: "I" lines for messages, the "ALCOAV" file record and signal lines for register flows.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

namespace standin {

struct FlowCheck {
    QString code;         // record prefix of the flow: "IE815", "IE810", "IE813", "IE818", "ALCOAV"; empty if unknown
    int records = 0;      // lines after the header
    QStringList problems; // empty for a valid flow
    bool valid() const { return problems.isEmpty() && !code.isEmpty(); }
};

// Header line of 75 characters whose last five digits count the lines of the file, CR LF line
// ends, every record line with the same known prefix and ending with a TAB; for a register flow
// the first record is the "ALCOAV" file record.
FlowCheck checkFlow(const QByteArray& flow);

// The outcome attachment for a checked flow. arc gives a fresh 21-character ARC for an IE815.
QByteArray outcomeFor(const FlowCheck& check, const std::function<QString()>& arc);

// A 21-character ARC: two digits of the year, "IT", sixteen letters and digits, a check digit.
QString makeArc(int year);

} // namespace standin
