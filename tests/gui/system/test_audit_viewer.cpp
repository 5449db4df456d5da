// The audit trail viewer: newest first, filters, details in Thai, export
// through the report export, and opening it writes nothing.

#include "db/AuditLog.h"
#include "gui/common/Prompter.h"
#include "gui/common/ReportScreen.h"
#include "gui/common/Session.h"
#include "gui/system/UAudit_Trail.h"
#include "gui/system/UOrganisation_Settings.h"
#include "pages/OrganisationSettings.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QComboBox>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>

using namespace velmora;

namespace {

class Audit_Viewer : public ::testing::Test
{
protected:
    Audit_Viewer()
    {
        session.db = &t.db();
        session.prompter = &prompter;
        const audit::Actor officer {QStringLiteral("finance01"), QStringLiteral("velmora"), QStringLiteral("10.1.2.3")};
        const audit::Actor clerk {QStringLiteral("clerk"), QStringLiteral("velmora-cli"), QString()};
        write(officer, "login", QString(), {{QStringLiteral("user_name"), QStringLiteral("finance01")}});
        write(officer, "calculation-saved", QStringLiteral("10000001"),
            {{QStringLiteral("net"), QStringLiteral("120,000.00")},
                {QStringLiteral("request_month"), QStringLiteral("10/2012")}});
        write(clerk, "settings-changed", QString(),
            {{QStringLiteral("changes"),
                QJsonObject {{QStringLiteral("telephone"),
                    QJsonObject {{QStringLiteral("old"), QStringLiteral("1234")},
                        {QStringLiteral("new"), QStringLiteral("5678")}}}}}});
        reports::exportHooks().folder = dir.path();
        reports::exportHooks().open = [this](const QString& path) { opened = path; };
    }
    ~Audit_Viewer() override { reports::exportHooks() = {}; }

    void write(const audit::Actor& who, const char* kind, const QString& sapid, const QJsonObject& details)
    {
        db::Transaction tx(t.db());
        QString error;
        ASSERT_TRUE(audit::record(t.db(), QLatin1String(kind), sapid, details, &error, &who)) << error.toStdString();
        ASSERT_TRUE(tx.commit(&error));
    }

    int logRows() { return t.scalar(QStringLiteral("SELECT COUNT(*) FROM EP_Audit_Log")).toInt(); }

