// Backups: made, checked, listed, kept to their number; the day's backup at
// start and the one before an action.
#include "services/Backup.h"

#include "db/AuditLog.h"
#include "db/Config.h"
#include "db/FileReplace.h"
#include "db/PrivateFile.h"
#include "db/ReadSnapshot.h"
#include "db/Schema.h"
#include "db/SqliteFile.h"
#include "services/CrashReport.h"
#include "services/Rights.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QSqlQuery>
#include <QStorageInfo>

#include <algorithm>
#include <thread>

namespace velmora::backup {

namespace {

const QString kMade = QStringLiteral("yyyyMMdd-HHmmss");

// velmora-YYYYMMDD-HHMMSS.sqlite, or with -N when that second was taken.
const QRegularExpression& backupName()
{
    static const QRegularExpression re(QStringLiteral("^velmora-(\\d{8}-\\d{6})(?:-(\\d+))?\\.sqlite$"));
    return re;
}

struct Named
{
    QString path;
    QDateTime made;
    int number = 1;
};

// The backups of a folder by their names, newest first.
std::vector<Named> namedBackups(const QString& folder)
{
    std::vector<Named> out;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("velmora-*.sqlite")}, QDir::Files)) {
        const QRegularExpressionMatch m = backupName().match(name);
        if (!m.hasMatch())
            continue;
        const QDateTime made = QDateTime::fromString(m.captured(1), kMade);
        if (!made.isValid())
            continue;
        out.push_back({dir.filePath(name), made, m.captured(2).isEmpty() ? 1 : m.captured(2).toInt()});
    }
    std::sort(out.begin(), out.end(), [](const Named& a, const Named& b) {
        return a.made != b.made ? a.made > b.made : a.number > b.number;
    });
    return out;
}

// The oldest backups beyond the number kept go.
void removeOldBackups(const QString& folder)
{
    const std::vector<Named> all = namedBackups(folder);
    for (size_t i = static_cast<size_t>(backupsKept()); i < all.size(); ++i)
        QFile::remove(all[i].path);
}

QString failedMessage(const QString& folder, const QString& why)
{
    const QString lower = why.toLower();
    if (lower.contains(QLatin1String("disk is full")) || lower.contains(QLatin1String("no space")))
        return QStringLiteral("สำรองข้อมูลไม่สำเร็จ: พื้นที่ในดิสก์ของโฟลเดอร์ %1 เต็ม "
                              "กรุณาลบแฟ้มที่ไม่ใช้หรือย้ายสำเนาเก่าไปเก็บที่อื่นให้มีที่ว่าง "
                              "หรือกำหนดโฟลเดอร์อื่นในค่าตั้ง backup/folder แล้วทำรายการใหม่ (%2)")
            .arg(QDir::toNativeSeparators(folder), why);
    return QStringLiteral("สำรองข้อมูลไม่สำเร็จ: %1").arg(why);
}

QString unwritableMessage(const QString& folder, const QString& why)
{
    return QStringLiteral("สำรองข้อมูลไม่สำเร็จ: เขียนแฟ้มในโฟลเดอร์ %1 ไม่ได้ (%2) "
                          "กรุณาตรวจว่าโฟลเดอร์และไดรฟ์ยังอยู่และมีสิทธิ์เขียน "
                          "หรือกำหนดโฟลเดอร์อื่นในค่าตั้ง backup/folder แล้วทำรายการใหม่")
        .arg(QDir::toNativeSeparators(folder), why);
}

// The size an SQLite copy of `db` takes: its pages in use.
qint64 sqliteBytes(const db::Database& db)
{
    QSqlQuery q = db.query();
    if (!q.exec(QStringLiteral("SELECT page_count * page_size FROM pragma_page_count(), pragma_page_size()"))
        || !q.next())
        return 0;
    return q.value(0).toLongLong();
}

// A server's tables into a new SQLite file, read in the caller's snapshot.
bool copyServer(const db::Database& source, const QString& file, std::vector<TableFigures>* figures,
    const StepProgress& progress, QString* error)
{
    auto target = db::Database::open(QStringLiteral("sqlite:") + file, error);
    if (!target)
        return false;
    {
        // A new file, removed on failure: no journal while it fills.
        QSqlQuery q = target->query();
        q.exec(QStringLiteral("PRAGMA journal_mode=OFF"));
        q.exec(QStringLiteral("PRAGMA synchronous=OFF"));
    }
    db::Transaction tx(*target);
    if (!tx.active()) {
        *error = tx.error();
        return false;
    }
    const std::vector<db::TableDescription> tables = db::programTables();
    for (const db::TableDescription& table : tables) {
        if (!db::createProgramTable(*target, table.name, false, error))
            return false;
    }
    if (!copyTables(source, *target, figures, progress, error))
        return false;
    for (const db::TableDescription& table : tables) {
        if (!db::createProgramIndexes(*target, table.name, error))
            return false;
    }
    if (!tx.commit(error))
        return false;
    QSqlQuery q = target->query();
    if (!q.exec(QStringLiteral("PRAGMA journal_mode=DELETE"))) {
        *error = db::driverError(q.lastError());
        return false;
    }
    target.reset();
    return db::syncFile(file, error);
}

