// Opening and writing a table file of 100,000 rows in the layout of NT_TBL_DETAIL, beside
// `xmllint --stream --noout` parsing the same file (the floor any XML reader must meet).
//
//   build/bench/table_file_bench [--rows=N]
#include "store/Schema.h"
#include "store/Table.h"
#include "store/TableFile.h"

#include <QCoreApplication>
#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstring>

namespace {

int g_rows = 100000;
QString g_path;

// A realistic row: contacts and notes in Japanese of everyday lengths, keyword and aim flags,
// rates and dates; about a third of the optional fields left empty, as users leave them.
QVector<QVariant> detailRow(const QList<store::FieldDef>& fields, int n)
{
    static const QStringList words = {
        QStringLiteral("港湾技術開発株式会社"), QStringLiteral("技術営業部 第二課"), QStringLiteral("山田 太郎"),
        QStringLiteral("東京都千代田区霞が関二丁目1番3号"), QStringLiteral("03-5253-8111"), QStringLiteral("info@example.jp"),
        QStringLiteral("https://www.example.jp/tech/"), QStringLiteral("従来工法と比べ工期を約2割短縮できる。"),
        QStringLiteral("ケーソン据付時の安全性が向上する。"), QStringLiteral("同程度")};
    QVector<QVariant> values(fields.size());
    for (int f = 0; f < fields.size(); ++f) {
        const store::FieldDef& field = fields.at(f);
        if (field.name == QLatin1String("REG_NO")) {
            values[f] = QStringLiteral("XXK-%1").arg(n, 6, 10, QLatin1Char('0'));
            continue;
        }
        if ((n + f) % 3 == 0)
            continue;
        switch (field.type) {
        case store::FieldType::FixedText:
            values[f] = field.width <= 4 ? QString::number((n + f) % 2) : QStringLiteral("%1").arg(n % 97);
            break;
        case store::FieldType::Text:
        case store::FieldType::Memo:
            values[f] = words.at((n + f) % words.size());
            break;
        case store::FieldType::Float:
        case store::FieldType::Integer:
            values[f] = (n % 1000) * 1.25 + f;
            break;
        case store::FieldType::DateTime:
            values[f] = QDate(2020, 1, 1).addDays(n % 2000);
            break;
        case store::FieldType::Lookup:
            break;
        }
    }
    return values;
}

void writeFixture()
{
    const store::schema::TableDef* def = store::schema::findTable(QStringLiteral("NT_TBL_DETAIL"));
    std::vector<QVector<QVariant>> rows;
    rows.reserve(size_t(g_rows));
    for (int n = 0; n < g_rows; ++n)
        rows.push_back(detailRow(def->fields, n));
    std::vector<const QVector<QVariant>*> pointers;
    for (const auto& row : rows)
        pointers.push_back(&row);
    QString error;
    if (!store::TableFile::write(g_path, def->fields, pointers, &error))
        qFatal("cannot write the fixture: %s", qPrintable(error));
}

void BM_OpenTableFile(benchmark::State& state)
{
    const store::schema::TableDef* def = store::schema::findTable(QStringLiteral("NT_TBL_DETAIL"));
    for (auto _ : state) {
        store::Table table(QStringLiteral("NT_TBL_DETAIL"));
        table.setDeclaredFields(def->fields); // as the data module opens it
        table.setFileName(g_path);
        QString error;
        if (!table.open(&error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(table.recordCount());
    }
}

// The file format alone, without binding the rows to a table.
void BM_ReadTableFile(benchmark::State& state)
{
    for (auto _ : state) {
        QList<store::FieldDef> fields;
        QList<QVector<QVariant>> rows;
        QString error;
        if (!store::TableFile::read(g_path, &fields, &rows, &error))
            state.SkipWithError(qPrintable(error));
        benchmark::DoNotOptimize(rows.size());
    }
}

void BM_WriteTableFile(benchmark::State& state)
{
    store::Table table(QStringLiteral("NT_TBL_DETAIL"));
    table.setFileName(g_path);
    QString error;
    if (!table.open(&error))
        state.SkipWithError(qPrintable(error));
    const QString out = g_path + QStringLiteral(".out");
    for (auto _ : state) {
        if (!table.saveToFile(out, &error))
            state.SkipWithError(qPrintable(error));
    }
}

void BM_XmllintStreamParse(benchmark::State& state)
{
    for (auto _ : state) {
        QProcess xmllint;
        xmllint.start(QStringLiteral("xmllint"), {QStringLiteral("--stream"), QStringLiteral("--noout"), g_path});
        if (!xmllint.waitForFinished(-1) || xmllint.exitCode() != 0)
            state.SkipWithError("xmllint failed (is libxml2-utils installed?)");
    }
}

} // namespace

BENCHMARK(BM_OpenTableFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ReadTableFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WriteTableFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_XmllintStreamParse)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--rows=", 7) == 0)
            g_rows = std::atoi(argv[i] + 7);
    }
    QTemporaryDir dir;
    g_path = dir.filePath(QStringLiteral("NT_TBL_DETAIL.cds"));
    writeFixture();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
