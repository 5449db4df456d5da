#include "gui/main/UVelmora.h"

#include "db/AuditLog.h"
#include "db/Database.h"
#include "db/DatabaseDescription.h"
#include "db/LocalAddress.h"
#include "db/Schema.h"
#include "db/Users.h"
#include "gui/common/DateText.h"
#include "gui/common/Prompter.h"
#include "gui/common/ScreenRegistry.h"
#include "gui/common/ScreenSupport.h"
#include "gui/common/Session.h"
#include "gui/common/Widgets.h"
#include "services/Accounts.h"
#include "gui/main/UUser_Guide.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

#include <map>

// The background picture is compiled into the static library; its resource
// must be registered by name from the global namespace.
static void initVelmoraResources()
{
    Q_INIT_RESOURCE(velmora_app);
}

namespace velmora::app {

namespace {

const QString kConnectionFailed = QStringLiteral("ไม่สามารถติดต่อฐานข้อมูลได้");
const QString kBadDateFormat = QStringLiteral("รูปแบบวันที่ไม่ถูกต้อง");
const QString kServerText = QStringLiteral("Server IT: Ravek_SALARY");
const QString kCredit = QStringLiteral("งานคลัง");

} // namespace

TfrmVelmora::TfrmVelmora(Session& session, QString databaseUrl, const ScreenRegistry& screens, QWidget* parent)
    : QMainWindow(parent)
    , m_session(session)
    , m_databaseUrl(std::move(databaseUrl))
    , m_screens(screens)
{
    initVelmoraResources();
    setObjectName(QStringLiteral("frmVelmora"));
    setWindowTitle(QStringLiteral("frmVelmora"));
    setWindowState(windowState() | Qt::WindowMaximized);

    m_mdiArea = make<QMdiArea>(this, "mdiArea");
    m_mdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_mdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_mdiArea);

    Image1 = label(m_mdiArea->viewport(), "Image1", QString());
    Image1->setPixmap(QPixmap(QStringLiteral(":/velmora/background.jpg")));
    Image1->setScaledContents(true);
    Image1->lower();

    buildMenu();
    buildStatusBar();
    buildLoginPanel();
    m_mdiArea->viewport()->installEventFilter(this);
    placeOverlays();

    m_session.endProgram = [this] { endProgram(); };
    m_session.closeDatabase = [this] {
        m_session.db = nullptr;
        m_db.reset();
    };
    FormCreate();
    edtName->setFocus();
}

TfrmVelmora::~TfrmVelmora()
{
    // Screens still open use the connection: close them first.
    qDeleteAll(m_mdiArea->subWindowList());
    if (m_session.db == m_db.get())
        m_session.db = nullptr;
    m_session.endProgram = nullptr;
    m_session.closeDatabase = nullptr;
}

void TfrmVelmora::buildStatusBar()
{
    StatusBar1 = make<QStatusBar>(this, "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    setStatusBar(StatusBar1);
    const int widths[5] = {100, 200, 200, 200, 50};
    const QString designTexts[5] = {QStringLiteral("Date"), QStringLiteral("User Name"), QStringLiteral("IP Address"),
        QStringLiteral("Remark"), QStringLiteral("V")};
    for (int i = 0; i < 5; ++i) {
        m_panels[i] = new QLabel(designTexts[i], StatusBar1);
        m_panels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_panels[i]->setFixedWidth(widths[i]);
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        StatusBar1->addWidget(m_panels[i]);
    }
    StatusBar1->hide();
}

void TfrmVelmora::buildLoginPanel()
{
    Panel1 = make<QFrame>(m_mdiArea->viewport(), "Panel1");
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setAutoFillBackground(true);

    GroupBox1 = make<QGroupBox>(Panel1, "GroupBox1");
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->addWidget(GroupBox1);

    Label1 = label(GroupBox1, "Label1", QStringLiteral("ใส่ชื่อ"));
    edtName = lineEdit(GroupBox1, "edtName");
    Label2 = label(GroupBox1, "Label2", QStringLiteral("รหัสผ่าน"));
    edtPassword = lineEdit(GroupBox1, "edtPassword");
    makePasswordBox(edtPassword);
    btnOK = make<QPushButton>(GroupBox1, "btnOK", QStringLiteral("OK"));
    btnCancel = make<QPushButton>(GroupBox1, "btnCancel", QStringLiteral("Cancel"));
    Label3 = label(GroupBox1, "Label3", QStringLiteral("V.2"));
    Label4 = label(GroupBox1, "Label4", QStringLiteral("IV 2.0"));
    Label5 = label(GroupBox1, "Label5", QStringLiteral("วันเดือนปีปัจจุบัน"));
    Label6 = label(GroupBox1, "Label6", QString());
    Label7 = label(GroupBox1, "Label7", QStringLiteral("รูปแบบที่ใช้ dd/mm/yyyy เช่น 18/03/2560"));
    Label8 = label(GroupBox1, "Label8", QStringLiteral("ระบบคำนวณเงินชดเชยพนักงานสัญญาจ้าง"));
    Label9 = label(GroupBox1, "Label9", QStringLiteral("พัฒนาโดย งานคลัง"));

    auto* grid = new QGridLayout(GroupBox1);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(edtName, 0, 1, 1, 2);
    grid->addWidget(Label2, 1, 0);
    grid->addWidget(edtPassword, 1, 1, 1, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnOK);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 2, 0, 1, 3);
    grid->addWidget(Label5, 3, 0);
    grid->addWidget(Label6, 3, 1);
    grid->addWidget(Label3, 3, 2, Qt::AlignRight);
    grid->addWidget(Label7, 4, 0, 1, 2);
    grid->addWidget(Label4, 4, 2, Qt::AlignRight);
    grid->addWidget(Label8, 5, 0, 1, 3);
    grid->addWidget(Label9, 6, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 180);

    setTabOrder(edtName, edtPassword);
    setTabOrder(edtPassword, btnOK);
    setTabOrder(btnOK, btnCancel);
    // Enter on a focused button presses it, as officers expect after Enter
    // has walked them from the name to the password to OK.
    btnOK->setAutoDefault(true);
    btnCancel->setAutoDefault(true);

    edtName->installEventFilter(this);
    edtPassword->installEventFilter(this);
    connect(btnOK, &QPushButton::clicked, this, &TfrmVelmora::btnOKClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmVelmora::btnCancelClick);
    Panel1->adjustSize();
}

