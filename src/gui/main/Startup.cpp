#include "gui/main/Startup.h"

#include "db/Database.h"
#include "db/Schema.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"

#include <QWidget>

namespace velmora::app {

QString newDatabaseMessage()
{
    return QStringLiteral("สร้างฐานข้อมูลใหม่แล้ว ยังไม่มีผู้ใช้ในระบบ\r"
                          "เพิ่มผู้ใช้ด้วยคำสั่ง velmora-cli init --user ชื่อ แล้วพิมพ์รหัสผ่านเมื่อถูกถาม");
}

bool prepareDatabase(const QString& url, Prompter& prompter, QString* error)
{
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
