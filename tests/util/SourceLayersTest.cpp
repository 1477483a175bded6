// The folders of src/ form layers: util at the bottom, the core (data, archive, submission, report,
// entry rules, comparison rules) above it, then the controls, the dialogs and the comparison windows,
// and the application on top. This test reads every include of src/ and fails naming each line whose
// arrow points up.

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

const QStringList kCoreFolders = {"util", "store", "archive", "submission", "report", "entry", "comparison"};
const QStringList kUiFolders = {"app", "dialogs", "widgets"};

// The files that show something on screen; in a core folder they belong to the ui layer.
bool isScreenFile(const QString& path)
{
    static const QRegularExpression screen(QStringLiteral("(Page|Dialog|Window|Widget)\\.(cpp|h)$"));
    return screen.match(path).hasMatch();
}

// Why `file` (a path below src/) may not include `included`, or empty when it may.
QString upwardArrow(const QString& file, const QString& included)
{
    const QString from = file.section('/', 0, 0);
    const QString to = included.section('/', 0, 0);
    if (from == to)
        return {};
    if (from == "util")
        return QStringLiteral("util includes no other folder of src/");
    if (to == "app" && from != "cli")
        return QStringLiteral("only the application includes src/app");
    if (kCoreFolders.contains(from) && !isScreenFile(file) && (kUiFolders.contains(to) || isScreenFile(included)))
        return QStringLiteral("the core includes no control, dialog or window");
    if (to == "cli")
        return QStringLiteral("nothing includes the command-line program");
    return {};
}

struct Include
{
    QString file;
    int line;
    QString included;
};

QList<Include> includesOfSources(const QString& srcDir)
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"));
    QList<Include> found;
    QDirIterator it(srcDir, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile source(path);
        if (!source.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        const QString relative = path.mid(srcDir.size() + 1);
        int line = 0;
        while (!source.atEnd()) {
            ++line;
            const QRegularExpressionMatch m = include.match(QString::fromUtf8(source.readLine()));
            if (m.hasMatch() && m.captured(1).contains('/'))
                found.append({relative, line, m.captured(1)});
        }
    }
    return found;
}

TEST(SourceLayersTest, TheRulesTellUpwardArrowsFromAllowedOnes)
{
    struct Case
    {
        const char* file;
        const char* included;
        bool allowed;
    };
    const Case cases[] = {
        {"util/SjisText.cpp", "util/SjisText.h", true},
        {"util/Thing.cpp", "widgets/DBEdit.h", false},
        {"util/Thing.cpp", "store/Table.h", false},
        {"dialogs/SubRecordDialog.cpp", "app/InputBehaviours.h", false},
        {"comparison/CompareSheetDialog.cpp", "app/InputBehaviours.h", false},
        {"widgets/DBEdit.cpp", "app/MainWindow.h", false},
        {"comparison/CompareSheetDialog.cpp", "widgets/DBEdit.h", true},
        {"comparison/CostRate.cpp", "widgets/DBEdit.h", false},
        {"store/Table.cpp", "comparison/CompareSheetDialog.h", false},
        {"app/MainWindow.cpp", "dialogs/SubRecordDialog.h", true},
        {"app/MainWindow.cpp", "cli/CliCommand.h", false},
        {"cli/main.cpp", "store/DataModule.h", true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(upwardArrow(c.file, c.included).isEmpty(), c.allowed) << c.file << " → " << c.included;
}

TEST(SourceLayersTest, NoIncludeOfTheSourcesPointsUp)
{
    const QList<Include> includes = includesOfSources(QStringLiteral(VORDELL_SOURCE_DIR "/src"));
    ASSERT_GT(includes.size(), 100);
    for (const Include& i : includes) {
        const QString why = upwardArrow(i.file, i.included);
        EXPECT_TRUE(why.isEmpty()) << "src/" << i.file.toStdString() << ":" << i.line << ": #include \""
                                   << i.included.toStdString() << "\" — " << why.toStdString();
    }
}

} // namespace
