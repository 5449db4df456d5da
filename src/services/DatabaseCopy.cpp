// The move of every table of the program to another, empty database.
#include "services/Backup.h"

#include "db/AuditLog.h"
#include "db/ReadSnapshot.h"
#include "db/Schema.h"
#include "services/CrashReport.h"
#include "services/Rights.h"

#include <QFileInfo>

namespace velmora::backup {

namespace {

// Two URLs of one SQLite file, however written.
bool sameDatabase(const QString& a, const QString& b)
{
    const db::ConnectionSpec x = db::parseDatabaseUrl(a);
    const db::ConnectionSpec y = db::parseDatabaseUrl(b);
    if (x.backend == db::Backend::Sqlite && y.backend == db::Backend::Sqlite)
        return QFileInfo(x.databaseName).absoluteFilePath() == QFileInfo(y.databaseName).absoluteFilePath();
    return a.trimmed() == b.trimmed();
}

QString refused(const QString& why)
{
    return QStringLiteral("ไม่ได้คัดลอกข้อมูล: ") + why;
}

} // namespace

CopyReport copyDatabase(const db::Database& source, const QString& targetUrl, const StepProgress& progress)
{
    // (the URL may hold a password: only its server is named)
    const crash::ActionInProgress action(
        QStringLiteral("copy --to ") + db::Dialect(db::parseDatabaseUrl(targetUrl).backend).name());
    CopyReport r;
    if (!rights::allowed(source, rights::Action::CopyDatabase, &r.error))
        return r;
    if (sameDatabase(source.url(), targetUrl)) {
        r.error = refused(QStringLiteral("ฐานข้อมูลปลายทางคือฐานข้อมูลต้นทางเอง"));
        return r;
    }
    QString why;
    auto target = db::Database::open(targetUrl, &why);
    if (!target) {
        r.error = refused(QStringLiteral("ติดต่อฐานข้อมูลปลายทางไม่ได้: ") + why);
        return r;
    }
    // Only into an empty database: a table with rows is refused, a missing
    // one is created.
    QStringList holding;
    QStringList missing;
    for (const db::TableDescription& table : db::programTables()) {
        const std::optional<bool> present = target->findTable(table.name, &why);
        if (!present) {
            r.error = refused(why);
            return r;
        }
        qint64 rows = 0;
        if (!*present)
            missing << table.name;
        else if (!countRows(*target, table.name, &rows, &why)) {
            r.error = refused(why);
            return r;
        } else if (rows > 0)
            holding << QStringLiteral("%1 (%2 แถว)").arg(table.name).arg(rows);
    }
    if (!holding.isEmpty()) {
        r.error = refused(QStringLiteral("ฐานข้อมูลปลายทางมีข้อมูลของโปรแกรมอยู่แล้ว: %1 "
                                         "โปรแกรมไม่คัดลอกทับข้อมูลเดิม กรุณาเลือกฐานข้อมูลว่าง")
                              .arg(holding.join(QStringLiteral(", "))));
        return r;
    }

    const db::ReadSnapshot snapshot(source);
    if (!snapshot.active()) {
        r.error = refused(snapshot.error());
        return r;
    }
    if (!audit::chainHead(source, &r.seq, &r.chain, &why)) {
        r.error = refused(why);
        return r;
    }
    db::Transaction tx(*target);
    if (!tx.active()) {
        r.error = refused(tx.error());
        return r;
    }
    for (const QString& table : missing) {
        if (!db::createProgramTable(*target, table, false, &why)) {
            r.error = refused(why);
            return r;
        }
    }
    if (!copyTables(source, *target, &r.source, progress, &why)) {
        r.error = refused(why);
        return r;
    }
    if (progress && !missing.isEmpty())
        progress(QStringLiteral("สร้างดัชนีของตาราง"), 0, 0);
    for (const QString& table : missing) {
        if (!db::createProgramIndexes(*target, table, &why)) {
            r.error = refused(why);
            return r;
        }
    }
    audit::VerifyResult verified;
    if (!verifiedFigures(*target, &r.target, &verified, progress, &why)) {
        r.error = refused(why);
        return r;
    }
    if (!verified.ok) {
        r.error = refused(QStringLiteral("ประวัติการใช้งานของปลายทางไม่ผ่านการตรวจ: ") + verified.problem);
        return r;
    }
    const QStringList differ = compareFigures(r.source, r.target);
    if (!differ.isEmpty()) {
        r.error = refused(QStringLiteral("ข้อมูลปลายทางไม่ตรงกับต้นทาง: ") + differ.join(QStringLiteral("; ")));
        return r;
    }
    qint64 seq = 0;
    QString chain;
    if (!audit::chainHead(*target, &seq, &chain, &why) || seq != r.seq || chain != r.chain) {
        r.error = refused(QStringLiteral("ค่าห่วงโซ่ล่าสุดของปลายทางไม่ตรงกับต้นทาง"));
        return r;
    }
    if (!tx.commit(&why)) {
        r.error = refused(why);
        return r;
    }
    r.ok = true;
    return r;
}

} // namespace velmora::backup