    template <typename T>
    T* child(QWidget* w, const char* name)
    {
        T* found = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QString cell(QTableView* view, int row, int column) { return view->model()->index(row, column).data().toString(); }

    test::TestDatabase t;
    QTemporaryDir dir;
    app::ScriptedPrompter prompter;
    app::Session session;
    QString opened;
};

} // namespace

TEST_F(Audit_Viewer, ListsNewestFirstAndShowsTheChosenRowInThai)
{
    audit::TfrmAudit_Trail screen(session);
    auto* grid = child<QTableView>(&screen, "grdAudit");
    ASSERT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(cell(grid, 0, 0), QStringLiteral("3"));
    EXPECT_EQ(cell(grid, 0, 5), QStringLiteral("แก้ไขข้อมูลหน่วยงาน"));
    EXPECT_EQ(cell(grid, 2, 5), QStringLiteral("เข้าสู่ระบบ"));
    // The year of the time column is Buddhist era.
    EXPECT_TRUE(cell(grid, 0, 1).contains(QRegularExpression(QStringLiteral("/25\\d\\d "))));

    const QString first = child<QPlainTextEdit>(&screen, "memDetails")->toPlainText();
    EXPECT_TRUE(first.contains(QStringLiteral("โทรศัพท์: จาก \"1234\" เป็น \"5678\""))) << first.toStdString();
    EXPECT_FALSE(first.contains(QLatin1Char('{')));
    grid->setCurrentIndex(grid->model()->index(1, 0));
    const QString second = child<QPlainTextEdit>(&screen, "memDetails")->toPlainText();
    EXPECT_TRUE(second.contains(QStringLiteral("สุทธิ: 120,000.00 บาท"))) << second.toStdString();
    EXPECT_TRUE(second.contains(QStringLiteral("SAP ID: 10000001")));
}

TEST_F(Audit_Viewer, FiltersByUserKindSapIdAndDay)
{
    audit::TfrmAudit_Trail screen(session);
    auto* grid = child<QTableView>(&screen, "grdAudit");
    child<QLineEdit>(&screen, "edtUser")->setText(QStringLiteral("finance01"));
    child<QPushButton>(&screen, "btnSearch")->click();
    EXPECT_EQ(grid->model()->rowCount(), 2);

    auto* kinds = child<QComboBox>(&screen, "cmbKind");
    kinds->setCurrentIndex(kinds->findData(QStringLiteral("calculation-saved")));
    child<QPushButton>(&screen, "btnSearch")->click();
    EXPECT_EQ(grid->model()->rowCount(), 1);

    child<QLineEdit>(&screen, "edtSapID")->setText(QStringLiteral("10000002"));
    child<QPushButton>(&screen, "btnSearch")->click();
    EXPECT_EQ(grid->model()->rowCount(), 0);
    EXPECT_TRUE(child<QPlainTextEdit>(&screen, "memDetails")->toPlainText().isEmpty());

    child<QLineEdit>(&screen, "edtSapID")->clear();
    child<QLineEdit>(&screen, "edtTo")->setText(QStringLiteral("01/01/2543"));
    child<QPushButton>(&screen, "btnSearch")->click();
    EXPECT_EQ(grid->model()->rowCount(), 0);

    child<QLineEdit>(&screen, "edtTo")->setText(QStringLiteral("31/02/2569"));
    child<QPushButton>(&screen, "btnSearch")->click();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.first().startsWith(QStringLiteral("วันที่ไม่ถูกต้อง")));
}

TEST_F(Audit_Viewer, OpeningSearchingAndVerifyingWriteNothing)
{
    const int before = logRows();
    qint64 seq = 0;
    QString chain, error;
    ASSERT_TRUE(audit::chainHead(t.db(), &seq, &chain, &error));
    {
        audit::TfrmAudit_Trail screen(session);
        child<QPushButton>(&screen, "btnSearch")->click();
        child<QPushButton>(&screen, "btnVerify")->click();
        ASSERT_EQ(prompter.messages.size(), 1);
        EXPECT_TRUE(prompter.messages.first().contains(chain));
    }
    EXPECT_EQ(logRows(), before);
    qint64 seqAfter = 0;
    QString chainAfter;
    ASSERT_TRUE(audit::chainHead(t.db(), &seqAfter, &chainAfter, &error));
    EXPECT_EQ(seqAfter, seq);
    EXPECT_EQ(chainAfter, chain);
}

TEST_F(Audit_Viewer, VerifyNamesATamperedRow)
{
    t.exec(
        QStringLiteral("UPDATE EP_Audit_Log SET Details = ? WHERE Seq_No = 2"), {QStringLiteral("{\"net\":\"1.00\"}")});
    audit::TfrmAudit_Trail screen(session);
    child<QPushButton>(&screen, "btnVerify")->click();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.first().contains(QStringLiteral("ลำดับที่ 2")))
        << prompter.messages.first().toStdString();
}

