// What changed since the last submission, on a data folder of full registrations: comparing one
// registration with its kept submission file (extracting it, reading its tables, checking its
// SHA-256, comparing item by item), and the technology list's columns — the last submission
// date and the changed-since mark of every registration — from the index alone.
//
//   build/bench/submission_changes_bench [--registrations=N]
#include "BenchData.h"
#include "store/DataModule.h"
#include "submission/SubmissionChanges.h"
#include "submission/SubmissionExport.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

namespace {

int g_registrations = 1000;
QString g_home;
QStringList g_numbers;

class SilentInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString&, const QString& text, Buttons) override { qFatal("unexpected box: %s", qPrintable(text)); }
    FileAnswer fileDialog(FileKind, const FileRequest&) override { return {}; }
    QString desktopFolder() override { return QDir::tempPath(); }
};

SilentInteraction g_ui;
store::DataModule* g_dm = nullptr;

// Every registration handed in once; the first one is then changed in a few items.
bool prepare()
{
    g_dm = new store::DataModule(g_home, &g_ui);
    if (!g_dm->start())
        return false;
    store::Table* main = g_dm->table(QStringLiteral("NT_TBL_MAIN"));
    for (const store::Table::RowValues& row : main->allRows())
        g_numbers.append(row.at(main->fieldIndex(QStringLiteral("REG_NO"))).toString().trimmed());
    submission::SubmissionExport exporter(*g_dm, g_ui);
    const QString file = g_home + QStringLiteral("/sent.lzh");
    QString error;
    if (!exporter.WriteSubmissionFile(g_numbers.first(), file, &error))
        qFatal("%s", qPrintable(error));
    submission::SubmissionHistory history(g_dm->folder());
    const QHash<QString, QByteArray> fingerprints = submission::registrationFingerprints(*g_dm);
    if (!history.load(&error))
        qFatal("%s", qPrintable(error));
    for (const QString& number : std::as_const(g_numbers)) {
        if (!history.keep(number, file, submission::KeptSubmission::Kind::Submitted, QStringLiteral("sent.lzh"), fingerprints.value(number), &error))
            qFatal("%s", qPrintable(error));
    }
    main->locate(QStringLiteral("REG_NO"), g_numbers.first());
    main->edit();
    main->field(QStringLiteral("TECH_TITLE")).setString(QStringLiteral("改訂した技術名称"));
    main->post();
    return true;
}

void BM_CompareWithLastSubmission(benchmark::State& state)
{
    qsizetype lines = 0;
    for (auto _ : state) {
        const submission::ChangesSinceSubmission changes = submission::changesSinceLastSubmission(*g_dm, g_numbers.first());
        if (!changes.compared)
            state.SkipWithError(qPrintable(changes.error));
        lines = changes.differences.size();
    }
    state.counters["lines"] = double(lines);
}

void BM_ListLastSubmissionDates(benchmark::State& state)
{
    int changed = 0;
    for (auto _ : state) {
        submission::SubmissionHistory history(g_dm->folder());
        QString error;
        if (!history.load(&error))
            state.SkipWithError(qPrintable(error));
        const QHash<QString, QByteArray> fingerprints = submission::registrationFingerprints(*g_dm);
        changed = 0;
        for (const QString& number : std::as_const(g_numbers)) {
            benchmark::DoNotOptimize(history.lastSubmission(number));
            changed += history.changedSinceLastSubmission(number, fingerprints.value(number)) ? 1 : 0;
        }
    }
    state.counters["registrations"] = double(g_numbers.size());
    state.counters["changed"] = double(changed);
}

BENCHMARK(BM_CompareWithLastSubmission)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ListLastSubmissionDates)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--registrations=", 16) == 0)
            g_registrations = std::atoi(argv[i] + 16);
    }
    QTemporaryDir home;
    g_home = home.path();
    if (!benchdata::makeProgramFolder(g_home, g_registrations, benchdata::Shape::Full) || !prepare())
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::fflush(stdout);
    std::_Exit(0);
}