// Rows per table of a page-by-page copy.
bool countTables(const db::Database& db, std::vector<TableFigures>* figures, QString* error)
{
    figures->clear();
    for (const db::TableDescription& table : db::programTables()) {
        TableFigures f {table.name, 0, QString()};
        if (!countRows(db, table.name, &f.rows, error))
            return false;
        figures->push_back(f);
    }
    return true;
}

// Employees and saved calculations of a database.
bool readCounts(const db::Database& db, qint64* employees, qint64* saved, QString* error)
{
    return countRows(db, QStringLiteral("EP_Emp_Main"), employees, error)
        && countRows(db, QStringLiteral("EP_mRec_Money_Chodchoy"), saved, error);
}

// The SQLite database file of `db`, empty for a server or a database in memory.
QString sqliteFileOf(const db::Database& db)
{
    if (db.backend() != db::Backend::Sqlite)
        return {};
    const QString path = db::parseDatabaseUrl(db.url()).databaseName;
    if (path.isEmpty() || path == QLatin1String(":memory:"))
        return {};
    return QFileInfo(path).absoluteFilePath();
}

FileCheck checkFile(const QString& path, Check check, bool pages, const StepProgress& progress);

// The newest backup of the folder that reads as whole, or "".
QString newestGoodBackup(const QString& folder)
{
    for (const Named& n : namedBackups(folder)) {
        if (checkBackupFile(n.path, Check::Quick).ok)
            return n.path;
    }
    return {};
}

// The check of the copy found damage: is it the database's own? The source
// gets the quick check itself.
QString damageOfSource(const db::Database& db)
{
    QString error;
    const std::optional<QStringList> found = db::checkSqliteDatabase(db, true, &error);
    if (!found)
        return error;
    if (found->size() == 1 && found->first() == QLatin1String("ok"))
        return {};
    return found->mid(0, 3).join(QStringLiteral("; "));
}

} // namespace

QString backupFolder(const db::Database& db)
{
    return backupFolderOf(sqliteFileOf(db));
}

QString backupFolderOf(const QString& databaseFile)
{
    const QString chosen = db::openSettings()->value(QStringLiteral("backup/folder")).toString().trimmed();
    if (!chosen.isEmpty())
        return QDir(chosen).absolutePath();
    QString file = databaseFile;
    if (file.isEmpty())
        file = db::parseDatabaseUrl(db::defaultSqliteUrl()).databaseName;
    return QFileInfo(file).absoluteDir().filePath(QStringLiteral("backups"));
}

QString newBackupPath(const QString& folder, const QDateTime& when)
{
    const QDir dir(folder);
    const QString stem = QStringLiteral("velmora-") + when.toString(kMade);
    QString path = dir.filePath(stem + QStringLiteral(".sqlite"));
    for (int n = 2; QFileInfo::exists(path) || QFileInfo::exists(path + QStringLiteral(".partial")); ++n)
        path = dir.filePath(QStringLiteral("%1-%2.sqlite").arg(stem).arg(n));
    return path;
}

int backupsKept()
{
    bool ok = false;
    const int kept = db::openSettings()->value(QStringLiteral("backup/keep"), 30).toInt(&ok);
    return ok && kept >= 1 ? kept : 30;
}

QString damageMessage(const QString& databaseFile, const QString& found, const QString& newestGood)
{
    QString text = QStringLiteral("ฐานข้อมูล %1 เสียหาย (%2) โปรแกรมจะไม่บันทึกข้อมูลใดลงฐานข้อมูลนี้")
                       .arg(QDir::toNativeSeparators(databaseFile), found);
    if (newestGood.isEmpty())
        return text + QStringLiteral(" และไม่พบสำเนาสำรองที่ดีในโฟลเดอร์สำรองข้อมูล กรุณาติดต่อผู้ดูแลระบบ");
    return text
        + QStringLiteral(" สำเนาสำรองล่าสุดที่ดีคือ %1 กู้คืนด้วยคำสั่ง velmora-cli restore \"%1\" "
                         "หรือเมนู ระบบ(System) → กู้คืนข้อมูล")
              .arg(QDir::toNativeSeparators(newestGood));
}