// A change a server trigger caught outside the program reads in red on every
// column, and only that row; a new search over other rows leaves no red behind.
TEST_F(Audit_Viewer, DirectChangesAreShownInRed)
{
    const audit::Actor server {QStringLiteral("psql.user"), QStringLiteral("server"), QString()};
    write(server, audit::kind::kDirectChange, QStringLiteral("10000001"),
        {{QStringLiteral("table"), QStringLiteral("EP_mEmployee")},
            {QStringLiteral("old"), QJsonObject {{QStringLiteral("Salary"), 20000}}},
            {QStringLiteral("new"), QJsonObject {{QStringLiteral("Salary"), 90000}}}});
    audit::TfrmAudit_Trail screen(session);
    auto* grid = child<QTableView>(&screen, "grdAudit");
    ASSERT_EQ(grid->model()->rowCount(), 4);
    auto colour = [&](int row, int column) {
        return grid->model()->index(row, column).data(Qt::ForegroundRole).value<QColor>();
    };
    EXPECT_EQ(cell(grid, 0, 5), QStringLiteral("แก้ไขข้อมูลโดยตรงนอกโปรแกรม"));
    for (int column = 0; column < grid->model()->columnCount(); ++column) {
        EXPECT_EQ(colour(0, column), QColor(Qt::red)) << column;
        for (int row = 1; row < 4; ++row)
            EXPECT_FALSE(colour(row, column).isValid()) << row << "," << column;
    }
    child<QLineEdit>(&screen, "edtUser")->setText(QStringLiteral("finance01"));
    child<QPushButton>(&screen, "btnSearch")->click();
    ASSERT_EQ(grid->model()->rowCount(), 2);
    EXPECT_FALSE(colour(0, 0).isValid());
}

TEST_F(Audit_Viewer, ExportWritesTheListAndItsOwnRow)
{
    audit::TfrmAudit_Trail screen(session);
    child<QPushButton>(&screen, "btnExport")->click();
    ASSERT_FALSE(screen.lastExport().isEmpty()) << prompter.messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(QFile::exists(screen.lastExport()));
    EXPECT_EQ(opened, screen.lastExport());
    EXPECT_EQ(logRows(), 4);
    EXPECT_EQ(t.scalar(QStringLiteral("SELECT Event_Kind FROM EP_Audit_Log WHERE Seq_No = 4")).toString(),
        QStringLiteral("report-exported"));
}

// The organisation settings saved from their screen leave a row with the old
// and new values; a save the log cannot record does not happen.
TEST_F(Audit_Viewer, SettingsSavedFromTheScreenAreRecorded)
{
    const QString file = dir.filePath(QStringLiteral("settings.ini"));
    print::OrganisationSettings::fileOverride() = file;
    print::OrganisationData d;
    d.telephone = QStringLiteral("0 5394 1234");
    print::OrganisationSettings(file).save(d);
    {
        print::TfrmOrganisation_Settings dialog(session);
        child<QLineEdit>(&dialog, "edtTelephone")->setText(QStringLiteral("0 5394 9999"));
        child<QPushButton>(&dialog, "btnSave")->click();
    }
    EXPECT_EQ(print::OrganisationSettings(file).load().telephone, QStringLiteral("0 5394 9999"));
    const QString details =
        t.scalar(QStringLiteral("SELECT Details FROM EP_Audit_Log WHERE Event_Kind = ? ORDER BY Seq_No DESC"),
             {QStringLiteral("settings-changed")})
            .toString();
    const QJsonObject phone = QJsonDocument::fromJson(details.toUtf8())
                                  .object()
                                  .value(QStringLiteral("changes"))
                                  .toObject()
                                  .value(QStringLiteral("telephone"))
                                  .toObject();
    EXPECT_EQ(phone.value(QStringLiteral("old")).toString(), QStringLiteral("0 5394 1234"));
    EXPECT_EQ(phone.value(QStringLiteral("new")).toString(), QStringLiteral("0 5394 9999"));

    t.exec(QStringLiteral("DROP TABLE EP_Audit_Log"));
    {
        print::TfrmOrganisation_Settings dialog(session);
        child<QLineEdit>(&dialog, "edtTelephone")->setText(QStringLiteral("unrecorded"));
        child<QPushButton>(&dialog, "btnSave")->click();
    }
    EXPECT_EQ(print::OrganisationSettings(file).load().telephone, QStringLiteral("0 5394 9999"));
    ASSERT_FALSE(prompter.messages.isEmpty());
    EXPECT_TRUE(prompter.messages.last().contains(QStringLiteral("บันทึกประวัติการใช้งาน")));
    print::OrganisationSettings::fileOverride().clear();
}
