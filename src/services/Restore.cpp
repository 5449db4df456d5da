// A backup put in the place of the embedded database.
#include "services/Backup.h"

#include "db/FileReplace.h"
#include "db/ReadSnapshot.h"
#include "db/PrivateFile.h"
#include "db/SqliteFile.h"
#include "services/CrashReport.h"
#include "services/Rights.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace velmora::backup {

namespace {

// How long the restore waits for other connections to let the file go.
constexpr int kHoldWaitMs = 2000;

QString unchanged()
{
    return QStringLiteral(" ฐานข้อมูลเดิมไม่ได้ถูกเปลี่ยนแปลง");
}

// The bytes of a database the library cannot read, with its journal, kept
// beside the backups before it is replaced.
bool keepBytes(const QString& database, const QString& folder, QString* kept, QString* error)
{
    if (!db::makePrivateFolder(folder)) {
        *error = QStringLiteral("สร้างโฟลเดอร์ %1 ไม่ได้").arg(QDir::toNativeSeparators(folder));
        return false;
    }
    QString path = newBackupPath(folder, QDateTime::currentDateTime());
    path.chop(7); // ".sqlite"
    path += QStringLiteral("-damaged.sqlite");
    for (const QString& side : {QString(), QStringLiteral("-wal")}) {
        if (!QFileInfo::exists(database + side))
            continue;
        QFile from(database + side);
        if (!from.copy(path + side) || !db::syncFile(path + side, error)) {
            if (error->isEmpty())
                *error = from.errorString();
            return false;
        }
    }
    *kept = path;
    return true;
}

// The database as it stands before it is replaced: a backup when it reads
// as whole, else its bytes.
bool keepCurrent(const QString& database, const StepProgress& progress, QString* kept, QString* error)
{
    QString why;
    auto current = db::Database::open(QStringLiteral("sqlite:") + database, &why);
    if (current) {
        const BackupReport r = backupDatabase(*current, QString(), Check::Quick, progress);
        if (r.ok) {
            *kept = r.file;
            return true;
        }
        if (!r.damaged) {
            *error = r.error;
            return false;
        }
    }
    current.reset();
    if (!keepBytes(database, backupFolderOf(database), kept, error)) {
        *error = QStringLiteral("เก็บสำเนาฐานข้อมูลเดิมไม่ได้: ") + *error;
        return false;
    }
    return true;
}

} // namespace

RestoreReport restoreDatabase(const QString& databaseUrl, const QString& file, const StepProgress& progress)
{
    const crash::ActionInProgress action(QStringLiteral("restore ") + file);
    RestoreReport r;
    const db::ConnectionSpec spec = db::parseDatabaseUrl(databaseUrl);
    if (!spec.error.isEmpty()) {
        r.error = spec.error;
        return r;
    }
    if (spec.backend != db::Backend::Sqlite || spec.databaseName == QLatin1String(":memory:")) {
        r.error = QStringLiteral("การกู้คืนแทนที่แฟ้มฐานข้อมูล SQLite ในเครื่องเท่านั้น สำหรับฐานข้อมูลบนเครื่องแม่ข่าย "
                                 "ให้ย้ายข้อมูลจากแฟ้มสำรองไปยังฐานข้อมูลว่าง: velmora-cli --db แฟ้มสำรอง copy --to URL");
        return r;
    }
    const QString database = QFileInfo(spec.databaseName).absoluteFilePath();
    const QString backup = QFileInfo(file).absoluteFilePath();
    // The right is the login's; its refusal is written in the database that stays,
    // where that database can still be opened.
    if (!rights::mayDo(rights::Action::Restore)) {
        r.error = rights::refusalMessage(rights::Action::Restore);
        QString why;
        if (QFileInfo::exists(database))
            if (const auto current = db::Database::open(databaseUrl, &why))
                rights::allowed(*current, rights::Action::Restore, &why);
        return r;
    }
    if (database == backup) {
        r.error = QStringLiteral("แฟ้มที่เลือกคือฐานข้อมูลที่ใช้อยู่เอง ไม่ใช่สำเนาสำรอง");
        return r;
    }
    const FileCheck checked = checkBackupFile(backup, Check::Full, progress);
    if (!checked.ok) {
        r.error = QStringLiteral("ไม่กู้คืนข้อมูล: ") + checked.problem + unchanged();
        return r;
    }

    // The new database, whole and on the disk, beside the one it replaces.
    const QString fresh = database + QStringLiteral(".restoring");
    QFile::remove(fresh);
    QString why;
    {
        auto from = db::Database::openSqliteForReading(backup, &why);
        const bool copied = from && [&] {
            const db::ReadSnapshot snapshot(*from);
            return snapshot.active()
                && db::copySqliteDatabase(
                    *from, fresh,
                    [&](qint64 done, qint64 total) {
                        if (progress)
                            progress(QStringLiteral("เตรียมฐานข้อมูลจากสำเนา"), done, total);
                    },
                    &why);
        }();
        if (!copied) {
            QFile::remove(fresh);
            r.error = QStringLiteral("ไม่กู้คืนข้อมูล: เขียนแฟ้ม %1 ไม่ได้ (%2)").arg(QDir::toNativeSeparators(fresh), why)
                + unchanged();
            return r;
        }
    }

    const bool exists = QFileInfo::exists(database);
    if (exists && !keepCurrent(database, progress, &r.kept, &why)) {
        QFile::remove(fresh);
        r.error = QStringLiteral("ไม่กู้คืนข้อมูล: ") + why + unchanged();
        return r;
    }

    // Alone with the file: its journal folded in, nobody else in.
    db::SqliteFileHold hold;
    if (exists) {
        if (progress)
            progress(QStringLiteral("แทนที่ฐานข้อมูล"), 0, 0);
        switch (hold.take(database, kHoldWaitMs, &why)) {
        case db::SqliteFileHold::Outcome::Held:
            break;
        case db::SqliteFileHold::Outcome::InUse:
            QFile::remove(fresh);
            r.error = QStringLiteral("ไม่กู้คืนข้อมูล: ฐานข้อมูล %1 ยังเปิดใช้อยู่ในโปรแกรมอื่น (%2) "
                                     "กรุณาปิดโปรแกรม Velmora ทุกหน้าต่างบนทุกเครื่องที่ใช้แฟ้มนี้ แล้วกู้คืนใหม่")
                          .arg(QDir::toNativeSeparators(database), why)
                + unchanged();
            return r;
        case db::SqliteFileHold::Outcome::Unreadable:
            // Damaged past the library's use: its journal, kept with its
            // bytes, must not be applied to the new file.
            QFile::remove(database + QStringLiteral("-wal"));
            QFile::remove(database + QStringLiteral("-shm"));
            break;
        }
    }
    if (!db::replaceFile(fresh, database, &why)) {
        QFile::remove(fresh);
        r.error = QStringLiteral("ไม่กู้คืนข้อมูล: ") + why + unchanged();
        return r;
    }
    hold.release();
    r.ok = true;
    return r;
}

} // namespace velmora::backup
