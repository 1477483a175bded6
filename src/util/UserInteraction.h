#pragma once

#include <QFlags>
#include <QString>
#include <QStringList>

// Every message box, question and file dialog of the program goes through this interface, so the
// screens never open one themselves: the program installs the real implementation (message boxes
// and file dialogs on screen), tests install one that answers from a script.
class UserInteraction
{
public:
    enum class Icon { Information, Warning, Error, Question, None };
    enum Button { NoButton = 0x0, Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };
    Q_DECLARE_FLAGS(Buttons, Button)

    // What a file, save or picture dialog starts with.
    struct FileRequest
    {
        QString caption;
        QString folder;    // initial folder; the desktop folder when empty
        QString fileName;  // initial file name
        // Filters as "description|pattern" (several patterns separated by ';').
        QStringList filters;
        int filterIndex = 0;
        // For each filter, the file name put into the dialog when the user chooses that filter
        // (empty: the name is cleared). Unused when empty.
        QStringList fileNameForFilter;
    };
    struct FileAnswer
    {
        QString path;        // empty when the user cancelled
        int filterIndex = 0; // the filter chosen last
    };
    enum class FileKind { Open, Save, Picture };

    virtual ~UserInteraction() = default;

    // Shows a modal message box; returns the button the user chose (Cancel, or No, or the only
    // button, when the box is closed otherwise).
    virtual Button message(Icon icon, const QString& caption, const QString& text, Buttons buttons) = 0;
    virtual FileAnswer fileDialog(FileKind kind, const FileRequest& request) = 0;
    // The current user's desktop folder, where the file dialogs start.
    virtual QString desktopFolder() = 0;

    // Long work that shows no box of its own (writing or reading a submission file) begins and
    // ends; the screen shows meanwhile that the program is busy and what it does. Calls nest.
    virtual void workStarted(const QString& what) { Q_UNUSED(what); }
    virtual void workEnded() {}
    // workStarted and workEnded around a scope.
    class Busy
    {
    public:
        Busy(UserInteraction& ui, const QString& what) : m_ui(ui) { m_ui.workStarted(what); }
        ~Busy() { m_ui.workEnded(); }
        Busy(const Busy&) = delete;
        Busy& operator=(const Busy&) = delete;

    private:
        UserInteraction& m_ui;
    };

    // Shorthands for the common boxes.
    void inform(const QString& caption, const QString& text) { message(Icon::Information, caption, text, Ok); }
    // A plain box: no icon, an OK button.
    void plain(const QString& caption, const QString& text) { message(Icon::None, caption, text, Ok); }
    void warn(const QString& caption, const QString& text) { message(Icon::Warning, caption, text, Ok); }
    void error(const QString& caption, const QString& text) { message(Icon::Error, caption, text, Ok); }
    bool askYesNo(const QString& caption, const QString& text) { return message(Icon::Question, caption, text, Buttons(Yes) | No) == Yes; }

    // The implementation the program talks through. Until one is installed, a silent one answers
    // every box with its safest button and every dialog with "cancelled".
    static UserInteraction& current();
    // Installs `interaction` (not owned; nullptr reinstalls the silent one) and returns the one
    // installed before.
    static UserInteraction* setCurrent(UserInteraction* interaction);
};

Q_DECLARE_OPERATORS_FOR_FLAGS(UserInteraction::Buttons)

// The program title, caption of the start-up, data and limit messages.
inline const QString kProgramTitle = QStringLiteral("VORDELL");
