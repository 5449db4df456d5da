#include "gui/main/Startup.h"

#include "db/Database.h"
#include "db/Config.h"
#include "db/Schema.h"
#include "services/Backup.h"
#include "services/CrashReport.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QWidget>

namespace velmora::app {

QString newDatabaseMessage()
{
    return QStringLiteral("สร้างฐานข้อมูลใหม่แล้ว ยังไม่มีผู้ใช้ในระบบ\r"
                          "เพิ่มผู้ใช้ด้วยคำสั่ง velmora-cli init --user ชื่อ แล้วพิมพ์รหัสผ่านเมื่อถูกถาม");
}

QString crashNotice(const QStringList& reports)
{
    if (reports.isEmpty())
        return {};
    QStringList files;
    for (const QString& path : reports)
        files << QDir::toNativeSeparators(path);
    return QStringLiteral("โปรแกรมหยุดทำงานผิดปกติ %1 ครั้งตั้งแต่การเปิดครั้งก่อน\r"
                          "รายละเอียด (เวลา รุ่นโปรแกรม งานที่ทำอยู่ และลำดับการทำงาน) บันทึกไว้ในแฟ้ม\r%2\r"
                          "กรุณาส่งแฟ้มนี้ให้ผู้ดูแลระบบ")
        .arg(reports.size())
        .arg(files.join(QLatin1Char('\r')));
}

void afterStartup(Prompter& prompter, QWidget* window, const db::Database* database)
{
    auto settings = db::openSettings();
    const QString key = QStringLiteral("crash/lastShown");
    const QStringList reports = crash::reportsAfter(crash::crashFolder(), settings->value(key).toString());
    if (!reports.isEmpty()) {
        prompter.inform(window, crashNotice(reports));
        settings->setValue(key, QFileInfo(reports.last()).fileName());
    }
    if (!database)
        return;
    const QString said = backup::backupAtStart(*database);
    if (!said.isEmpty())
        prompter.inform(window, said);
}

bool prepareDatabase(const QString& url, Prompter& prompter, QString* error)
{
    // where each user is a server login nothing opens before the login; the
    // tables are there (server-setup ran on them)
    if (db::Database::takesServerLogin(url))
        return true;
    QString openError;
    std::unique_ptr<db::Database> db = db::Database::open(url, &openError);
    if (!db)
        return true; // the start-up check of the main window reports it
    bool created = false;
    if (!db::ensureSchema(*db, error, &created)) {
        prompter.inform(nullptr, *error);
        return false;
    }
    if (created)
        prompter.inform(nullptr, newDatabaseMessage());
    return true;
}

std::vector<std::unique_ptr<QWidget>> createPrecreatedScreens(const ScreenRegistry& screens, Session& session)
{
    std::vector<std::unique_ptr<QWidget>> made;
    for (const QString& item : precreatedScreenItems()) {
        if (QWidget* screen = screens.create(item, session)) {
            screen->hide();
            made.emplace_back(screen);
        }
    }
    return made;
}

} // namespace velmora::app
