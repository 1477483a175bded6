// The start of the data module (open every table, refresh the automatic backup) on 1,000
// registrations at the row limits, beside what any start must at least do: copy the data folder
// (cp -r) and parse every table file (xmllint --stream --noout). Also the scan for the next
// local registration number on the same data.
//
//   build/bench/data_module_start_bench [--registrations=N] [--home=DIR]
// With --home the program folder DIR (made by make_bench_data) is used instead of generated data.
#include "BenchData.h"
#include "store/DataModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

namespace {

int g_registrations = 1000;
QString g_home;

class SilentInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString&, const QString& text, Buttons) override
    {
        qFatal("unexpected box: %s", qPrintable(text));
    }
    FileAnswer fileDialog(FileKind, const FileRequest&) override { return {}; }
    QString desktopFolder() override { return QDir::tempPath(); }
};

void BM_DataModuleStart(benchmark::State& state)
{
    SilentInteraction ui;
    for (auto _ : state) {
        store::DataModule dm(g_home, &ui);
        if (!dm.start())
            state.SkipWithError(qPrintable(dm.startError()));
        benchmark::DoNotOptimize(dm.table(QStringLiteral("NT_TBL_MAIN"))->recordCount());
        state.PauseTiming();
        dm.CloseAllTables();
        state.ResumeTiming();
    }
}

bool run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(-1) && process.exitCode() == 0;
}

void BM_CopyAndParseFloor(benchmark::State& state)
{
    const QStringList files = QDir(g_home + QStringLiteral("/FLATT_FILES")).entryList({QStringLiteral("*.cds")}, QDir::Files);
    for (auto _ : state) {
        const QString copy = g_home + QStringLiteral("/copy");
        if (!run(QStringLiteral("cp"), {QStringLiteral("-r"), g_home + QStringLiteral("/FLATT_FILES"), copy}))
            state.SkipWithError("cp failed");
        for (const QString& file : files) {
            if (!run(QStringLiteral("xmllint"), {QStringLiteral("--stream"), QStringLiteral("--noout"), g_home + QStringLiteral("/FLATT_FILES/") + file}))
                state.SkipWithError("xmllint failed (is libxml2-utils installed?)");
        }
        state.PauseTiming();
        QDir(copy).removeRecursively();
        state.ResumeTiming();
    }
}

void BM_NextLocalNumber(benchmark::State& state)
{
    SilentInteraction ui;
    store::DataModule dm(g_home, &ui);
    if (!dm.start())
        state.SkipWithError(qPrintable(dm.startError()));
    for (auto _ : state) {
        QString number;
        QString error;
        if (!dm.NextLocalNumber(&number, &error))
            state.SkipWithError(qPrintable(error));
        dm.table(QStringLiteral("NT_TBL_MAIN"))->cancel();
    }
}

} // namespace

BENCHMARK(BM_DataModuleStart)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CopyAndParseFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_NextLocalNumber)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--registrations=", 16) == 0)
            g_registrations = std::atoi(argv[i] + 16);
        else if (std::strncmp(argv[i], "--home=", 7) == 0)
            g_home = QString::fromLocal8Bit(argv[i] + 7);
    }
    QTemporaryDir dir;
    if (g_home.isEmpty()) {
        g_home = dir.path();
        if (!benchdata::makeProgramFolder(g_home, g_registrations, benchdata::Shape::AtLimits))
            return 1;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