void TfrmVelmora::placeOverlays()
{
    const QRect area = m_mdiArea->viewport()->rect();
    Image1->setGeometry(area);
    const QSize size = Panel1->sizeHint();
    Panel1->setGeometry(
        QRect(QPoint(qMax(0, (area.width() - size.width()) / 2), qMax(0, (area.height() - size.height()) / 2)), size));
}

bool TfrmVelmora::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::Resize)
        placeOverlays();
    if (watched == edtName || watched == edtPassword) {
        if (edtNameKeyPress(watched, event))
            return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool TfrmVelmora::edtNameKeyPress(QObject* box, QEvent* event)
{
    if (!isEnterKeyPress(event))
        return false;
    pressTab(static_cast<QWidget*>(box));
    return true;
}

void TfrmVelmora::setTopMenuVisible(bool visible)
{
    for (QAction* action : m_topItems)
        action->setVisible(visible);
}

QString TfrmVelmora::localAddress() const
{
    if (m_session.localAddress)
        return m_session.localAddress();
    return QString::fromStdString(velmora::Local_IP_Address());
}

// Start-up checks, in order. A failed check requests the end of the program,
// which takes effect once start-up is done: apart from the connection, the
// later checks still run and show their messages too.
void TfrmVelmora::FormCreate()
{
    Prompter& prompter = *m_session.prompter;

    // 1. The connection. Where each user is a server login it opens at the
    // login, with the name and password typed; steps 4 and 6 wait for it.
    const bool atLogin = db::Database::takesServerLogin(m_databaseUrl);
    QString error;
    if (!atLogin) {
        m_db = db::Database::open(m_databaseUrl, &error);
        if (!m_db) {
            prompter.inform(this, kConnectionFailed);
            requestEnd();
            return;
        }
        m_session.db = m_db.get();
        m_panels[3]->setText(kServerText);
    }

    // 2. No menu and no status bar before a login.
    StatusBar1->hide();
    setTopMenuVisible(false);

    // 3. The machine's date must come out as dd/mm/yyyy with a year 2000-2099.
    const QString machineText = machineDateText(m_session.machineNow().date(), m_session.machineDateSeparator());
    if (machineText.mid(6, 2) != QLatin1String("20")) {
        prompter.inform(this, kBadDateFormat);
        requestEnd();
    }
    if (machineText.mid(2, 1) != QLatin1String("/") || machineText.mid(5, 1) != QLatin1String("/")) {
        prompter.inform(this,
            kBadDateFormat + QLatin1Char('\r') + QStringLiteral("รูปแบบที่กำหนด : dd/mm/yyyy") + QLatin1Char('\r')
                + QStringLiteral("แต่วันที่ของเครื่องเป็น :") + machineText);
        requestEnd();
    }

    // 5.
    edtName->clear();
    edtPassword->clear();

    // 4 and 6: the server's date, the "today" of every screen, and the database version.
    if (!atLogin && !readServerState())
        requestEnd();
}

bool TfrmVelmora::readServerState()
{
    Prompter& prompter = *m_session.prompter;
    QString error;
    bool ok = true;
    const std::optional<QDateTime> serverNow = m_db->serverNow(&error);
    if (serverNow) {
        m_session.Server_Date_Text = machineDateText(serverNow->date(), m_session.machineDateSeparator());
        m_session.Server_Date_Text_BE = buddhistEraDateText(m_session.Server_Date_Text);
        Label6->setText(m_session.Server_Date_Text_BE);
    } else {
        // Without the server's date no screen can work.
        prompter.inform(this, error);
        ok = false;
    }
    QString version;
    if (db::readVersion(*m_db, &version, &error)) {
        if (version != QLatin1String(db::kSchemaVersion)) {
            prompter.inform(this,
                QStringLiteral("Invalid Version ") + QLatin1Char('\r') + QStringLiteral("Pressent Version Is : ")
                    + version);
            ok = false;
        }
    } else {
        prompter.inform(this, error);
        ok = false;
    }
    Label3->setText(QStringLiteral("V.") + version);
    m_version = version;
    return ok;
}

bool TfrmVelmora::connectAs(const QString& name, const QString& password)
{
    Prompter& prompter = *m_session.prompter;
    QString error;
    m_db = db::Database::openAs(m_databaseUrl, name, password, &error);
    if (!m_db) {
        const QString refusal = accounts::serverLoginRefusal(error);
        prompter.inform(this, refusal.isEmpty() ? kConnectionFailed : refusal);
        focusForRetyping(edtPassword);
        return false;
    }
    m_session.db = m_db.get();
    m_panels[3]->setText(kServerText);
    if (!readServerState()) {
        endProgram();
        return false;
    }
    return true;
}

void TfrmVelmora::btnOKClick()
{
    Prompter& prompter = *m_session.prompter;
    const QString name = edtName->text();
    const QString password = edtPassword->text();
    if (name.isEmpty()) {
        prompter.inform(this, QStringLiteral("กรุณาใส่ชื่อผู้ใช้ด้วย"));
        edtName->setFocus();
        return;
    }
    if (password.isEmpty()) {
        prompter.inform(this, QStringLiteral("กรุณาใส่รหัสผ่านด้วย"));
        focusForRetyping(edtPassword);
        return;
    }
    if (!m_db && db::Database::takesServerLogin(m_databaseUrl) && !connectAs(name, password))
        return;
    if (!m_db) {
        prompter.inform(this, kConnectionFailed);
        return;
    }

    audit::setActor({QString(), QLatin1String(audit::kOriginDesktop), localAddress()});
    const accounts::LoginOutcome outcome = accounts::logIn(*m_db, name, password);
    const db::LoginResult& result = outcome.result;
    if (!outcome.ok() && m_db->serverLogin()) {
        // the connection is that login's: the next attempt opens its own
        m_session.db = nullptr;
        m_db.reset();
    }
    switch (result.status) {
    case db::LoginResult::NoSuchUser:
    case db::LoginResult::Throttled:
        prompter.inform(this, outcome.message);
        edtName->setFocus();
        return;
    case db::LoginResult::WrongPassword:
    case db::LoginResult::Disabled:
        prompter.inform(this, outcome.message);
        focusForRetyping(edtPassword);
        return;
    case db::LoginResult::Error:
        prompter.inform(this, outcome.message);
        return;
    case db::LoginResult::Ok:
        break;
    }

    m_session.Login_User_Name = name;
    m_panels[0]->setText(QStringLiteral("User :") + name);
    m_panels[1]->setText(QStringLiteral("ผู้ใช้งาน :") + result.firstName + QLatin1Char(' ') + result.lastName);
    m_panels[2]->setText(QStringLiteral("IP Address :") + localAddress());
    m_panels[4]->setText(kCredit);
    Panel1->hide();
    enableMenuItems(result.mustChangePassword);
    setTopMenuVisible(true);
    setWindowState(windowState() | Qt::WindowMaximized);
    StatusBar1->show();
    m_loggedIn = true;
    if (!result.notice.isEmpty())
        prompter.inform(this, result.notice);
    // After a reset the user chooses a new password before anything else.
    if (result.mustChangePassword) {
        prompter.inform(this, QStringLiteral("รหัสผ่านนี้ตั้งโดยผู้ดูแลระบบ กรุณาเปลี่ยนรหัสผ่านก่อนใช้งาน"));
        openScreen(QStringLiteral("ChangePassword1"));
    }
}

void TfrmVelmora::endProgram()
{
    emit programEndRequested();
}

void TfrmVelmora::btnCancelClick()
{
    endProgram();
}

void TfrmVelmora::NExitClick()
{
    endProgram();
}

} // namespace velmora::app
