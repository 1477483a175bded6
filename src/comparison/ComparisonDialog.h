#pragma once

#include <QDialog>
#include <QPointer>

#include <functional>

class QLineEdit;
class QScrollArea;

namespace comparison {

// What the comparison windows share: they live for the whole run, are shown modally through one
// seam (tests show them without a nested event loop), and their boxes share the small entry rules:
// the number key filter, Enter moving to the next control, actions on leaving a box.
class ComparisonDialog : public QDialog
{
    Q_OBJECT

public:
    // The window is shown over `owner` but is not its child: the names of its controls repeat
    // those of the main window's, which looks its own controls up by name.
    explicit ComparisonDialog(QWidget* owner);

    // Shows the window modally (or as the installed seam says).
    void showModal();
    // Replaces the modal showing for every comparison window; an empty function restores exec().
    static void setModalShow(std::function<void(ComparisonDialog*)> show);
    // Closing (OK, Cancel, Escape, the close box): the boxes losing the focus are not left.
    void done(int result) override;

protected:
    // The keys "-" and "e" are swallowed: no sign, no exponent.
    static void filterNumberKeys(QLineEdit* box);
    // Runs `handler` whenever the box loses the focus, before the box writes its text to its field.
    static void onLeave(QLineEdit* box, std::function<void()> handler);
    // Enter moves the focus to the next control in every line edit of the window.
    void enterMovesFocus();
    // A box the program fills and the user only reads: not editable, never focused, in the
    // button-face colour, its text kept dark enough to read (a disabled box greys it out).
    static void showOnly(QLineEdit* box);
    // True while a bound box shows the field of a row being loaded (no change by anyone).
    static bool isBeingLoaded(QLineEdit* box);
    // The scrolling panel under the window's fixed header: a panel named `name` with a vertical
    // layout, its scroll bar ScrollBar1 moving by form lines (a notch of the wheel: the platform's
    // number of lines).
    QScrollArea* scrollingPanel(const QString& name);
    // The width conversion of a box being left (a bound box only while its table is edited).
    static void convertWidth(QLineEdit* box);
    // The number clean-up of a box being left: empty becomes "0" (unless `keepEmpty`), a negative
    // value loses its sign, the value is rounded to two decimals.
    static void roundNumber(QLineEdit* box, bool keepEmpty);

private:
    QPointer<QWidget> m_owner;
    bool m_closing = false;
};

} // namespace comparison