namespace {

// The copy itself, for the automatic backups too (they come with the action they
// guard, whoever may do it).
BackupReport takeBackup(const db::Database& db, const QString& file, Check check, const StepProgress& progress)
{
    const crash::ActionInProgress action(QStringLiteral("backup ") + file);
    BackupReport r;
    const QString folder = file.isEmpty() ? backupFolder(db) : QFileInfo(file).absolutePath();
    if (!db::makePrivateFolder(folder)) {
        r.error = unwritableMessage(folder, QStringLiteral("สร้างโฟลเดอร์ไม่ได้"));
        return r;
    }
    // Written under another name, renamed once checked. A new name is taken
    // by creating its .partial file: two actions backing up in the same
    // second (two officers saving at once) each get a name of their own.
    QString partial;
    if (file.isEmpty()) {
        for (int attempt = 0; attempt < 100 && partial.isEmpty(); ++attempt) {
            r.file = newBackupPath(folder, QDateTime::currentDateTime());
            const QString reserve = r.file + QStringLiteral(".partial");
            QString why;
            if (db::createPrivateFile(reserve, true, &why))
                partial = reserve;
            else if (!QFileInfo::exists(reserve)) {
                r.error = unwritableMessage(folder, why);
                return r;
            }
        }
        if (partial.isEmpty()) {
            r.error = unwritableMessage(folder, QStringLiteral("ตั้งชื่อแฟ้มสำรองใหม่ไม่ได้"));
            return r;
        }
    } else {
        r.file = QFileInfo(file).absoluteFilePath();
        if (QFileInfo::exists(r.file)) {
            r.error = QStringLiteral("สำรองข้อมูลไม่สำเร็จ: มีแฟ้ม %1 อยู่แล้ว กรุณาตั้งชื่อแฟ้มใหม่")
                          .arg(QDir::toNativeSeparators(r.file));
            return r;
        }
        partial = r.file + QStringLiteral(".partial");
        QFile::remove(partial); // left by an earlier failure
        QString why;
        if (!db::createPrivateFile(partial, true, &why)) {
            r.error = unwritableMessage(folder, why);
            return r;
        }
    }
    const bool sqlite = db.backend() == db::Backend::Sqlite;
    const QStorageInfo storage(folder);
    const qint64 needed = sqlite ? sqliteBytes(db) : 0;
    if (storage.isValid() && storage.bytesAvailable() >= 0 && needed > storage.bytesAvailable()) {
        r.error = failedMessage(folder,
            QStringLiteral("disk is full: ต้องใช้ %1 KB มีที่ว่าง %2 KB")
                .arg(needed / 1024)
                .arg(storage.bytesAvailable() / 1024));
        QFile::remove(partial);
        return r;
    }

    std::vector<TableFigures> copied;
    QString why;
    bool done = false;
    // The quick check of an SQLite database runs on the second core beside
    // the copy, on a connection of its own: the copy's pages are the
    // database's, so the check of the database is the check of its pages
    // (and the day's check for damage). A full check reads the copy itself.
    const QString sourceFile = sqliteFileOf(db);
    const bool checkBeside = check == Check::Quick && !sourceFile.isEmpty();
    QString besideError;
    std::optional<QStringList> besideFound;
    std::jthread beside; // joined on every way out
    if (checkBeside)
        beside = std::jthread([&] { besideFound = db::quickCheckSqliteFile(sourceFile, &besideError); });
    {
        const db::ReadSnapshot snapshot(db);
        if (!snapshot.active()) {
            QFile::remove(partial);
            r.error = failedMessage(folder, snapshot.error());
            return r;
        }
        // The chain's last value at the moment of the copy: read in the snapshot.
        if (!audit::chainHead(db, &r.seq, &r.chain, &why)) {
            QFile::remove(partial);
            r.error = failedMessage(folder, why);
            return r;
        }
        if (sqlite)
            done = db::copySqliteDatabase(
                db, partial,
                [&](qint64 pages, qint64 total) {
                    if (progress)
                        progress(QStringLiteral("คัดลอกฐานข้อมูล"), pages, total);
                },
                &why);
        else
            done = copyServer(db, partial, &copied, progress, &why);
    }
    if (beside.joinable())
        beside.join();
    if (checkBeside && !(besideFound && besideFound->size() == 1 && besideFound->first() == QLatin1String("ok"))) {
        QFile::remove(partial);
        const QString damage = besideFound ? besideFound->mid(0, 3).join(QStringLiteral("; ")) : besideError;
        r.damaged = true;
        db.refuseWrites(damageMessage(sourceFile, damage, newestGoodBackup(folder)));
        r.error = db.writeRefusal();
        return r;
    }
    if (!done) {
        QFile::remove(partial);
        r.error = failedMessage(folder, why);
        return r;
    }

    FileCheck fc = checkFile(partial, check, !checkBeside, progress);
    QString problem = fc.problem;
    if (fc.ok && (fc.seq != r.seq || fc.chain != r.chain))
        problem = QStringLiteral("ค่าห่วงโซ่ล่าสุดของสำเนา (ลำดับที่ %1) ไม่ตรงกับของฐานข้อมูลขณะคัดลอก (ลำดับที่ %2)")
                      .arg(fc.seq)
                      .arg(r.seq);
    if (problem.isEmpty()) {
        auto copy = db::Database::openSqliteForReading(partial, &why);
        std::vector<TableFigures> inCopy;
        if (!copy || (sqlite ? !countTables(*copy, &inCopy, &why) : !tableFigures(*copy, &inCopy, progress, &why)))
            problem = why;
        else if (!sqlite && !compareFigures(copied, inCopy).isEmpty())
            problem = compareFigures(copied, inCopy).join(QStringLiteral("; "));
        r.tables = sqlite ? inCopy : copied;
    }
    if (!problem.isEmpty()) {
        QFile::remove(partial);
        const QString damage = sourceFile.isEmpty() || checkBeside ? QString() : damageOfSource(db);
        if (!damage.isEmpty()) {
            r.damaged = true;
            db.refuseWrites(damageMessage(sourceFile, damage, newestGoodBackup(folder)));
            r.error = db.writeRefusal();
        } else {
            r.error = QStringLiteral("สำรองข้อมูลไม่สำเร็จ: สำเนาที่ได้ไม่ผ่านการตรวจ (%1) "
                                     "กรุณาตรวจไดรฟ์ของโฟลเดอร์ %2 แล้วทำรายการใหม่")
                          .arg(problem, QDir::toNativeSeparators(folder));
        }
        return r;
    }
    if (!db::replaceFile(partial, r.file, &why)) {
        QFile::remove(partial);
        r.error = failedMessage(folder, why);
        return r;
    }
    r.bytes = QFileInfo(r.file).size();
    r.ok = true;
    return r;
}

} // namespace

