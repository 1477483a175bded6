#include "store/RegistrationList.h"

#include "util/SjisText.h"

namespace store {

QString findForm(const QString& text)
{
    return sjis::NormalizeCharWidth(text).toCaseFolded();
}

QString typedFindText(const QString& typed)
{
    return findForm(typed).trimmed();
}

QList<RegistrationEntry> registrationEntries(const Table& main, const QHash<QString, QDateTime>& saveTimes)
{
    const int number = main.fieldIndex(QStringLiteral("REG_NO"));
    const int title = main.fieldIndex(QStringLiteral("TECH_TITLE"));
    const int subtitle = main.fieldIndex(QStringLiteral("TECH_SUBTITLE"));
    const int company = main.fieldIndex(QStringLiteral("TECH_DVLP_COMPANY"));
    QList<RegistrationEntry> entries;
    main.forEachStoredRowValues([&](const auto& valueOf) {
        RegistrationEntry entry;
        entry.number = valueOf(number).toString().trimmed();
        entry.title = valueOf(title).toString();
        entry.subtitle = valueOf(subtitle).toString();
        entry.company = valueOf(company).toString();
        entry.saved = saveTimes.value(entry.number);
        // One conversion for the four texts: a line break cannot be typed into the find box, so
        // no match spans two of them.
        entry.findText = findForm(entry.number + QLatin1Char('\n') + entry.title + QLatin1Char('\n') + entry.subtitle
                                  + QLatin1Char('\n') + entry.company);
        entries.append(std::move(entry));
    });
    return entries;
}

bool entryMatches(const RegistrationEntry& entry, const QString& findText)
{
    return findText.isEmpty() || entry.findText.contains(findText);
}

QList<RegistrationEntry> entriesMatching(const QList<RegistrationEntry>& entries, const QString& typed)
{
    const QString wanted = typedFindText(typed);
    QList<RegistrationEntry> matching;
    for (const RegistrationEntry& entry : entries) {
        if (entryMatches(entry, wanted))
            matching.append(entry);
    }
    return matching;
}

} // namespace store
