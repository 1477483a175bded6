#include "entry/Patents.h"

namespace patents {

QString numbered(const QString& name, int block)
{
    return name + QString::number(block);
}

QString yesButton(const QString& field, const QString& suffix)
{
    return QStringLiteral("Rb") + field + QStringLiteral("_Y") + suffix;
}

QString noButton(const QString& field, const QString& suffix)
{
    return QStringLiteral("Rb") + field + QStringLiteral("_N") + suffix;
}

std::optional<Choice> patentButtonChoice(const QString& button, const QString& field)
{
    for (int n = 1; n <= kBlocks; ++n) {
        const QString block = QString::number(n);
        if (button == yesButton(field, block))
            return Choice{field + block, kYes};
        if (button == noButton(field, block))
            return Choice{field + block, kNo};
    }
    return std::nullopt;
}

QString licenceButtonCode(const QString& button, const QString& field)
{
    return button == yesButton(field) ? kYes : kNo;
}

std::optional<QString> statusButtonCode(const QString& button, const QString& field)
{
    for (int k = 1; k <= 6; ++k) {
        if (button == QStringLiteral("Rb") + field + QString::number(k))
            return k == 6 ? kYes : QString::number(k);
    }
    return std::nullopt;
}

QString activeCode(const QString& stored)
{
    return stored.trimmed() == kYes ? kYes : kNo;
}

IdeaCodes afterStatusChoice(const IdeaCodes& codes)
{
    if (codes.status != QLatin1String("1"))
        return {codes.status, kNotApplicable, kNotApplicable};
    return {codes.status, activeCode(codes.general), activeCode(codes.exclusive)};
}

IdeaCodes whenOpened(const IdeaCodes& stored)
{
    const QString status = stored.status.trimmed();
    if (status.isEmpty())
        return {QStringLiteral("4"), kNotApplicable, kNotApplicable};
    if (status == QLatin1String("5"))
        return {kYes, kNo, kYes};
    if (status == QLatin1String("1"))
        return afterStatusChoice({kYes, stored.general.trimmed(), stored.exclusive.trimmed()});
    return {status, kNotApplicable, kNotApplicable};
}

} // namespace patents