BackupReport backupDatabase(const db::Database& db, const QString& file, Check check, const StepProgress& progress)
{
    BackupReport r;
    if (!rights::allowed(db, rights::Action::Backup, &r.error))
        return r;
    return takeBackup(db, file, check, progress);
}

namespace {

// The check of a backup file; `pages` false leaves out the library's check of
// its pages, for a copy whose source was checked while it was copied.
FileCheck checkFile(const QString& path, Check check, bool pages, const StepProgress& progress)
{
    FileCheck c;
    const QString shown = QDir::toNativeSeparators(path);
    QString why;
    auto file = db::Database::openSqliteForReading(path, &why);
    if (!file) {
        c.problem = QStringLiteral("แฟ้ม %1 เปิดเป็นฐานข้อมูลไม่ได้ แฟ้มเสียหายหรือไม่ใช่ฐานข้อมูล (%2)").arg(shown, why);
        return c;
    }
    if (pages) {
        if (progress)
            progress(QStringLiteral("ตรวจความสมบูรณ์ของแฟ้ม"), 0, 0);
        const std::optional<QStringList> found = db::checkSqliteDatabase(*file, check == Check::Quick, &why);
        if (!found) {
            c.problem = QStringLiteral("แฟ้ม %1 เสียหาย อ่านไม่ได้ (%2)").arg(shown, why);
            return c;
        }
        if (found->size() != 1 || found->first() != QLatin1String("ok")) {
            c.problem =
                QStringLiteral("แฟ้ม %1 เสียหาย: %2").arg(shown, found->mid(0, 3).join(QStringLiteral("; ")));
            return c;
        }
    }
    QStringList missing;
    for (const db::TableDescription& table : db::programTables()) {
        const std::optional<bool> present = file->findTable(table.name, &why);
        if (!present) {
            c.problem = QStringLiteral("แฟ้ม %1: %2").arg(shown, why);
            return c;
        }
        if (!*present)
            missing << table.name;
    }
    if (!missing.isEmpty()) {
        c.problem = QStringLiteral("แฟ้ม %1 ไม่ใช่สำเนาของฐานข้อมูลโปรแกรมนี้ ขาดตาราง %2")
                        .arg(shown, missing.join(QStringLiteral(", ")));
        return c;
    }
    QString version;
    if (!db::readVersion(*file, &version, &why) || version != QLatin1String(db::kSchemaVersion)) {
        c.problem = QStringLiteral("แฟ้ม %1 เป็นฐานข้อมูลรุ่น \"%2\" ไม่ใช่รุ่น %3 ที่โปรแกรมนี้ใช้")
                        .arg(shown, version, QLatin1String(db::kSchemaVersion));
        return c;
    }
    if (check == Check::Full) {
        if (progress)
            progress(QStringLiteral("ตรวจประวัติการใช้งาน (audit log)"), 0, 0);
        const audit::VerifyResult v = audit::verifyAuditLog(*file);
        if (!v.ok) {
            c.problem = QStringLiteral("แฟ้ม %1: ประวัติการใช้งานไม่ครบถ้วน %2").arg(shown, v.problem);
            return c;
        }
    }
    if (!audit::chainHead(*file, &c.seq, &c.chain, &why)) {
        c.problem = QStringLiteral("แฟ้ม %1: %2").arg(shown, why);
        return c;
    }
    if (!readCounts(*file, &c.employees, &c.saved, &why)) {
        c.problem = QStringLiteral("แฟ้ม %1: %2").arg(shown, why);
        return c;
    }
    c.ok = true;
    return c;
}

} // namespace

