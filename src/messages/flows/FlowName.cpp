#include "messages/flows/FlowName.h"

#include <QDir>
#include <QFileInfo>

#include "foundation/Text.h"

namespace vt::flow {

QString errorName()
{
    return QStringLiteral("ERRORE");
}

QString userCodeProblem(const QString& userCode)
{
    const QString shown = userCode.isEmpty() ? QStringLiteral("(vuoto)") : userCode;
    const QString message =
        QStringLiteral("IL CODICE UTENTE \"%1\" NON PUO' FORMARE IL NOME DEL FLUSSO: "
                       "DEVE ESSERE DI 4 LETTERE O CIFRE (VERIFICARE I DATI AZIENDALI)")
            .arg(shown);
    if (userCode.size() != 4)
        return message;
    for (QChar c : userCode) {
        const ushort u = c.unicode();
        const bool plain = (u >= '0' && u <= '9') || (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z');
        if (!plain)
            return message;
    }
    return {};
}

QString flowName(const QString& userCode, const QDate& date, int number)
{
    if (number < 1 || number > MaxNumber || !date.isValid() || !userCodeProblem(userCode).isEmpty())
        return errorName();
    return userCode + date.toString(QStringLiteral("MMdd")) + QStringLiteral(".C")
           + QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

QString signedName(const QString& flowName)
{
    return flowName + QStringLiteral(".p7m");
}

QString outcomeName(const QString& signedFileName)
{
    QString name = signedFileName;
    if (name.size() >= 10)
        name[9] = QLatin1Char('J');
    return name;
}

int proposedNumber(const QString& signedFolder, const QString& userCode, const QDate& date)
{
    if (!userCodeProblem(userCode).isEmpty() || !date.isValid())
        return 1;
    const QString stem = userCode + date.toString(QStringLiteral("MMdd")) + QStringLiteral(".C");
    QDir dir(configuredFolder(signedFolder));
    int highest = 0;
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& name : names) {
        if (!name.startsWith(stem, Qt::CaseInsensitive))
            continue;
        int n = 0;
        for (int i = 10; i < 12 && i < name.size() && name[i].isDigit() && name[i].unicode() < 128; ++i)
            n = n * 10 + (name[i].unicode() - '0');
        highest = std::max(highest, n);
    }
    return highest + 1;
}

QString configuredFolder(const QString& configured)
{
    QString f = trimField(configured);
    f.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')) && !f.endsWith(QStringLiteral(":/")))
        f.chop(1);
    return f;
}

QString pathIn(const QString& folder, const QString& name)
{
    return QDir(configuredFolder(folder)).filePath(name);
}

} // namespace vt::flow
