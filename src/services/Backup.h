#pragma once

// Backups, restore and the move to another server, one function per action;
// the command line and the screens call the same ones.
//
// A backup is an SQLite file, whatever the server: the embedded database is
// copied page by page (the library's online backup), a server's tables are
// read in one consistent snapshot and written into a new SQLite file, so that
// a backup of any server opens with any copy of the program. A copy is
// checked before it counts as made: the library's check of the file, the
// version, and the audit chain, whose last value must be the one the source
// had at the moment of the copy.

#include "db/Database.h"
#include "files/ReportGrid.h"
#include "services/TableCopy.h"

#include <QDateTime>
#include <QString>

#include <vector>

namespace velmora::backup {

// How thoroughly a copy is checked: the integrity check and a walk of the
// whole audit chain (a backup asked for, a file to restore), or SQLite's
// quick check and the chain's last value (the automatic backups, which must
// not stand in the officer's way).
enum class Check { Full, Quick };

// The folder backups go to: the setting backup/folder, else "backups" beside
// the SQLite database in use (for a server, beside the embedded database in
// the user's data folder).
QString backupFolder(const db::Database& db);
// The same for the SQLite database file at `databaseFile` (empty: a server).
QString backupFolderOf(const QString& databaseFile);
// A new backup's name in the folder: velmora-YYYYMMDD-HHMMSS.sqlite (local
// time), with "-2", "-3" … when that name is taken.
QString newBackupPath(const QString& folder, const QDateTime& when);
// How many automatic backups are kept: the setting backup/keep, 30 by default.
int backupsKept();

struct BackupReport
{
    bool ok = false;
    QString error; // Thai: what failed, why, and what to do
    bool damaged = false; // the check found damage in the database itself
    QString file;
    qint64 bytes = 0;
    std::vector<TableFigures> tables; // rows per table (checksums of a server's copy)
    qint64 seq = 0; // the audit chain's last row and value at the moment of the copy
    QString chain;
};

// A consistent copy of `db` in the new file `file` (empty: a new name in the
// backup folder), checked, and renamed to its name only then: a failed or
// killed backup leaves no file that looks like a backup. On SQLite, damage
// the check finds in the database itself makes `db` refuse every write
// (db::Database::refuseWrites) with damageMessage().
BackupReport backupDatabase(
    const db::Database& db, const QString& file, Check check, const StepProgress& progress = {});

// What a backup file holds, and whether it can be restored.
struct FileCheck
{
    bool ok = false;
    QString problem; // Thai, naming what is wrong
    qint64 employees = -1;
    qint64 saved = -1; // saved calculations
    qint64 seq = 0;
    QString chain;
};
FileCheck checkBackupFile(const QString& path, Check check, const StepProgress& progress = {});

// One file of the backup folder, as the restore screen lists it.
struct BackupEntry
{
    QString path;
    QDateTime made; // from the file's name
    qint64 bytes = 0;
    qint64 employees = -1; // -1: the file cannot be read
    qint64 saved = -1;
    QString chain;
};
// The backups of the folder, newest first, each read (not checked).
std::vector<BackupEntry> listBackups(const QString& folder);
// The list as the backup and restore screens show it: the date and time
// made (Buddhist era), size, employees, saved calculations, the chain's last
// value, the file's name.
reports::ReportGrid backupGrid(const std::vector<BackupEntry>& entries);

struct RestoreReport
{
    bool ok = false;
    QString error; // Thai; the database is then unchanged
    QString kept; // where the database that was replaced was kept
};
// Puts the checked backup `file` in the place of the SQLite database of
// `databaseUrl`: the file is checked (integrity, version, audit chain) and
// refused when damaged; the current database is kept first (a checked
// backup, or a copy of its bytes when it is damaged); the new file is
// written beside it, synced, and renamed over it, so that a kill at any
// moment leaves the old database or the new one whole. Refused while another
// connection has the database open. The caller has no connection to it open.
RestoreReport restoreDatabase(const QString& databaseUrl, const QString& file, const StepProgress& progress = {});

struct CopyReport
{
    bool ok = false;
    QString error;
    std::vector<TableFigures> source; // rows and checksum per table, both sides
    std::vector<TableFigures> target;
    qint64 seq = 0;
    QString chain;
};
// Every table of the program from `source` into the empty database of
// `targetUrl`, in one transaction on the target. A target table that holds
// rows already is refused before anything is written; missing tables are
// created with the target server's column types. Before the commit the row
// counts and checksums of both sides are compared and the target's audit
// chain is verified, ending on the source's last chain value; any difference
// rolls the whole copy back.
CopyReport copyDatabase(const db::Database& source, const QString& targetUrl, const StepProgress& progress = {});

// Before an import, a month-end save or a memo marking, on the embedded
// SQLite database: a backup (quick check) in the backup folder, the oldest
// automatic ones beyond backupsKept() removed. False with the Thai message
// (why, and what to do) when it cannot be made: the action then does not run.
// Nothing for a server, a database in memory or one that cannot be written.
bool backupBeforeAction(const db::Database& db, QString* error);

// At the first start of a day (the desktop program, a writing command): the
// day's backup, when the backup folder holds none of today. Its check is
// the day's check of the database (SQLite's quick check costs seconds at an
// office's size, so it runs once a day and at every backup, not at every
// start). Returns the Thai message to show: damage found (writes are then
// refused), or why the backup failed; empty when all is well.
QString backupAtStart(const db::Database& db);

// The message of a damaged database: what was found, that nothing will be
// written, the newest backup that reads as whole and the restore command.
QString damageMessage(const QString& databaseFile, const QString& found, const QString& newestGood);

} // namespace velmora::backup
