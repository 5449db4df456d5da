#pragma once

#include "services/Rights.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

class QAction;
class QEvent;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMdiArea;
class QMenu;
class QMenuBar;
class QPushButton;
class QStatusBar;

namespace velmora::db {
class Database;
}

namespace velmora::app {

struct Session;
class ScreenRegistry;
class TfrmUser_Guide;

// The main window: a multiple-document parent holding every screen, with the
// login panel over the background picture, the main menu and the status bar.
//
// A menu item whose screen the logged-in user may not use is disabled (the
// rights' table decides; the screen's service refuses in any case).
//
// Object names: MainMenu1 (menu bar) with its items N1 ... NExit (a submenu's
// QMenu and its QAction both carry the item's name; the help menu NHelp with
// NGuide and NAbout is this program's own), StatusBar1 with five
// QLabel panels StatusPanel0 ... StatusPanel4, Image1 (background), Panel1 and
// GroupBox1 (login panel) with Label1 ... Label9, edtName, edtPassword, btnOK,
// btnCancel, and mdiArea (the client area).
class TfrmVelmora : public QMainWindow
{
    Q_OBJECT
public:
    // Runs the start-up checks on the database at databaseUrl (see FormCreate).
    // The session must outlive the window; the window sets its db, date texts,
    // Login_User_Name and endProgram.
    TfrmVelmora(Session& session, QString databaseUrl, const ScreenRegistry& screens, QWidget* parent = nullptr);
    ~TfrmVelmora() override;

    // A start-up check failed: the program is to end once start-up is done.
    bool endRequested() const { return m_endRequested; }
    bool loggedIn() const { return m_loggedIn; }
    // The one connection of the program (null when it could not be opened).
    db::Database* database() const { return m_db.get(); }
    QMdiArea* mdiArea() const { return m_mdiArea; }
    // The guide's window, once the help menu opened it (null before).
    TfrmUser_Guide* userGuide() const { return m_guide; }
    // The menu caption of the screen the officer works in: its section of the
    // guide. Empty at the login or with no screen open.
    QString activeScreenCaption() const;

    // Opens a new instance of the screen of a menu item as a maximised child
    // window; null when the item has no screen.
    QWidget* openScreen(const QString& menuItem);

signals:
    // The user ended the program (Cancel, "ออกจากระบบ", a password change).
    void programEndRequested();

public slots:
    void FormCreate();
    void btnOKClick();
    void btnCancelClick();
    void NExitClick();
    void N23Click();
    void N6Click();
    void N5Click();
    void NRun1Click();
    void N10Click();
    void N4Click();
    void N7Click();
    void N9Click();
    void N13Click();
    void N15Click();
    void N16Click();
    void ChangePassword1Click();
    void OrgSettings1Click();
    void AuditTrail1Click();
    void Users1Click();
    void NCheck1Click();
    // The help menu: the guide at the active screen's section (F1), and the
    // program's version with the database in use.
    void NGuideClick();
    void NAboutClick();
    void Backup1Click();
    void Restore1Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // Enter in the user-name or password box moves on to the next control.
    bool edtNameKeyPress(QObject* box, QEvent* event);

private:
    void buildMenu();
    void buildHelpMenu();
    void buildStatusBar();
    void buildLoginPanel();
    void placeOverlays();
    void requestEnd() { m_endRequested = true; }
    void endProgram();
    void setTopMenuVisible(bool visible);
    // After a login: a screen's item is enabled when the user may do one of
    // its actions (only the password's while a reset awaits a new password).
    void enableMenuItems(bool passwordOnly);
    static QList<rights::Action> menuActions(const QString& item);
    QString localAddress() const;
    // The server's date and the database's version (start-up steps 4 and 6);
    // false after saying what is wrong.
    bool readServerState();
    // On a URL where each user is a server login: the connection opened with
    // the name and password typed; false after saying why it was refused.
    bool connectAs(const QString& name, const QString& password);

    Session& m_session;
    QString m_databaseUrl;
    const ScreenRegistry& m_screens;
    std::unique_ptr<db::Database> m_db; // DBConnec1
    bool m_endRequested = false;
    bool m_loggedIn = false;

    QMdiArea* m_mdiArea = nullptr;
    QLabel* Image1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QList<QAction*> m_topItems; // N1, N2, N3, N11, NExit
    QString m_version; // of the database, as Label3 shows it
    TfrmUser_Guide* m_guide = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* m_panels[5] = {};

    QFrame* Panel1 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* edtName = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* edtPassword = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label8 = nullptr;
    QLabel* Label9 = nullptr;
};

} // namespace velmora::app
