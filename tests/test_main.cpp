#include "db/PasswordHash.h"
#include "services/Rights.h"

#include <gtest/gtest.h>

#include <QApplication>

// gtest_discover_tests runs the binary at build time to list the tests, without
// the test environment; the application object is made only for a real run.
int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    qputenv(
        "QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? QByteArray("offscreen") : qgetenv("QT_QPA_PLATFORM"));
    if (qEnvironmentVariableIsEmpty("VELMORA_XLS_HELPER"))
        qputenv("VELMORA_XLS_HELPER", VELMORA_CLI);
    velmora::db::useCheapPasswordHashForTests();
    // The services ask for a login: the tests act as a user holding every
    // role unless they log in otherwise.
    velmora::rights::setLogin({QStringLiteral("tester"), velmora::rights::allRoles()});
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("VelmoraTest"));
    QApplication::setApplicationName(QStringLiteral("velmora-test"));
    return RUN_ALL_TESTS();
}
