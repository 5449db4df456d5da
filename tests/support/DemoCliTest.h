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
        const Result init = Run({QStringLiteral("init"), QStringLiteral("--demo")});
        ASSERT_EQ(init.exit, 0) << init.err.toStdString();
    }

    // velmora-cli --db <this test's database> args...; a crash or time-out fails the test.
    Result Run(const QStringList& args) const
    {
        const CliResult r = runCli(QStringList {QStringLiteral("--db"), t.url()} + args, timeoutMs, {}, environment);
        EXPECT_NE(r.exitCode, -1) << r.err.toStdString();
        return {r.exitCode, r.out, r.err};
    }

    int timeoutMs = 60000;
    QProcessEnvironment environment; // empty: this process's own
    TestDatabase t {false};
};

} // namespace velmora::test
