#include "util/UserInteraction.h"

#include <QDir>
#include <QStandardPaths>

namespace {

// Used when nothing is installed (a tool without a screen): no box is shown, so every question
// takes the answer that changes nothing.
class SilentInteraction : public UserInteraction
{
public:
    Button message(Icon, const QString&, const QString& text, Buttons buttons) override
    {
        qWarning("message box without a screen: %s", qPrintable(text));
        for (Button safest : {Cancel, No, Ok, Yes}) {
            if (buttons.testFlag(safest))
                return safest;
        }
        return NoButton;
    }
    FileAnswer fileDialog(FileKind, const FileRequest& request) override { return {QString(), request.filterIndex}; }
    QString desktopFolder() override
    {
        const QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
        return QDir(desktop).exists() ? desktop : QDir::homePath();
    }
};

SilentInteraction& silent()
{
    static SilentInteraction instance;
    return instance;
}

UserInteraction* g_current = nullptr;

} // namespace

UserInteraction& UserInteraction::current()
{
    return g_current ? *g_current : silent();
}

UserInteraction* UserInteraction::setCurrent(UserInteraction* interaction)
{
    UserInteraction* previous = g_current;
    g_current = interaction;
    return previous;
}
