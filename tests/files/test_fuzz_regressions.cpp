// The inputs kept under fuzz/regressions/TARGET/, each fed again to the code
// of the fuzz target that found it: every one must be read or refused with a
// message (a broken promise aborts the binary, a sanitizer build reports).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <cstdint>

extern "C" int velmoraFuzzXlsx(const uint8_t* data, size_t size);
extern "C" int velmoraFuzzXls(const uint8_t* data, size_t size);
extern "C" int velmoraFuzzXlsOwn(const uint8_t* data, size_t size);
extern "C" int velmoraFuzzText(const uint8_t* data, size_t size);

namespace {

struct Target
{
    const char* name;
    int (*run)(const uint8_t*, size_t);
};

class FuzzRegressions : public ::testing::TestWithParam<Target>
{
};

QStringList inputsOf(const char* target)
{
    const QDir dir(QStringLiteral(VELMORA_SOURCE_DIR "/fuzz/regressions/") + QLatin1String(target));
    QStringList paths;
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
        paths << dir.filePath(name);
    return paths;
}

} // namespace

TEST_P(FuzzRegressions, EveryKeptInputIsReadOrRefused)
{
    const QStringList inputs = inputsOf(GetParam().name);
    for (const QString& path : inputs) {
        SCOPED_TRACE(path.toStdString());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray data = file.readAll();
        EXPECT_EQ(GetParam().run(reinterpret_cast<const uint8_t*>(data.constData()), size_t(data.size())), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzRegressions,
    ::testing::Values(Target {"fuzz_xlsx", velmoraFuzzXlsx}, Target {"fuzz_xls", velmoraFuzzXls},
        Target {"fuzz_xls_own", velmoraFuzzXlsOwn}, Target {"fuzz_text", velmoraFuzzText}),
    [](const ::testing::TestParamInfo<Target>& info) { return std::string(info.param.name); });

TEST(FuzzRegressions, KeptInputsAreFound)
{
    // The inputs the text fuzzer found: a cell date with a three-digit year
    // and one with dashes.
    EXPECT_GE(inputsOf("fuzz_text").size(), 2);
}
