// 50,000 saved calculations with two employment periods each (100,000 lines
// of the fund-source report) in a temporary SQLite database, or in the empty
// database of --db URL; measures the search, the search through the screen
// (query, grid and a repaint), marking every line and gathering them, and the
// export of the whole list.
//
//   bench_fundsource [--calculations N] [--db URL]

#include "db/Database.h"
#include "db/Schema.h"
#include "files/XlsxExport.h"
#include "gui/common/Prompter.h"
#include "gui/common/Session.h"
#include "gui/reports/URep_Split_Money.h"
#include "services/FundSource.h"
#include "services/Rights.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

using namespace velmora;
using namespace velmora::reports;

namespace {

bool fill(const db::Database& db, int calculations, QString* error)
{
    db::Transaction tx(db);
    auto run = [&](const QString& sql) {
        QSqlQuery q = db.query();
        q.prepare(sql);
        return db.exec(q, QStringLiteral("filling"), error);
    };
    if (!run("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES ('2', 'พนักงานมหาวิทยาลัย')")
        || !run("INSERT INTO EP_TR_Work_Type (Work_Type_Code, Work_Type) VALUES ('3', 'พนักงานส่วนงาน')"))
        return false;
    const QStringList departs = {"คณะวิทยาศาสตร์", "คณะมนุษยศาสตร์", "คณะแพทยศาสตร์", "สำนักงานอธิการบดี"};
    QSqlQuery calc = db.query();
    calc.prepare("INSERT INTO EP_mRec_Money_Chodchoy (SapID, SSN, MMYYYY_Recieve, Date_Entry, Date_Beg_Cal, "
                 "Date_End_Cal, Total_Day, No_Year, No_Month, No_Day, Last_Salary, N_T, Emp_Surname, Emp_F_Name, "
                 "Emp_L_Name, Fact_Month_Weigth, Kv_Month_Weight, His_Rec_Money, Net_Money_Recieve, Depart_Code, "
                 "Depart_Name, Rec_Status, Event_Out) VALUES (?, ?, '12/2026', ?, '01/10/2550', '31/12/2569', 5000, "
                 "?, ?, ?, ?, ?, 'นางสาว', ?, ?, ?, ?, 0, ?, '11', ?, 'FC', 'ครบกำหนดระยะเวลาการจ้างตามสัญญา')");
    QSqlQuery period = db.query();
    period.prepare("INSERT INTO EP_mRec_Money_Detail (SapID, Work_Type_Code, Date_B_cal, Date_E_Cal, Sum_Day, "
                   "Sum_Month, Sum_Month_Weight) VALUES (?, ?, ?, ?, 0, 0, 0)");
    for (int i = 0; i < calculations; ++i) {
        const QString sap = QString::number(10000000 + i);
        const double salary = 15000 + (i % 300) * 50.5;
        const int nt = 6 + i % 5;
        const QVariantList values = {sap, QStringLiteral("31001%1").arg(i, 8, 10, QLatin1Char('0')),
            QStringLiteral("%1/%2/2569")
                .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                .arg(1 + i % 12, 2, 10, QLatin1Char('0')),
            5 + i % 10, i % 12, i % 28, salary, nt, QStringLiteral("ชื่อพนักงาน%1").arg(i),
            QStringLiteral("นามสกุล%1").arg(i % 977), 12.0 + i % 40, 30.0 + i % 70, salary * nt,
            departs[i % departs.size()]};
        for (int v = 0; v < values.size(); ++v)
            calc.bindValue(v, values[v]);
        if (!db.exec(calc, QStringLiteral("calculations"), error))
            return false;
        const QList<QStringList> periods = {{"2", "01/10/2550", "30/09/2555"}, {"3", "01/10/2555", "31/12/2569"}};
        for (const QStringList& p : periods) {
            period.bindValue(0, sap);
            period.bindValue(1, p[0]);
            period.bindValue(2, p[1]);
            period.bindValue(3, p[2]);
            if (!db.exec(period, QStringLiteral("periods"), error))
                return false;
        }
    }
    return tx.commit(error);
}

template <typename F>
double timed(F&& f)
{
    QElapsedTimer t;
    t.start();
    f();
    return double(t.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // the services ask for a login: the benchmark holds every role
    rights::setLogin({QStringLiteral("bench"), rights::allRoles()});
    int calculations = 50000;
    QString url;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); ++i) {
        if (args[i] == QLatin1String("--calculations"))
            calculations = args[i + 1].toInt();
        else if (args[i] == QLatin1String("--db"))
            url = args[i + 1];
    }
    QTemporaryDir dir;
    if (url.isEmpty())
        url = QStringLiteral("sqlite:") + dir.filePath(QStringLiteral("bench.db"));
    QString error;
    auto db = db::Database::open(url, &error);
    if (!db || !db::ensureSchema(*db, &error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    const double fillMs = timed([&] {
        if (!fill(*db, calculations, &error)) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            std::exit(1);
        }
    });
    std::printf("backend %s, %d calculations, %d lines (filled in %.0f ms)\n", qPrintable(db->dialect().name()),
        calculations, 2 * calculations, fillMs);

    FundSourceCriteria all;
    all.from = QStringLiteral("01/01/2569");
    all.to = QStringLiteral("31/12/2569");
    FundSourceResult result;
    for (int run = 0; run < 2; ++run) {
        const double ms = timed([&] { result = queryFundSource(*db, all); });
        std::printf("query, every line:          %8.0f ms  (%lld rows with the total)\n", ms,
            qlonglong(result.grid.rows.size()));
    }
    FundSourceCriteria unit = all;
    unit.sourceCode = QStringLiteral("3");
    unit.unprintedOnly = true;
    const double unitMs = timed([&] { result = queryFundSource(*db, unit); });
    std::printf("query, unit lines unprinted:%8.0f ms  (%lld rows)\n", unitMs, qlonglong(result.grid.rows.size()));

    app::ScriptedPrompter prompter;
    app::Session session;
    session.db = db.get();
    session.prompter = &prompter;
    session.Server_Date_Text = QStringLiteral("31/12/2026");
    session.Server_Date_Text_BE = QStringLiteral("31/12/2569");
    TfrmRep_Split_Money screen(session);
    screen.resize(1280, 800);
    screen.show();
    screen.findChild<QRadioButton*>(QStringLiteral("RadioButton1"))->setChecked(true);
    screen.findChild<QLineEdit*>(QStringLiteral("edtBeg_Cal"))->setText(all.from);
    auto* grid = screen.findChild<QTableView*>(QStringLiteral("StringGrid1"));
    for (int run = 0; run < 2; ++run) {
        const double ms = timed([&] {
            screen.btnShow_DataClick();
            grid->repaint();
        });
        std::printf(
            "screen search (grid shown): %8.0f ms  (%lld rows)\n", ms, qlonglong(screen.resultList().rows.size()));
    }
    const double markMs = timed([&] {
        screen.btnSelect_allClick();
        grid->repaint();
    });
    const double gatherMs = timed([&] { screen.Button2Click(); });
    std::printf("select all:                 %8.0f ms\n", markMs);
    std::printf("gather:                     %8.0f ms  (%lld selected, total %s)\n", gatherMs,
        qlonglong(screen.selectionList().rows.size() - 1), qPrintable(screen.selectionList().rows.last().value(3)));

    const QString out = dir.filePath(QStringLiteral("fund-source.xlsx"));
    const double exportMs = timed([&] {
        if (!exportGrid(screen.resultList(), fundSourceExport(departmentTitle(std::nullopt)), out, &error))
            std::fprintf(stderr, "%s\n", qPrintable(error));
    });
    std::printf("export of every line:       %8.0f ms  (%.1f MB)\n", exportMs, QFileInfo(out).size() / 1e6);
    return 0;
}
