#include "support/Fakes.h"

namespace vt::test {

void FakeMessenger::info(const QString& text)
{
    infos << text;
    all << text;
    if (onInfo)
        onInfo(text);
}

bool FakeMessenger::askYesNo(const QString& text)
{
    questions << text;
    all << text;
    if (answers.empty())
        return defaultAnswer;
    bool a = answers.front();
    answers.pop_front();
    return a;
}

bool FakeMessenger::askOkCancel(const QString& text)
{
    return askYesNo(text);
}

TestContext::TestContext()
    : ctx(Services{messenger, clock, shell, dialogs})
{
    ctx.setFolders(path(QStringLiteral("start")), path(QStringLiteral("temp")));
}

} // namespace vt::test