FileCheck checkBackupFile(const QString& path, Check check, const StepProgress& progress)
{
    return checkFile(path, check, true, progress);
}

std::vector<BackupEntry> listBackups(const QString& folder)
{
    std::vector<BackupEntry> out;
    for (const Named& n : namedBackups(folder)) {
        BackupEntry e;
        e.path = n.path;
        e.made = n.made;
        e.bytes = QFileInfo(n.path).size();
        QString ignored;
        if (auto file = db::Database::openSqliteForReading(n.path, &ignored)) {
            qint64 seq = 0;
            if (!readCounts(*file, &e.employees, &e.saved, &ignored)
                || !audit::chainHead(*file, &seq, &e.chain, &ignored))
                e.employees = e.saved = -1;
        }
        out.push_back(e);
    }
    return out;
}

reports::ReportGrid backupGrid(const std::vector<BackupEntry>& entries)
{
    reports::ReportGrid grid;
    grid.titles = {QStringLiteral("วันที่สำรอง"), QStringLiteral("ขนาด"), QStringLiteral("พนักงาน"),
        QStringLiteral("การคำนวณที่บันทึก"), QStringLiteral("ค่าห่วงโซ่ล่าสุด"), QStringLiteral("แฟ้ม")};
    for (const BackupEntry& e : entries) {
        const QDate d = e.made.date();
        const QString made = QStringLiteral("%1/%2/%3 %4")
                                 .arg(d.day(), 2, 10, QLatin1Char('0'))
                                 .arg(d.month(), 2, 10, QLatin1Char('0'))
                                 .arg(d.year() + 543)
                                 .arg(e.made.time().toString(QStringLiteral("HH:mm:ss")));
        const QString size = QStringLiteral("%1 MB").arg(static_cast<double>(e.bytes) / (1024.0 * 1024.0), 0, 'f', 1);
        const bool read = e.employees >= 0;
        const QString unread = QStringLiteral("อ่านไม่ได้");
        grid.rows << QStringList {made, size, read ? QString::number(e.employees) : unread,
            read ? QString::number(e.saved) : unread, read ? e.chain : QString(), QFileInfo(e.path).fileName()};
    }
    return grid;
}

bool backupBeforeAction(const db::Database& db, QString* error)
{
    if (sqliteFileOf(db).isEmpty() || db.readOnly() || !db.writeRefusal().isEmpty())
        return true; // nothing to copy, or the write is refused anyway
    const BackupReport r = takeBackup(db, QString(), Check::Quick, {});
    if (!r.ok) {
        if (error)
            *error = QStringLiteral("ยังไม่ได้ทำรายการนี้ เพราะ") + r.error;
        return false;
    }
    removeOldBackups(QFileInfo(r.file).absolutePath());
    return true;
}

QString backupAtStart(const db::Database& db)
{
    if (sqliteFileOf(db).isEmpty() || db.readOnly())
        return {};
    const QString folder = backupFolder(db);
    const QDate today = QDate::currentDate();
    for (const Named& n : namedBackups(folder)) {
        if (n.made.date() == today)
            return {};
    }
    const BackupReport r = takeBackup(db, QString(), Check::Quick, {});
    if (!r.ok)
        return r.error;
    removeOldBackups(folder);
    return {};
}

} // namespace velmora::backup
