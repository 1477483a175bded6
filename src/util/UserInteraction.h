#pragma once

#include <QString>
#include <QStringList>

// Every message box, question and file dialog goes through this interface, so that the core can
// ask and tell without a widget module, and tests can answer from a script.
class UserInteraction
{
public:
    enum class Icon { Information, Warning, Error, Question };
    enum Button { Ok = 0x1, Yes = 0x2, No = 0x4, Cancel = 0x8 };
    using Buttons = int;

    virtual ~UserInteraction() = default;

    // Shows a modal box and returns the button pressed.
    virtual Button messageBox(const QString& caption, const QString& text, Icon icon, Buttons buttons) = 0;

    // File dialogs; each returns the chosen path, or an empty text when the user cancelled.
    // `filters` are "description|pattern" pairs such as "新技術データ|*.lzh".
    virtual QString openFileName(const QString& title, const QString& folder, const QStringList& filters) = 0;
    virtual QString saveFileName(const QString& title, const QString& folder, const QString& fileName,
                                 const QStringList& filters) = 0;
    virtual QString pictureFileName(const QString& title, const QString& folder) = 0;

    // The current user's desktop folder, where the file dialogs start.
    virtual QString desktopFolder() = 0;

    // Shorthands for the common boxes.
    void information(const QString& caption, const QString& text) { messageBox(caption, text, Icon::Information, Ok); }
    void warning(const QString& caption, const QString& text) { messageBox(caption, text, Icon::Warning, Ok); }
    void error(const QString& caption, const QString& text) { messageBox(caption, text, Icon::Error, Ok); }
    bool askYesNo(const QString& caption, const QString& text)
    {
        return messageBox(caption, text, Icon::Question, Yes | No) == Yes;
    }

    // The interaction the program uses; set once at start (the real one, or a scripted one in tests).
    static UserInteraction* current();
    static void setCurrent(UserInteraction* interaction);
};
