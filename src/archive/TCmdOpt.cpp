#include "archive/TCmdOpt.h"

namespace {
const QString kNotGiven = QStringLiteral(" ");
}

void TCmdOpt::Add(const QString& text)
{
    Text += QLatin1Char(' ') + text;
}

void TCmdOpt::AddNumber(const QString& switchName, int number)
{
    if (number != -1)
        Add(QLatin1Char('-') + switchName + QString::number(number));
}

void TCmdOpt::AddQuoted(const QString& switchName, const QString& value)
{
    if (value == kNotGiven)
        return;
    if (switchName.isEmpty())
        Add(QLatin1Char('"') + value + QLatin1Char('"'));
    else
        Add(QStringLiteral("\"-") + switchName + value + QLatin1Char('"'));
}

void TCmdOpt::AddList(const QString& switchName, const QStringList& lines)
{
    for (const QString& line : lines)
        AddQuoted(switchName, line);
}

void TCmdOpt::AddFolder(const QString& switchName, QString folder)
{
    if (folder.isEmpty() || folder == kNotGiven)
        return;
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    AddQuoted(switchName, folder);
}
