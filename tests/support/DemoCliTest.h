#pragma once

#include "support/CliRunner.h"
#include "support/TestDatabase.h"

#include <gtest/gtest.h>

#include <QProcessEnvironment>
#include <QStringList>

namespace velmora::test {

// A test over a database of its own that `velmora-cli init --demo` filled,
// running velmora-cli on it.
class DemoCliTest : public ::testing::Test
{
public:
    struct Result
    {
        int exit = -1;
        QString out;
        QString err;
    };

protected:
    void SetUp() override
    {
        const CliResult init =
            runCli({QStringLiteral("--db"), t.url(), QStringLiteral("init"), QStringLiteral("--demo")}, timeoutMs, {},
                environment);
        ASSERT_EQ(init.exitCode, 0) << init.err.toStdString();
        // the demo login as the tests' cheap hash: each command logs in
        t.cheapenPassword(kDemoLogin.name, kDemoLogin.password);
    }

    // velmora-cli --db <this test's database> args..., logged in as demo
    // (demo1234 on the first line of standard input, then `more`); a crash
    // or time-out fails the test.
    Result Run(const QStringList& args, const QByteArray& more = {}) const { return RunAs(kDemoLogin, args, more); }
    Result RunAs(const CliLogin& who, const QStringList& args, const QByteArray& more = {}) const
    {
        const CliResult r =
            runCliAs(who, QStringList {QStringLiteral("--db"), t.url()} + args, timeoutMs, more, environment);
        EXPECT_NE(r.exitCode, -1) << r.err.toStdString();
        return {r.exitCode, r.out, r.err};
    }

    int timeoutMs = 60000;
    QProcessEnvironment environment; // empty: this process's own
    TestDatabase t {false};
};

} // namespace velmora::test
