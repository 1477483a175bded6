#include "archive/CommandOptions.h"

namespace {
const QString kNotGiven = QStringLiteral(" ");
}

void CommandOptions::Add(const QString& text)
{
    Text += QLatin1Char(' ') + text;
}

void CommandOptions::AddNumber(const QString& switchName, int number)
{
    if (number != -1)
        Add(QLatin1Char('-') + switchName + QString::number(number));
}

void CommandOptions::AddQuoted(const QString& switchName, const QString& value)
{
    if (value == kNotGiven)
        return;
    if (switchName.isEmpty())
        Add(QLatin1Char('"') + value + QLatin1Char('"'));
    else
        Add(QStringLiteral("\"-") + switchName + value + QLatin1Char('"'));
}

void CommandOptions::AddList(const QString& switchName, const QStringList& lines)
{
    for (const QString& line : lines)
        AddQuoted(switchName, line);
}

void CommandOptions::AddFolder(const QString& switchName, QString folder)
{
    if (folder.isEmpty() || folder == kNotGiven)
        return;
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    AddQuoted(switchName, folder);
}
