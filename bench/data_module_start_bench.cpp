// The start of the data module (open every table, refresh the automatic backup) on 1,000
// registrations at the row limits, beside what any start must at least do: copy the data folder
// (cp -r) and parse every table file (xmllint --stream --noout). Also the scan for the next
// local registration number on the same data.
//
//   build/bench/data_module_start_bench [--registrations=N]
#include "store/DataModule.h"
#include "store/Schema.h"
#include "store/TableFile.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

namespace {

int g_registrations = 1000;
QString g_home;

// Rows per registration: the limits the adding operations enforce.
const QList<QPair<QString, int>> kRowsPerRegistration = {
    {"NT_TBL_MAIN", 1},           {"NT_TBL_DETAIL", 1},         {"NT_TBL_DETAIL_FREE", 1},      {"NT_TBL_DESCRIPTION", 1},
    {"NT_TBL_PICTURE", 1},        {"NT_TBL_COMPANY", 40},       {"NT_TBL_EVALUATE_RESULT", 20}, {"PL_TBL_PROJECT_MOC", 20},
    {"PL_TBL_PROJECT_PRIVATE", 20}, {"NT_TBL_COMPARE_MAIN", 1}, {"NT_TBL_COMPARE_DETAIL", 100}, {"NT_TBL_CONST_CONDITION", 6},
    {"NT_TBL_INFO_IMAGES", 7},
};

QVariant sampleValue(const store::FieldDef& field, int registration, int n)
{
    const QString name = field.name;
    if (name == QLatin1String("REG_NO"))
        return QStringLiteral("XXK-%1").arg(registration, 6, 10, QLatin1Char('0'));
    if (name == QLatin1String("REC_ID") || name.endsWith(QLatin1String("_ID")) || name == QLatin1String("ORD"))
        return name == QLatin1String("ORD") && field.isText() ? QVariant(QString::number(n % 6 + 1)) : QVariant(n + 1);
    if (name == QLatin1String("RECORD_TYPE"))
        return QString::number(n % 2);
    switch (field.type) {
    case store::FieldType::FixedText:
        return field.width <= 2 ? QString::number(n % 2) : QStringLiteral("%1").arg(n % 100);
    case store::FieldType::Text:
        return field.width > 0 && field.width < 8 ? QString::number(n % 7) : QStringLiteral("港湾工事の技術情報 %1-%2").arg(registration).arg(n);
    case store::FieldType::Memo:
        return QStringLiteral("ケーソンの据付精度を高め、工期を短縮する。\r\n従来工法に比べ安全性が向上する。");
    case store::FieldType::Float:
    case store::FieldType::Integer:
        return (n % 50) * 1000.5;
    case store::FieldType::DateTime:
        return QDate(2024, 4, 1).addDays(n % 365);
    case store::FieldType::Lookup:
        break;
    }
    return {};
}

void writeFixture()
{
    QDir(g_home).mkpath(QStringLiteral("FLATT_FILES"));
    QDir(g_home).mkpath(QStringLiteral("Zero"));
    const QString data = g_home + QStringLiteral("/FLATT_FILES/");
    for (const auto& [table, perRegistration] : kRowsPerRegistration) {
        const store::schema::TableDef* def = store::schema::findTable(table);
        std::vector<QVector<QVariant>> rows;
        for (int r = 1; r <= g_registrations; ++r) {
            for (int n = 0; n < perRegistration; ++n) {
                QVector<QVariant> row(def->fields.size());
                for (int f = 0; f < def->fields.size(); ++f)
                    row[f] = sampleValue(def->fields.at(f), r, n);
                if (table == QLatin1String("NT_TBL_COMPARE_MAIN") || table == QLatin1String("NT_TBL_COMPARE_DETAIL"))
                    row[table == QLatin1String("NT_TBL_COMPARE_MAIN") ? 1 : 0] = r;
                rows.push_back(row);
            }
        }
        std::vector<const QVector<QVariant>*> pointers;
        for (const auto& row : rows)
            pointers.push_back(&row);
        store::TableFile::write(data + table + QStringLiteral(".cds"), def->fields, pointers, nullptr);
    }
    const QString shipped = QStringLiteral(VORDELL_SOURCE_DIR "/data/program/FLATT_FILES/");
    for (const store::schema::TableDef& def : store::schema::lookupTables())
        QFile::copy(shipped + def.name + QStringLiteral(".cds"), data + def.name + QStringLiteral(".cds"));
}

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
        store::TDM1 dm(g_home, &ui);
        if (!dm.DataModuleCreate())
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
    store::TDM1 dm(g_home, &ui);
    if (!dm.DataModuleCreate())
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
    }
    QTemporaryDir dir;
    g_home = dir.path();
    writeFixture();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
