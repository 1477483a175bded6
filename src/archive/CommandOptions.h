#pragma once

#include <QString>
#include <QStringList>

// Builds the switch part of an archiver command line: each piece is appended after one blank.
class CommandOptions
{
public:
    QString Text;

    // Appends a blank and the text, also when the text is empty.
    void Add(const QString& text);
    // "-" + switch + number, unless the number is -1.
    void AddNumber(const QString& switchName, int number);
    // The value in double quotes (with "-" and the switch in front when a switch is named), unless
    // the value is the single blank that stands for "not given".
    void AddQuoted(const QString& switchName, const QString& value);
    void AddList(const QString& switchName, const QStringList& lines);
    // A folder, given a trailing backslash, quoted; nothing for an empty folder or " ".
    void AddFolder(const QString& switchName, QString folder);
};
