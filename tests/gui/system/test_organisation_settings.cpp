#include "gui/common/Prompter.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/system/UOrganisation_Settings.h"
#include "pages/OrganisationSettings.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace velmora;
using namespace velmora::print;

namespace {

class OrganisationDialog : public ::testing::Test
{
protected:
    OrganisationDialog()
    {
        file = dir.filePath(QStringLiteral("settings.ini"));
        OrganisationSettings::fileOverride() = file;
        session.prompter = &prompter;
        OrganisationData d;
        d.telephone = QStringLiteral("0 5394 1234");
        d.preparerName = QStringLiteral("นางสาวพรทิพย์ ใจงาม");
        OrganisationSettings(file).save(d);
    }
    ~OrganisationDialog() override { OrganisationSettings::fileOverride().clear(); }

    template <typename T>
    T* child(QWidget* w, const char* name)
    {
        T* found = w->findChild<T*>(QLatin1String(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTemporaryDir dir;
    QString file;
    app::ScriptedPrompter prompter;
    app::Session session;
};

TEST_F(OrganisationDialog, ShowsTheSettingsAndSavesTheChanges)
{
    TfrmOrganisation_Settings dialog(session);
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtTelephone")->text(), QStringLiteral("0 5394 1234"));
    EXPECT_EQ(child<QLineEdit>(&dialog, "edtPreparer_Name")->text(), QStringLiteral("นางสาวพรทิพย์ ใจงาม"));
    EXPECT_FALSE(child<QLabel>(&dialog, "imgSeal")->pixmap().isNull());

    QImage own(20, 20, QImage::Format_RGB32);
    own.fill(Qt::blue);
    const QString seal = dir.filePath(QStringLiteral("seal.png"));
    ASSERT_TRUE(own.save(seal));
    prompter.openAnswers.push_back(seal);
    QTest::mouseClick(child<QPushButton>(&dialog, "btnChoose_Seal"), Qt::LeftButton);
    child<QLineEdit>(&dialog, "edtReference_Code")->setText(QStringLiteral("อว 0701.5"));
    child<QLineEdit>(&dialog, "edtSection_Head_Name")->setText(QStringLiteral(" นายสมศักดิ์ มั่นคง "));
    QTest::mouseClick(child<QPushButton>(&dialog, "btnSave"), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    const OrganisationData saved = OrganisationSettings(file).load();
    EXPECT_EQ(saved.sealPath, seal);
    EXPECT_EQ(saved.referenceCode, QStringLiteral("อว 0701.5"));
    EXPECT_EQ(saved.sectionHeadName, QStringLiteral("นายสมศักดิ์ มั่นคง"));
    EXPECT_EQ(saved.telephone, QStringLiteral("0 5394 1234"));
}

TEST_F(OrganisationDialog, AFileThatIsNoPictureIsRefusedAndCancelSavesNothing)
{
    TfrmOrganisation_Settings dialog(session);
    const QString notPicture = dir.filePath(QStringLiteral("notes.png"));
    QFile f(notPicture);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a picture");
    f.close();
    prompter.openAnswers.push_back(notPicture);
    QTest::mouseClick(child<QPushButton>(&dialog, "btnChoose_Seal"), Qt::LeftButton);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages.at(0).contains(notPicture));
    EXPECT_TRUE(dialog.data().sealPath.isEmpty());

    child<QLineEdit>(&dialog, "edtTelephone")->setText(QStringLiteral("999"));
    QTest::mouseClick(child<QPushButton>(&dialog, "btnCancel"), Qt::LeftButton);
    EXPECT_EQ(OrganisationSettings(file).load().telephone, QStringLiteral("0 5394 1234"));
}

} // namespace

namespace {

TEST_F(OrganisationDialog, EnterPressesTheFocusedButton)
{
    app::KeyboardPolicy::install();
    TfrmOrganisation_Settings dialog(session);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    child<QLineEdit>(&dialog, "edtTelephone")->setText(QStringLiteral("0 0000 0000"));
    auto* cancel = child<QPushButton>(&dialog, "btnCancel");
    cancel->setFocus();
    ASSERT_TRUE(cancel->hasFocus());
    QTest::keyClick(cancel, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(OrganisationSettings(file).load().telephone, QStringLiteral("0 5394 1234"));

    TfrmOrganisation_Settings again(session);
    again.show();
    QApplication::setActiveWindow(&again);
    child<QLineEdit>(&again, "edtTelephone")->setText(QStringLiteral("0 5394 9999"));
    auto* save = child<QPushButton>(&again, "btnSave");
    save->setFocus();
    QTest::keyClick(save, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(again.result(), QDialog::Accepted);
    EXPECT_EQ(OrganisationSettings(file).load().telephone, QStringLiteral("0 5394 9999"));
}

} // namespace
