#pragma once

// A fatal error leaves a trace: a handler of fatal signals and uncaught
// exceptions writes crash-YYYYMMDD-HHMMSS.txt in the user's data folder with
// the time, the program and its version, the action in progress and a stack
// trace; the desktop program shows the reports it has not shown yet at its
// next start.

#include <QString>
#include <QStringList>

namespace velmora::crash {

// The action this process is doing, as a crash report names it
// ("import-employees /home/finance/staff.xlsx"); each service sets it for
// the time of its action. Scopes nest: the outer action comes back.
class ActionInProgress
{
public:
    explicit ActionInProgress(const QString& action);
    ~ActionInProgress();
    ActionInProgress(const ActionInProgress&) = delete;
    ActionInProgress& operator=(const ActionInProgress&) = delete;

private:
    QString m_outer;
};
QString currentAction();

// The folder crash reports go to: the user's data folder of the program,
// beside the embedded database.
QString crashFolder();

// Installs the handler for this process (once, at the start of main).
void installCrashHandler(const QString& program);

// The reports of `folder` written after the one named `lastShown` (a file
// name; empty: every report), oldest first, as full paths.
QStringList reportsAfter(const QString& folder, const QString& lastShown);

} // namespace velmora::crash
